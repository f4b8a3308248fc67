#include "tools/randomart/fit_search.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {
namespace {

std::int8_t toCoordinate(double value) {
  return std::int8_t(std::clamp<long>(std::lround(value), -128, 127));
}

std::int8_t clampedCoordinate(int value) { return std::int8_t(std::clamp(value, -128, 127)); }

// Half the larger side of the quad's bounding box, at least 1.
int extentOf(const Gene& g) {
  int minX = 127, maxX = -128, minY = 127, maxY = -128;
  for (int v = 0; v < 4; ++v) {
    minX = std::min<int>(minX, g.x(v)), maxX = std::max<int>(maxX, g.x(v));
    minY = std::min<int>(minY, g.y(v)), maxY = std::max<int>(maxY, g.y(v));
  }
  return std::max(1, std::max(maxX - minX, maxY - minY) / 2);
}

}  // namespace

bool FitSearch::create(TexturePtr atlasTexture, std::vector<FitPart> parts) {
  parts_ = std::move(parts);
  raster_.spans.reserve(4 * kFieldHeight);
  raster_.coverage.reserve(kFieldPixels);
  best_.reserve(16);
  return !parts_.empty() && rasteriser_.create(std::move(atlasTexture));
}

bool FitSearch::isSolid(std::uint32_t part) const {
  for (const FitPart& p : parts_) {
    if (p.id == part) return p.solid;
  }
  return false;
}

double FitSearch::evaluate(const FitScene& scene, Gene& gene) {
  ++evaluations_;
  rasteriser_.rasterise(gene, isSolid(gene.part()), raster_);
  ColourSums sums;
  scene.accumulate(raster_, sums);
  const FittedColour colour = solveColour(sums);
  setGeneColour(gene, colour);
  return colour.delta;
}

Gene FitSearch::randomQuad(const FitScene& scene, const FitEffort& effort,
                           FitRandom& random) const {
  Gene gene{};
  gene.setField(kPartShift, kPartBits, parts_[random.below(std::uint32_t(parts_.size()))].id);
  // Mostly where the error is, sometimes anywhere, so flat areas still get looked at.
  const int p = random.below(4) != 0 ? scene.pickPixel(random) : int(random.below(kFieldPixels));
  const double cx = p % kFieldWidth - kFieldWidth / 2 + 0.5;
  const double cy = p / kFieldWidth - kFieldHeight / 2 + 0.5;
  const double largest = std::max(1.5, double(effort.largestExtent));
  for (int attempt = 0; attempt < 8; ++attempt) {
    const double size = std::exp(random.unit() * std::log(largest));
    const double stretch = std::exp((random.unit() - 0.5) * 2.2);
    const double hx = size * std::sqrt(stretch), hy = size / std::sqrt(stretch);
    const double angle = random.unit() * 2 * std::numbers::pi;
    const double c = std::cos(angle), s = std::sin(angle);
    // lt, lb, rt, rb around the centre.
    const double corners[4][2] = {{-hx, -hy}, {-hx, hy}, {hx, -hy}, {hx, hy}};
    for (int v = 0; v < 4; ++v) {
      gene.xy[2 * v] = toCoordinate(cx + c * corners[v][0] - s * corners[v][1]);
      gene.xy[2 * v + 1] = toCoordinate(cy + s * corners[v][0] + c * corners[v][1]);
    }
    if (isConvexQuad(gene)) return gene;
  }
  // Rounding can fold a very thin quad; a small upright square never folds.
  const std::int8_t x0 = toCoordinate(cx - 1), x1 = toCoordinate(cx + 1);
  const std::int8_t y0 = toCoordinate(cy - 1), y1 = toCoordinate(cy + 1);
  const std::int8_t square[8] = {x0, y0, x0, y1, x1, y0, x1, y1};
  std::copy(square, square + 8, gene.xy);
  return gene;
}

bool FitSearch::move(Gene& gene, int step, FitRandom& random) const {
  // Out of 16 moves: 1 changes the part, 3 shift the whole quad, 2 scale it, 2 turn it and 8
  // shift one vertex.
  const std::uint32_t kind = random.below(16);
  if (kind == 0 && parts_.size() > 1) {
    gene.setField(kPartShift, kPartBits, parts_[random.below(std::uint32_t(parts_.size()))].id);
    return true;
  }
  if (kind >= 4 && kind < 8) {
    double cx = 0, cy = 0;
    for (int v = 0; v < 4; ++v) cx += gene.x(v) * 0.25, cy += gene.y(v) * 0.25;
    // A step of `step` units at the quad's rim.
    const double amount = random.between(-step, step) / double(extentOf(gene));
    const bool scale = kind < 6;
    const double c = scale ? 1 + amount : std::cos(amount);
    const double s = scale ? 0 : std::sin(amount);
    for (int v = 0; v < 4; ++v) {
      const double x = gene.x(v) - cx, y = gene.y(v) - cy;
      gene.xy[2 * v] = toCoordinate(cx + c * x - s * y);
      gene.xy[2 * v + 1] = toCoordinate(cy + s * x + c * y);
    }
    return isConvexQuad(gene);
  }
  int dx = 0, dy = 0;
  while (dx == 0 && dy == 0) dx = random.between(-step, step), dy = random.between(-step, step);
  const int first = kind < 4 ? 0 : int(random.below(4));
  const int last = kind < 4 ? 3 : first;
  for (int v = first; v <= last; ++v) {
    gene.xy[2 * v] = clampedCoordinate(gene.x(v) + dx);
    gene.xy[2 * v + 1] = clampedCoordinate(gene.y(v) + dy);
  }
  return isConvexQuad(gene);
}

void FitSearch::offer(const FitCandidate& candidate, int keep) {
  if (keep <= 0) return;
  if (int(best_.size()) == keep && !(candidate.delta < best_.back().delta)) return;
  auto at = std::upper_bound(
      best_.begin(), best_.end(), candidate,
      [](const FitCandidate& a, const FitCandidate& b) { return a.delta < b.delta; });
  best_.insert(at, candidate);
  if (int(best_.size()) > keep) best_.pop_back();
}

FitCandidate FitSearch::search(const FitScene& scene, const FitEffort& effort, FitRandom& random,
                               const Gene* start) {
  best_.clear();
  const int keep = std::max(1, effort.climbers);
  for (int i = 0; i < effort.randomCandidates; ++i) {
    FitCandidate candidate{randomQuad(scene, effort, random), 0, true};
    candidate.delta = evaluate(scene, candidate.gene);
    offer(candidate, keep);
  }
  if (start) {
    FitCandidate own{*start, 0, true};
    own.delta = evaluate(scene, own.gene);
    if (int(best_.size()) == keep) best_.pop_back();
    offer(own, keep);
  }
  FitCandidate winner;
  for (FitCandidate& climber : best_) {
    const int firstStep = std::max(2, extentOf(climber.gene) / 2);
    for (int s = 0; s < effort.climbSteps; ++s) {
      const int step =
          std::max(1, int(std::lround(firstStep * (1.0 - double(s) / double(effort.climbSteps)))));
      Gene moved = climber.gene;
      if (!move(moved, step, random)) continue;
      const double delta = evaluate(scene, moved);
      if (delta < climber.delta) climber = {moved, delta, true};
    }
    if (!winner.found || climber.delta < winner.delta) winner = climber;
  }
  return winner;
}

}  // namespace orvane
