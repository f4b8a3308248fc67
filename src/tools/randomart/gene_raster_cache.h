#pragma once

#include <cstdint>
#include <vector>

#include "render/rasteriser.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/gene_raster.h"
#include "tools/randomart/region_painter.h"

namespace orvane {

// Rasters of the genes in use, found by the genes' bytes. Every raster's runs and sources live
// in two blocks of storage taken once; a new raster is added at their ends. When the cache holds
// kMaxEntries rasters or its storage is three quarters full, it is trimmed to the genes of the
// best genome and the rasters kept are moved to the front. So its memory stays bounded and
// nothing is allocated while the evolution runs (only an evaluation that makes more than a
// quarter of the storage's worth of rasters at once would grow it).
class GeneRasterCache {
 public:
  static constexpr int kMaxEntries = 1536;
  static constexpr std::size_t kRunCapacity = std::size_t(1) << 18;
  static constexpr std::size_t kSourceCapacity = std::size_t(1) << 22;

  explicit GeneRasterCache(RegionPainter& painter);
  // The gene's raster, made on a miss. The view is valid until the next get, trim or clear.
  GeneRaster get(const Gene& gene);
  // Drops every raster whose gene is not in `keep` once the cache is full.
  void trimIfFull(const Genome& keep);
  void clear();
  // The number of rasters held.
  int size() const { return used_; }

 private:
  static constexpr std::size_t kTableSize = 4096;  // open addressing, at most 3/8 full
  struct Entry {
    Gene key{};
    bool used = false;
    std::uint32_t firstRun = 0, runCount = 0, secondTriangle = 0;
    std::uint32_t firstSource = 0, sourceCount = 0;
  };
  std::size_t find(const Gene& gene) const;  // its entry, or the empty one where it belongs
  void rasterise(const Gene& gene, Entry& entry);
  GeneRaster viewOf(const Entry& entry) const;
  bool full() const;

  RegionPainter& painter_;
  std::vector<Entry> table_;
  std::vector<Entry> spare_;  // the table being rebuilt by a trim
  std::vector<RasterRun> runs_;
  std::vector<std::uint32_t> sources_;
  std::vector<Span> sampledRuns_;  // a gene's raster as sampled, before its empty stretches go
  std::vector<std::uint32_t> sampledSources_;
  std::vector<Entry*> kept_;  // scratch of a trim: the entries that stay, in storage order
  int used_ = 0;
};

}  // namespace orvane
