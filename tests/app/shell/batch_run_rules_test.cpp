#include "app/shell/batch_run_rules.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvane {
namespace {
namespace fs = std::filesystem;

class BatchRunRules : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("orvane_batch_rules_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  void touch(const fs::path& path) { std::ofstream(path) << "x"; }

  fs::path folder_;
};

TEST_F(BatchRunRules, InputFolderMustExistAndHoldEmblemFiles) {
  EXPECT_EQ(inputFolderProblem(""), std::optional<std::string>("入力フォルダを指定してください。"));
  const auto missing = inputFolderProblem(folder_ / "missing");
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->find("見つかりません"), std::string::npos);
  EXPECT_NE(missing->find((folder_ / "missing").string()), std::string::npos);

  touch(folder_ / "notes.txt");
  touch(folder_ / "a.ovrx");
  const auto empty = inputFolderProblem(folder_);
  ASSERT_TRUE(empty);
  EXPECT_NE(empty->find("OVR"), std::string::npos);
  touch(folder_ / "crest.OVR");
  EXPECT_EQ(inputFolderProblem(folder_), std::nullopt);
  // A file named as the folder is no folder.
  EXPECT_TRUE(inputFolderProblem(folder_ / "crest.OVR"));
}

TEST_F(BatchRunRules, OutputFolderIsCreatedOrItsProblemNamed) {
  EXPECT_EQ(outputFolderProblem(""),
            std::optional<std::string>("出力フォルダを指定してください。"));
  const fs::path nested = folder_ / "out" / "pictures";
  EXPECT_EQ(outputFolderProblem(nested), std::nullopt);
  EXPECT_TRUE(fs::is_directory(nested));
  EXPECT_TRUE(fs::is_empty(nested));  // the trial file is gone again

  touch(folder_ / "plain");
  const auto underFile = outputFolderProblem(folder_ / "plain" / "out");
  ASSERT_TRUE(underFile);
  EXPECT_NE(underFile->find("作成できません"), std::string::npos);
  EXPECT_NE(underFile->find((folder_ / "plain" / "out").string()), std::string::npos);
  // A folder nobody may write into, whoever runs the test.
  const auto readOnly = outputFolderProblem("/proc");
  ASSERT_TRUE(readOnly);
  EXPECT_NE(readOnly->find("書き込めません"), std::string::npos);
}

TEST(BatchRunText, CaptionCountsHandledFilesOfTheTotal) {
  EXPECT_EQ(batchProgressCaption(0, 12), "一括変換中... 0 / 12");
  EXPECT_EQ(batchProgressCaption(7, 12), "一括変換中... 7 / 12");
}

TEST(BatchRunText, CompletionOnlyWhenEveryFileWasWritten) {
  BatchReport report;
  report.total = report.handled = report.written = 3;
  BatchEndMessage message = batchEndMessage(report);
  EXPECT_EQ(message.text, "一括変換が完了しました。");
  EXPECT_EQ(message.details, "");
  EXPECT_FALSE(message.warning);

  report.written = 2;
  report.replaced = 1;
  message = batchEndMessage(report);
  EXPECT_TRUE(message.text.starts_with("一括変換が完了しました。\n"));
  EXPECT_NE(message.text.find("1 個のファイルは書き出していません"), std::string::npos);

  report.replaced = 0;
  report.failures = {{"/in/broken.ovr", {}, "the file is too short"},
                     {"/in/odd.ovr", "/out/odd (1).jpg", "disk full"}};
  report.written = 1;
  message = batchEndMessage(report);
  EXPECT_EQ(message.text,
            "一括変換が終了しました。\n3 個のファイルのうち 2 個を変換できませんでした。");
  EXPECT_EQ(message.details,
            "/in/broken.ovr: the file is too short\n/in/odd.ovr → /out/odd (1).jpg: disk full\n");
  EXPECT_TRUE(message.warning);
}

TEST(BatchRunText, ACancelledRunSaysWhatWasWrittenBeforeIt) {
  BatchReport report;
  report.total = 10;
  report.handled = 4;
  report.written = 3;
  report.cancelled = true;
  report.failures = {{"/in/b.ovr", {}, "unreadable"}};
  const BatchEndMessage message = batchEndMessage(report);
  EXPECT_TRUE(message.text.starts_with("一括変換を中止しました。"));
  EXPECT_NE(message.text.find("中止までに 3 個の画像を書き出しました"), std::string::npos);
  EXPECT_NE(message.text.find("10 個のファイルのうち 4 個を処理"), std::string::npos);
  EXPECT_NE(message.text.find("1 個のファイルを変換できませんでした"), std::string::npos);
  EXPECT_EQ(message.details, "/in/b.ovr: unreadable\n");
}

}  // namespace
}  // namespace orvane
