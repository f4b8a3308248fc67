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

bool DeferredShading::add(TexturePtr target, Job job, const TriangleRows* pieces, int pieceCount,
                          int x0, int y0, int x1, int y1) {
  int first = y1, last = y0 - 1;
  for (int i = 0; i < pieceCount; ++i) {
    first = std::min(first, std::max(pieces[i].firstRow(), y0));
    last = std::max(last, std::min(pieces[i].lastRow(), y1 - 1));
  }
  if (first > last) return false;
  // The texels' address without shading what this queue already holds for the target.
  target->setPendingWrites(nullptr);
  job.pixels = target->pixels();
  target->setPendingWrites(this);
  job.target = std::move(target);
  job.firstPiece = pieces_.size();
  job.pieceCount = std::size_t(pieceCount);
  pieces_.insert(pieces_.end(), pieces, pieces + pieceCount);
  job.spans.firstRow = first, job.spans.firstColumn = x0;
  job.rowEnd = last + 1;
  // The work of each row taken as the writable width, an estimate that only balances the bands.
  const std::int64_t width = std::max(1, x1 - x0);
  if (workChanges_.size() < std::size_t(last) + 2) workChanges_.resize(std::size_t(last) + 2, 0);
  workChanges_[std::size_t(first)] += width;
  workChanges_[std::size_t(last) + 1] -= width;
  pixels_ += std::size_t(width) * std::size_t(last + 1 - first);
  opaqueJobs_ += job.opaque;
  jobs_.push_back(std::move(job));
  constexpr std::size_t kLongQueue = 2048;
  if (jobs_.size() >= kLongQueue) flush();
  return true;
}

bool DeferredShading::worthTwoThreads(std::size_t pixels) const {
  static const bool twoCores = std::thread::hardware_concurrency() > 1;
  return twoCores && threadLimit_ > 1 && pixels >= kPixelsWorthTwoThreads;
}

void DeferredShading::runOnTwoThreads(const std::function<void(int)>& job) {
  if (!worker_) worker_ = std::make_unique<BandWorker>();
  worker_->run(job);
}

void DeferredShading::limitThreads(int threads) { threadLimit_ = std::clamp(threads, 1, 2); }

TriangleSpans DeferredShading::spansOf(const Job& job) const {
  TriangleSpans spans = job.spans;
  spans.pieces = pieces_.data() + job.firstPiece;
  spans.pieceCount = int(job.pieceCount);
  return spans;
}

namespace {

// Runs of columns [first, end) of a row that opaque triangles cover: runs that meet are joined;
// of more than kRuns apart, the shortest is forgotten.
struct CoveredRuns {
  static constexpr int kRuns = 4;
  std::pair<int, int> runs[kRuns];
  int count = 0;

  bool covers(int x0, int x1) const {
    for (int i = 0; i < count; ++i) {
      if (runs[i].first <= x0 && x1 <= runs[i].second) return true;
    }
    return false;
  }
  void add(int x0, int x1) {
    // Joins every run the new one meets into it.
    int kept = 0;
    for (int i = 0; i < count; ++i) {
      if (runs[i].second < x0 || runs[i].first > x1) {
        runs[kept++] = runs[i];
      } else {
        x0 = std::min(x0, runs[i].first), x1 = std::max(x1, runs[i].second);
      }
    }
    count = kept;
    if (count < kRuns) {
      runs[count++] = {x0, x1};
      return;
    }
    int shortest = 0;
    for (int i = 1; i < kRuns; ++i) {
      if (runs[i].second - runs[i].first < runs[shortest].second - runs[shortest].first) {
        shortest = i;
      }
    }
    if (x1 - x0 > runs[shortest].second - runs[shortest].first) runs[shortest] = {x0, x1};
  }
};

}  // namespace

