// The editor pane's repaint (768 x 384, background, emblem, selection and frame) for the two
// 225-layer scenes, without and with blur. Targets for the mixed scene: 4 ms without blur, 8 ms
// with it.
// CPU time is that of the whole process: the renderer shades on a helper thread too.
#include <benchmark/benchmark.h>

#include "render/editor_picture.h"
#include "render_bench_scenes.h"

namespace orvane::bench {
namespace {

void repaint(benchmark::State& state, void (*makeEmblem)(EmblemDocument&)) {
  EmblemDocument document;
  makeEmblem(document);
  Renderer renderer;
  if (benchAtlas().empty() || !setUpEditorRenderer(renderer, benchAtlas().pixels())) {
    state.SkipWithError("no parts atlas");
    return;
  }
  const EditorPictureSettings settings{true, state.range(0) != 0, false};
  for (auto _ : state) {
    drawEditorPicture(renderer, document, document.root(), settings);
    benchmark::DoNotOptimize(renderer.backBuffer().pixels[0]);
  }
}

void BM_EditorPictureMosaic(benchmark::State& state) { repaint(state, mosaicEmblem); }
void BM_EditorPictureMixed(benchmark::State& state) { repaint(state, mixedEmblem); }

BENCHMARK(BM_EditorPictureMosaic)
    ->ArgName("blur")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_EditorPictureMixed)
    ->ArgName("blur")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace orvane::bench
