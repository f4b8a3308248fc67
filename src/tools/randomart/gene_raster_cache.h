#pragma once

#include <cstdint>
#include <vector>

#include "render/rasteriser.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/pixel_region.h"
#include "tools/randomart/region_painter.h"

namespace orvane {

// What one gene writes, before blending: the pixel runs of its two triangles in drawing order
// and, for every pixel, the source colour (texel x colour). A gene's raster depends on its 12
// bytes alone, so it is made once and blended again wherever the gene has to be redrawn.
struct GeneRaster {
  std::vector<Span> runs;              // triangle (lb, lt, rb) first, then (lt, rb, rt)
  std::vector<std::uint32_t> offsets;  // where each run's colours start in `sources`
  std::vector<std::uint32_t> sources;
  std::size_t secondTriangle = 0;  // index of the first run of the second triangle

  // Blends the raster over `pixels` (192 x 96) within the region, exactly as drawQuad does:
  // an opaque source replaces the pixel, a transparent one leaves it, any other is blended.
  void paint(std::uint32_t* pixels, const PixelRegion& region) const;
  // Adds the pixels the chosen triangles really change (source alpha above 0) to the region.
  void addFootprint(unsigned triangles, PixelRegion& region) const;
};

// Rasters of the genes in use, found by the genes' bytes. Grows to at most kMaxEntries and is
// then trimmed to the genes of the best genome, so its memory stays bounded and, once warm,
// nothing is allocated.
class GeneRasterCache {
 public:
  static constexpr int kMaxEntries = 1536;

  explicit GeneRasterCache(RegionPainter& painter);
  // The gene's raster, made on a miss. Valid until the next trim.
  const GeneRaster& get(const Gene& gene);
  // Drops every raster whose gene is not in `keep` once the cache is full.
  void trimIfFull(const Genome& keep);
  void clear();

 private:
  static constexpr std::size_t kTableSize = 4096;  // open addressing, at most 3/8 full
  struct Entry {
    Gene key{};
    int raster = -1;
  };
  std::size_t find(const Gene& gene) const;  // its entry, or the empty one where it belongs
  void rasterise(const Gene& gene, GeneRaster& raster);

  RegionPainter& painter_;
  std::vector<Entry> table_;
  std::vector<Entry> spare_;  // the table being rebuilt by a trim
  std::vector<GeneRaster> rasters_;
  std::vector<int> free_;
  std::vector<char> kept_;  // scratch of a trim: rasters that stay
  int used_ = 0;
};

}  // namespace orvane
