#include "tools/randomart/fit_polish.h"

#include <algorithm>

#include "tools/randomart/fit_paint.h"

namespace orvane {

FitPolisher::FitPolisher()
    : below_(kFieldPixels), without_(kFieldPixels), trial_(kFieldPixels), through_(kFieldPixels) {}

void FitPolisher::beginRound(const FitStack& stack) {
  std::fill(below_.begin(), below_.end(), 0xFFFFFFFFu);
  stack.paintLayers(0, 1, below_.data());
}

void FitPolisher::prepare(const FitStack& stack, int i, const TargetPixels& target,
                          FitScene& scene) {
  std::copy(below_.begin(), below_.end(), without_.begin());
  stack.paintLayers(i + 1, stack.size(), without_.data());
  std::fill(through_.begin(), through_.end(), 1.0f);
  for (int j = i + 1; j < stack.size(); ++j) {
    attenuate(stack.raster(j), geneColour(stack.gene(j)), through_.data());
  }
  scene.setLayered(below_.data(), without_.data(), through_.data(), target);
}

std::int64_t FitPolisher::errorWithReplacement(const FitStack& stack, int i, const Gene& gene,
                                               const FitRaster& raster,
                                               const TargetPixels& target) {
  std::copy(below_.begin(), below_.end(), trial_.begin());
  paintRaster(raster, geneColour(gene), trial_.data());
  stack.paintLayers(i + 1, stack.size(), trial_.data());
  return squaredDistance(trial_.data(), target.data(), kFieldPixels);
}

void FitPolisher::replace(FitStack& stack, int i, const Gene& gene, const FitRaster& raster,
                          std::int64_t error) {
  stack.replace(i, gene, raster, trial_, error);
}

void FitPolisher::finish(const FitStack& stack, int i) {
  stack.paintLayers(i, i + 1, below_.data());
}

}  // namespace orvane
