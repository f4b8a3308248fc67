// The saver that writes the batch's pictures on threads of its own.
#include "tools/batch/background_saver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;

// "<prefix><number>", built step by step (GCC 12 warns wrongly about the one-line sum).
std::string numbered(std::string prefix, int number) {
  prefix += std::to_string(number);
  return prefix;
}

std::string contentsOf(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

class BackgroundSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / numbered("background_saver_", int(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path folder;
};

TEST_F(BackgroundSaverTest, SavesEveryFileAndTellsOnceEachBeforeFinishReturns) {
  for (int threads : {0, 1, 3}) {  // 0: no thread, the caller saves
    std::mutex mutex;
    std::vector<int> told;
    std::atomic<int> failed{0};
    BackgroundSaver saver(threads, 2);
    for (int i = 0; i < 40; ++i) {
      const fs::path target = folder / numbered("f", i);
      saver.save(target, std::string(std::size_t(100 + i), char('a' + i % 26)),
                 [&, i](bool saved, std::string) {
                   if (!saved) ++failed;
                   const std::lock_guard lock(mutex);
                   told.push_back(i);
                 });
    }
    saver.finish();
    EXPECT_EQ(failed.load(), 0);
    ASSERT_EQ(told.size(), 40u) << threads;
    std::sort(told.begin(), told.end());
    for (int i = 0; i < 40; ++i) {
      EXPECT_EQ(told[std::size_t(i)], i);
      EXPECT_EQ(contentsOf(folder / numbered("f", i)),
                std::string(std::size_t(100 + i), char('a' + i % 26)));
    }
  }
}

TEST_F(BackgroundSaverTest, AFailedSaveIsToldWithItsReasonAndLeavesNothing) {
  bool saved = true;
  std::string reason;
  {
    BackgroundSaver saver(1, 1);
    saver.save(folder / "missing" / "f.png", "bytes", [&](bool ok, std::string why) {
      saved = ok;
      reason = std::move(why);
    });
  }  // the destructor finishes the queued save
  EXPECT_FALSE(saved);
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST_F(BackgroundSaverTest, DestroyingTheSaverSavesWhatIsQueuedFirst) {
  std::atomic<int> told{0};
  {
    BackgroundSaver saver(1, 8);
    for (int i = 0; i < 8; ++i) {
      saver.save(folder / numbered("q", i), "x", [&](bool, std::string) { ++told; });
    }
  }
  EXPECT_EQ(told.load(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(fs::exists(folder / numbered("q", i)));
}

}  // namespace
}  // namespace orvane
