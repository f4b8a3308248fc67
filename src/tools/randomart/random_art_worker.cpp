#include "tools/randomart/random_art_worker.h"

#include <chrono>
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
  const auto startTime = std::chrono::steady_clock::now();
  for (;;) {
    if (gate_.checkpoint() && !engine.resync(state_.best, state_.targetPixels)) {
      // The picture was taken away while paused: the next measurement would fail.
      if (!state_.stop.load()) return finish(EvolutionEnd::Failed);
    }
    if (state_.stop.load()) return finish(EvolutionEnd::Stopped);
    const EvolutionStep step =
        engine.step(state_.best, state_.candidate, state_.parameters.snapshot());
    if (step == EvolutionStep::Unchanged) continue;
    if (step == EvolutionStep::Failed) return finish(EvolutionEnd::Failed);
    const bool show = state_.showProcessing.load(std::memory_order_relaxed);
    if (show && callbacks_.simulationShown)
      callbacks_.simulationShown(evaluator.candidatePicture());
    if (step != EvolutionStep::Rejected && show && callbacks_.bestShown) {
      callbacks_.bestShown(evaluator.bestPicture());
    }
    if (step == EvolutionStep::Perfect) return finish(EvolutionEnd::Perfect);
    if (callbacks_.progress) {
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - startTime);
      callbacks_.progress(
          progressOf(engine.counters(), std::uint32_t(elapsed.count()), state_.best.count));
    }
  }
}

}  // namespace orvane
