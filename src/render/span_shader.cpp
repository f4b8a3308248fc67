#include "render/span_shader.h"

#include <algorithm>
#include <atomic>

#include "render/avx2_region.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orvane {
namespace {

std::atomic<bool> vectorAllowed{true};

#if defined(__x86_64__)
// Everything up to the matching pop is compiled for AVX2 and only called after the run-time check.
ORVANE_BEGIN_AVX2_REGION

// The four channels of eight bilinear reads, two to a 32-bit lane, by the integer formula of
// bilerp.
struct Channels8 {
  __m256i pair[2];  // blue | red << 16 and green | alpha << 16 in each 32-bit lane
};

inline __m256i clampTo(__m256i x, int lo, int hi) {
  return _mm256_min_epi32(_mm256_max_epi32(x, _mm256_set1_epi32(lo)), _mm256_set1_epi32(hi));
}

// With mayGiveUp, false (and `out` untouched) when all 32 texels read are fully transparent.
// (An average of taps must not give up: a clear texel's colour still counts there.)
inline bool bilinear8(const TextureLevel& level, const TexelRect& r, __m256i u, __m256i v,
                      Channels8& out, bool mayGiveUp) {
  const __m256i u8 = _mm256_srai_epi32(_mm256_add_epi32(u, _mm256_set1_epi32(0x80)), 8);
  const __m256i v8 = _mm256_srai_epi32(_mm256_add_epi32(v, _mm256_set1_epi32(0x80)), 8);
  const __m256i xi = _mm256_srai_epi32(u8, 8), yi = _mm256_srai_epi32(v8, 8);
  const __m256i one = _mm256_set1_epi32(1);
  const __m256i w = _mm256_set1_epi32(level.width);
  const __m256i row0 = _mm256_mullo_epi32(clampTo(yi, r.y0, r.y1 - 1), w);
  const __m256i row1 = _mm256_mullo_epi32(clampTo(_mm256_add_epi32(yi, one), r.y0, r.y1 - 1), w);
  const int* base = reinterpret_cast<const int*>(level.texels);
  __m256i t00, t10, t01, t11;
  const __m256i x0 = clampTo(xi, r.x0, r.x1 - 1);
  const __m256i x1 = clampTo(_mm256_add_epi32(xi, one), r.x0, r.x1 - 1);
  // The lanes' columns run one way along the span, so the first and last lanes bound them.
  const int first0 = _mm256_cvtsi256_si32(x0), last0 = _mm256_extract_epi32(x0, 7);
  const int first1 = _mm256_cvtsi256_si32(x1), last1 = _mm256_extract_epi32(x1, 7);
  const int left = std::min(first0, last0), right = std::max(first1, last1);
  const int upper = _mm256_cvtsi256_si32(row0), lower = _mm256_cvtsi256_si32(row1);
  const bool oneRowPair = _mm256_movemask_epi8(_mm256_and_si256(
                              _mm256_cmpeq_epi32(row0, _mm256_set1_epi32(upper)),
                              _mm256_cmpeq_epi32(row1, _mm256_set1_epi32(lower)))) == -1;
  if (oneRowPair && right - left < 16 &&
      std::size_t(lower) + std::size_t(left) + 16 <= std::size_t(level.width) * level.height) {
    // All eight read the same two rows within 16 texels: two plain loads per row, and each
    // lane picks its texels from them.
    const __m256i at0 = _mm256_sub_epi32(x0, _mm256_set1_epi32(left));
    const __m256i at1 = _mm256_sub_epi32(x1, _mm256_set1_epi32(left));
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i second0 = _mm256_cmpgt_epi32(at0, seven);
    const __m256i second1 = _mm256_cmpgt_epi32(at1, seven);
    auto pick = [&](const int* row, __m256i at, __m256i second) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 8));
      return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(a, at),
                                _mm256_permutevar8x32_epi32(b, at), second);
    };
    const int* r0 = base + upper + left;
    const int* r1 = base + lower + left;
    t00 = pick(r0, at0, second0);
    t10 = pick(r0, at1, second1);
    t01 = pick(r1, at0, second0);
    t11 = pick(r1, at1, second1);
  } else if (r.x1 - r.x0 >= 2) {
    // Each row's two texels as one 64-bit read at p = clamp(xi, x0, x1 - 2): texels p and
    // p + 1, of which the clamped pair (clamp(xi), clamp(xi + 1)) takes the first twice left of
    // the cell, the second twice right of it, and both in order inside.
    const __m256i p = clampTo(xi, r.x0, r.x1 - 2);
    const __m256i leftOf = _mm256_cmpgt_epi32(_mm256_set1_epi32(r.x0), xi);
    const __m256i rightOf = _mm256_cmpgt_epi32(xi, _mm256_set1_epi32(r.x1 - 2));
    auto pairs = [&](__m256i row, __m256i& first, __m256i& second) {
      const __m256i at = _mm256_add_epi32(row, p);
      const long long* words = reinterpret_cast<const long long*>(base);
      const __m256 a =
          _mm256_castsi256_ps(_mm256_i32gather_epi64(words, _mm256_castsi256_si128(at), 4));
      const __m256 b =
          _mm256_castsi256_ps(_mm256_i32gather_epi64(words, _mm256_extracti128_si256(at, 1), 4));
      const __m256i lo = _mm256_permute4x64_epi64(
          _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))), 0xD8);
      const __m256i hi = _mm256_permute4x64_epi64(
          _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))), 0xD8);
      first = _mm256_blendv_epi8(lo, hi, rightOf);
      second = _mm256_blendv_epi8(hi, lo, leftOf);
    };
    pairs(row0, t00, t10);
    pairs(row1, t01, t11);
  } else {
    t00 = t10 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row0, x0), 4);
    t01 = t11 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row1, x0), 4);
  }
  const __m256i anyTexel = _mm256_or_si256(_mm256_or_si256(t00, t10), _mm256_or_si256(t01, t11));
  if (mayGiveUp && _mm256_testz_si256(anyTexel, _mm256_set1_epi32(int(0xFF000000u)))) return false;
  const __m256i byteMask = _mm256_set1_epi32(0xFF);
  const __m256i fu = _mm256_and_si256(u8, byteMask), fv = _mm256_and_si256(v8, byteMask);
  const __m256i gu = _mm256_sub_epi32(_mm256_set1_epi32(256), fu);
  const __m256i fu2 = _mm256_or_si256(fu, _mm256_slli_epi32(fu, 16));
  const __m256i gu2 = _mm256_or_si256(gu, _mm256_slli_epi32(gu, 16));
  const __m256i pairMask = _mm256_set1_epi32(0x00FF00FF);
  // Each horizontal sum is at most 255 * 256, so it fits a 16-bit lane.
  auto horizontal = [&](__m256i a, __m256i b, int shift) {
    return _mm256_add_epi16(
        _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(a, shift), pairMask), gu2),
        _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(b, shift), pairMask), fu2));
  };
  const __m256i top[2] = {horizontal(t00, t10, 0), horizontal(t00, t10, 8)};
  const __m256i bottom[2] = {horizontal(t01, t11, 0), horizontal(t01, t11, 8)};
  // The vertical step (top * gv + bottom * fv + 32768) >> 16 needs 24 bits: the high halves of
  // the two products, plus the carries out of their low halves and of the rounding term.
  const __m256i fv2 = _mm256_or_si256(fv, _mm256_slli_epi32(fv, 16));
  const __m256i gv2 = _mm256_sub_epi16(_mm256_set1_epi16(256), fv2);
  const __m256i sign = _mm256_set1_epi16(short(0x8000));
  for (int pair = 0; pair < 2; ++pair) {
    const __m256i lowTop = _mm256_mullo_epi16(top[pair], gv2);
    const __m256i lowBottom = _mm256_mullo_epi16(bottom[pair], fv2);
    const __m256i high =
        _mm256_add_epi16(_mm256_mulhi_epu16(top[pair], gv2), _mm256_mulhi_epu16(bottom[pair], fv2));
    const __m256i low = _mm256_add_epi16(lowTop, lowBottom);
    // All ones where the low sum wrapped (unsigned low < lowTop).
    const __m256i wrapped =
        _mm256_cmpgt_epi16(_mm256_xor_si256(lowTop, sign), _mm256_xor_si256(low, sign));
    out.pair[pair] = _mm256_add_epi16(_mm256_sub_epi16(high, wrapped), _mm256_srli_epi16(low, 15));
  }
  return true;
}

