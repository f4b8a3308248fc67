// The batch conversion over a folder of 500 generated emblem files (ORVANE_BATCH_FILES changes
// the number), with 1 and 2 jobs (drawing threads; the files are written by the run's saver
// threads either way), PNG and JPEG, scale 1 and 4, blur on as the tool's defaults. Reports
// files per second; the target is 2 jobs at 1.8 times the speed of 1 on a quiet two-core
// machine; cpu_ms_per_file (all threads) shows whether the threads get in each other's way even
// when other programs share the cores. The machine's speed wanders from run to run, so take the
// medians of a few repetitions:
//   build/bench/bench_batch --benchmark_counters_tabular=true --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

#include "formats/binary_emblem_file.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/batch/batch_conversion.h"

namespace orvane::bench {
namespace {

namespace fs = std::filesystem;

// The generated input folder, made once and removed at exit.
class EmblemFolder {
 public:
  EmblemFolder() {
    root_ = fs::temp_directory_path() / ("orvane_batch_bench_" + std::to_string(::getpid()));
    fs::create_directories(input());
    const char* count = std::getenv("ORVANE_BATCH_FILES");
    files_ = count ? std::max(1, std::atoi(count)) : 500;
    std::mt19937 random(1234);
    for (int i = 0; i < files_; ++i) {
      EmblemDocument document;
      std::u16string name = u"紋章";
      for (char c : std::to_string(i)) name += char16_t(c);
      document.newDocument(name, 192, 96);
      EmblemInfo info = document.root()->info();
      info.authorId = 1000 + i;
      EmblemDocument::setInfo(document.root(), info);
      // 20 to 100 layers of random parts, places and colours, as real emblems have.
      const int layers = 20 + int(random() % 81);
      for (int k = 0; k < layers; ++k) {
        NodePtr layer = document.makeNewLayer();
        LayerRecord record = EmblemDocument::defaultLayerRecord();
        const int x = int(random() % 160) - 80, y = int(random() % 80) - 40;
        const int w = 4 + int(random() % 40), h = 4 + int(random() % 40);
        record.ltx = record.lbx = x, record.rtx = record.rbx = x + w;
        record.lty = record.rty = y, record.lby = record.rby = y + h;
        record.color = 0xFF000000u | (random() & 0xFCFCFCu) | (random() & 0x7u) << 29;
        record.partId = int(random() % 1024);
        EmblemDocument::setLayerRecord(layer.get(), record);
        document.appendChild(document.root(), std::move(layer));
      }
      std::string file = "e";
      file += std::to_string(i);
      file += ".ovr";
      writeBinaryEmblem(document, input() / file);
    }
    loadEmbeddedPartsAtlas(atlas_);
  }
  ~EmblemFolder() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  fs::path input() const { return root_ / "in"; }
  fs::path freshOutput() const {
    fs::path folder = root_ / ("out" + std::to_string(outputs_++));
    fs::create_directories(folder);
    return folder;
  }
  int files() const { return files_; }
  const PartsAtlasBuffer& atlas() const { return atlas_; }

 private:
  fs::path root_;
  int files_ = 0;
  mutable int outputs_ = 0;
  PartsAtlasBuffer atlas_;
};

const EmblemFolder& folder() {
  static const EmblemFolder instance;
  return instance;
}

// Arguments: jobs, format (ImageFormat value), scale.
void BM_BatchConversion(benchmark::State& state) {
  const EmblemFolder& f = folder();
  if (f.atlas().empty()) {
    state.SkipWithError("no parts atlas");
    return;
  }
  BatchSettings settings;
  settings.inputFolder = f.input();
  settings.jobs = int(state.range(0));
  settings.format = ImageFormat(state.range(1));
  settings.picture.scale = float(state.range(2));
  std::atomic<bool> running{true};
  int handled = 0;
  double cpuSeconds = 0;
  for (auto _ : state) {
    // A fresh output folder each time: emptying one folder just before writing 500 files into
    // it again would make the file system search past freshly freed inodes, which a user's run
    // seldom meets. The folders go with the input at exit.
    state.PauseTiming();
    settings.outputFolder = f.freshOutput();
    state.ResumeTiming();
    const std::clock_t start = std::clock();
    const BatchReport report = RunBatchConversion(settings, f.atlas().pixels(), running);
    cpuSeconds += double(std::clock() - start) / CLOCKS_PER_SEC;
    if (!report.failures.empty() || report.written != f.files()) {
      state.SkipWithError("the conversion failed");
      break;
    }
    handled += report.handled;
  }
  state.counters["files_per_s"] = benchmark::Counter(handled, benchmark::Counter::kIsRate);
  // CPU time of all threads per file: equal for 1 and 2 jobs means the threads do not slow each
  // other down, whatever else the machine is running.
  state.counters["cpu_ms_per_file"] = handled ? 1000.0 * cpuSeconds / handled : 0.0;
  state.SetLabel(std::string(settings.format == ImageFormat::Png ? "png" : "jpg") + " scale " +
                 std::to_string(state.range(2)) + ", " + std::to_string(settings.jobs) +
                 (settings.jobs == 1 ? " job" : " jobs"));
}

BENCHMARK(BM_BatchConversion)
    ->ArgNames({"jobs", "format", "scale"})
    ->ArgsProduct({{1, 2}, {int(ImageFormat::Png), int(ImageFormat::Jpeg)}, {1, 4}})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
