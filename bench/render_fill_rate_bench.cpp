// Fill rate of textured quads: covered pixels per CPU-second ("pixels" counter), one shading
// thread. Quads of 64 x 64-texel cells are drawn magnified (256 pixels a side, four pixels per
// texel) or minified (24 pixels a side, and 48 x 16 for an anisotropic footprint), upright or
// turned, with a translucent colour. "parts:0" draws a gradation part whose texels are all
// partly opaque, so that every covered pixel is sampled and blended; "parts:1" cycles through
// all 1024 parts, most of whose cells are clear. Target: 1 billion pixels per CPU-second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "render/renderer.h"
#include "render_bench_scenes.h"

namespace orvane::bench {
namespace {

constexpr int kTargetWidth = 1024, kTargetHeight = 768;
// A gradation whose 64 x 64 texels are all partly opaque and vary from texel to texel.
constexpr std::uint32_t kGradationPart = 484;

struct BenchQuad {
  WorldPoint lt, lb, rt, rb;
  std::uint32_t colour;
  AtlasCell cell;
};

// Quads of width x height pixels turned by `angle` radians, on a grid over the target, and the
// pixels they cover (their area: every quad lies inside the target).
std::vector<BenchQuad> layOut(float width, float height, float angle, bool realParts,
                              double& pixels) {
  std::vector<BenchQuad> quads;
  const float reach = 0.5f * std::hypot(width, height);
  const float stepX = std::max(width, height) * 0.75f, stepY = stepX;
  const float c = std::cos(angle), s = std::sin(angle);
  std::uint32_t part = 0;
  pixels = 0;
  for (float y = -kTargetHeight / 2 + reach; y <= kTargetHeight / 2 - reach; y += stepY) {
    for (float x = -kTargetWidth / 2 + reach; x <= kTargetWidth / 2 - reach; x += stepX) {
      auto at = [&](float dx, float dy) {
        return WorldPoint{x + c * dx - s * dy, y + s * dx + c * dy};
      };
      const float hw = width / 2, hh = height / 2;
      BenchQuad q{at(-hw, hh), at(-hw, -hh), at(hw, hh), at(hw, -hh), 0, {}};
      q.colour = 0xC0000000u | (0x00FFFFFFu & (0x9E3779B9u * (part + 1)));
      q.cell = cellOf(realParts ? part % 1024 : kGradationPart);
      ++part;
      quads.push_back(q);
      pixels += double(width) * height;
    }
  }
  return quads;
}

// Arguments: quad width and height in pixels, turned (0 or 1), real parts (0 or 1).
void BM_FillRate(benchmark::State& state) {
  Renderer renderer;
  if (benchAtlas().empty() || !renderer.create(kTargetWidth, kTargetHeight)) {
    state.SkipWithError("no parts atlas");
    return;
  }
  renderer.setShadingThreads(1);
  renderer.useAnisotropicFiltering();
  renderer.setTexture(renderer.createTextureFromPixels(int(kAtlasWidth), int(kAtlasHeight),
                                                       benchAtlas().pixels().data(),
                                                       PixelFormat::A4R4G4B4, 16));
  double pixels = 0;
  const std::vector<BenchQuad> quads =
      layOut(float(state.range(0)), float(state.range(1)), state.range(2) ? 0.35f : 0.0f,
             state.range(3) != 0, pixels);
  auto drawAll = [&] {
    for (const BenchQuad& q : quads) renderer.drawQuad(q.lt, q.lb, q.rt, q.rb, q.colour, q.cell);
    benchmark::DoNotOptimize(renderer.backBuffer().pixels[0]);
  };
  drawAll();  // the texture's first use, which makes its mip levels, is not timed
  for (auto _ : state) drawAll();
  state.counters["pixels"] =
      benchmark::Counter(pixels * double(state.iterations()), benchmark::Counter::kIsRate);
}

void fillRateArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"w", "h", "turned", "parts"});
  for (int parts : {0, 1}) {
    for (int turned : {0, 1}) {
      b->Args({256, 256, turned, parts});  // magnified 4x
      b->Args({24, 24, turned, parts});    // minified to 3/8
      b->Args({48, 16, turned, parts});    // minified along one axis: several taps
    }
  }
}

BENCHMARK(BM_FillRate)->Apply(fillRateArguments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane::bench
