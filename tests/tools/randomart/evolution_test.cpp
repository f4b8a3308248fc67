#include "tools/randomart/evolution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "randomart_test_support.h"
#include "tools/randomart/append_genome.h"
#include "tools/randomart/elapsed_time.h"
#include "tools/randomart/evolution_loop.h"

namespace orvane {
namespace {

using test::partsAtlas;

// Only the small move of width 0 fires: every pass counts as changed, yet the candidate always
// draws exactly like the best genome.
EvolutionParameters idleMoves() {
  EvolutionParameters p;
  for (int i : {2, 3, 4, 5, 6, 10, 13, 16, 19, 22}) p[i] = 2000;
  p.coordSmallMoveRate = 1;
  p.coordSmallMoveWidth = 0;
  return p;
}

Genome twoGenes() {
  Genome g;
  g.count = 2;
  const std::int8_t a[8] = {-40, -20, -40, 20, 0, -20, 0, 20};
  const std::int8_t b[8] = {-10, -30, -10, 10, 50, -30, 50, 10};
  std::copy(a, a + 8, g.genes[0].xy);
  std::copy(b, b + 8, g.genes[1].xy);
  g.genes[0].attributes = 63u | 7u << kAlphaShift | 241u << kPartShift;
  g.genes[1].attributes = 40u << kGreenShift | 3u << kAlphaShift | 300u << kPartShift;
  return g;
}

TEST(EvolutionEngine, StartsFromTheWhiteGroundAndKeepsTheFirstChangedCandidate) {
  IncrementalEvaluator evaluator;
  ASSERT_TRUE(evaluator.create(partsAtlas()));
  RandomGenerator random(1);
  EvolutionEngine engine(evaluator, random);
  const TargetPixels white(kFieldPixels, 0xFFFFFFFFu);
  Genome best = twoGenes(), candidate;
  ASSERT_TRUE(engine.start(best, white));
  EXPECT_EQ(engine.counters().initialError, 0);
  EXPECT_EQ(engine.counters().bestError, kMaxFieldError);
  // Ties are kept and counted: the same picture again and again.
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(engine.step(best, candidate, idleMoves()), EvolutionStep::Accepted);
  EXPECT_EQ(engine.counters().bestUpdateCount, 3u);
  EXPECT_EQ(engine.counters().simulationCount, 3u);
  EXPECT_GT(engine.counters().bestError, 0);
  // A pure white target makes the relative fit ratio not a number.
  EXPECT_FALSE(std::isfinite(progressOf(engine.counters(), 0, best.count).relativeFitRatio));
}

TEST(EvolutionEngine, AnExactMatchEndsTheRunAsAccepted) {
  PlainEvaluator reference;
  ASSERT_TRUE(reference.create(partsAtlas()));
  Genome best = twoGenes(), candidate;
  reference.reset(best, TargetPixels(kFieldPixels, 0xFFFFFFFFu));
  const PixelView drawn = reference.bestPicture();
  const TargetPixels target(drawn.pixels, drawn.pixels + kFieldPixels);

  IncrementalEvaluator evaluator;
  ASSERT_TRUE(evaluator.create(partsAtlas()));
  RandomGenerator random(4);
  EvolutionEngine engine(evaluator, random);
  ASSERT_TRUE(engine.start(best, target));
  EXPECT_EQ(engine.step(best, candidate, idleMoves()), EvolutionStep::Perfect);
  EXPECT_EQ(engine.counters().bestError, 0);
}

TEST(EvolutionEngine, NoOperatorFiringCostsNothingAndNoTargetFails) {
  IncrementalEvaluator evaluator;
  ASSERT_TRUE(evaluator.create(partsAtlas()));
  RandomGenerator random(4);
  EvolutionEngine engine(evaluator, random);
  Genome best, candidate;
  EXPECT_FALSE(engine.start(best, TargetPixels{}));
  const TargetPixels target = test::sampleTarget();
  ASSERT_TRUE(engine.start(best, target));
  EvolutionParameters off = idleMoves();
  off.coordSmallMoveRate = 2000;
  EXPECT_EQ(engine.step(best, candidate, off), EvolutionStep::Unchanged);
  EXPECT_EQ(engine.counters().simulationCount, 0u);
  // With the defaults a gene is added in every pass while below the maximum.
  for (int i = 0; i < 5; ++i)
    EXPECT_NE(engine.step(best, candidate, EvolutionParameters{}), EvolutionStep::Unchanged);
  EXPECT_EQ(engine.counters().simulationCount, 5u);
  EXPECT_GE(best.count, 1);  // the first changed candidate is always kept
}

TEST(AppendGenomeAsLayers, AddsAGroupOnTopWithTheFrontGeneFirstAndABackdrop) {
  EmblemDocument document;
  EXPECT_FALSE(AppendGenomeAsLayers(document, twoGenes()));  // no root
  ASSERT_TRUE(document.newDocument(u"x", 192, 96));
  ASSERT_TRUE(document.appendChild(document.root(), document.makeNewLayer()));
  const Genome genome = twoGenes();
  ASSERT_TRUE(AppendGenomeAsLayers(document, genome));
  const EmblemNode* group = document.root()->firstChild();
  ASSERT_EQ(group->kind(), NodeKind::Group);
  EXPECT_EQ(group->name(), u"ランダムアート");
  const EmblemNode* first = group->firstChild();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->name(), u"レイヤー1");
  EXPECT_EQ(first->layer().ltx, genome.genes[1].x(0));
  EXPECT_EQ(first->layer().rby, genome.genes[1].y(3));
  EXPECT_EQ(first->layer().color, geneColour(genome.genes[1]));
  EXPECT_EQ(first->layer().partId, 300);
  const EmblemNode* second = first->next();
  EXPECT_EQ(second->layer().partId, 241);
  EXPECT_EQ(second->layer().color, 0xFFFF0000u);
  const EmblemNode* backdrop = second->next();
  EXPECT_EQ(backdrop->name(), u"レイヤー3");
  EXPECT_EQ(backdrop->layer().partId, 242);
  EXPECT_EQ(backdrop->layer().color, 0xFFFFFFFFu);
  EXPECT_EQ(backdrop->layer().lbx, -128);
  EXPECT_EQ(backdrop->layer().lby, 127);
  EXPECT_EQ(backdrop->next(), nullptr);

