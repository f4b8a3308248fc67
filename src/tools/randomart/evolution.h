#pragma once

#include <cstdint>

#include "tools/randomart/evolution_parameters.h"
#include "tools/randomart/genome_evaluator.h"
#include "tools/randomart/mutation.h"
#include "tools/randomart/random_generator.h"

namespace orvane {

// What one iteration of the evolution did.
enum class EvolutionStep {
  Unchanged,  // no operator fired: nothing drawn or counted
  Rejected,   // measured and worse than the best
  Accepted,   // measured and no worse than the best: it is the new best genome
  Perfect,    // accepted with error 0: the run is over, as if the user had accepted
  Failed,     // the measurement failed (no target): the run is over, as if cancelled
};

// The counters the worker keeps for the life of a run.
struct EvolutionCounters {
  std::int32_t maxError = kMaxFieldError;  // of the analysed 192 x 96 field
  std::int32_t initialError = 0;           // of the empty (white) genome
  std::int32_t bestError = kMaxFieldError;
  std::uint32_t simulationCount = 0;
  std::uint32_t bestUpdateCount = 0;
};

// The evolution loop's body (RunEvolution without its thread): a single parent and a single
// child, the child kept when it is no worse than the parent, ties included.
class EvolutionEngine {
 public:
  EvolutionEngine(GenomeEvaluator& evaluator, RandomGenerator& random)
      : evaluator_(evaluator), random_(random) {}

  // Starts a run: measures the empty genome as the initial error, sets bestError to the largest
  // error (so the first changed candidate is always kept) and draws `best`. False when there
  // is no target.
  bool start(const Genome& best, const TargetPixels& target);
  // Draws `best` again after the genomes or the target were replaced from outside; the
  // counters and bestError stay. False when there is no target.
  bool resync(const Genome& best, const TargetPixels& target);
  // One iteration: copy the best genome into the candidate, mutate it, and when anything fired
  // draw, measure and maybe keep it.
  EvolutionStep step(Genome& best, Genome& candidate, const EvolutionParameters& parameters);

  const EvolutionCounters& counters() const { return counters_; }
  // The error of the candidate measured last (-1 before the first).
  std::int32_t lastError() const { return lastError_; }
  GenomeEvaluator& evaluator() { return evaluator_; }

 private:
  GenomeEvaluator& evaluator_;
  RandomGenerator& random_;
  MutationLog log_;
  EvolutionCounters counters_;
  std::int32_t lastError_ = -1;
};

// What the worker reports after every measured candidate whose error is not 0.
struct EvolutionProgress {
  double fitRatio = 0;          // (1 - bestError / maxError) x 100
  double relativeFitRatio = 0;  // (1 - bestError / initialError) x 100; not finite when 0
  std::uint32_t bestUpdateCount = 0;
  std::uint32_t simulationCount = 0;
  std::uint32_t elapsedMilliseconds = 0;  // since the run first started, pauses included
  std::int32_t bestCount = 0;
};
EvolutionProgress progressOf(const EvolutionCounters& counters, std::uint32_t elapsedMilliseconds,
                             std::int32_t bestCount);

}  // namespace orvane