// round(x / 255) in each 16-bit lane (x at most 255 * 255).
inline __m256i div255x16(__m256i x) {
  const __m256i t = _mm256_add_epi16(x, _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// Samples eight pixels and multiplies them by the colour, the renderer's source before blending:
// blue | red << 16 and green | alpha << 16 in each lane. False, with nothing set, when all the
// texels read are clear, so that no source can change its pixel.
__attribute__((always_inline)) inline bool source8(__m256i u, __m256i v, std::uint32_t colour,
                                                   const SamplerSetup& s, bool minified,
                                                   __m256i& sourceRB, __m256i& sourceGA) {
  Channels8 texel = {};
  if (!minified) {
    if (!bilinear8(s.level0, s.rect, u, v, texel, true)) return false;
  } else {
    const __m256i half = _mm256_set1_epi32(0x8000);
    const __m128i shift = _mm_cvtsi32_si128(s.levelIndex);
    Channels8 sum = {};
    for (int k = 0; k < s.taps; ++k) {
      const __m256i uk = _mm256_sub_epi32(
          _mm256_sra_epi32(
              _mm256_add_epi32(_mm256_add_epi32(u, _mm256_set1_epi32(int(s.tapU[k]))), half),
              shift),
          half);
      const __m256i vk = _mm256_sub_epi32(
          _mm256_sra_epi32(
              _mm256_add_epi32(_mm256_add_epi32(v, _mm256_set1_epi32(int(s.tapV[k]))), half),
              shift),
          half);
      Channels8 tap = {};
      const bool visible = bilinear8(s.level, s.levelRect, uk, vk, tap, s.taps == 1);
      if (s.taps == 1) {
        if (!visible) return false;
        texel = tap;
        break;
      }
      // At most 8 * 255 per channel: the sums fit the 16-bit lanes.
      for (int p = 0; p < 2; ++p) sum.pair[p] = _mm256_add_epi16(sum.pair[p], tap.pair[p]);
    }
    if (s.taps > 1) {
      // (sum + n / 2) / n through the reciprocal of sampleMinified, at most 2^15 here.
      const int n = s.taps;
      const __m256i reciprocal = _mm256_set1_epi16(short((65536 + n - 1) / n));
      for (int p = 0; p < 2; ++p) {
        const __m256i rounded = _mm256_add_epi16(sum.pair[p], _mm256_set1_epi16(short(n / 2)));
        texel.pair[p] = _mm256_mulhi_epu16(rounded, reciprocal);
      }
    }
  }
  // Every product below is at most 255 * 255.
  const __m256i colourRB = _mm256_set1_epi32(int((colour & 0xFF) | (colour >> 16 & 0xFF) << 16));
  const __m256i colourGA = _mm256_set1_epi32(int((colour >> 8 & 0xFF) | (colour >> 24) << 16));
  sourceRB = div255x16(_mm256_mullo_epi16(texel.pair[0], colourRB));
  sourceGA = div255x16(_mm256_mullo_epi16(texel.pair[1], colourGA));
  return true;
}

// Eight pixels from `pixels` on, those of the lanes set in `lanes` (all, or the first few at the
// end of a span): sampled, modulated, blended and stored.
__attribute__((always_inline)) inline void shade8(std::uint32_t* pixels, __m256i u, __m256i v,
                                                  std::uint32_t colour, bool keepAlpha,
                                                  const SamplerSetup& s, bool minified,
                                                  __m256i lanes, bool allLanes) {
  __m256i sourceRB, sourceGA;
  if (!source8(u, v, colour, s, minified, sourceRB, sourceGA)) return;
  const __m256i alpha = _mm256_srli_epi32(sourceGA, 16);
  const __m256i alpha2 = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
  const __m256i rest2 = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha2);
  const __m256i dest = allLanes
                           ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels))
                           : _mm256_maskload_epi32(reinterpret_cast<const int*>(pixels), lanes);
  const __m256i pairMask = _mm256_set1_epi32(0x00FF00FF);
  const __m256i destRB = _mm256_and_si256(dest, pairMask);
  const __m256i destGA = _mm256_and_si256(_mm256_srli_epi32(dest, 8), pairMask);
  const __m256i outRB = div255x16(
      _mm256_add_epi16(_mm256_mullo_epi16(sourceRB, alpha2), _mm256_mullo_epi16(destRB, rest2)));
  const __m256i outGA = div255x16(
      _mm256_add_epi16(_mm256_mullo_epi16(sourceGA, alpha2), _mm256_mullo_epi16(destGA, rest2)));
  __m256i out = _mm256_or_si256(outRB, _mm256_slli_epi32(outGA, 8));
  if (!keepAlpha) out = _mm256_or_si256(out, _mm256_set1_epi32(int(0xFF000000u)));
  // Alpha 255 blends to the source itself; alpha 0 leaves the pixel as it was.
  out = _mm256_blendv_epi8(out, dest, _mm256_cmpeq_epi32(alpha, _mm256_setzero_si256()));
  if (allLanes) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), out);
  } else {
    _mm256_maskstore_epi32(reinterpret_cast<int*>(pixels), lanes, out);
  }
}

