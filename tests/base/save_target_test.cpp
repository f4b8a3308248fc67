// Saving over what is already there: links are followed and kept, owner and permissions are kept
// without set-ID bits, and files or folders that may not be written are refused with a reason.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "base_test_folder.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

using SavingOver = TestFolder;

std::string contents(const fs::path& path) {
  std::string bytes;
  EXPECT_TRUE(readWholeFile(path, bytes, 1 << 20));
  return bytes;
}

struct stat statOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// Runs `body` in a child process that has become the unprivileged user "nobody" (when this test
// runs as root) and returns its exit status; 0 means every check of the child held.
template <typename Body>
int asUnprivilegedUser(Body body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(90);
    }
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST_F(SavingOver, ALinkIsFollowedAndKept) {
  fs::create_directory(dir / "real");
  ASSERT_TRUE(saveFileAtomically(dir / "real" / "emblem.ovml", std::string_view("old")));
  fs::create_symlink("real/emblem.ovml", dir / "link.ovml");
  fs::create_symlink("link.ovml", dir / "link-to-link.ovml");
  ASSERT_TRUE(saveFileAtomically(dir / "link-to-link.ovml", std::string_view("new")));
  EXPECT_TRUE(fs::is_symlink(dir / "link.ovml"));
  EXPECT_TRUE(fs::is_symlink(dir / "link-to-link.ovml"));
  EXPECT_EQ(contents(dir / "real" / "emblem.ovml"), "new");

  // A dangling link makes the file it points to.
  fs::create_symlink("real/fresh.ovml", dir / "dangling.ovml");
  ASSERT_TRUE(saveFileAtomically(dir / "dangling.ovml", std::string_view("fresh")));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling.ovml"));
  EXPECT_EQ(contents(dir / "real" / "fresh.ovml"), "fresh");

  fs::create_symlink("loop-b", dir / "loop-a");
  fs::create_symlink("loop-a", dir / "loop-b");
  std::string error;
  EXPECT_FALSE(saveFileAtomically(dir / "loop-a", std::string_view("x"), &error));
  EXPECT_EQ(error, "Too many levels of symbolic links");
}

TEST_F(SavingOver, OwnerGroupAndModeAreKeptButNeverSetIdBits) {
  const fs::path target = dir / "theirs.ovr";
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("old")));
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod(target.c_str(), 06754), 0);
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("new")));
  const struct stat info = statOf(target);
  EXPECT_EQ(info.st_mode & 07777, 0754u);
  if (root) {
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }
  EXPECT_EQ(contents(target), "new");
}

TEST_F(SavingOver, ReadOnlyFilesAreRefusedEvenForRoot) {
  const fs::path target = dir / "kept.ovml";
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("kept")));
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(saveFileAtomically(target, std::string_view("lost"), &error));
  EXPECT_EQ(error, "file is read-only");
  EXPECT_EQ(contents(target), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);

  // Another user's file that only its owner may write is read-only for everyone else.
  ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
  if (::geteuid() == 0) {
    EXPECT_EQ(asUnprivilegedUser([&] {
                std::string why;
                return !saveFileAtomically(target, std::string_view("lost"), &why) &&
                       why == "file is read-only";
              }),
              0);
  }
}

TEST_F(SavingOver, AFolderThatMayNotBeWrittenIsNamedAsTheReason) {
  const fs::path target = dir / "inside.ovml";
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("old")));
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
  EXPECT_EQ(asUnprivilegedUser([&] {
              std::string replacing, creating;
              return !saveFileAtomically(target, std::string_view("new"), &replacing) &&
                     replacing == "folder is not writable, cannot save safely" &&
                     !saveFileAtomically(dir / "new.ovml", std::string_view("x"), &creating) &&
                     creating == "folder is not writable";
            }),
            0);
  EXPECT_EQ(contents(target), "old");
}

TEST_F(SavingOver, SpecialFilesAreNeitherReadNorReplaced) {
  const fs::path fifo = dir / "pipe.ovr";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  std::string error;
  EXPECT_FALSE(saveFileAtomically(fifo, std::string_view("x"), &error));
  EXPECT_EQ(error, "not a regular file");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace orvane
