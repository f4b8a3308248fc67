#include "app/shell/random_art_run.h"

namespace orvane {

void RandomArtRun::PictureChannel::offer(const PixelView& view) {
  if (wanted_.load(std::memory_order_relaxed) && wanted_.exchange(false)) {
    hand(view);
    held_ = {};
  } else {
    held_ = view;
  }
}

void RandomArtRun::PictureChannel::handHeld() {
  if (!held_.pixels) return;
  hand(held_);
  held_ = {};
}

void RandomArtRun::PictureChannel::hand(const PixelView& view) {
  latest_.publishWith([&](RunPicture& slot) {
    slot.assign(view.pixels, view.pixels + std::size_t(view.width) * std::size_t(view.height));
  });
}

const RunPicture* RandomArtRun::PictureChannel::take() {
  const RunPicture* picture = latest_.take();
  if (picture) wanted_.store(true);
  return picture;
}

RandomArtRun::RandomArtRun(RandomArtState& state, const PartsAtlasBuffer& atlas,
                           RandomGenerator& random) {
  WorkerCallbacks callbacks;
  callbacks.progress = [this](const EvolutionProgress& p) { progress_.publish(p); };
  callbacks.simulationShown = [this](const PixelView& view) { simulation_.offer(view); };
  callbacks.bestShown = [this](const PixelView& view) { best_.offer(view); };
  callbacks.pausing = [this] {
    simulation_.handHeld();
    best_.handHeld();
  };
  callbacks.finished = [this](EvolutionEnd end) {
    if (!closing_.load()) end_.store(int(end));
  };
  worker_ = std::make_unique<RandomArtWorker>(state, atlas, random, std::move(callbacks));
}

bool RandomArtRun::launch() {
  launched_ = worker_->launch();
  return launched_;
}

void RandomArtRun::start() {
  if (!launched_) return;
  started_ = true;
  worker_->removePause();
}

void RandomArtRun::pause() {
  if (launched_) worker_->addPause();
}

int RandomArtRun::pauseCount() const { return launched_ ? worker_->pauseCount() : 0; }

void RandomArtRun::close() {
  if (!launched_) return;
  closing_.store(true);
  worker_->close();
  end_.store(-1);
  launched_ = false;
}

std::optional<EvolutionProgress> RandomArtRun::takeProgress() {
  if (const EvolutionProgress* p = progress_.take()) return *p;
  return std::nullopt;
}

std::optional<EvolutionEnd> RandomArtRun::endedByItself() const {
  const int end = end_.load();
  if (end < 0 || EvolutionEnd(end) == EvolutionEnd::Stopped) return std::nullopt;
  return EvolutionEnd(end);
}

}  // namespace orvane
