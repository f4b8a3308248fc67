#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "tools/randomart/evolution.h"
#include "tools/randomart/evolution_loop.h"
#include "tools/randomart/random_art_state.h"

namespace orvane {

class PartsAtlasBuffer;

// Everything the worker tells the dialog. Each callback runs on the worker thread and must not
// wait for the user-interface thread (post a copy of what it needs instead); none may call
// addPause, which would wait for the worker itself.
struct WorkerCallbacks {
  std::function<void(const EvolutionProgress&)> progress;  // after every measured candidate
  std::function<void(const PixelView&)> simulationShown;   // show-processing on: each candidate
  std::function<void(const PixelView&)> bestShown;         // show-processing on: each new best
  std::function<void(EvolutionEnd)> finished;              // once, as the thread ends
  // When a pause has been asked for, just before the worker stops for it (the thread asking is
  // still waiting): the moment to hand over anything held back, so the newest values are out
  // before the dialog looks at a paused run.
  std::function<void()> pausing;
};

// The pause count between the dialog thread and the worker. The worker runs only while the
// count is 0 and looks at it between iterations; adding a pause returns only once the worker
// has stopped there (or has ended), so the caller may then touch the shared state.
class PauseGate {
 public:
  // Dialog side.
  void addPause();
  void removePause();  // at 0 nothing happens
  void removeAllPauses();
  int pauseCount() const;
  // Worker side: whether a pause has been asked for (a quick look, no lock).
  bool pauseRequested() const { return requested_.load(std::memory_order_acquire) > 0; }
  // Worker side: waits while the count is above 0; true when it waited (the shared state may
  // have been replaced meanwhile).
  bool checkpoint();
  void workerEnded();

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 1;       // the worker starts paused
  bool halted_ = true;  // the worker is waiting in checkpoint (or has not run yet)
  bool ended_ = false;
  std::atomic<int> requested_{1};  // count_, for the worker's quick look
  bool running_ = false;           // worker thread only: it has passed a checkpoint
};

// The worker thread that runs the evolution or the shape fitting (the state's mode, as it is
// when the worker first runs) on a RandomArtState. It is created paused (count 1): removePause
// is the dialog's start, addPause its pause. close() ends the thread in any state — running,
// paused any number of times, never started, without a picture.
//
// A fit looks at its pauses between layers (a layer takes milliseconds) and writes the best
// genome, the backdrop first, after each layer. A fit that finds a new target picture after a
// pause starts again on it; a best genome imported meanwhile is replaced by the fit's own at
// its next layer, since a fit cannot start from a genome.
class RandomArtWorker {
 public:
  // The generator and the atlas must outlive the worker.
  RandomArtWorker(RandomArtState& state, const PartsAtlasBuffer& atlas, RandomGenerator& random,
                  WorkerCallbacks callbacks = {});
  ~RandomArtWorker() { close(); }
  RandomArtWorker(const RandomArtWorker&) = delete;
  RandomArtWorker& operator=(const RandomArtWorker&) = delete;

  // Starts the thread, paused; false when the thread cannot be made.
  bool launch();
  void addPause() { gate_.addPause(); }
  void removePause() { gate_.removePause(); }
  int pauseCount() const { return gate_.pauseCount(); }
  // Sets the stop flag, removes every pause and waits for the thread to end.
  void close();

 private:
  void run();
  EvolutionEnd runFit();

  RandomArtState& state_;
  const PartsAtlasBuffer& atlas_;
  RandomGenerator& random_;
  WorkerCallbacks callbacks_;
  PauseGate gate_;
  std::thread thread_;
};

// Holds one pause of a worker (if any) for a scope.
class ScopedPause {
 public:
  explicit ScopedPause(RandomArtWorker* worker) : worker_(worker) {
    if (worker_) worker_->addPause();
  }
  ~ScopedPause() {
    if (worker_) worker_->removePause();
  }
  ScopedPause(const ScopedPause&) = delete;
  ScopedPause& operator=(const ScopedPause&) = delete;

 private:
  RandomArtWorker* worker_;
};

}  // namespace orvane
