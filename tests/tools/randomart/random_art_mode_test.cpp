// The two random-art modes side by side: their names on the command line, the dialog's unending
// fit, and counters that measure a fit the way
// they measure the evolution.
#include "tools/randomart/random_art_mode.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "randomart_test_support.h"

namespace orvane {
namespace {

TEST(RandomArtModeTest, NamesReadBackAndNothingElseIsAMode) {
  for (const RandomArtMode mode : {RandomArtMode::Evolve, RandomArtMode::Fit}) {
    EXPECT_EQ(randomArtModeNamed(randomArtModeName(mode)), mode);
  }
  EXPECT_EQ(randomArtModeName(RandomArtMode::Fit), "fit");
  for (const char* name : {"", "Fit", "EVOLVE", "fit ", "evolution", "f"}) {
    EXPECT_FALSE(randomArtModeNamed(name)) << name;
  }
}

TEST(RandomArtModeTest, TheDialogsFitRunsUntilStoppedWithAPlannedEffort) {
  const FitSettings settings = interactiveFitSettings(77);
  EXPECT_EQ(settings.seed, 77u);
  EXPECT_EQ(settings.seconds, 0);  // no time limit: the dialog ends it
  EXPECT_EQ(settings.polishRounds, INT_MAX);
  EXPECT_EQ(settings.layerBudget, kDefaultFitLayers);
  ASSERT_TRUE(settings.effort);
  // More effort per layer than an unplanned run, bounded so a layer takes a few milliseconds and
  // the worker looks at its pause and stop requests often.
  const FitEffort unplanned;
  const int perLayer =
      settings.effort->randomCandidates + settings.effort->climbers * settings.effort->climbSteps;
  EXPECT_GT(perLayer, unplanned.randomCandidates + unplanned.climbers * unplanned.climbSteps);
  EXPECT_LT(perLayer, 20000);
}

TEST(RandomArtModeTest, WhiteFieldErrorIsTheDistanceOfAWhitePicture) {
  const TargetPixels target = test::sampleTarget();
  const std::vector<std::uint32_t> white(target.size(), 0xFFFFFFFFu);
  EXPECT_EQ(whiteFieldError(target),
            MeasureError(target, {kFieldWidth, kFieldHeight, white.data()}));
  const TargetPixels black(target.size(), 0xFF000000u);
  EXPECT_EQ(whiteFieldError(black), kMaxFieldError);
}

TEST(RandomArtModeTest, FitCountersMeasureAsTheEvolutionsDo) {
  EvolutionCounters counters;
  counters.initialError = 900000;
  counters.bestError = 123456;
  counters.bestUpdateCount = 17;
  counters.simulationCount = 4000;
  const EvolutionProgress evolved = progressOf(counters, 2500, 18);
  const EvolutionProgress fitted = fitProgressOf(123456, 900000, 17, 4000, 2500, 18);
  EXPECT_DOUBLE_EQ(fitted.fitRatio, evolved.fitRatio);
  EXPECT_DOUBLE_EQ(fitted.relativeFitRatio, evolved.relativeFitRatio);
  EXPECT_EQ(fitted.bestUpdateCount, 17u);
  EXPECT_EQ(fitted.simulationCount, 4000u);
  EXPECT_EQ(fitted.elapsedMilliseconds, 2500u);
  EXPECT_EQ(fitted.bestCount, 18);
  // Two threads try billions of candidates in a long session; the counter stops at its top.
  EXPECT_EQ(fitProgressOf(0, 1, 0, 1ull << 40, 0, 1).simulationCount, 0xFFFFFFFFu);
  EXPECT_DOUBLE_EQ(fitProgressOf(0, 1, 0, 0, 0, 1).fitRatio, 100.0);
}

}  // namespace
}  // namespace orvane
