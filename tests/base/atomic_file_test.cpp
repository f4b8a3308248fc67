#include "base/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <thread>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("orvane-atomic-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string contents(const fs::path& path) {
    std::string bytes;
    EXPECT_TRUE(readWholeFile(path, bytes, 1 << 20));
    return bytes;
  }
  std::size_t entries() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
  }
  fs::path dir;
};

TEST_F(AtomicFile, WritesNewFilesAndReplacesOldOnesKeepingTheirMode) {
  const fs::path target = dir / "emblem.ovml";
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("first")));
  EXPECT_EQ(contents(target), "first");
  ::chmod(target.c_str(), 0640);
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("second, longer")));
  EXPECT_EQ(contents(target), "second, longer");
  struct stat info {};
  ::stat(target.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(entries(), 1u);  // no temporary file left behind
}

TEST_F(AtomicFile, ConcurrentSavesGiveNewFilesTheUmasksModeAndLeaveTheUmaskAlone) {
  // Reading the umask means setting it; saves on several threads must never do that, or a file
  // made meanwhile (by any thread) gets the wrong permissions and the umask may stay changed.
  const mode_t mask = ::umask(027);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < 150; ++i) {
        std::string name = "f";
        name += std::to_string(t);
        name += '-';
        name += std::to_string(i);
        EXPECT_TRUE(saveFileAtomically(dir / name, std::string_view("x")));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(::umask(mask), mode_t(027));
  for (const auto& entry : fs::directory_iterator(dir)) {
    struct stat info {};
    ::stat(entry.path().c_str(), &info);
    ASSERT_EQ(info.st_mode & 0777, 0640u) << entry.path();
  }
  EXPECT_EQ(entries(), 450u);
}

TEST_F(AtomicFile, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  const fs::path target = dir / "good.ovr";
  ASSERT_TRUE(saveFileAtomically(target, std::string_view("good")));
  if (::geteuid() != 0) {  // root may write into read-only folders
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(saveFileAtomically(target, std::string_view("bad"), &error));
    EXPECT_FALSE(error.empty());
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(contents(target), "good");
  }
  std::string error;
  EXPECT_FALSE(saveFileAtomically(dir / "missing" / "x.ovr", std::string_view("x"), &error));
  EXPECT_FALSE(error.empty());
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(saveFileAtomically(dir / "folder", std::string_view("x")));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_EQ(contents(target), "good");
  EXPECT_EQ(entries(), 2u);
}

TEST_F(AtomicFile, ReadingRefusesMissingFoldersAndOversizedFiles) {
  std::string bytes = "stale";
  std::string error;
  EXPECT_FALSE(readWholeFile(dir / "none", bytes, 100, &error));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(readWholeFile(dir, bytes, 100, &error));
  EXPECT_EQ(error, "is a folder");
  ASSERT_TRUE(saveFileAtomically(dir / "big", std::string(101, 'x')));
  EXPECT_FALSE(readWholeFile(dir / "big", bytes, 100, &error));
  EXPECT_EQ(error, "file too large");
  EXPECT_TRUE(readWholeFile(dir / "big", bytes, 101));
  EXPECT_EQ(bytes.size(), 101u);
}

TEST_F(AtomicFile, ReadingAFifoIsRefusedWithoutWaitingForAWriter) {
  const fs::path fifo = dir / "z.ovr";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  std::string error;
  auto reading = std::async(std::launch::async, [&] {
    std::string bytes;
    return readWholeFile(fifo, bytes, 100, &error);
  });
  if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "reading a FIFO waits for a writer";
    ::close(::open(fifo.c_str(), O_WRONLY));  // meets the waiting reader, so it returns
  }
  EXPECT_FALSE(reading.get());
  EXPECT_EQ(error, "not a regular file");
}

}  // namespace
}  // namespace orvane
