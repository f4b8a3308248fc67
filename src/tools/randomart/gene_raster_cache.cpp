#include "tools/randomart/gene_raster_cache.h"

#include <algorithm>
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
  runs_.reserve(kRunCapacity);
  sources_.reserve(kSourceCapacity);
  sampledRuns_.reserve(4 * kFieldHeight);
  sampledSources_.reserve(2 * kFieldPixels);
  kept_.reserve(kGenomeCapacity);
}

std::size_t GeneRasterCache::find(const Gene& gene) const {
  std::size_t i = hashOf(gene) & (kTableSize - 1);
  while (table_[i].used && !(table_[i].key == gene)) i = (i + 1) & (kTableSize - 1);
  return i;
}

GeneRaster GeneRasterCache::viewOf(const Entry& entry) const {
  return {runs_.data() + entry.firstRun, entry.runCount, entry.secondTriangle,
          sources_.data() + entry.firstSource};
}

void GeneRasterCache::rasterise(const Gene& gene, Entry& entry) {
  sampledRuns_.clear();
  sampledSources_.clear();
  painter_.sampleSources(gene, 1, sampledRuns_, sampledSources_);
  const std::size_t firstOfSecond = sampledRuns_.size();
  painter_.sampleSources(gene, 2, sampledRuns_, sampledSources_);

  // Only the stretches of each run that write something are kept: a source of alpha 0 leaves
  // its pixel as it was. Gaps shorter than a group of eight stay, as skipping them saves
  // nothing.
  constexpr int kShortestGap = 8;
  entry.firstRun = std::uint32_t(runs_.size());
  entry.firstSource = std::uint32_t(sources_.size());
  entry.secondTriangle = 0;
  std::size_t at = 0;
  for (std::size_t i = 0; i < sampledRuns_.size(); ++i) {
    if (i == firstOfSecond) entry.secondTriangle = std::uint32_t(runs_.size() - entry.firstRun);
    const Span& run = sampledRuns_[i];
    const std::uint32_t* source = sampledSources_.data() + at - run.x0;
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
      runs_.push_back({run.y, x, end, std::uint32_t(sources_.size() - entry.firstSource)});
      sources_.insert(sources_.end(), source + x, source + end);
      x = end;
    }
  }
  entry.runCount = std::uint32_t(runs_.size() - entry.firstRun);
  entry.sourceCount = std::uint32_t(sources_.size() - entry.firstSource);
  if (firstOfSecond == sampledRuns_.size()) entry.secondTriangle = entry.runCount;
}

GeneRaster GeneRasterCache::get(const Gene& gene) {
  const std::size_t i = find(gene);
  Entry& entry = table_[i];
  if (!entry.used) {
    entry.key = gene;
    entry.used = true;
    rasterise(gene, entry);
    ++used_;
  }
  return viewOf(entry);
}

bool GeneRasterCache::full() const {
  return used_ >= kMaxEntries || runs_.size() > kRunCapacity / 4 * 3 ||
         sources_.size() > kSourceCapacity / 4 * 3;
}

void GeneRasterCache::trimIfFull(const Genome& keep) {
  if (!full()) return;
  std::fill(spare_.begin(), spare_.end(), Entry{});
  kept_.clear();
  for (std::int32_t g = 0; g < keep.count; ++g) {
    const Gene& gene = keep.genes[std::size_t(g)];
    const std::size_t from = find(gene);
    if (!table_[from].used) continue;
    std::size_t to = hashOf(gene) & (kTableSize - 1);
    while (spare_[to].used && !(spare_[to].key == gene)) to = (to + 1) & (kTableSize - 1);
    if (spare_[to].used) continue;  // a gene the genome holds twice
    spare_[to] = table_[from];
    kept_.push_back(&spare_[to]);
  }
  // The kept rasters move to the front of the storage in the order they lie there, so no move
  // overwrites a raster still to be moved.
  std::sort(kept_.begin(), kept_.end(),
            [](const Entry* a, const Entry* b) { return a->firstRun < b->firstRun; });
  std::size_t runEnd = 0, sourceEnd = 0;
  for (Entry* entry : kept_) {
    std::memmove(runs_.data() + runEnd, runs_.data() + entry->firstRun,
                 entry->runCount * sizeof(RasterRun));
    std::memmove(sources_.data() + sourceEnd, sources_.data() + entry->firstSource,
                 entry->sourceCount * sizeof(std::uint32_t));
    entry->firstRun = std::uint32_t(runEnd);
    entry->firstSource = std::uint32_t(sourceEnd);
    runEnd += entry->runCount;
    sourceEnd += entry->sourceCount;
  }
  runs_.resize(runEnd);
  sources_.resize(sourceEnd);
  table_.swap(spare_);
  used_ = int(kept_.size());
}

void GeneRasterCache::clear() {
  std::fill(table_.begin(), table_.end(), Entry{});
  runs_.clear();
  sources_.clear();
  used_ = 0;
}

}  // namespace orvane
