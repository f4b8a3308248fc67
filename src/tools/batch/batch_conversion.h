#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "document/emblem_document.h"
#include "render/image_export.h"
#include "render/picture_file.h"

namespace orvane {

// One run of the batch conversion: every emblem file of a folder exported with the same options.
// The defaults are those the tool's dialog starts with.
struct BatchSettings {
  std::filesystem::path inputFolder;
  std::filesystem::path outputFolder;
  ImageFormat format = ImageFormat::Jpeg;
  ExportSettings picture{.scale = 1.0f, .blur = true};
  int jobs = 0;  // worker threads; 0 means one per core
  // Bytes the pictures in hand may take together (exportMemoryBytes each): workers wait for room
  // before they draw, so large pictures are drawn fewer at a time. 0: three quarters of the
  // memory available when the run starts.
  std::uint64_t memoryBudget = 0;
};

// An input file that gave no picture, and why; `output` names the picture when it was the
// writing that failed (empty otherwise).
struct BatchFailure {
  std::filesystem::path file;
  std::filesystem::path output;
  std::string reason;
};

struct BatchReport {
  int total = 0;     // emblem files in the folder when the run started
  int handled = 0;   // of those, the files dealt with: converted, replaced or failed
  int written = 0;   // pictures written
  int replaced = 0;  // files not exported since a later file has the same output name
  bool cancelled = false;
  std::vector<BatchFailure> failures;  // in folder order
};

// Called after each file with the number of files handled so far and the folder's count of
// emblem files taken again at that moment (for a folder of more than 256 files, at most every
// 100 ms; the calls between repeat the last count). Calls come from the run's threads one at a
// time.
using BatchProgress = std::function<void(int position, int total)>;

// The number of worker threads a `jobs` setting means: itself, or one per core for 0 or less.
int batchWorkerCount(int jobs);

// Pictures are drawn and encoded by the workers and written by this many threads of their own,
// which spend most of their time waiting for the disk.
inline constexpr int kBatchSaverThreads = 2;
// The most files a run with this many workers has in hand at once (being drawn, waiting to be
// saved, being saved); all of them finish when the run is cancelled.
int batchFilesInHand(int workers);

// Exports one emblem with the run's options (exportImage); false with the reason otherwise.
bool exportBatchPicture(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                        const std::filesystem::path& output, const BatchSettings& settings,
                        std::string* error = nullptr);

// Converts the folder: each emblem file (listEmblemFiles, bytewise name order) is read into a
// private document and exported to batchOutputPath. Blocks until the run ends.
//
// The work is shared by settings.jobs threads (the calling thread is one of them), each reading
// and exporting with documents and renderers of its own; `atlas` is only read. How many
// pictures are drawn at once follows from their size and settings.memoryBudget as well. The
// pictures are exactly those a one-by-one run in folder order leaves behind: files are read first
// to learn their output names, and where several files give the same name only the latest in folder
// order is exported (the one before it when that one fails, and so on), so no two threads ever
// write the same file. A file replaced that way is not exported at all, so a failure it might have
// had is not reported.
//
// `running` is tested before each file is handed out; clearing it (from any thread) lets the
// files in hand (batchFilesInHand) finish and ends the run with `cancelled` set. Unreadable files
// and failed exports are reported in `failures` and the run goes on.
BatchReport RunBatchConversion(const BatchSettings& settings, std::span<const std::uint16_t> atlas,
                               const std::atomic<bool>& running,
                               const BatchProgress& progress = {});

}  // namespace orvane