// Eight sources from `out` on, in the lanes set in `lanes`: packed, and 0 where the alpha is 0.
__attribute__((always_inline)) inline void sample8(std::uint32_t* out, __m256i u, __m256i v,
                                                   std::uint32_t colour, const SamplerSetup& s,
                                                   bool minified, __m256i lanes) {
  __m256i sourceRB, sourceGA;
  __m256i packed = _mm256_setzero_si256();
  if (source8(u, v, colour, s, minified, sourceRB, sourceGA)) {
    packed = _mm256_or_si256(sourceRB, _mm256_slli_epi32(sourceGA, 8));
    const __m256i clear =
        _mm256_cmpeq_epi32(_mm256_srli_epi32(sourceGA, 16), _mm256_setzero_si256());
    packed = _mm256_andnot_si256(clear, packed);
  }
  _mm256_maskstore_epi32(reinterpret_cast<int*>(out), lanes, packed);
}

// The texel coordinates of a span's first eight pixels and their step to the next eight.
struct EightLanes {
  __m256i u, v, stepU, stepV;
};

// Sets up a span for the groups of eight; false when it is too short to be worth it or its
// coordinates could leave 32 bits, which leaves the whole span to the plain path.
bool startEight(const SpanCoords& span, const SamplerSetup& s, EightLanes& lanes) {
  const int length = span.x1 - span.x0;
  const int count = (length + 7) / 8 * 8;  // lanes, the unused ones read inside the cell too
  if (length < 4) return false;
  constexpr std::int64_t kLimit = std::int64_t(1) << 29;
  std::int64_t reach = 0x10000;
  if (s.kind == SamplerSetup::Kind::Minified) {
    for (int k = 0; k < s.taps; ++k) {
      reach = std::max(
          {reach, s.tapU[k] < 0 ? -s.tapU[k] : s.tapU[k], s.tapV[k] < 0 ? -s.tapV[k] : s.tapV[k]});
    }
  }
  auto within = [&](std::int64_t x) { return x > -kLimit + reach && x < kLimit - reach; };
  const std::int64_t lastU = span.u + std::int64_t(count - 1) * span.du;
  const std::int64_t lastV = span.v + std::int64_t(count - 1) * span.dv;
  if (!within(span.u) || !within(span.v) || !within(lastU) || !within(lastV) ||
      !within(8 * span.du) || !within(8 * span.dv)) {
    return false;
  }
  const __m256i steps = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  lanes.u = _mm256_add_epi32(_mm256_set1_epi32(int(span.u)),
                             _mm256_mullo_epi32(steps, _mm256_set1_epi32(int(span.du))));
  lanes.v = _mm256_add_epi32(_mm256_set1_epi32(int(span.v)),
                             _mm256_mullo_epi32(steps, _mm256_set1_epi32(int(span.dv))));
  lanes.stepU = _mm256_set1_epi32(int(8 * span.du));
  lanes.stepV = _mm256_set1_epi32(int(8 * span.dv));
  return true;
}

