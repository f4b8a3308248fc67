#include "tools/randomart/fit_stack.h"

#include <algorithm>

#include "tools/randomart/fit_paint.h"

namespace orvane {

FitStack::FitStack() : picture_(kFieldPixels, 0xFFFFFFFFu) { layers_.reserve(kGenomeCapacity); }

void FitStack::reset(const Gene& backdrop, const FitRaster& raster, const TargetPixels& target) {
  layers_.clear();
  layers_.push_back({backdrop, raster});
  // RenderGenome clears to white first; the backdrop then covers every pixel.
  std::fill(picture_.begin(), picture_.end(), 0xFFFFFFFFu);
  paintRaster(raster, geneColour(backdrop), picture_.data());
  squaredError_ = squaredDistance(picture_.data(), target.data(), kFieldPixels);
}

void FitStack::add(const Gene& gene, const FitRaster& raster, std::int64_t errorChange) {
  layers_.push_back({gene, raster});
  paintRaster(raster, geneColour(gene), picture_.data());
  squaredError_ += errorChange;
}

void FitStack::replace(int i, const Gene& gene, const FitRaster& raster,
                       const std::vector<std::uint32_t>& picture, std::int64_t squaredError) {
  Layer& layer = layers_[std::size_t(i)];
  layer.gene = gene;
  // Assigning keeps the layer's own storage where it is large enough.
  layer.raster.spans.assign(raster.spans.begin(), raster.spans.end());
  layer.raster.coverage.assign(raster.coverage.begin(), raster.coverage.end());
  layer.raster.solid = raster.solid;
  layer.raster.pixelCount = raster.pixelCount;
  std::copy(picture.begin(), picture.end(), picture_.begin());
  squaredError_ = squaredError;
}

void FitStack::repaint(const TargetPixels& target) {
  std::fill(picture_.begin(), picture_.end(), 0xFFFFFFFFu);
  paintLayers(0, size(), picture_.data());
  squaredError_ = squaredDistance(picture_.data(), target.data(), kFieldPixels);
}

void FitStack::paintLayers(int first, int last, std::uint32_t* picture) const {
  for (int i = std::max(first, 0); i < std::min(last, size()); ++i) {
    paintRaster(layers_[std::size_t(i)].raster, geneColour(layers_[std::size_t(i)].gene), picture);
  }
}

void FitStack::toGenome(Genome& genome) const {
  genome.count = std::min(size(), kMaxGeneCount);
  for (int i = 0; i < genome.count; ++i) genome.genes[std::size_t(i)] = gene(i);
}

}  // namespace orvane
