// Iterations per second of the random-art evolution at a fixed gene count, for the plain path
// (every candidate drawn whole and all pixels compared) and the incremental one (only the pixels
// the mutation touched), each on one thread. Both give the same results; the ratio is the
// speed-up (the target: 10 times at 300 genes).
//
//   build/bench/randomart_bench --benchmark_min_time=2
//
// The genome of each size is grown once from a fixed seed on the committed target picture;
// the timed loop then runs the default operators with the count held (layerCountMin =
// layerCountMax = N, so no gene is added or deleted).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>

#include "allocation_counter.h"
#include "bench_atlas.h"
#include "formats/parts_atlas.h"
#include "tools/randomart/evolution.h"
#include "tools/randomart/target_picture.h"

namespace orvane {
namespace {

const TargetPixels& target() {
  static const TargetPixels pixels = [] {
    TargetPixels t;
    if (!loadTargetPictureFile(ORVANE_BENCH_DIR "/randomart_target.png", t)) std::abort();
    return t;
  }();
  return pixels;
}

// A genome of `genes` genes grown by the evolution itself, so that its genes have the sizes and
// overlaps a real run produces.
const Genome& grownGenome(int genes) {
  static std::map<int, Genome> cache;
  auto found = cache.find(genes);
  if (found != cache.end()) return found->second;
  IncrementalEvaluator evaluator;
  if (!evaluator.create(orvane::bench::benchAtlas())) std::abort();
  RandomGenerator random(2024);
  EvolutionEngine engine(evaluator, random);
  Genome best, candidate;
  if (!engine.start(best, target())) std::abort();
  EvolutionParameters p;
  p.layerCountMax = genes;
  while (best.count < genes) engine.step(best, candidate, p);
  p.layerCountMin = genes;
  for (int i = 0; i < 3000; ++i) engine.step(best, candidate, p);
  return cache[genes] = best;
}

template <typename Evaluator>
void runEvolution(benchmark::State& state) {
  const int genes = int(state.range(0));
  Genome best = grownGenome(genes), candidate;
  auto evaluator = std::make_unique<Evaluator>();
  if (!evaluator->create(orvane::bench::benchAtlas())) std::abort();
  RandomGenerator random(99);
  EvolutionEngine engine(*evaluator, random);
  engine.start(best, target());
  EvolutionParameters p;
  p.layerCountMin = p.layerCountMax = genes;
  const long allocationsBefore = orvane::bench::allocations.load();
  for (auto _ : state) benchmark::DoNotOptimize(engine.step(best, candidate, p));
  state.SetItemsProcessed(state.iterations());
  state.counters["allocations_per_iteration"] =
      double(orvane::bench::allocations.load() - allocationsBefore) / double(state.iterations());
  state.counters["simulations"] = double(engine.counters().simulationCount);
}

BENCHMARK(runEvolution<PlainEvaluator>)
    ->Name("plain")
    ->Arg(50)
    ->Arg(300)
    ->Arg(511)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(runEvolution<IncrementalEvaluator>)
    ->Name("incremental")
    ->Arg(50)
    ->Arg(300)
    ->Arg(511)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