  Genome empty;
  ASSERT_TRUE(AppendGenomeAsLayers(document, empty));
  const EmblemNode* only = document.root()->firstChild()->firstChild();
  EXPECT_EQ(only->name(), u"レイヤー1");
  EXPECT_EQ(only->layer().partId, 242);
  EXPECT_EQ(only->next(), nullptr);

  // A genome that covers the field itself gets no white layer behind it.
  ASSERT_TRUE(AppendGenomeAsLayers(document, genome, GenomeBackdrop::None));
  const EmblemNode* front = document.root()->firstChild()->firstChild();
  EXPECT_EQ(front->layer().partId, 300);
  ASSERT_NE(front->next(), nullptr);
  EXPECT_EQ(front->next()->layer().partId, 241);
  EXPECT_EQ(front->next()->next(), nullptr);
}

// The loop the worker and the command line share, on a state whose best genome is twoGenes().
class EvolutionLoop : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(evaluator.create(partsAtlas()));
    state.best = twoGenes();
    state.targetPixels = test::sampleTarget();
    ASSERT_TRUE(engine.start(state.best, state.targetPixels));
  }
  IncrementalEvaluator evaluator;
  RandomGenerator random{3};
  EvolutionEngine engine{evaluator, random};
  RandomArtState state;
};

TEST_F(EvolutionLoop, RunsUntilItsStopConditionAndReportsEveryMeasuredCandidate) {
  EvolutionHooks hooks;
  std::uint64_t measured = 0, lastSeen = 0;
  hooks.stopWhen = [](const EvolutionStatus& status) { return status.iterations >= 200; };
  hooks.measured = [&](EvolutionStep step, const EvolutionStatus& status, EvolutionEngine&) {
    EXPECT_NE(step, EvolutionStep::Unchanged);
    EXPECT_GT(status.iterations, lastSeen);  // counted before the hook hears of it
    lastSeen = status.iterations;
    ++measured;
  };
  const EvolutionOutcome outcome = runEvolution(engine, state, hooks);
  EXPECT_EQ(outcome.end, EvolutionEnd::Stopped);
  EXPECT_EQ(outcome.status.iterations, 200u);
  EXPECT_EQ(measured, engine.counters().simulationCount);
  EXPECT_GT(measured, 0u);

  // The state's stop flag ends a run before its first iteration.
  state.stop = true;
  EXPECT_EQ(runEvolution(engine, state, {}).status.iterations, 0u);
}

