#include "tools/randomart/random_art_worker.h"

#include <chrono>
#include <system_error>

#include "formats/parts_atlas.h"
#include "tools/randomart/fit_engine.h"

namespace orvane {

void PauseGate::addPause() {
  std::unique_lock lock(mutex_);
  requested_.store(++count_, std::memory_order_release);
  changed_.wait(lock, [&] { return halted_ || ended_; });
}

void PauseGate::removePause() {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return;
  requested_.store(--count_, std::memory_order_release);
  if (count_ == 0) changed_.notify_all();
}

void PauseGate::removeAllPauses() {
  std::lock_guard lock(mutex_);
  count_ = 0;
  requested_.store(0, std::memory_order_release);
  changed_.notify_all();
}

int PauseGate::pauseCount() const {
  std::lock_guard lock(mutex_);
  return count_;
}

bool PauseGate::checkpoint() {
  if (running_ && requested_.load(std::memory_order_acquire) == 0) return false;
  std::unique_lock lock(mutex_);
  const bool waits = count_ > 0;
  halted_ = true;
  changed_.notify_all();
  changed_.wait(lock, [&] { return count_ == 0; });
  halted_ = false;
  running_ = true;
  return waits;
}

void PauseGate::workerEnded() {
  std::lock_guard lock(mutex_);
  ended_ = true;
  halted_ = true;
  changed_.notify_all();
}

RandomArtWorker::RandomArtWorker(RandomArtState& state, const PartsAtlasBuffer& atlas,
                                 RandomGenerator& random, WorkerCallbacks callbacks)
    : state_(state), atlas_(atlas), random_(random), callbacks_(std::move(callbacks)) {}

bool RandomArtWorker::launch() {
  if (thread_.joinable()) return false;
  state_.stop.store(false);
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void RandomArtWorker::close() {
  if (!thread_.joinable()) return;
  state_.stop.store(true);
  gate_.removeAllPauses();
  thread_.join();
}

void RandomArtWorker::run() {
  auto finish = [&](EvolutionEnd end) {
    gate_.workerEnded();
    if (callbacks_.finished) callbacks_.finished(end);
  };
  gate_.checkpoint();  // created paused: runs once the dialog first starts it
  if (state_.stop.load()) return finish(EvolutionEnd::Stopped);
  if (state_.mode.load() == RandomArtMode::Fit) return finish(runFit());
  IncrementalEvaluator evaluator;
  EvolutionEngine engine(evaluator, random_);
  if (!evaluator.create(atlas_) || !engine.start(state_.best, state_.targetPixels)) {
    return finish(EvolutionEnd::Failed);
  }
  EvolutionHooks hooks;
  hooks.pausePoint = [this] {
    if (callbacks_.pausing && gate_.pauseRequested()) callbacks_.pausing();
    return gate_.checkpoint();
  };
  hooks.measured = [this](EvolutionStep step, const EvolutionStatus& status,
                          EvolutionEngine& measuredBy) {
    const GenomeEvaluator& evaluator = measuredBy.evaluator();
    const bool show = state_.showProcessing.load(std::memory_order_relaxed);
    if (show && callbacks_.simulationShown) {
      callbacks_.simulationShown(evaluator.candidatePicture());
    }
    if (step != EvolutionStep::Rejected && show && callbacks_.bestShown) {
      callbacks_.bestShown(evaluator.bestPicture());
    }
    // A perfect match ends the run: the dialog hears of it through `finished` alone.
    if (step != EvolutionStep::Perfect && callbacks_.progress) {
      callbacks_.progress(
          progressOf(measuredBy.counters(), status.elapsedMilliseconds(), state_.best.count));
    }
  };
  finish(runEvolution(engine, state_, hooks).end);
}

EvolutionEnd RandomArtWorker::runFit() {
  FitEngine engine;
  if (!engine.create(atlas_)) return EvolutionEnd::Failed;
  const auto began = std::chrono::steady_clock::now();
  auto elapsedMilliseconds = [&] {
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - began)
                             .count());
  };
  std::uint32_t updates = 0;
  std::uint64_t earlierCandidates = 0;  // of the runs before a new target restarted the fit
  for (;;) {
    // The run's own copy of the target: the dialog may replace the state's during a pause.
    const TargetPixels target = state_.targetPixels;
    if (target.size() != std::size_t(kFieldPixels)) return EvolutionEnd::Failed;
    const std::int32_t initialError = whiteFieldError(target);
    std::atomic<bool> stopFit{false};
    bool restart = false;
    bool perfect = false;
    std::int32_t shownDistance = -1;
    auto progress = [&](const FitProgress& p) {
      p.stack->toGenome(state_.best);
      state_.bestBackdrop = GenomeBackdrop::None;
      const std::int32_t distance = MeasureError(target, p.picture);
      if (distance != shownDistance) ++updates;
      shownDistance = distance;
      const bool show = state_.showProcessing.load(std::memory_order_relaxed);
      if (show && callbacks_.simulationShown) callbacks_.simulationShown(p.picture);
      if (show && callbacks_.bestShown) callbacks_.bestShown(p.picture);
      if (distance == 0) {
        // As the evolution does: a perfect match is accepted as if the user had.
        perfect = true;
        stopFit.store(true);
        return;
      }
      if (callbacks_.progress) {
        callbacks_.progress(fitProgressOf(distance, initialError, updates,
                                          earlierCandidates + p.candidates, elapsedMilliseconds(),
                                          p.layers));
      }
      if (callbacks_.pausing && gate_.pauseRequested()) callbacks_.pausing();
      if (gate_.checkpoint() && state_.targetPixels != target) restart = true;
      if (restart || state_.stop.load()) stopFit.store(true);
    };
    FitResult result;
    if (!engine.run(target, interactiveFitSettings(random_.next()), result, progress, &stopFit)) {
      return EvolutionEnd::Failed;
    }
    if (restart) {
      earlierCandidates += result.candidates;
      continue;
    }
    // The layers as the run left them (a last colour refit may follow the last report), shown
    // once more: a run on a plain picture adds no layer and reports nothing before this.
    state_.best = result.genome;
    state_.bestBackdrop = GenomeBackdrop::None;
    if (perfect || result.distance == 0) return EvolutionEnd::Perfect;
    if (state_.showProcessing.load(std::memory_order_relaxed)) {
      if (callbacks_.simulationShown) callbacks_.simulationShown(engine.picture());
      if (callbacks_.bestShown) callbacks_.bestShown(engine.picture());
    }
    if (callbacks_.progress) {
      callbacks_.progress(fitProgressOf(
          result.distance, initialError, updates + (result.distance != shownDistance),
          earlierCandidates + result.candidates, elapsedMilliseconds(), result.genome.count));
    }
    return EvolutionEnd::Stopped;
  }
}

}  // namespace orvane
