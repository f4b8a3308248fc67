#include "tools/randomart/gene_raster_cache.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/pixel_blend.h"

namespace orvane {
namespace {

// Blends n sources over a run of the back buffer with drawQuad's rule. One formula serves every
// pixel: with source alpha 255 it gives the source and with alpha 0 the pixel as it was, exactly
// as the renderer's shortcuts for those two cases do (the buffer's alpha is always 255).
void blendRun(std::uint32_t* dest, const std::uint32_t* source, int n) {
  int x = 0;
#if defined(__SSE2__)
  // Two pixels per 128-bit half in 16-bit lanes: s * a + d * (255 - a) stays below 2^16, and
  // div255 is the renderer's (t + (t >> 8)) >> 8 with t = sum + 128.
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i half = _mm_set1_epi16(128);
  const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
  auto blendPair = [&](__m128i s, __m128i d) {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i sum =
        _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(full, a)));
    const __m128i t = _mm_add_epi16(sum, half);
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
  };
  for (; x + 4 <= n; x += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + x));
    const __m128i lo = blendPair(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = blendPair(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + x),
                     _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
  }
#endif
  for (; x < n; ++x) {
    const std::uint32_t s = source[x];
    const std::uint32_t alpha = s >> 24;
    if (alpha == 255) {
      dest[x] = s;
    } else if (alpha != 0) {
      dest[x] = blendOver(s, dest[x], false);
    }
  }
}

std::size_t hashOf(const Gene& gene) {
  std::uint64_t xy;
  std::memcpy(&xy, gene.xy, 8);
  const std::uint64_t h =
      (xy ^ (std::uint64_t(gene.attributes) * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
  return std::size_t(h >> 40);
}

}  // namespace

void GeneRaster::paint(std::uint32_t* pixels, const PixelRegion& region) const {
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Span& run = runs[i];
    if (run.y < region.rowBegin() || run.y >= region.rowEnd()) continue;
    std::uint32_t* row = pixels + std::size_t(run.y) * kFieldWidth;
    const std::uint32_t* source = sources.data() + offsets[i] - run.x0;
    region.forEachRun(run.y, run.x0, run.x1,
                      [&](int a, int b) { blendRun(row + a, source + a, b - a); });
  }
}

void GeneRaster::addFootprint(unsigned triangles, PixelRegion& region) const {
  const std::size_t begin = triangles & 1 ? 0 : secondTriangle;
  const std::size_t end = triangles & 2 ? runs.size() : secondTriangle;
  for (std::size_t i = begin; i < end; ++i) {
    const Span& run = runs[i];
    const std::uint32_t* source = sources.data() + offsets[i];
    int start = -1;
    for (int x = run.x0; x <= run.x1; ++x) {
      const bool writes = x < run.x1 && (source[x - run.x0] >> 24) != 0;
      if (writes && start < 0) start = x;
      if (!writes && start >= 0) {
        region.addSpan(run.y, start, x);
        start = -1;
      }
    }
  }
}

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
  raster.runs.clear();
  raster.offsets.clear();
  raster.sources.clear();
  painter_.sampleTexels(gene, 1, raster.runs, raster.sources);
  raster.secondTriangle = raster.runs.size();
  painter_.sampleTexels(gene, 2, raster.runs, raster.sources);
  std::uint32_t offset = 0;
  for (const Span& run : raster.runs) {
    raster.offsets.push_back(offset);
    offset += std::uint32_t(run.x1 - run.x0);
  }
  const std::uint32_t colour = geneColour(gene);
  if (colour == 0xFFFFFFFFu) return;
  for (std::uint32_t& s : raster.sources) s = (s >> 24) == 0 ? 0 : modulate(s, colour);
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
