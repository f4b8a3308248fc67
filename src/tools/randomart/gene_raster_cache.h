#pragma once

#include <cstdint>
#include <vector>

#include "tools/randomart/gene.h"
#include "tools/randomart/gene_raster.h"
#include "tools/randomart/pixel_region.h"
#include "tools/randomart/region_painter.h"

namespace orvane {

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
  GeneRaster scratch_;      // a gene's raster as sampled, before its empty stretches go
  std::vector<char> kept_;  // scratch of a trim: rasters that stay
  int used_ = 0;
};

}  // namespace orvane
