#include "tools/randomart/fit_colour_refit.h"

#include <algorithm>

#include "render/pixel_blend.h"
#include "tools/randomart/fit_colour.h"
#include "tools/randomart/fit_paint.h"

namespace orvane {
namespace {

constexpr int kSweeps = 40;

// Calls f(pixel, texel alpha) for every pixel of a raster.
template <typename F>
void forEachCovered(const FitRaster& raster, F&& f) {
  const std::uint8_t* coverage = raster.coverage.data();
  for (const Span& s : raster.spans) {
    for (int x = s.x0; x < s.x1; ++x) f(s.y * kFieldWidth + x, raster.solid ? 255u : *coverage++);
  }
}

double channelOf(std::uint32_t argb, int c) { return double((argb >> (16 - 8 * c)) & 0xFF); }

}  // namespace

void FitColourRefit::collectWeights(const FitStack& stack) {
  // Count the layers over each pixel, then fill the entries front to back, so that each
  // layer's weight is its alpha times what the layers in front of it let through.
  firstEntry_.assign(kFieldPixels + 1, 0);
  for (int j = 0; j < stack.size(); ++j) {
    forEachCovered(stack.raster(j), [&](int p, std::uint32_t alpha) {
      if (alpha != 0) ++firstEntry_[std::size_t(p) + 1];
    });
  }
  for (int p = 0; p < kFieldPixels; ++p)
    firstEntry_[std::size_t(p) + 1] += firstEntry_[std::size_t(p)];
  entries_.resize(std::size_t(firstEntry_.back()));
  fill_.assign(kFieldPixels, 0);
  through_.assign(kFieldPixels, 1.0f);
  for (int j = stack.size() - 1; j >= 0; --j) {
    const std::uint32_t layerAlpha = geneColour(stack.gene(j)) >> 24;
    forEachCovered(stack.raster(j), [&](int p, std::uint32_t alpha) {
      if (alpha == 0) return;
      const float a = float(div255(alpha * layerAlpha)) / 255.0f;
      entries_[std::size_t(firstEntry_[std::size_t(p)] + fill_[std::size_t(p)]++)] = {
          j, a * through_[std::size_t(p)]};
      through_[std::size_t(p)] *= 1.0f - a;
    });
  }
}

void FitColourRefit::solve(int layers, const TargetPixels& target) {
  const auto n = std::size_t(layers);
  normal_.assign(n * n, 0.0);
  right_.assign(n * 3, 0.0);
  for (int p = 0; p < kFieldPixels; ++p) {
    const Entry* first = &entries_[std::size_t(firstEntry_[std::size_t(p)])];
    const Entry* last = &entries_[std::size_t(firstEntry_[std::size_t(p) + 1])];
    for (const Entry* a = first; a != last; ++a) {
      for (int c = 0; c < 3; ++c) {
        right_[std::size_t(a->layer) * 3 + std::size_t(c)] +=
            double(a->weight) * channelOf(target[std::size_t(p)], c);
      }
      for (const Entry* b = first; b != last; ++b) {
        normal_[std::size_t(a->layer) * n + std::size_t(b->layer)] +=
            double(a->weight) * double(b->weight);
      }
    }
  }
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    for (std::size_t j = 0; j < n; ++j) {
      const double diagonal = normal_[j * n + j];
      if (!(diagonal > 1e-12)) continue;
      for (int c = 0; c < 3; ++c) {
        double sum = right_[j * 3 + std::size_t(c)];
        for (std::size_t k = 0; k < n; ++k) {
          if (k != j) sum -= normal_[j * n + k] * colour_[k * 3 + std::size_t(c)];
        }
        colour_[j * 3 + std::size_t(c)] = std::clamp(sum / diagonal, 0.0, 255.0);
      }
    }
  }
}

bool FitColourRefit::run(FitStack& stack, const TargetPixels& target) {
  const int layers = stack.size();
  if (layers == 0) return false;
  collectWeights(stack);
  colour_.resize(std::size_t(layers) * 3);
  before_.resize(std::size_t(layers));
  for (int j = 0; j < layers; ++j) {
    before_[std::size_t(j)] = stack.gene(j);
    const std::uint32_t argb = geneColour(stack.gene(j));
    for (int c = 0; c < 3; ++c) colour_[std::size_t(j) * 3 + std::size_t(c)] = channelOf(argb, c);
  }
  solve(layers, target);
  const std::int64_t errorBefore = stack.squaredError();
  for (int j = 0; j < layers; ++j) {
    Gene gene = stack.gene(j);
    FittedColour colour;
    colour.level = int(gene.field(kAlphaShift, kAlphaBits));
    for (int c = 0; c < 3; ++c) {
      colour.channel[c] =
          std::uint8_t(nearestChannel(colour_[std::size_t(j) * 3 + std::size_t(c)]));
    }
    setGeneColour(gene, colour);
    stack.setGene(j, gene);
  }
  stack.repaint(target);
  if (stack.squaredError() < errorBefore) return true;
  for (int j = 0; j < layers; ++j) stack.setGene(j, before_[std::size_t(j)]);
  stack.repaint(target);
  return false;
}

}  // namespace orvane