void DeferredShading::findHidden(int y0, int y1, std::vector<bool>& hidden) const {
  hidden.assign(jobs_.size(), false);
  if (opaqueJobs_ == 0 || y1 <= y0) return;
  std::vector<CoveredRuns> covered(std::size_t(y1 - y0));
  for (std::size_t j = jobs_.size(); j-- > 0;) {
    const Job& job = jobs_[j];
    const int from = std::max(y0, job.spans.firstRow), to = std::min(y1, job.rowEnd);
    if (from >= to || job.pixels != jobs_.back().pixels) continue;
    const TriangleSpans spans = spansOf(job);
    bool inside = true;
    for (int i = 0; i < spans.pieceCount && inside; ++i) {
      spans.pieces[i].walk(from, to, [&](int y, int x0, int x1) {
        x0 = std::max(x0, spans.firstColumn);
        if (x0 < x1 && !covered[std::size_t(y - y0)].covers(x0, x1)) inside = false;
      });
    }
    if (inside) {
      hidden[j] = true;
      continue;
    }
    if (!job.opaque) continue;
    for (int i = 0; i < spans.pieceCount; ++i) {
      spans.pieces[i].walk(from, to, [&](int y, int x0, int x1) {
        x0 = std::max(x0, spans.firstColumn);
        if (x0 < x1) covered[std::size_t(y - y0)].add(x0, x1);
      });
    }
  }
}

void DeferredShading::shadeBand(int y0, int y1) const {
  std::vector<bool> hidden;
  findHidden(y0, y1, hidden);
  for (std::size_t j = 0; j < jobs_.size(); ++j) {
    const Job& job = jobs_[j];
    if (hidden[j] || job.rowEnd <= y0 || job.spans.firstRow >= y1) continue;
    const TriangleSpans spans = spansOf(job);
    const int from = std::max(y0, spans.firstRow), to = std::min(y1, job.rowEnd);
    std::uint32_t* pixels = job.pixels;
    const std::size_t width = std::size_t(job.target->width());
    switch (job.sampling) {
      case Sampling::Filtered:
        shadeFilteredTriangle(pixels, width, spans, from, to, job.colour, job.keepAlpha, job.setup);
        break;
      case Sampling::Untextured:
        spans.walk(from, to, [&](int y, const SpanCoords& c) {
          std::uint32_t* row = pixels + std::size_t(y) * width;
          for (int x = c.x0; x < c.x1; ++x) {
            shadePixel(row[x], 0xFFFFFFFFu, job.colour, job.keepAlpha);
          }
        });
        break;
      case Sampling::Nearest:
        spans.walk(from, to, [&](int y, const SpanCoords& c) {
          std::uint32_t* row = pixels + std::size_t(y) * width;
          std::int64_t u = c.u, v = c.v;
          for (int x = c.x0; x < c.x1; ++x, u += c.du, v += c.dv) {
            shadePixel(row[x], sample(job.setup, u, v), job.colour, job.keepAlpha);
          }
        });
        break;
    }
  }
}

void DeferredShading::flush() {
  if (jobs_.empty()) return;
  for (const Job& job : jobs_) job.target->setPendingWrites(nullptr);
  int rows = 0;
  for (const Job& job : jobs_) rows = std::max(rows, job.rowEnd);
  if (rows <= 1 || !worthTwoThreads(pixels_)) {
    shadeBand(0, rows);
  } else {
    // The row where half of the estimated work lies above: both bands get the same work.
    int middle = 0;
    std::int64_t perRow = 0, sum = 0;
    for (; middle < rows && 2 * sum < std::int64_t(pixels_); ++middle) {
      perRow += workChanges_[std::size_t(middle)];
      sum += perRow;
    }
    runOnTwoThreads([&](int band) { band == 0 ? shadeBand(0, middle) : shadeBand(middle, rows); });
  }
  jobs_.clear();
  pieces_.clear();
  opaqueJobs_ = 0;
  workChanges_.assign(workChanges_.size(), 0);
  pixels_ = 0;
}

}  // namespace orvane
