#include "tools/batch/batch_conversion.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "formats/binary_emblem_file.h"
#include "render/image_export.h"
#include "render/renderer.h"
#include "tools/batch/batch_output_name.h"
#include "tools/batch/emblem_folder.h"

namespace orvane {
namespace {

// What reading an input file taught: where its picture goes, or why it has none.
struct PlannedFile {
  bool loaded = false;
  std::filesystem::path output;
  std::string reason;
};

// The files that share one output picture (or one unreadable file), latest in folder order first.
struct OutputTask {
  std::vector<int> files;
};

// Calls work(0), work(1), ... up to count - 1 on `workers` threads, the caller's included, handing
// out the indices in order while `running` is set. False when it stopped before handing out all.
template <typename Work>
bool shareOut(int count, int workers, const std::atomic<bool>& running, Work work) {
  std::atomic<int> next{0};
  std::atomic<bool> stopped{false};
  auto loop = [&] {
    for (;;) {
      const int index = next.fetch_add(1);
      if (index >= count) return;
      if (!running.load()) {
        stopped.store(true);
        return;
      }
      work(index);
    }
  };
  std::vector<std::thread> threads;
  for (int w = 1; w < std::min(workers, count); ++w) {
    try {
      threads.emplace_back(loop);
    } catch (const std::system_error&) {
      break;  // run with the threads that could be started
    }
  }
  loop();
  for (std::thread& thread : threads) thread.join();
  return !stopped.load();
}

// Groups the files by output picture; the tasks follow the folder order of their latest file,
// the point at which a one-by-one run would write that picture for the last time.
std::vector<OutputTask> outputTasks(const std::vector<PlannedFile>& plan) {
  std::vector<OutputTask> tasks;
  std::map<std::filesystem::path::string_type, std::size_t> taskOfOutput;
  for (int i = int(plan.size()) - 1; i >= 0; --i) {
    if (!plan[i].loaded) {
      tasks.push_back({{i}});
      continue;
    }
    const auto [it, added] = taskOfOutput.try_emplace(plan[i].output.native(), tasks.size());
    if (added) {
      tasks.push_back({{i}});
    } else {
      tasks[it->second].files.push_back(i);
    }
  }
  std::reverse(tasks.begin(), tasks.end());
  return tasks;
}

}  // namespace

int batchWorkerCount(int jobs) {
  if (jobs > 0) return jobs;
  return int(std::max(1u, std::thread::hardware_concurrency()));
}

bool exportBatchPicture(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                        const std::filesystem::path& output, const BatchSettings& settings,
                        std::string* error) {
  if (output.empty()) {
    if (error) *error = "no file name";
    return false;
  }
  Renderer renderer;
  // With several workers every core is busy already: a renderer's own helper thread would only
  // compete with them. A single worker lets its renderer shade on two threads.
  renderer.setShadingThreads(batchWorkerCount(settings.jobs) > 1 ? 1 : 2);
  const ExportSettings exportSettings{settings.scale, settings.checkerBackground,
                                      settings.backgroundColour, settings.colourConversion,
                                      settings.blur};
  if (!renderExportPicture(renderer, document, atlas, exportSettings, error)) return false;
  return renderer.saveBackBuffer(output, settings.format, error);
}

BatchReport RunBatchConversion(const BatchSettings& settings, std::span<const std::uint16_t> atlas,
                               const std::atomic<bool>& running, const BatchProgress& progress) {
  const std::vector<std::string> names = listEmblemFiles(settings.inputFolder);
  const int workers = batchWorkerCount(settings.jobs);
  BatchReport report;
  report.total = int(names.size());
  auto inputPath = [&](int i) { return settings.inputFolder / names[std::size_t(i)]; };

  // First every file is read once to learn where its picture goes.
  std::vector<PlannedFile> plan(names.size());
  const bool planned = shareOut(report.total, workers, running, [&](int i) {
    EmblemDocument document;
    PlannedFile& file = plan[std::size_t(i)];
    file.loaded = readBinaryEmblem(document, inputPath(i), &file.reason);
    if (file.loaded) {
      file.output =
          batchOutputPath(settings.outputFolder, settings.format, document, names[std::size_t(i)]);
    }
  });
  if (!planned) {
    report.cancelled = true;
    return report;
  }

  // Then each output picture is made by one thread from the latest file that can make it.
  const std::vector<OutputTask> tasks = outputTasks(plan);
  std::mutex reportMutex;
  std::vector<std::pair<int, std::string>> failures;
  const bool finished = shareOut(int(tasks.size()), workers, running, [&](int t) {
    std::vector<std::pair<int, std::string>> taskFailures;
    bool written = false;
    for (int i : tasks[std::size_t(t)].files) {
      if (written) break;  // the earlier files would have been overwritten
      const PlannedFile& file = plan[std::size_t(i)];
      if (!file.loaded) {
        taskFailures.emplace_back(i, file.reason);
        continue;
      }
      EmblemDocument document;
      std::string reason;
      if (readBinaryEmblem(document, inputPath(i), &reason) &&
          exportBatchPicture(document, atlas, file.output, settings, &reason)) {
        written = true;
      } else {
        taskFailures.emplace_back(i, reason.empty() ? "no picture was made" : std::move(reason));
      }
    }
    const std::lock_guard lock(reportMutex);
    report.written += written ? 1 : 0;
    for (auto& failure : taskFailures) failures.push_back(std::move(failure));
    for (std::size_t k = 0; k < tasks[std::size_t(t)].files.size(); ++k) {
      ++report.handled;
      if (progress) progress(report.handled, CountEmblemFiles(settings.inputFolder));
    }
  });
  report.cancelled = !finished;

  std::sort(failures.begin(), failures.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [index, reason] : failures) {
    report.failures.push_back({inputPath(index), std::move(reason)});
  }
  return report;
}

}  // namespace orvane
