#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/shell/latest_value.h"
#include "tools/randomart/random_art_worker.h"

namespace orvane {

class PartsAtlasBuffer;

// One 192 x 96 picture of the run as 0xAARRGGBB words, rows from the top.
using RunPicture = std::vector<std::uint32_t>;

// The random-art worker of one dialog together with what it hands to the dialog thread, which
// reads it on a timer: neither side ever waits for the other. The progress is published after
// every measured candidate. The two pictures are copied only when the dialog has taken the
// previous one, or when a pause stops the worker, so a fast run does not spend its time copying
// pictures nobody sees, and a paused run always shows its last candidate and best.
class RandomArtRun {
 public:
  // The state, the atlas and the generator must outlive the run.
  RandomArtRun(RandomArtState& state, const PartsAtlasBuffer& atlas, RandomGenerator& random);
  ~RandomArtRun() { close(); }
  RandomArtRun(const RandomArtRun&) = delete;
  RandomArtRun& operator=(const RandomArtRun&) = delete;

  // Makes the worker thread, paused; false when it cannot be made (the run then has no worker).
  bool launch();
  // The pause count's two steps; nothing without a worker.
  void start();
  void pause();
  int pauseCount() const;
  // Whether the worker has been started at least once (it reads the state's mode then).
  bool started() const { return started_; }
  // For ScopedPause around changes of the shared state; null without a worker.
  RandomArtWorker* worker() { return launched_ ? worker_.get() : nullptr; }
  // Ends the worker in whatever state it is; waits only for its current iteration.
  void close();

  // Dialog thread: the newest values the worker published since the last take, or none.
  std::optional<EvolutionProgress> takeProgress();
  const RunPicture* takeSimulationPicture() { return simulation_.take(); }
  const RunPicture* takeBestPicture() { return best_.take(); }
  // How the worker ended by itself (Perfect or Failed), once it has; none while it runs, and
  // none after close().
  std::optional<EvolutionEnd> endedByItself() const;

 private:
  // A picture the worker offers after each candidate or new best.
  class PictureChannel {
   public:
    void offer(const PixelView& view);  // worker: hands it over if wanted, else holds it
    void handHeld();                    // worker: hands over what it holds
    const RunPicture* take();           // dialog thread

   private:
    void hand(const PixelView& view);
    LatestValue<RunPicture> latest_;
    std::atomic<bool> wanted_{true};
    PixelView held_;  // worker only: the newest picture not handed over
  };

  std::unique_ptr<RandomArtWorker> worker_;
  bool launched_ = false;
  bool started_ = false;
  LatestValue<EvolutionProgress> progress_;
  PictureChannel simulation_;
  PictureChannel best_;
  std::atomic<int> end_{-1};  // an EvolutionEnd once the worker ended by itself
  std::atomic<bool> closing_{false};
};

}  // namespace orvane
