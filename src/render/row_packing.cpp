#include "render/row_packing.h"

#include "render/avx2_region.h"

namespace orvane {
namespace {

#if defined(__x86_64__)
ORVANE_BEGIN_AVX2_REGION

// Eight pixels at a time: each half of the register reorders its four pixels' bytes, and the
// halves are stored one after the other, the four bytes past each half's twelve overwritten
// by the next store.
void packRgbAvx2(const std::uint32_t* in, int count, std::uint8_t* out, int& done) {
  const __m256i order = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2,
                                         1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  int x = 0;
  for (; x + 8 <= count; x += 8, out += 24) {
    const __m256i bytes =
        _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x)), order);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(bytes, 1));
  }
  done = x;
}

void packRgbaAvx2(const std::uint32_t* in, int count, std::uint8_t* out, int& done) {
  const __m256i order = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1,
                                         0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(out + 4 * x),
        _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x)), order));
  }
  done = x;
}

ORVANE_END_AVX2_REGION

bool hasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// The vector code reads the words as the bytes B, G, R, A, their order in memory on the
// little-endian machines that have it.
bool vectorPacking() {
#if defined(__x86_64__)
  return hasAvx2();
#else
  return false;
#endif
}

}  // namespace

void packRgb(const std::uint32_t* in, int count, std::uint8_t* out) {
  int x = 0;
#if defined(__x86_64__)
  if (vectorPacking()) packRgbAvx2(in, count, out, x);
#endif
  for (out += 3 * x; x < count; ++x, out += 3) {
    out[0] = std::uint8_t(in[x] >> 16), out[1] = std::uint8_t(in[x] >> 8);
    out[2] = std::uint8_t(in[x]);
  }
}

void packRgba(const std::uint32_t* in, int count, std::uint8_t* out) {
  int x = 0;
#if defined(__x86_64__)
  if (vectorPacking()) packRgbaAvx2(in, count, out, x);
#endif
  for (out += 4 * x; x < count; ++x, out += 4) {
    out[0] = std::uint8_t(in[x] >> 16), out[1] = std::uint8_t(in[x] >> 8);
    out[2] = std::uint8_t(in[x]), out[3] = std::uint8_t(in[x] >> 24);
  }
}

}  // namespace orvane
