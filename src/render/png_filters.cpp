#include "render/png_filters.h"

#include <algorithm>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

// A filtered byte read as signed: its magnitude.
inline unsigned magnitude(int filtered) {
  const unsigned b = unsigned(filtered) & 0xFF;
  return b < 128 ? b : 256 - b;
}

#if defined(__SSE2__) && defined(__x86_64__)
// min(b, 256 - b) per byte, the magnitude above.
inline __m128i magnitudes(__m128i filtered) {
  return _mm_min_epu8(filtered, _mm_sub_epi8(_mm_setzero_si128(), filtered));
}
#endif

}  // namespace

PngFilter choosePngFilter(const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                          int bytesPerPixel) {
  std::uint64_t none = 0, sub = 0, up = 0;
  std::size_t i = 0;
#if defined(__SSE2__) && defined(__x86_64__)
  const __m128i zero = _mm_setzero_si128();
  __m128i sums[3] = {zero, zero, zero};
  for (; i + 16 <= length; i += 16) {
    auto load = [](const std::uint8_t* p) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    };
    const __m128i x = load(row + i), a = load(row + i - bytesPerPixel), b = load(above + i);
    sums[0] = _mm_add_epi64(sums[0], _mm_sad_epu8(magnitudes(x), zero));
    sums[1] = _mm_add_epi64(sums[1], _mm_sad_epu8(magnitudes(_mm_sub_epi8(x, a)), zero));
    sums[2] = _mm_add_epi64(sums[2], _mm_sad_epu8(magnitudes(_mm_sub_epi8(x, b)), zero));
  }
  auto total = [](__m128i s) {
    return std::uint64_t(_mm_cvtsi128_si64(s)) +
           std::uint64_t(_mm_cvtsi128_si64(_mm_unpackhi_epi64(s, s)));
  };
  none = total(sums[0]), sub = total(sums[1]), up = total(sums[2]);
#endif
  const std::uint8_t* left = row - bytesPerPixel;  // the pixel before each byte's
  for (; i < length; ++i) {
    const int x = row[i], a = left[i], b = above[i];
    none += magnitude(x), sub += magnitude(x - a), up += magnitude(x - b);
  }
  PngFilter best = PngFilter::None;
  std::uint64_t least = none;
  if (sub < least) best = PngFilter::Sub, least = sub;
  if (up < least) best = PngFilter::Up;
  return best;
}

void applyPngFilter(PngFilter filter, const std::uint8_t* row, const std::uint8_t* above,
                    std::size_t length, int bytesPerPixel, std::uint8_t* out) {
  if (filter != PngFilter::Sub && filter != PngFilter::Up) {
    std::copy_n(row, length, out);
    return;
  }
  const std::uint8_t* before = filter == PngFilter::Sub ? row - bytesPerPixel : above;
  std::size_t i = 0;
#if defined(__SSE2__) && defined(__x86_64__)
  for (; i + 16 <= length; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(before + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_sub_epi8(x, b));
  }
#endif
  for (; i < length; ++i) out[i] = std::uint8_t(row[i] - before[i]);
}

}  // namespace orvane
