#include "tools/randomart/genome_rendering.h"

#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"

namespace orvane {

GeneQuad geneQuad(const Gene& g) {
  auto at = [&](int v) { return WorldPoint{float(g.x(v)), -float(g.y(v))}; };
  return {at(0), at(1), at(2), at(3)};
}

bool prepareGenomeView(Renderer& view, const PartsAtlasBuffer& atlas) {
  if (atlas.empty() || !view.create(kFieldWidth, kFieldHeight, true)) return false;
  view.useAnisotropicFiltering();
  TexturePtr texture =
      view.createTextureFromPixels(1024, 2048, atlas.bytes().data(), PixelFormat::A4R4G4B4, 16);
  if (!texture) return false;
  view.setTexture(std::move(texture));
  return true;
}

void RenderGenome(Renderer& view, const Gene* genes, std::int32_t count) {
  view.beginFrame(0x00FFFFFFu);
  for (std::int32_t i = 0; i < count; ++i) {
    const GeneQuad q = geneQuad(genes[i]);
    view.drawQuad(q.lt, q.lb, q.rt, q.rb, geneColour(genes[i]), cellOf(genes[i].part()));
  }
}

std::int64_t pixelDistance(const std::uint32_t* a, const std::uint32_t* b, int n) {
  std::int64_t sum = 0;
  int i = 0;
#if defined(__SSE2__)
  // psadbw sums the absolute byte differences of eight bytes at a time; the alpha bytes are
  // masked off first.
  const __m128i mask = _mm_set1_epi32(0x00FFFFFF);
  __m128i total = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i pa =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)), mask);
    const __m128i pb =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)), mask);
    total = _mm_add_epi64(total, _mm_sad_epu8(pa, pb));
  }
  sum = _mm_cvtsi128_si64(total) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total));
#endif
  for (; i < n; ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      sum += std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF));
    }
  }
  return sum;
}

std::int32_t MeasureError(const TargetPixels& target, const PixelView& picture) {
  if (target.size() != std::size_t(kFieldPixels) || !picture.pixels ||
      picture.width != kFieldWidth || picture.height != kFieldHeight) {
    return -1;
  }
  return std::int32_t(pixelDistance(target.data(), picture.pixels, kFieldPixels));
}

}  // namespace orvane
