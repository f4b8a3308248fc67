#pragma once

#include "tools/randomart/random_art_mode.h"

namespace orvane {

// Which of the random-art dialog's controls act, for the chosen mode and whether the worker has
// been started. The worker reads the mode once, when it first runs, so the mode is chosen before
// the first start; the evolution's parameters and its part range mean nothing to the fitting,
// which draws with parts of its own choosing.
struct RandomArtControls {
  bool modeChoice = true;
  bool parameters = true;
  bool parts = true;
};
RandomArtControls randomArtControls(RandomArtMode mode, bool started);

}  // namespace orvane
