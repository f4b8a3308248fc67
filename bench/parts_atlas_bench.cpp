// Start-up cost of the parts atlas: deciphering and unpacking the embedded resource. The target
// is at most 5 ms for one load.
#include <benchmark/benchmark.h>

#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"

namespace {

void BM_LoadPartsAtlas(benchmark::State& state) {
  for (auto _ : state) {
    orvane::PartsAtlasBuffer atlas;
    const bool loaded = orvane::loadEmbeddedPartsAtlas(atlas);
    benchmark::DoNotOptimize(loaded);
    benchmark::DoNotOptimize(atlas.pixels().data());
    if (!loaded) state.SkipWithError("the embedded atlas did not load");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(orvane::kPartsAtlasResourceBytes));
}
BENCHMARK(BM_LoadPartsAtlas)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
