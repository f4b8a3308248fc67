#include "tools/randomart/evolution_loop.h"

namespace orvane {

EvolutionOutcome runEvolution(EvolutionEngine& engine, RandomArtState& state,
                              const EvolutionHooks& hooks) {
  const auto start = std::chrono::steady_clock::now();
  EvolutionOutcome outcome;
  EvolutionStatus& status = outcome.status;
  auto stopping = [&] { return state.stop.load() || (hooks.stopWhen && hooks.stopWhen(status)); };
  auto end = [&](EvolutionEnd how) {
    outcome.end = how;
    return outcome;
  };
  for (;;) {
    status.elapsed = std::chrono::steady_clock::now() - start;
    const bool resumed = hooks.pausePoint && hooks.pausePoint();
    if (resumed && !engine.resync(state.best, state.targetPixels)) {
      // The picture was taken away while paused: the next measurement would fail.
      return end(stopping() ? EvolutionEnd::Stopped : EvolutionEnd::Failed);
    }
    if (stopping()) return end(EvolutionEnd::Stopped);
    const EvolutionStep step =
        engine.step(state.best, state.candidate, state.parameters.snapshot());
    ++status.iterations;
    if (step == EvolutionStep::Unchanged) continue;
    if (step == EvolutionStep::Failed) return end(EvolutionEnd::Failed);
    if (hooks.measured) {
      status.elapsed = std::chrono::steady_clock::now() - start;
      hooks.measured(step, status, engine);
    }
    if (step == EvolutionStep::Perfect) return end(EvolutionEnd::Perfect);
  }
}

}  // namespace orvane
