#include "tools/batch/batch_conversion.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "formats/binary_emblem_file.h"
#include "render/image_export.h"
#include "render/renderer.h"
#include "tools/batch/background_saver.h"
#include "tools/batch/batch_output_name.h"
#include "tools/batch/emblem_folder.h"
#include "tools/batch/memory_budget.h"

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

// A failed file of the run, by its index in the folder order.
struct FailedFile {
  int index = 0;
  std::filesystem::path output;  // when saving it failed
  std::string reason;
};

// Calls work(0, worker), work(1, worker), ... up to count - 1 on `workers` threads, the caller's
// included (worker 0), handing out the indices in order while `running` is set. False when it
// stopped before handing out all.
template <typename Work>
bool shareOut(int count, int workers, const std::atomic<bool>& running, Work work) {
  std::atomic<int> next{0};
  std::atomic<bool> stopped{false};
  auto loop = [&](int worker) {
    for (;;) {
      const int index = next.fetch_add(1);
      if (index >= count) return;
      if (!running.load()) {
        stopped.store(true);
        return;
      }
      work(index, worker);
    }
  };
  std::vector<std::thread> threads;
  for (int w = 1; w < std::min(workers, count); ++w) {
    try {
      threads.emplace_back(loop, w);
    } catch (const std::system_error&) {
      break;  // run with the threads that could be started
    }
  }
  loop(0);
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

// The picture of one emblem with the run's options, encoded; false with the reason otherwise.
bool renderBatchPicture(Renderer& renderer, const EmblemDocument& document, const TexturePtr& atlas,
                        const BatchSettings& settings, std::string& bytes, std::string* error) {
  // A job is one thread: the picture is shaded on the worker's own thread, so `jobs` says how
  // many cores the conversion keeps busy (the default, one job per core, fills them all).
  renderer.setShadingThreads(1);
  return renderExportPicture(renderer, document, atlas, settings.picture, error) &&
         renderer.encodeBackBuffer(settings.format, bytes, error);
}

// Renderers keep their buffers from one picture to the next unless a picture needed more than
// this: what the budget does not count stays small.
constexpr std::uint64_t kKeptRendererBytes = std::uint64_t{16} << 20;

}  // namespace

int batchFilesInHand(int workers) {
  workers = std::max(workers, 1);
  return workers + workers + kBatchSaverThreads;  // drawn, queued for saving, being saved
}

int batchWorkerCount(int jobs) {
  if (jobs > 0) return jobs;
  return int(std::max(1u, std::thread::hardware_concurrency()));
}

