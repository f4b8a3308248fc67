#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "tools/randomart/evolution.h"
#include "tools/randomart/random_art_state.h"

namespace orvane {

// How a run ended.
enum class EvolutionEnd {
  Stopped,  // the stop flag was set or the stop condition held (the dialog closed, time is up)
  Perfect,  // a candidate matched the target exactly: accept, as if the user had
  Failed,   // a measurement failed (no target): cancel
};

// Where a run stands, as its hooks see it.
struct EvolutionStatus {
  std::uint64_t iterations = 0;                   // done so far, those where nothing fired too
  std::chrono::steady_clock::duration elapsed{};  // since the loop started, pauses included
  std::uint32_t elapsedMilliseconds() const {
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  }
  double elapsedSeconds() const { return std::chrono::duration<double>(elapsed).count(); }
};

// What the loop asks and tells its owner; every hook may be left empty.
struct EvolutionHooks {
  // Before every iteration: waits while the run is held; true when it waited, since the genomes
  // or the target may have been replaced meanwhile (the engine then draws the best again).
  std::function<bool()> pausePoint;
  // Before every iteration, after the pause point: true ends the run as Stopped.
  std::function<bool(const EvolutionStatus&)> stopWhen;
  // After every measured candidate (Rejected, Accepted or Perfect); the engine's evaluator holds
  // the candidate's and the best genome's pictures.
  std::function<void(EvolutionStep, const EvolutionStatus&, EvolutionEngine&)> measured;
};

struct EvolutionOutcome {
  EvolutionEnd end = EvolutionEnd::Stopped;
  EvolutionStatus status;  // at the end
};

// The evolution loop, shared by the editor's worker thread and the command line. The engine has
// been started on state.best and state.targetPixels. Each iteration steps the engine on the
// state's genomes with the parameters as they are at that moment, until the state's stop flag
// is set, `stopWhen` holds, a candidate matches the target exactly, or a measurement fails
// (also when the best cannot be drawn again after a pause, unless the run is being stopped).
EvolutionOutcome runEvolution(EvolutionEngine& engine, RandomArtState& state,
                              const EvolutionHooks& hooks);

}  // namespace orvane
