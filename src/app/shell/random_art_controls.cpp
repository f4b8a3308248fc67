#include "app/shell/random_art_controls.h"

namespace orvane {

RandomArtControls randomArtControls(RandomArtMode mode, bool started) {
  const bool evolving = mode == RandomArtMode::Evolve;
  return {!started, evolving, evolving};
}

}  // namespace orvane
