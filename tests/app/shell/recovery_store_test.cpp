#include "app/shell/recovery_store.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvane {
namespace {

namespace fs = std::filesystem;

class RecoveryStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("orvane-recovery-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // What a killed editor leaves: its folder with a copy, and a lock nobody holds.
  fs::path leaveCrashedCopy(const std::string& name, const std::string& original) {
    const fs::path folder = root_ / name;
    fs::create_directories(folder);
    std::ofstream(folder / "emblem.ovml") << "<ov/>";
    std::ofstream(folder / "original-path") << original;
    std::ofstream(folder / "lock");
    return folder;
  }

  fs::path root_;
};

TEST_F(RecoveryStoreTest, ARunningEditorsCopyIsNeverOfferedAndGoesAtANormalEnd) {
  fs::path folder;
  {
    RecoveryStore first(root_);
    ASSERT_TRUE(first.active());
    folder = first.folder();
    ASSERT_TRUE(first.write("<ov/>", "/home/me/crest.ovml"));
    RecoveryStore second(root_);  // another editor running at the same time
    EXPECT_TRUE(second.orphans().empty());
    EXPECT_TRUE(fs::exists(folder / "emblem.ovml"));
    first.discard();
    EXPECT_FALSE(fs::exists(folder / "emblem.ovml"));
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST_F(RecoveryStoreTest, ACrashedEditorsCopyIsOfferedWithItsOriginalPath) {
  leaveCrashedCopy("run-crashed", "/home/me/ünïcode.ovml");
  RecoveryStore store(root_);
  const auto orphans = store.orphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].originalPath, "/home/me/ünïcode.ovml");
  EXPECT_TRUE(fs::exists(orphans[0].emblem));
  EXPECT_TRUE(RecoveryStore::remove(orphans[0]));
  EXPECT_TRUE(store.orphans().empty());
}

TEST_F(RecoveryStoreTest, OldCopiesAndEmptyFoldersAreRemovedInsteadOfOffered) {
  const fs::path old = leaveCrashedCopy("run-old", "");
  fs::last_write_time(old / "emblem.ovml",
                      fs::file_time_type::clock::now() - std::chrono::hours(24 * 8));
  fs::create_directories(root_ / "run-empty");
  RecoveryStore store(root_);
  EXPECT_TRUE(store.orphans().empty());
  EXPECT_FALSE(fs::exists(old));
  EXPECT_FALSE(fs::exists(root_ / "run-empty"));
}

TEST(RecoveryFolder, FollowsTheStateHomeOrTheHomeFolder) {
  EXPECT_EQ(RecoveryStore::defaultFolder("/state", "/home/me"), fs::path("/state/orvane/recovery"));
  EXPECT_EQ(RecoveryStore::defaultFolder("", "/home/me"),
            fs::path("/home/me/.local/state/orvane/recovery"));
  EXPECT_EQ(RecoveryStore::defaultFolder("relative", ""), std::nullopt);
}

}  // namespace
}  // namespace orvane
