#include "tools/randomart/genome_evaluator.h"

#include <algorithm>

#include "formats/parts_atlas.h"

namespace orvane {

bool PlainEvaluator::create(const PartsAtlasBuffer& atlas) {
  // One thread, like the incremental evaluator it is the reference for.
  simulationView_.setShadingThreads(1);
  bestView_.setShadingThreads(1);
  return prepareGenomeView(simulationView_, atlas) && prepareGenomeView(bestView_, atlas);
}

std::int32_t PlainEvaluator::reset(const Genome& best, const TargetPixels& target) {
  target_ = &target;
  RenderGenome(bestView_, best);
  RenderGenome(simulationView_, best);
  return MeasureError(target, simulationView_.backBuffer());
}

std::int32_t PlainEvaluator::evaluate(const Genome& candidate, const MutationLog&) {
  candidate_ = &candidate;
  RenderGenome(simulationView_, candidate);
  return target_ ? MeasureError(*target_, simulationView_.backBuffer()) : -1;
}

void PlainEvaluator::accept() {
  if (candidate_) RenderGenome(bestView_, *candidate_);
}

bool IncrementalEvaluator::create(const PartsAtlasBuffer& atlas) {
  best_.assign(kFieldPixels, 0xFFFFFFFFu);
  work_.assign(kFieldPixels, 0xFFFFFFFFu);
  return prepareGenomeView(view_, atlas) && painter_.create(atlas);
}

std::int32_t IncrementalEvaluator::reset(const Genome& best, const TargetPixels& target) {
  target_ = &target;
  RenderGenome(view_, best);
  const PixelView picture = view_.backBuffer();
  if (picture.pixels) {
    std::copy_n(picture.pixels, kFieldPixels, best_.begin());
    std::copy_n(picture.pixels, kFieldPixels, work_.begin());
  }
  region_.clear();
  rasters_.clear();
  pending_ = false;
  bestError_ = candidateError_ = MeasureError(target, picture);
  return bestError_;
}

std::int32_t IncrementalEvaluator::evaluate(const Genome& candidate, const MutationLog& log) {
  if (pending_) reject();
  rasters_.trimIfFull(candidate);
  region_.clear();
  if (!target_ || target_->size() != std::size_t(kFieldPixels) || bestError_ < 0) {
    return candidateError_ = -1;
  }
  for (int i = 0; i < log.count; ++i) {
    const MutationLog::Entry& entry = log.entries[std::size_t(i)];
    rasters_.get(entry.gene).addFootprint(entry.triangles, region_);
  }
  for (int y = region_.rowBegin(); y < region_.rowEnd(); ++y) {
    std::uint32_t* row = work_.data() + std::size_t(y) * kFieldWidth;
    region_.forEachRun(y, 0, kFieldWidth,
                       [&](int a, int b) { std::fill(row + a, row + b, 0xFFFFFFFFu); });
  }
  if (!region_.empty()) {
    for (std::int32_t i = 0; i < candidate.count; ++i) {
      const Gene& gene = candidate.genes[std::size_t(i)];
      const GeneBox box = geneBox(gene);
      if (!region_.touches(box.x0, box.y0, box.x1, box.y1)) continue;
      rasters_.get(gene).paint(work_.data(), region_);
    }
  }
  std::int64_t delta = 0;
  const std::uint32_t* target = target_->data();
  for (int y = region_.rowBegin(); y < region_.rowEnd(); ++y) {
    const std::size_t offset = std::size_t(y) * kFieldWidth;
    region_.forEachRun(y, 0, kFieldWidth, [&](int a, int b) {
      delta += pixelDistance(work_.data() + offset + a, target + offset + a, b - a) -
               pixelDistance(best_.data() + offset + a, target + offset + a, b - a);
    });
  }
  candidateError_ = std::int32_t(bestError_ + delta);
  pending_ = true;
  return candidateError_;
}

void IncrementalEvaluator::copyRegion(const std::vector<std::uint32_t>& from,
                                      std::vector<std::uint32_t>& to) const {
  for (int y = region_.rowBegin(); y < region_.rowEnd(); ++y) {
    const std::size_t offset = std::size_t(y) * kFieldWidth;
    region_.forEachRun(y, 0, kFieldWidth, [&](int a, int b) {
      std::copy(from.begin() + std::ptrdiff_t(offset + a),
                from.begin() + std::ptrdiff_t(offset + b), to.begin() + std::ptrdiff_t(offset + a));
    });
  }
}

void IncrementalEvaluator::accept() {
  copyRegion(work_, best_);
  bestError_ = candidateError_;
  region_.clear();
  pending_ = false;
}

void IncrementalEvaluator::reject() {
  copyRegion(best_, work_);
  candidateError_ = bestError_;
  region_.clear();
  pending_ = false;
}

PixelView IncrementalEvaluator::candidatePicture() const {
  return {kFieldWidth, kFieldHeight, work_.data()};
}

PixelView IncrementalEvaluator::bestPicture() const {
  return {kFieldWidth, kFieldHeight, best_.data()};
}

}  // namespace orvane
