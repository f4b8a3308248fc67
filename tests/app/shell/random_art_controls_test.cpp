// The random-art dialog's controls by mode: the mode is chosen before the first start, and the
// evolution's parameters and part range act only for the evolution.
#include "app/shell/random_art_controls.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(RandomArtControls, TheModeIsChosenBeforeTheStartAndTheParametersServeTheEvolution) {
  for (const bool started : {false, true}) {
    const RandomArtControls evolve = randomArtControls(RandomArtMode::Evolve, started);
    const RandomArtControls fit = randomArtControls(RandomArtMode::Fit, started);
    EXPECT_EQ(evolve.modeChoice, !started);
    EXPECT_EQ(fit.modeChoice, !started);
    EXPECT_TRUE(evolve.parameters && evolve.parts);
    EXPECT_FALSE(fit.parameters || fit.parts);
  }
}

}  // namespace
}  // namespace orvane
