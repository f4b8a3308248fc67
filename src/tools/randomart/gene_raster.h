#pragma once

#include <cstdint>
#include <vector>

#include "tools/randomart/genome_rendering.h"
#include "tools/randomart/pixel_region.h"

namespace orvane {

// One run of a gene's raster: pixels [x0, x1) of row y, whose sources start at `source` in the
// raster's sources.
struct RasterRun {
  int y = 0, x0 = 0, x1 = 0;
  std::uint32_t source = 0;
};

// What one gene writes, before blending: the pixel runs of its two triangles in drawing order
// and, for every pixel, the source the renderer blends there (texel x colour, 0 where its alpha
// is 0). A gene's raster depends on its 12 bytes alone, so it is made once and blended again
// wherever the gene has to be redrawn. This is a view of storage that GeneRasterCache owns.
//
// Stretches of a run that write nothing (sources of alpha 0) are left out where that saves a
// group of eight pixels or more.
struct GeneRaster {
  const RasterRun* runs = nullptr;  // triangle (lb, lt, rb) first, then (lt, rb, rt)
  std::size_t runCount = 0;
  std::size_t secondTriangle = 0;  // index of the first run of the second triangle
  const std::uint32_t* sources = nullptr;

  // Blends the raster over `pixels` (192 x 96) within the region, exactly as drawQuad does: an
  // opaque source replaces the pixel, a transparent one leaves it, any other is blended.
  void paint(std::uint32_t* pixels, const PixelRegion& region) const;
  // Adds the pixels the chosen triangles really change (source alpha above 0) to the region.
  void addFootprint(unsigned triangles, PixelRegion& region) const;
};

}  // namespace orvane
