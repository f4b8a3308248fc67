#include "tools/randomart/gene_raster.h"

#include "render/avx2_region.h"
#include "render/pixel_blend.h"
#include "render/span_shader.h"

namespace orvane {
namespace {

// The plain painter: the region's runs pixel by pixel.
void paintPlain(const GeneRaster& raster, std::uint32_t* pixels, const PixelRegion& region) {
  for (std::size_t i = 0; i < raster.runCount; ++i) {
    const RasterRun& run = raster.runs[i];
    if (run.y < region.rowBegin() || run.y >= region.rowEnd()) continue;
    std::uint32_t* row = pixels + std::size_t(run.y) * kFieldWidth;
    const std::uint32_t* source = raster.sources + run.source - run.x0;
    region.forEachRun(run.y, run.x0, run.x1, [&](int a, int b) {
      for (int x = a; x < b; ++x) {
        const std::uint32_t s = source[x];
        if ((s >> 24) == 255) {
          row[x] = s;
        } else if ((s >> 24) != 0) {
          row[x] = blendOver(s, row[x], false);
        }
      }
    });
  }
}

#if defined(__x86_64__)
ORVANE_BEGIN_AVX2_REGION

// The same eight pixels at a time: each group of a run takes the region's bits for its pixels
// as a lane mask, so the region never splits a run into pieces. The arithmetic is the
// renderer's blend in 16-bit lanes: s * a + d * (255 - a) stays below 2^16, and div255 is
// (t + (t >> 8)) >> 8 with t = sum + 128. It gives the source itself for alpha 255 and the pixel
// as it was for alpha 0, as the renderer's shortcuts do.
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
  for (std::size_t i = 0; i < raster.runCount; ++i) {
    const RasterRun& run = raster.runs[i];
    if (run.y < region.rowBegin() || run.y >= region.rowEnd()) continue;
    std::uint32_t* row = pixels + std::size_t(run.y) * kFieldWidth;
    const std::uint32_t* source = raster.sources + run.source - run.x0;
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

}  // namespace

void GeneRaster::paint(std::uint32_t* pixels, const PixelRegion& region) const {
#if defined(__x86_64__)
  if (vectorShadingEnabled()) {
    paintEights(*this, pixels, region);
    return;
  }
#endif
  paintPlain(*this, pixels, region);
}

void GeneRaster::addFootprint(unsigned triangles, PixelRegion& region) const {
  const std::size_t begin = triangles & 1 ? 0 : secondTriangle;
  const std::size_t end = triangles & 2 ? runCount : secondTriangle;
  for (std::size_t i = begin; i < end; ++i) {
    const RasterRun& run = runs[i];
    const std::uint32_t* source = sources + run.source - run.x0;
    int start = -1;
    for (int x = run.x0; x <= run.x1; ++x) {
      const bool writes = x < run.x1 && (source[x] >> 24) != 0;
      if (writes && start < 0) start = x;
      if (!writes && start >= 0) {
        region.addSpan(run.y, start, x);
        start = -1;
      }
    }
  }
}

}  // namespace orvane
