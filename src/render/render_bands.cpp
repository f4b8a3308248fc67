#include "render/render_bands.h"

#include <algorithm>
#include <atomic>

#include "render/pixel_blend.h"

namespace orvane {
namespace {

// Below this many pixels the hand-over to the helper costs more than it saves.
constexpr std::size_t kPixelsWorthTwoThreads = 16384;

}  // namespace

BandWorker::BandWorker() : thread_([this] { loop(); }) {}

BandWorker::~BandWorker() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void BandWorker::run(const std::function<void(int)>& job) {
  std::uint64_t ticket;
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    ticket = ++generation_;
  }
  wake_.notify_one();
  job(0);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return finished_ == ticket; });
  job_ = nullptr;
}

void BandWorker::loop() {
  std::uint64_t seen = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
    if (quit_) return;
    seen = generation_;
    const std::function<void(int)>* job = job_;
    lock.unlock();
    (*job)(1);
    lock.lock();
    finished_ = seen;
    done_.notify_one();
  }
}

DeferredShading::Job& DeferredShading::beginJob(TexturePtr target) {
  // The texels' address without shading what this queue already holds for the target.
  target->setPendingWrites(nullptr);
  std::uint32_t* pixels = target->pixels();
  target->setPendingWrites(this);
  jobs_.emplace_back();
  jobs_.back().pixels = pixels;
  jobs_.back().target = std::move(target);
  jobs_.back().firstSpan = jobs_.back().endSpan = spans_.size();
  return jobs_.back();
}

bool DeferredShading::worthTwoThreads(std::size_t pixels) const {
  static const bool twoCores = std::thread::hardware_concurrency() > 1;
  return twoCores && threadLimit_ > 1 && pixels >= kPixelsWorthTwoThreads;
}

void DeferredShading::runOnTwoThreads(const std::function<void(int)>& job) {
  if (!worker_) worker_ = std::make_unique<BandWorker>();
  worker_->run(job);
}

void DeferredShading::endJob() {
  jobs_.back().endSpan = spans_.size();
  constexpr std::size_t kLongQueue = 4096;
  if (spans_.size() >= kLongQueue) flush();
}

void DeferredShading::limitThreads(int threads) { threadLimit_ = std::clamp(threads, 1, 2); }

void DeferredShading::shadeBand(int y0, int y1) const {
  for (const Job& job : jobs_) {
    std::uint32_t* pixels = job.pixels;
    const std::size_t width = std::size_t(job.target->width());
    if (job.sampling == Sampling::Filtered) {
      shadeFilteredSpans(pixels, width, spans_.data() + job.firstSpan, spans_.data() + job.endSpan,
                         y0, y1, job.colour, job.keepAlpha, job.setup);
      continue;
    }
    for (std::size_t i = job.firstSpan; i < job.endSpan; ++i) {
      const QueuedSpan& s = spans_[i];
      if (s.y < y0 || s.y >= y1) continue;
      std::uint32_t* row = pixels + std::size_t(s.y) * width;
      const SpanCoords& c = s.coords;
      if (job.sampling == Sampling::Untextured) {
        for (int x = c.x0; x < c.x1; ++x)
          shadePixel(row[x], 0xFFFFFFFFu, job.colour, job.keepAlpha);
        continue;
      }
      std::int64_t u = c.u, v = c.v;
      for (int x = c.x0; x < c.x1; ++x, u += c.du, v += c.dv) {
        shadePixel(row[x], sample(job.setup, u, v), job.colour, job.keepAlpha);
      }
    }
  }
}

void DeferredShading::flush() {
  if (jobs_.empty()) return;
  for (const Job& job : jobs_) job.target->setPendingWrites(nullptr);
  int rows = 0;
  for (const QueuedSpan& s : spans_) rows = std::max(rows, s.y + 1);
  const bool split = rows > 1 && worthTwoThreads(pixels_);
  if (!split) {
    shadeBand(0, rows);
  } else {
    // The row where half of the queued pixels lie above: both bands get the same work.
    std::vector<std::size_t> perRow(std::size_t(rows) + 1, 0);
    for (const QueuedSpan& s : spans_)
      perRow[std::size_t(s.y)] += std::size_t(s.coords.x1 - s.coords.x0);
    int middle = 0;
    for (std::size_t sum = 0; middle < rows && 2 * sum < pixels_; ++middle)
      sum += perRow[std::size_t(middle)];
    runOnTwoThreads([&](int band) { band == 0 ? shadeBand(0, middle) : shadeBand(middle, rows); });
  }
  jobs_.clear();
  spans_.clear();
  pixels_ = 0;
}

}  // namespace orvane
