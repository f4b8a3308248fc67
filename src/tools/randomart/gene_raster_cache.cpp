#include "tools/randomart/gene_raster_cache.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/avx2_region.h"
#include "render/pixel_blend.h"
#include "render/span_shader.h"

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

#if defined(__x86_64__)
ORVANE_BEGIN_AVX2_REGION

// The raster blended over the pixels of the region eight at a time: each group of a run takes
// the region's bits for its pixels as a lane mask, so the region never splits a run into
// pieces. The arithmetic is blendRun's in 16-bit lanes.
void paintEights(const GeneRaster& raster, std::uint32_t* pixels, const PixelRegion& region) {
  const __m256i bitOfLane = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i half = _mm256_set1_epi16(128);
  const __m256i opaque = _mm256_set1_epi32(int(0xFF000000u));
  auto blend = [&](__m256i s, __m256i d) {
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(s, a),
                                         _mm256_mullo_epi16(d, _mm256_sub_epi16(full, a)));
    const __m256i t = _mm256_add_epi16(sum, half);
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
  };
  for (std::size_t i = 0; i < raster.runs.size(); ++i) {
    const Span& run = raster.runs[i];
    if (run.y < region.rowBegin() || run.y >= region.rowEnd()) continue;
    std::uint32_t* row = pixels + std::size_t(run.y) * kFieldWidth;
    const std::uint32_t* source = raster.sources.data() + raster.offsets[i] - run.x0;
    for (int x = run.x0; x < run.x1; x += 8) {
      unsigned bits = region.eightAt(run.y, x);
      if (run.x1 - x < 8) bits &= (1u << (run.x1 - x)) - 1;
      if (bits == 0) continue;
      const __m256i lanes =
          _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(int(bits)), bitOfLane), bitOfLane);
      const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(source + x), lanes);
      const __m256i d = _mm256_maskload_epi32(reinterpret_cast<const int*>(row + x), lanes);
      const __m256i lo = blend(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
      const __m256i hi = blend(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
      _mm256_maskstore_epi32(reinterpret_cast<int*>(row + x), lanes,
                             _mm256_or_si256(_mm256_packus_epi16(lo, hi), opaque));
    }
  }
}

ORVANE_END_AVX2_REGION
#endif

std::size_t hashOf(const Gene& gene) {
  std::uint64_t xy;
  std::memcpy(&xy, gene.xy, 8);
  const std::uint64_t h =
      (xy ^ (std::uint64_t(gene.attributes) * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
  return std::size_t(h >> 40);
}

}  // namespace

void GeneRaster::paint(std::uint32_t* pixels, const PixelRegion& region) const {
#if defined(__x86_64__)
  if (vectorShadingEnabled()) {
    paintEights(*this, pixels, region);
    return;
  }
#endif
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
  painter_.sampleSources(gene, 1, raster.runs, raster.sources);
  raster.secondTriangle = raster.runs.size();
  painter_.sampleSources(gene, 2, raster.runs, raster.sources);
  std::uint32_t offset = 0;
  for (const Span& run : raster.runs) {
    raster.offsets.push_back(offset);
    offset += std::uint32_t(run.x1 - run.x0);
  }
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