bool exportBatchPicture(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                        const std::filesystem::path& output, const BatchSettings& settings,
                        std::string* error) {
  if (output.empty()) return fail(error, "no file name");
  Renderer renderer;
  std::string bytes;
  return renderBatchPicture(renderer, document, exportAtlasTexture(atlas), settings, bytes,
                            error) &&
         saveFileAtomically(output, bytes, error);
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
  const bool planned = shareOut(report.total, workers, running, [&](int i, int) {
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
  // One atlas texture for the run and one renderer per worker, kept from picture to picture.
  const TexturePtr atlasTexture = exportAtlasTexture(atlas);
  std::vector<std::unique_ptr<Renderer>> renderers(std::size_t(std::max(workers, 1)));
  for (auto& renderer : renderers) renderer = std::make_unique<Renderer>();
  std::mutex reportMutex;
  std::vector<FailedFile> failures;
  // The folder is counted again for every report, but a large one at most every 100 ms: each
  // count lists the whole folder, so counting after every file would make a run over thousands
  // of files spend more time listing than converting.
  constexpr int kCheapToCount = 256;
  constexpr auto kCountEvery = std::chrono::milliseconds(100);
  int folderCount = report.total;
  auto countedAt = std::chrono::steady_clock::now();
  auto currentCount = [&] {
    const auto now = std::chrono::steady_clock::now();
    if (folderCount <= kCheapToCount || now - countedAt >= kCountEvery) {
      folderCount = CountEmblemFiles(settings.inputFolder);
      countedAt = now;
    }
    return folderCount;
  };
  // `replaced` files of the task were left out because a later one made the picture.
  auto finishTask = [&](int t, bool written, int replaced, std::vector<FailedFile>& failed) {
    const std::lock_guard lock(reportMutex);
    report.written += written ? 1 : 0;
    report.replaced += written ? replaced : 0;
    for (auto& failure : failed) failures.push_back(std::move(failure));
    for (std::size_t k = 0; k < tasks[std::size_t(t)].files.size(); ++k) {
      ++report.handled;
      if (progress) progress(report.handled, currentCount());
    }
  };
  // The workers only draw and encode; the files go to disk on the saver threads, so that no
  // worker waits for the disk.
  MemoryBudget memory(settings.memoryBudget > 0 ? settings.memoryBudget
                                                : availableMemoryBytes() / 4 * 3);
  BackgroundSaver saver(kBatchSaverThreads, std::size_t(std::max(workers, 1)));
  const bool finished = shareOut(int(tasks.size()), workers, running, [&](int t, int worker) {
    const std::vector<int>& files = tasks[std::size_t(t)].files;
    std::vector<FailedFile> taskFailures;
    bool written = false;
    std::size_t k = 0;
    for (; k < files.size() && !written; ++k) {
      const int i = files[k];
      const PlannedFile& file = plan[std::size_t(i)];
      if (!file.loaded || file.output.empty()) {
        taskFailures.push_back({i, {}, file.loaded ? "no file name" : file.reason});
        continue;
      }
      EmblemDocument document;
      std::string reason, bytes;
      if (!readBinaryEmblem(document, inputPath(i), &reason)) {
        taskFailures.push_back({i, {}, std::move(reason)});
        continue;
      }
      // The picture's memory is taken from the budget until its file is saved.
      int width = 0, height = 0;
      const std::uint64_t needed =
          exportPictureSize(document, settings.picture.scale, width, height)
              ? exportMemoryBytes(width, height, settings.picture)
              : 0;
      memory.acquire(needed);
      Renderer& renderer = *renderers[std::size_t(worker)];
      const bool made =
          renderBatchPicture(renderer, document, atlasTexture, settings, bytes, &reason);
      // A large picture's buffers go back at once; small ones are kept for the next picture.
      if (needed > kKeptRendererBytes) renderer.release();
      if (!made) {
        memory.release(needed);
        taskFailures.push_back({i, {}, reason.empty() ? "no picture was made" : std::move(reason)});
        continue;
      }
      if (k + 1 == files.size()) {
        // No earlier file to fall back on: the task ends when the saver is done with it.
        saver.save(file.output, std::move(bytes),
                   [&, t, i, needed, output = file.output, failed = std::move(taskFailures)](
                       bool saved, std::string why) mutable {
                     memory.release(needed);
                     if (!saved) failed.push_back({i, output, std::move(why)});
                     finishTask(t, saved, 0, failed);
                   });
        return;
      }
      // An earlier file makes the picture if this one cannot be saved, so this save is waited
      // for (only files that share an output name come here).
      written = saveFileAtomically(file.output, bytes, &reason);
      memory.release(needed);
      if (!written) taskFailures.push_back({i, file.output, std::move(reason)});
    }
    finishTask(t, written, int(files.size() - k), taskFailures);
  });
  saver.finish();
  report.cancelled = !finished;

  std::sort(failures.begin(), failures.end(),
            [](const FailedFile& a, const FailedFile& b) { return a.index < b.index; });
  for (FailedFile& failure : failures) {
    report.failures.push_back(
        {inputPath(failure.index), std::move(failure.output), std::move(failure.reason)});
  }
  return report;
}

}  // namespace orvane
