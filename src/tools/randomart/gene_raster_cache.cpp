#include "tools/randomart/gene_raster_cache.h"

#include <cstring>

namespace orvane {
namespace {

std::size_t hashOf(const Gene& gene) {
  std::uint64_t xy;
  std::memcpy(&xy, gene.xy, 8);
  const std::uint64_t h =
      (xy ^ (std::uint64_t(gene.attributes) * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
  return std::size_t(h >> 40);
}

}  // namespace

GeneRasterCache::GeneRasterCache(RegionPainter& painter)
    : painter_(painter), table_(kTableSize), spare_(kTableSize) {
  rasters_.reserve(kMaxEntries + 2);
}

std::size_t GeneRasterCache::find(const Gene& gene) const {
  std::size_t i = hashOf(gene) & (kTableSize - 1);
  while (table_[i].raster >= 0 && !(table_[i].key == gene)) i = (i + 1) & (kTableSize - 1);
  return i;
}

void GeneRasterCache::rasterise(const Gene& gene, GeneRaster& raster) {
  GeneRaster& sampled = scratch_;
  sampled.runs.clear();
  sampled.sources.clear();
  painter_.sampleSources(gene, 1, sampled.runs, sampled.sources);
  const std::size_t firstOfSecond = sampled.runs.size();
  painter_.sampleSources(gene, 2, sampled.runs, sampled.sources);

  // Only the stretches of each run that write something are kept: a source of alpha 0 leaves
  // its pixel as it was. Gaps shorter than a group of eight stay, as skipping them saves
  // nothing.
  constexpr int kShortestGap = 8;
  raster.runs.clear();
  raster.offsets.clear();
  raster.sources.clear();
  raster.secondTriangle = 0;
  std::size_t at = 0;
  for (std::size_t i = 0; i < sampled.runs.size(); ++i) {
    if (i == firstOfSecond) raster.secondTriangle = raster.runs.size();
    const Span& run = sampled.runs[i];
    const std::uint32_t* source = sampled.sources.data() + at - run.x0;
    at += std::size_t(run.x1 - run.x0);
    int x = run.x0;
    for (;;) {
      while (x < run.x1 && source[x] == 0) ++x;
      if (x == run.x1) break;
      int end = x + 1, gap = 0;
      for (int k = end; k < run.x1 && gap < kShortestGap; ++k) {
        if (source[k] != 0) {
          end = k + 1, gap = 0;
        } else {
          ++gap;
        }
      }
      raster.runs.push_back({run.y, x, end});
      raster.offsets.push_back(std::uint32_t(raster.sources.size()));
      raster.sources.insert(raster.sources.end(), source + x, source + end);
      x = end;
    }
  }
  if (firstOfSecond == sampled.runs.size()) raster.secondTriangle = raster.runs.size();
}

const GeneRaster& GeneRasterCache::get(const Gene& gene) {
  const std::size_t i = find(gene);
  if (table_[i].raster >= 0) return rasters_[std::size_t(table_[i].raster)];
  int index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    index = int(rasters_.size());
    rasters_.emplace_back();
  }
  rasterise(gene, rasters_[std::size_t(index)]);
  table_[i] = {gene, index};
  ++used_;
  return rasters_[std::size_t(index)];
}

void GeneRasterCache::trimIfFull(const Genome& keep) {
  if (used_ < kMaxEntries) return;
  std::fill(spare_.begin(), spare_.end(), Entry{});
  kept_.assign(rasters_.size(), 0);
  int count = 0;
  for (std::int32_t g = 0; g < keep.count; ++g) {
    const Gene& gene = keep.genes[std::size_t(g)];
    const std::size_t from = find(gene);
    if (table_[from].raster < 0 || kept_[std::size_t(table_[from].raster)]) continue;
    std::size_t to = hashOf(gene) & (kTableSize - 1);
    while (spare_[to].raster >= 0) to = (to + 1) & (kTableSize - 1);
    spare_[to] = table_[from];
    kept_[std::size_t(table_[from].raster)] = 1;
    ++count;
  }
  for (const Entry& e : table_) {
    if (e.raster >= 0 && !kept_[std::size_t(e.raster)]) free_.push_back(e.raster);
  }
  table_.swap(spare_);
  used_ = count;
}

void GeneRasterCache::clear() {
  for (Entry& e : table_) {
    if (e.raster >= 0) free_.push_back(e.raster);
    e = Entry{};
  }
  used_ = 0;
}

}  // namespace orvane