// The lanes of the last, partial group: the first `left` of eight.
inline __m256i firstLanes(int left) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Walks the span in groups of eight pixels: group(x, u, v, lanes, allLanes) for each, the last
// group masked to the pixels the span still has. Returns the first pixel left for the plain path
// (all of them when startEight declines the span).
template <typename Group>
__attribute__((always_inline)) inline int forEachEight(const SpanCoords& span,
                                                       const SamplerSetup& s, Group&& group) {
  EightLanes lanes;
  if (!startEight(span, s, lanes)) return span.x0;
  const __m256i all = _mm256_set1_epi32(-1);
  int x = span.x0;
  for (; x + 8 <= span.x1; x += 8) {
    group(x, lanes.u, lanes.v, all, true);
    lanes.u = _mm256_add_epi32(lanes.u, lanes.stepU);
    lanes.v = _mm256_add_epi32(lanes.v, lanes.stepV);
  }
  if (x < span.x1) group(x, lanes.u, lanes.v, firstLanes(span.x1 - x), false);
  return span.x1;
}

int shadeVector(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour, bool keepAlpha,
                const SamplerSetup& s) {
  const bool minified = s.kind == SamplerSetup::Kind::Minified;
  return forEachEight(span, s, [&](int x, __m256i u, __m256i v, __m256i lanes, bool allLanes) {
    shade8(row + x, u, v, colour, keepAlpha, s, minified, lanes, allLanes);
  });
}

