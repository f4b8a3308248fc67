#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "render/span_shader.h"
#include "render/texture.h"
#include "render/texture_sampler.h"

namespace orvane {

// A helper thread kept for the renderer's lifetime: run(job) calls job(1) there and job(0) on
// the calling thread, and returns when both have finished.
class BandWorker {
 public:
  BandWorker();
  ~BandWorker();
  BandWorker(const BandWorker&) = delete;
  BandWorker& operator=(const BandWorker&) = delete;
  void run(const std::function<void(int)>& job);

 private:
  void loop();
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(int)>* job_ = nullptr;
  std::uint64_t generation_ = 0, finished_ = 0;
  bool quit_ = false;
  std::thread thread_;
};

// The textured quads of the renderer, kept until something needs their pixels and then shaded
// in two bands of rows, one per thread. Each band walks the rows of every queued triangle that
// lie in it, in the order the triangles were queued, so every pixel sees the same blends in the
// same order as when each quad is shaded at once: the pixels do not depend on the number of
// threads. Rasterising, the texel coordinates of each span and shading all happen there. A
// triangle whose pixels in a band an opaque triangle queued after it covers is not shaded there
// at all: its blends would be overwritten.
class DeferredShading {
 public:
  enum class Sampling { Untextured, Nearest, Filtered };
  // One triangle: its rows within the writable rectangle, its sampling and colour.
  struct Job {
    TexturePtr target;                // kept alive until shaded
    std::uint32_t* pixels = nullptr;  // the target's texels, read without settling
    TexturePtr texture;               // the same for the sampled texture (none for Untextured)
    Sampling sampling = Sampling::Untextured;
    SamplerSetup setup;
    std::uint32_t colour = 0;
    bool keepAlpha = false;
    TriangleSpans spans;  // its pieces are kept by the queue
    std::size_t firstPiece = 0, pieceCount = 0;
    int rowEnd = 0;  // rows [spans.firstRow, rowEnd)
    // Every pixel it covers becomes its source (of alpha 255), whatever was there before.
    bool opaque = false;
  };

  // Queues a triangle with the pieces it is walked in, and the target's writable rectangle
  // [x0, x1) x [y0, y1) (the pieces cover nothing right of or below it); a long queue is shaded
  // at once, so that it stays small. False, queueing nothing, when the triangle covers no
  // writable row.
  bool add(TexturePtr target, Job job, const TriangleRows* pieces, int pieceCount, int x0, int y0,
           int x1, int y1);
  bool empty() const { return jobs_.empty(); }
  // Shades everything queued (on two threads when it is worth it) and empties the queue.
  void flush();

  // Whether `pixels` of work are worth handing half to the helper thread.
  bool worthTwoThreads(std::size_t pixels) const;
  // job(0) here and job(1) on the helper, returning when both are done.
  void runOnTwoThreads(const std::function<void(int)>& job);

  // At most this many threads shade (1 or 2).
  void limitThreads(int threads);

 private:
  void shadeBand(int y0, int y1) const;
  // Marks the jobs whose pixels in rows [y0, y1) an opaque job queued after them covers.
  void findHidden(int y0, int y1, std::vector<bool>& hidden) const;
  TriangleSpans spansOf(const Job& job) const;
  std::vector<Job> jobs_;
  std::vector<TriangleRows> pieces_;
  // Pixels of work by row, estimated from the triangles' extents: differences from row to row.
  std::vector<std::int64_t> workChanges_;
  std::size_t pixels_ = 0;
  std::size_t opaqueJobs_ = 0;
  std::unique_ptr<BandWorker> worker_;
  int threadLimit_ = 2;
};

}  // namespace orvane
