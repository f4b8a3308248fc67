#include "tools/randomart/random_art_mode.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace orvane {
namespace {

// The time a dialog's fit plans its adding of layers for (about 4 s of searching) before the
// polishing takes over.
constexpr double kInteractivePlanSeconds = 10;

}  // namespace

std::string_view randomArtModeName(RandomArtMode mode) {
  return mode == RandomArtMode::Fit ? "fit" : "evolve";
}

std::optional<RandomArtMode> randomArtModeNamed(std::string_view name) {
  if (name == "evolve") return RandomArtMode::Evolve;
  if (name == "fit") return RandomArtMode::Fit;
  return std::nullopt;
}

FitSettings interactiveFitSettings(std::uint64_t seed) {
  FitSettings settings;
  settings.seed = seed;
  settings.seconds = 0;
  settings.effort = plannedEffort(kInteractivePlanSeconds, settings.layerBudget);
  settings.polishRounds = INT_MAX;
  return settings;
}

std::int32_t whiteFieldError(const TargetPixels& target) {
  std::int64_t sum = 0;
  for (const std::uint32_t pixel : target) {
    for (int shift = 0; shift < 24; shift += 8) sum += 255 - std::int64_t((pixel >> shift) & 0xFF);
  }
  return std::int32_t(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

EvolutionProgress fitProgressOf(std::int32_t distance, std::int32_t initialError,
                                std::uint32_t updates, std::uint64_t candidates,
                                std::uint32_t elapsedMilliseconds, int layers) {
  EvolutionProgress p;
  p.fitRatio = (1.0 - double(distance) / double(kMaxFieldError)) * 100.0;
  p.relativeFitRatio = (1.0 - double(distance) / double(initialError)) * 100.0;
  p.bestUpdateCount = updates;
  p.simulationCount =
      std::uint32_t(std::min<std::uint64_t>(candidates, std::numeric_limits<std::uint32_t>::max()));
  p.elapsedMilliseconds = elapsedMilliseconds;
  p.bestCount = layers;
  return p;
}

}  // namespace orvane