// The sources of the span, written to out[0 ... length).
int sampleVector(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                 const SamplerSetup& s) {
  const bool minified = s.kind == SamplerSetup::Kind::Minified;
  return forEachEight(span, s, [&](int x, __m256i u, __m256i v, __m256i lanes, bool) {
    sample8(out + (x - span.x0), u, v, colour, s, minified, lanes);
  });
}

ORVANE_END_AVX2_REGION

bool cpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

void shadeFilteredSpanPlain(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                            bool keepAlpha, const SamplerSetup& setup) {
  std::int64_t u = span.u, v = span.v;
  for (int x = span.x0; x < span.x1; ++x, u += span.du, v += span.dv) {
    const std::uint32_t texel = setup.kind == SamplerSetup::Kind::Minified
                                    ? sampleMinified(setup, u, v)
                                    : sampleBilinear<true>(setup.level0, setup.rect, u, v);
    shadePixel(row[x], texel, colour, keepAlpha);
  }
}

void sampleFilteredSpanPlain(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                             const SamplerSetup& setup) {
  std::int64_t u = span.u, v = span.v;
  for (int x = span.x0; x < span.x1; ++x, u += span.du, v += span.dv) {
    const std::uint32_t texel = setup.kind == SamplerSetup::Kind::Minified
                                    ? sampleMinified(setup, u, v)
                                    : sampleBilinear<true>(setup.level0, setup.rect, u, v);
    const std::uint32_t source =
        (texel >> 24) == 0 || colour == 0xFFFFFFFFu ? texel : modulate(texel, colour);
    *out++ = (source >> 24) == 0 ? 0 : source;
  }
}

void sampleFilteredSpan(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                        const SamplerSetup& setup) {
  SpanCoords rest = span;
#if defined(__x86_64__)
  if (cpuHasAvx2() && vectorAllowed.load(std::memory_order_relaxed)) {
    rest.x0 = sampleVector(out, span, colour, setup);
    rest.u = span.u + std::int64_t(rest.x0 - span.x0) * span.du;
    rest.v = span.v + std::int64_t(rest.x0 - span.x0) * span.dv;
  }
#endif
  sampleFilteredSpanPlain(out + (rest.x0 - span.x0), rest, colour, setup);
}

void shadeFilteredSpan(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                       bool keepAlpha, const SamplerSetup& setup) {
  SpanCoords rest = span;
#if defined(__x86_64__)
  if (cpuHasAvx2() && vectorAllowed.load(std::memory_order_relaxed)) {
    rest.x0 = shadeVector(row, span, colour, keepAlpha, setup);
    rest.u = span.u + std::int64_t(rest.x0 - span.x0) * span.du;
    rest.v = span.v + std::int64_t(rest.x0 - span.x0) * span.dv;
  }
#endif
  shadeFilteredSpanPlain(row, rest, colour, keepAlpha, setup);
}

void allowVectorShading(bool allowed) { vectorAllowed.store(allowed); }

bool vectorShadingEnabled() {
  return vectorShadingAvailable() && vectorAllowed.load(std::memory_order_relaxed);
}

bool vectorShadingAvailable() {
#if defined(__x86_64__)
  return cpuHasAvx2();
#else
  return false;
#endif
}

}  // namespace orvane
