#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/randomart/fit_colour.h"
#include "tools/randomart/fit_random.h"
#include "tools/randomart/fit_raster.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {

// The frozen picture one layer is fitted into, read by every search thread at once:
// - below: the colour under the layer (d of the colour model),
// - residual: the finished picture without the layer minus the target (r),
// - through: how much of the layer the layers above it let through (1 when none are above).
// With nothing above (the greedy loop) below is the picture itself. The scene also keeps
// running sums along each row for solid parts, so their colour sums cost two look-ups per
// span, and a table for drawing pixels in proportion to the error they could lose.
class FitScene {
 public:
  FitScene();

  // Nothing above the layer: below and the picture without it are `picture`.
  void setPicture(const std::uint32_t* picture, const TargetPixels& target);
  // After the picture changed in rows [y0, y1) only.
  void updateRows(const std::uint32_t* picture, const TargetPixels& target, int y0, int y1);
  // A layer inside the stack: the picture below it, the finished picture without it, and the
  // fraction of it that reaches the finished picture at each pixel (0 ... 1).
  void setLayered(const std::uint32_t* below, const std::uint32_t* without, const float* through,
                  const TargetPixels& target);

  // The colour solver's sums over a raster's pixels.
  void accumulate(const FitRaster& raster, ColourSums& sums) const;
  // A pixel index drawn in proportion to the squared error the layer could remove there.
  int pickPixel(FitRandom& random) const;

  // The per-pixel terms of the colour sums, one plane each, so that a span reads each term
  // as consecutive floats.
  enum Term {
    kThrough,
    kBelow,
    kBelowSquared = kBelow + 3,
    kResidual = kBelowSquared + 3,
    kBelowResidual = kResidual + 3,
    kTermCount = kBelowResidual + 3
  };

 private:
  // One prefix entry: the sums of ColourSums over a row up to a column, with coverage 1.
  struct Prefix {
    double sums[13];
  };
  const float* plane(int term) const { return &terms_[std::size_t(term) * kFieldPixels]; }
  void loadPixel(int p, const std::uint32_t* below, const std::uint32_t* without, float through,
                 const TargetPixels& target);
  void rebuildRows(int y0, int y1);
  void rebuildPicks();

  std::vector<float> terms_;        // kTermCount planes of kFieldPixels
  std::vector<Prefix> prefix_;      // (kFieldWidth + 1) per row
  std::vector<double> pickWeight_;  // pick weights summed over the pixels up to each one
  double totalWeight_ = 0;
};

}  // namespace orvane
