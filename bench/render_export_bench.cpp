// exportImage of a 192 x 96 emblem at scale 4 to a PNG file, the encoder and the atlas upload
// included. Target for the mixed scene: 12 ms.
// CPU time is that of the whole process: the renderer shades on a helper thread too.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "render/image_export.h"
#include "render_bench_scenes.h"

namespace orvane::bench {
namespace {

void exportPng(benchmark::State& state, void (*makeEmblem)(EmblemDocument&)) {
  EmblemDocument document;
  makeEmblem(document);
  if (benchAtlas().empty()) {
    state.SkipWithError("no parts atlas");
    return;
  }
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("orvane_bench_" + std::to_string(::getpid()) + ".png");
  for (auto _ : state) {
    ExportSettings settings;
    settings.blur = state.range(0) != 0;
    if (!exportImage(document, benchAtlas().pixels(), path, ImageFormat::Png, settings)) {
      state.SkipWithError("export failed");
      break;
    }
  }
  std::filesystem::remove(path);
}

void BM_ExportPngMixed(benchmark::State& state) { exportPng(state, mixedEmblem); }
void BM_ExportPngMosaic(benchmark::State& state) { exportPng(state, mosaicEmblem); }

BENCHMARK(BM_ExportPngMixed)
    ->ArgName("blur")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ExportPngMosaic)
    ->ArgName("blur")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace orvane::bench