TEST_F(EvolutionLoop, AnExactMatchEndsTheRunWithItsIterationCounted) {
  PlainEvaluator reference;
  ASSERT_TRUE(reference.create(partsAtlas()));
  reference.reset(state.best, state.targetPixels);
  const PixelView drawn = reference.bestPicture();
  state.targetPixels.assign(drawn.pixels, drawn.pixels + kFieldPixels);
  ASSERT_TRUE(engine.start(state.best, state.targetPixels));
  state.parameters.assign(idleMoves());
  EvolutionStep last = EvolutionStep::Unchanged;
  EvolutionHooks hooks;
  hooks.measured = [&](EvolutionStep step, const EvolutionStatus&, EvolutionEngine&) {
    last = step;
  };
  const EvolutionOutcome outcome = runEvolution(engine, state, hooks);
  EXPECT_EQ(outcome.end, EvolutionEnd::Perfect);
  EXPECT_EQ(outcome.status.iterations, 1u);
  EXPECT_EQ(last, EvolutionStep::Perfect);
}

TEST_F(EvolutionLoop, ATargetTakenAwayDuringAPauseFailsTheRunUnlessItIsStopping) {
  EvolutionHooks hooks;
  hooks.pausePoint = [&] {
    state.targetPixels.clear();  // as if the picture were dropped while the run was held
    return true;
  };
  EXPECT_EQ(runEvolution(engine, state, hooks).end, EvolutionEnd::Failed);
  hooks.stopWhen = [](const EvolutionStatus&) { return true; };
  EXPECT_EQ(runEvolution(engine, state, hooks).end, EvolutionEnd::Stopped);
  // A pause that brought a target back draws the best again, and the run goes on.
  state.targetPixels = test::sampleTarget();
  hooks.pausePoint = [first = true]() mutable { return std::exchange(first, false); };
  hooks.stopWhen = [](const EvolutionStatus& status) { return status.iterations == 5; };
  const EvolutionOutcome resumed = runEvolution(engine, state, hooks);
  EXPECT_EQ(resumed.end, EvolutionEnd::Stopped);
  EXPECT_EQ(resumed.status.iterations, 5u);
}

TEST(FormatElapsedTime, ShowsOnlyTheUnitsThatMatter) {
  EXPECT_EQ(FormatElapsedTime(0), "0秒");
  EXPECT_EQ(FormatElapsedTime(59'999), "59秒");
  EXPECT_EQ(FormatElapsedTime(60'000), "1分00秒");
  EXPECT_EQ(FormatElapsedTime(3'599'000), "59分59秒");
  EXPECT_EQ(FormatElapsedTime(3'600'000 + 5'000), "1時間00分05秒");
  EXPECT_EQ(FormatElapsedTime(86'400'000u * 2 + 3'600'000 * 3 + 61'000), "2日と3時間01分01秒");
  EXPECT_EQ(FormatElapsedTime(0xFFFFFFFFu), "49日と17時間02分47秒");
}

TEST(ProgressTexts, UseTwoDecimalsAndTheCounterUnits) {
  EvolutionCounters c;
  c.initialError = 1000;
  c.bestError = kMaxFieldError / 4;
  c.bestUpdateCount = 12;
  c.simulationCount = 345;
  const ProgressTexts t = progressTexts(progressOf(c, 61'000, 7));
  EXPECT_EQ(t.fitRatio, "75.00％");
  EXPECT_EQ(t.bestUpdates, "12回");
  EXPECT_EQ(t.simulations, "345回");
  EXPECT_EQ(t.elapsed, "1分01秒");
  EXPECT_EQ(t.geneCount, "7枚");
  EXPECT_EQ(formatTwoDecimals(-12.3456), "-12.35");
  EXPECT_EQ(formatTwoDecimals(std::nan("")), "nan");
}

}  // namespace
}  // namespace orvane
