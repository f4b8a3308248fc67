#include "app/shell/batch_run_rules.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "tools/batch/emblem_folder.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

std::string withPath(const std::string& what, const fs::path& path) {
  return what + "\n" + path.string();
}

std::string withReason(const std::string& what, const fs::path& path, const std::string& reason) {
  return withPath(what, path) + "\n\n" + reason;
}

// A name no picture of a run can have (those end in an image extension).
fs::path probeFileIn(const fs::path& folder) {
  static std::atomic<unsigned> serial{0};
  return folder / (".orvane-write-test-" + std::to_string(::getpid()) + "-" +
                   std::to_string(serial.fetch_add(1)));
}

}  // namespace

std::optional<std::string> inputFolderProblem(const fs::path& folder) {
  if (folder.empty()) return "入力フォルダを指定してください。";
  std::error_code error;
  if (!fs::is_directory(folder, error)) return withPath("入力フォルダが見つかりません。", folder);
  fs::directory_iterator entries(folder, error);
  if (error) return withReason("入力フォルダを読み込めません。", folder, error.message());
  if (CountEmblemFiles(folder) == 0) {
    return withPath("入力フォルダに OVR ファイル (*.ovr) がありません。", folder);
  }
  return std::nullopt;
}

std::optional<std::string> outputFolderProblem(const fs::path& folder) {
  if (folder.empty()) return "出力フォルダを指定してください。";
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
      return withReason("出力フォルダを作成できません。", folder,
                        error ? error.message() : std::string("it is not a folder"));
    }
  }
  const fs::path probe = probeFileIn(folder);
  {
    errno = 0;
    std::ofstream file(probe, std::ios::binary);
    if (!file || !(file << "orvane").flush()) {
      const int code = errno != 0 ? errno : EACCES;
      return withReason("出力フォルダに書き込めません。", folder,
                        std::generic_category().message(code));
    }
  }
  fs::remove(probe, error);
  return std::nullopt;
}

std::string batchProgressCaption(int position, int total) {
  return "一括変換中... " + std::to_string(position) + " / " + std::to_string(total);
}

BatchEndMessage batchEndMessage(const BatchReport& report) {
  BatchEndMessage message;
  for (const BatchFailure& failure : report.failures) {
    // A failed write names the picture too, so the user knows which file could not be made.
    message.details += failure.file.string();
    if (!failure.output.empty()) message.details += " → " + failure.output.string();
    message.details += ": " + failure.reason + "\n";
  }
  const std::string failed = std::to_string(report.failures.size());
  if (report.cancelled) {
    message.text = "一括変換を中止しました。\n中止までに " + std::to_string(report.written) +
                   " 個の画像を書き出しました (" + std::to_string(report.total) +
                   " 個のファイルのうち " + std::to_string(report.handled) + " 個を処理)。";
    if (!report.failures.empty()) {
      message.text += "\n" + failed + " 個のファイルを変換できませんでした。";
    }
    message.warning = true;
    return message;
  }
  if (!report.failures.empty()) {
    message.text = "一括変換が終了しました。\n" + std::to_string(report.total) +
                   " 個のファイルのうち " + failed + " 個を変換できませんでした。";
    message.warning = true;
    return message;
  }
  message.text = "一括変換が完了しました。";
  if (report.replaced > 0) {
    message.text += "\n出力名が同じ後のファイルに置き換えられたため、" +
                    std::to_string(report.replaced) + " 個のファイルは書き出していません。";
  }
  return message;
}

}  // namespace orvane
