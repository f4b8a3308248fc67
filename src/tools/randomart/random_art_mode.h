#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/randomart/evolution.h"
#include "tools/randomart/fit_engine.h"

namespace orvane {

// The two ways random art approximates a picture: the evolution (mutants of a whole genome,
// kept when no worse, on a white ground) and the shape fitting (one layer at a time on top of a
// backdrop in the picture's mean colour).
enum class RandomArtMode : std::uint8_t { Evolve, Fit };

// "evolve" and "fit", as the command line names them.
std::string_view randomArtModeName(RandomArtMode mode);
std::optional<RandomArtMode> randomArtModeNamed(std::string_view name);

// The fitting as the random-art dialog runs it: no time limit (the user decides when the
// result is good enough), the layers added with the effort of a 10-second run, and then
// polished round after round until the dialog ends the run.
FitSettings interactiveFitSettings(std::uint64_t seed);

// The distance of the plain white field to the target, the error the evolution starts from, so
// that a fit's relative fit ratio means what the evolution's does.
std::int32_t whiteFieldError(const TargetPixels& target);

// The dialog's counters for a fit in progress: the fit ratio and the relative fit ratio of the
// picture's distance, the layers taken or improved as best updates, the candidates tried as
// simulations (held at the counter's top), and the layers in the picture, the backdrop
// included, as its gene count.
EvolutionProgress fitProgressOf(std::int32_t distance, std::int32_t initialError,
                                std::uint32_t updates, std::uint64_t candidates,
                                std::uint32_t elapsedMilliseconds, int layers);

}  // namespace orvane
