#include "tools/randomart/random_art_worker.h"

#include <system_error>

#include "formats/parts_atlas.h"

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

}  // namespace orvane
