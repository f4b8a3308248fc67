#pragma once

#include <cstdint>
#include <vector>

#include "tools/randomart/fit_raster.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {

// The layers fitted so far, back to front, with their rasters and the picture they make: the
// picture is always exactly what RenderGenome draws for the genes, and its squared error is
// kept exact.
class FitStack {
 public:
  FitStack();

  // Starts with the one layer `backdrop`, which must cover the whole field opaquely.
  void reset(const Gene& backdrop, const FitRaster& raster, const TargetPixels& target);
  int size() const { return int(layers_.size()); }
  const Gene& gene(int i) const { return layers_[std::size_t(i)].gene; }
  const FitRaster& raster(int i) const { return layers_[std::size_t(i)].raster; }

  // Puts a layer in front, its exact error change already measured.
  void add(const Gene& gene, const FitRaster& raster, std::int64_t errorChange);
  // Replaces layer i; `picture` is the field drawn with the new layer, `squaredError` its error.
  void replace(int i, const Gene& gene, const FitRaster& raster,
               const std::vector<std::uint32_t>& picture, std::int64_t squaredError);

  // Changes a layer's colour or alpha (its quad and part stay); the picture is stale until
  // repaint.
  void setGene(int i, const Gene& gene) { layers_[std::size_t(i)].gene = gene; }
  // Draws the picture anew from the layers and measures its error.
  void repaint(const TargetPixels& target);

  // Paints layers [first, last) over a picture.
  void paintLayers(int first, int last, std::uint32_t* picture) const;

  const std::uint32_t* picture() const { return picture_.data(); }
  PixelView view() const { return {kFieldWidth, kFieldHeight, picture_.data()}; }
  std::int64_t squaredError() const { return squaredError_; }
  // The genes as a genome, the backdrop first (at the back).
  void toGenome(Genome& genome) const;

 private:
  struct Layer {
    Gene gene;
    FitRaster raster;
  };
  std::vector<Layer> layers_;
  std::vector<std::uint32_t> picture_;
  std::int64_t squaredError_ = 0;
};

}  // namespace orvane
