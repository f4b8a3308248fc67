// Temporaries of saves: short names of one form, leftovers of killed processes swept away, and
// the ones in flight removed by a handler of a signal that ends the process.
#include "base/temporary_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "base/atomic_file.h"
#include "base_test_folder.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

using Temporaries = TestFolder;

void makeFile(const fs::path& path, std::chrono::minutes age = {}) {
  std::ofstream(path) << "x";
  const timespec when[2] = {{::time(nullptr) - age.count() * 60, 0},
                            {::time(nullptr) - age.count() * 60, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), when, 0), 0);
}

TEST(TemporaryNames, HaveOneShortFormThatIsToldApartFromOtherNames) {
  const std::string a = temporaryFileName(), b = temporaryFileName();
  EXPECT_EQ(a.size(), kTemporaryNameLength);
  EXPECT_NE(a, b);
  EXPECT_TRUE(isTemporaryFileName(a));
  EXPECT_TRUE(isTemporaryFileName(".orvane-0123456789az.tmp"));
  EXPECT_FALSE(isTemporaryFileName(".orvane-0123456789aZ.tmp"));
  EXPECT_FALSE(isTemporaryFileName(".orvane-0123456789a.tmp"));
  EXPECT_FALSE(isTemporaryFileName(".orvane-0123456789abc.tmp"));
  EXPECT_FALSE(isTemporaryFileName("x.orvane-0123456789a.tmp"));
  EXPECT_FALSE(isTemporaryFileName(".orvane-0123456789ab.bak"));
}

TEST_F(Temporaries, NamesUpToTheFileSystemLimitCanBeSaved) {
  for (std::size_t length : {200u, 230u, 255u}) {
    const fs::path target = dir / std::string(length, 'n');
    std::string error;
    EXPECT_TRUE(saveFileAtomically(target, std::string_view("x"), &error)) << length << error;
    EXPECT_TRUE(fs::is_regular_file(target));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3);
}

TEST_F(Temporaries, StaleOnesOfOurNamingAreRemovedByTheNextSaveIntoTheFolder) {
  makeFile(dir / ".orvane-stale0000000.tmp", std::chrono::minutes(60));
  makeFile(dir / ".orvane-fresh0000000.tmp", std::chrono::minutes(1));
  makeFile(dir / ".orvane-usersown.tmp", std::chrono::minutes(60));
  makeFile(dir / "emblem.ovml", std::chrono::minutes(60));
  ASSERT_TRUE(saveFileAtomically(dir / "new.ovml", std::string_view("x")));
  EXPECT_FALSE(fs::exists(dir / ".orvane-stale0000000.tmp"));
  EXPECT_TRUE(fs::exists(dir / ".orvane-fresh0000000.tmp"));
  EXPECT_TRUE(fs::exists(dir / ".orvane-usersown.tmp"));
  EXPECT_TRUE(fs::exists(dir / "emblem.ovml"));
}

// What the command line's handler of SIGTERM does: remove the temporaries in flight and end.
extern "C" void removeAndEnd(int) {
  removeTemporariesInFlight();
  ::_exit(3);
}

TEST_F(Temporaries, ThoseInFlightAreRemovedByASignalHandlerAndNoOthers) {
  for (const char* name : {"writing", "renamed", "unrelated"}) makeFile(dir / name);
  const int writing = registerTemporary(dir / "writing");
  const int renamed = registerTemporary(dir / "renamed");
  ASSERT_GE(writing, 0);
  ASSERT_GE(renamed, 0);
  withdrawTemporary(renamed);
  EXPECT_EXIT(
      {
        std::signal(SIGTERM, removeAndEnd);
        std::raise(SIGTERM);
      },
      ::testing::ExitedWithCode(3), "");
  EXPECT_FALSE(fs::exists(dir / "writing"));
  EXPECT_TRUE(fs::exists(dir / "renamed"));
  EXPECT_TRUE(fs::exists(dir / "unrelated"));
  withdrawTemporary(writing);
}

}  // namespace
}  // namespace orvane
