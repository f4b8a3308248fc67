#include "tools/randomart/evolution.h"

namespace orvane {

bool EvolutionEngine::start(const Genome& best, const TargetPixels& target) {
  counters_ = {};
  const Genome empty;
  counters_.initialError = evaluator_.reset(empty, target);
  if (counters_.initialError < 0) return false;
  counters_.bestError = counters_.maxError;
  return resync(best, target);
}

bool EvolutionEngine::resync(const Genome& best, const TargetPixels& target) {
  return evaluator_.reset(best, target) >= 0;
}

EvolutionStep EvolutionEngine::step(Genome& best, Genome& candidate,
                                    const EvolutionParameters& parameters) {
  copyGenome(best, candidate);
  if (!MutateGenome(candidate, parameters, random_, &log_)) return EvolutionStep::Unchanged;
  ++counters_.simulationCount;
  const std::int32_t error = evaluator_.evaluate(candidate, log_);
  lastError_ = error;
  if (error < 0) return EvolutionStep::Failed;
  if (error > counters_.bestError) {
    evaluator_.reject();
    return EvolutionStep::Rejected;
  }
  counters_.bestError = error;
  copyGenome(candidate, best);
  ++counters_.bestUpdateCount;
  evaluator_.accept();
  return error == 0 ? EvolutionStep::Perfect : EvolutionStep::Accepted;
}

EvolutionProgress progressOf(const EvolutionCounters& c, std::uint32_t elapsedMilliseconds,
                             std::int32_t bestCount) {
  EvolutionProgress p;
  p.fitRatio = (1.0 - double(c.bestError) / double(c.maxError)) * 100.0;
  p.relativeFitRatio = (1.0 - double(c.bestError) / double(c.initialError)) * 100.0;
  p.bestUpdateCount = c.bestUpdateCount;
  p.simulationCount = c.simulationCount;
  p.elapsedMilliseconds = elapsedMilliseconds;
  p.bestCount = bestCount;
  return p;
}

}  // namespace orvane
