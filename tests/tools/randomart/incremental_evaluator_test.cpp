#include <gtest/gtest.h>

#include <algorithm>

#include "randomart_test_support.h"
#include "render/span_shader.h"
#include "tools/randomart/evolution.h"
#include "tools/randomart/genome_evaluator.h"

namespace orvane {
namespace {

using test::partsAtlas;
using test::sampleTarget;

bool samePicture(const PixelView& a, const PixelView& b) {
  return a.width == b.width && a.height == b.height &&
         std::equal(a.pixels, a.pixels + std::size_t(a.width) * a.height, b.pixels);
}

// Runs the plain and the incremental engine side by side from one seed and demands the same
// step results, errors, genomes and pictures at every iteration; the final gene count goes to
// `genes` when asked for.
void expectSameRuns(const EvolutionParameters& parameters, int iterations, std::uint32_t seed,
                    int pictureCheckEvery, int* genes = nullptr) {
  const TargetPixels target = sampleTarget();
  PlainEvaluator plain;
  IncrementalEvaluator fast;
  ASSERT_TRUE(plain.create(partsAtlas()));
  ASSERT_TRUE(fast.create(partsAtlas()));
  RandomGenerator plainRandom(seed), fastRandom(seed);
  EvolutionEngine plainEngine(plain, plainRandom), fastEngine(fast, fastRandom);
  Genome plainBest, plainCandidate, fastBest, fastCandidate;
  ASSERT_TRUE(plainEngine.start(plainBest, target));
  ASSERT_TRUE(fastEngine.start(fastBest, target));
  ASSERT_EQ(plainEngine.counters().initialError, fastEngine.counters().initialError);
  for (int i = 0; i < iterations; ++i) {
    const EvolutionStep a = plainEngine.step(plainBest, plainCandidate, parameters);
    const EvolutionStep b = fastEngine.step(fastBest, fastCandidate, parameters);
    ASSERT_EQ(a, b) << "iteration " << i;
    ASSERT_EQ(plainEngine.lastError(), fastEngine.lastError()) << "iteration " << i;
    ASSERT_EQ(plainBest.count, fastBest.count);
    ASSERT_TRUE(std::equal(plainBest.genes.begin(), plainBest.genes.begin() + plainBest.count,
                           fastBest.genes.begin()));
    if (a != EvolutionStep::Unchanged && i % pictureCheckEvery == 0) {
      ASSERT_TRUE(samePicture(plain.bestPicture(), fast.bestPicture())) << "iteration " << i;
    }
    if (a == EvolutionStep::Perfect) break;
  }
  EXPECT_EQ(plainEngine.counters().bestError, fastEngine.counters().bestError);
  EXPECT_EQ(plainEngine.counters().bestUpdateCount, fastEngine.counters().bestUpdateCount);
  EXPECT_TRUE(samePicture(plain.bestPicture(), fast.bestPicture()));
  if (genes) *genes = fastBest.count;
}

TEST(IncrementalEvaluator, MatchesThePlainPathWithTheDefaults) {
  EvolutionParameters p;
  p.layerCountMax = 20;
  expectSameRuns(p, 1500, 12345, 7);
}

TEST(IncrementalEvaluator, MatchesThePlainPathWithLivelyOperators) {
  // Frequent large moves, reorders, deletes and recolourings, so big and crossed quads, stack
  // changes and every sampler path come up often.
  EvolutionParameters p;
  p.layerCountMax = 8;
  p.layerDeleteRate = 40;
  p.orderChangeRate = 8;
  p.coordLargeMoveRate = 200;
  p.coordMediumMoveRate = 30;
  p.coordSmallMoveRate = 20;
  p.redChangeRate = p.greenChangeRate = p.blueChangeRate = 90;
  p.alphaChangeRate = p.partChangeRate = 90;
  p.partMax = 1024;
  expectSameRuns(p, 700, 777, 3);
}

TEST(IncrementalEvaluator, MatchesThePlainPathOnADeepStack) {
  // Many overlapping genes: every pixel is redrawn through a long stack of rasters, most of
  // them with stretches left out where they write nothing.
  EvolutionParameters p;
  p.layerCountMax = 160;
  p.layerDeleteRate = 300;
  int genes = 0;
  expectSameRuns(p, 900, 4242, 11, &genes);
  EXPECT_GE(genes, 120);
}

TEST(IncrementalEvaluator, MatchesThePlainPathWithoutVectorCode) {
  struct Restore {
    ~Restore() { allowVectorShading(true); }
  } restore;
  allowVectorShading(false);
  EvolutionParameters p;
  p.layerCountMax = 30;
  p.coordMediumMoveRate = 40;
  p.partChangeRate = 60;
  expectSameRuns(p, 500, 99, 5);
}

}  // namespace
}  // namespace orvane
