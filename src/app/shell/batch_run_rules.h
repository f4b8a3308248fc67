#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tools/batch/batch_conversion.h"

namespace orvane {

// The batch conversion dialogs' rules that are not about widgets: the checks of the two folders
// before a run, the progress caption and the message at the end.

// Why the run cannot read its input folder: no folder given, no such folder, a folder that
// cannot be read or that holds no emblem file (*.ovr). Nothing when it can start.
std::optional<std::string> inputFolderProblem(const std::filesystem::path& folder);

// Why the run cannot write into its output folder. A missing folder is created first (with its
// parents); the folder is then tried by writing and removing a small file. Nothing when the
// pictures can be written.
std::optional<std::string> outputFolderProblem(const std::filesystem::path& folder);

// "一括変換中... %d / %d": the files handled so far and the folder's current count.
std::string batchProgressCaption(int position, int total);

// What the editor tells the user after a run.
struct BatchEndMessage {
  std::string text;
  std::string details;   // one line per failed file, "<path>: <reason>"; empty without failures
  bool warning = false;  // some files were not converted
};
// "一括変換が完了しました。" alone when every file was written; otherwise how many files failed
// or, for a cancelled run, how many pictures were written before the cancel.
BatchEndMessage batchEndMessage(const BatchReport& report);

}  // namespace orvane
