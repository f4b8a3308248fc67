#include "render/span_shader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "render/avx2_region.h"
#include "render/visible_span.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orvane {
namespace {

std::atomic<bool> vectorAllowed{true};

#if defined(__x86_64__)
// Everything up to the matching pop is compiled for AVX2 and only called after the run-time check.
ORVANE_BEGIN_AVX2_REGION

// What the groups of eight pixels of a triangle's spans share. The constants are kept here, in
// memory, so that the loop reads them as operands instead of making them again.
struct Kernel {
  const char* origin;  // the sheet's record (0, 0)
  __m256i stride, lastX, lastY;
  // Minified: per tap, the offset plus half a texel, added before the shift to the level.
  int taps;
  __m128i shift;
  __m256i tapU[kMaxAnisotropy], tapV[kMaxAnisotropy];
  bool white;  // the colour leaves texels as they are
  __m256i colourRB, colourGA;
  std::int64_t reach;  // how far a tap reads from its pixel, in level-0 texels
  // The step from pixel to pixel, the lanes' offsets from the first and the step to the next
  // eight; and whether every span's lanes are known to stay within 32 bits.
  std::int64_t du, dv;
  __m256i laneU, laneV, stepU, stepV;
  bool fits;
};

// Eight pixels' channels two to a 32-bit lane: blue | red << 16 and green | alpha << 16.
struct Channels8 {
  __m256i rb, ga;
};

inline __m256i pairMask() { return _mm256_set1_epi32(0x00FF00FF); }

inline Channels8 split(__m256i argb) {
  return {_mm256_and_si256(argb, pairMask()),
          _mm256_and_si256(_mm256_srli_epi32(argb, 8), pairMask())};
}

// The four texels of each lane's bilinear read at texel (x, y): the sheet's record there, the
// coordinates clamped to its border. The records' byte offsets go through memory, one load each
// (cheaper than extracting lanes), and the eight records are transposed into one register per
// texel.
__attribute__((always_inline)) inline void fetch(const Kernel& k, __m256i x, __m256i y,
                                                 __m256i (&t)[4]) {
  const __m256i minusOne = _mm256_set1_epi32(-1);
  x = _mm256_min_epi32(_mm256_max_epi32(x, minusOne), k.lastX);
  y = _mm256_min_epi32(_mm256_max_epi32(y, minusOne), k.lastY);
  alignas(32) int offsets[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(offsets),
                     _mm256_slli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(y, k.stride), x), 4));
  const volatile int* at = offsets;
  auto two = [&](int low, int high) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(k.origin + at[low]));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(k.origin + at[high]));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1);
  };
  const __m256i a = two(0, 4), b = two(1, 5), c = two(2, 6), d = two(3, 7);
  const __m256i ab0 = _mm256_unpacklo_epi32(a, b), ab1 = _mm256_unpackhi_epi32(a, b);
  const __m256i cd0 = _mm256_unpacklo_epi32(c, d), cd1 = _mm256_unpackhi_epi32(c, d);
  t[0] = _mm256_unpacklo_epi64(ab0, cd0);
  t[1] = _mm256_unpackhi_epi64(ab0, cd0);
  t[2] = _mm256_unpacklo_epi64(ab1, cd1);
  t[3] = _mm256_unpackhi_epi64(ab1, cd1);
}

// Whether any of the texels has alpha above 0.
inline bool anyVisible(const __m256i (&t)[4]) {
  const __m256i all = _mm256_or_si256(_mm256_or_si256(t[0], t[1]), _mm256_or_si256(t[2], t[3]));
  return !_mm256_testz_si256(all, _mm256_set1_epi32(int(0xFF000000u)));
}

// The bilinear blend of bilerp for eight lanes, with the 8-bit fractions fu, fv in 32-bit lanes.
// When each lane's four texels are equal the blend is that texel, which is taken as it is.
__attribute__((always_inline)) inline Channels8 bilinear(const __m256i (&t)[4], __m256i fu,
                                                         __m256i fv) {
  const __m256i same = _mm256_and_si256(
      _mm256_and_si256(_mm256_cmpeq_epi32(t[0], t[1]), _mm256_cmpeq_epi32(t[2], t[3])),
      _mm256_cmpeq_epi32(t[0], t[2]));
  if (_mm256_movemask_epi8(same) == -1) return split(t[0]);
  const __m256i fu2 = _mm256_or_si256(fu, _mm256_slli_epi32(fu, 16));
  const __m256i gu2 = _mm256_sub_epi16(_mm256_set1_epi16(256), fu2);
  const __m256i fv2 = _mm256_or_si256(fv, _mm256_slli_epi32(fv, 16));
  const __m256i gv2 = _mm256_sub_epi16(_mm256_set1_epi16(256), fv2);
  // Each horizontal sum is at most 255 * 256, so it fits a 16-bit lane.
  auto horizontal = [&](const Channels8& a, const Channels8& b) -> Channels8 {
    return {_mm256_add_epi16(_mm256_mullo_epi16(a.rb, gu2), _mm256_mullo_epi16(b.rb, fu2)),
            _mm256_add_epi16(_mm256_mullo_epi16(a.ga, gu2), _mm256_mullo_epi16(b.ga, fu2))};
  };
  const Channels8 top = horizontal(split(t[0]), split(t[1]));
  const Channels8 bottom = horizontal(split(t[2]), split(t[3]));
  // The vertical step (top * gv + bottom * fv + 32768) >> 16 needs 24 bits: the high halves of
  // the two products, plus the carries out of their low halves and of the rounding term.
  const __m256i sign = _mm256_set1_epi16(short(0x8000));
  auto vertical = [&](__m256i a, __m256i b) {
    const __m256i lowTop = _mm256_mullo_epi16(a, gv2);
    const __m256i low = _mm256_add_epi16(lowTop, _mm256_mullo_epi16(b, fv2));
    const __m256i high = _mm256_add_epi16(_mm256_mulhi_epu16(a, gv2), _mm256_mulhi_epu16(b, fv2));
    // All ones where the low sum wrapped (unsigned low < lowTop).
    const __m256i wrapped =
        _mm256_cmpgt_epi16(_mm256_xor_si256(lowTop, sign), _mm256_xor_si256(low, sign));
    return _mm256_add_epi16(_mm256_sub_epi16(high, wrapped), _mm256_srli_epi16(low, 15));
  };
  return {vertical(top.rb, bottom.rb), vertical(top.ga, bottom.ga)};
}

// round(x / 255) in each 16-bit lane (x at most 255 * 255).
inline __m256i div255x16(__m256i x) {
  const __m256i t = _mm256_add_epi16(x, _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// The bilinear fractions and texel indices of local coordinates that carry the rounding term.
struct Position {
  __m256i x, y, fu, fv;
};
inline Position position(__m256i u, __m256i v) {
  const __m256i byte = _mm256_set1_epi32(0xFF);
  return {_mm256_srai_epi32(u, 16), _mm256_srai_epi32(v, 16),
          _mm256_and_si256(_mm256_srli_epi32(u, 8), byte),
          _mm256_and_si256(_mm256_srli_epi32(v, 8), byte)};
}

// How a triangle's pixels read the sheet: one bilinear read at the pixel (magnified), one at
// the pixel's place on a smaller level (minified evenly), or several averaged (minified more
// along one axis).
enum class Reads { Bilinear, OneTap, Taps };

Reads readsOf(const SamplerSetup& s) {
  if (s.kind != SamplerSetup::Kind::Minified) return Reads::Bilinear;
  return s.taps == 1 ? Reads::OneTap : Reads::Taps;
}

// The texels of eight pixels at local coordinates u, v (plus the bilinear rounding term 0x80),
// multiplied by the colour: the renderer's sources before blending. False, with nothing set,
// when all the texels read are clear, so that no source can change its pixel.
template <Reads kReads>
__attribute__((always_inline)) inline bool sources8(const Kernel& k, __m256i u, __m256i v,
                                                    Channels8& out) {
  Channels8 texel;
  // A tap at ((w + offset + half) >> level) - half, the rounding term still added.
  auto tap = [&](int i, __m256i(&t)[4]) __attribute__((always_inline)) {
    const __m256i back = _mm256_set1_epi32(0x80 - 0x8000);
    const Position p =
        position(_mm256_add_epi32(_mm256_sra_epi32(_mm256_add_epi32(u, k.tapU[i]), k.shift), back),
                 _mm256_add_epi32(_mm256_sra_epi32(_mm256_add_epi32(v, k.tapV[i]), k.shift), back));
    fetch(k, p.x, p.y, t);
    return p;
  };
  if constexpr (kReads != Reads::Taps) {
    __m256i t[4];
    Position p;
    if constexpr (kReads == Reads::Bilinear) {
      p = position(u, v);
      fetch(k, p.x, p.y, t);
    } else {
      p = tap(0, t);
    }
    if (!anyVisible(t)) return false;
    texel = bilinear(t, p.fu, p.fv);
  } else {
    // At most 8 * 255 per channel: the sums fit the 16-bit lanes. An average of taps whose
    // texels are all clear is clear; a clear tap still counts with its colour otherwise.
    __m256i t[4];
    Position p = tap(0, t);
    Channels8 sum = bilinear(t, p.fu, p.fv);
    __m256i seen = _mm256_or_si256(_mm256_or_si256(t[0], t[1]), _mm256_or_si256(t[2], t[3]));
    for (int i = 1; i < k.taps; ++i) {
      p = tap(i, t);
      const Channels8 c = bilinear(t, p.fu, p.fv);
      sum.rb = _mm256_add_epi16(sum.rb, c.rb);
      sum.ga = _mm256_add_epi16(sum.ga, c.ga);
      seen = _mm256_or_si256(
          seen, _mm256_or_si256(_mm256_or_si256(t[0], t[1]), _mm256_or_si256(t[2], t[3])));
    }
    if (_mm256_testz_si256(seen, _mm256_set1_epi32(int(0xFF000000u)))) return false;
    // (sum + n / 2) / n through the reciprocal of sampleMinified, at most 2^15 here.
    const int n = k.taps;
    const __m256i reciprocal = _mm256_set1_epi16(short((65536 + n - 1) / n));
    const __m256i rounding = _mm256_set1_epi16(short(n / 2));
    texel.rb = _mm256_mulhi_epu16(_mm256_add_epi16(sum.rb, rounding), reciprocal);
    texel.ga = _mm256_mulhi_epu16(_mm256_add_epi16(sum.ga, rounding), reciprocal);
  }
  if (k.white) {
    out = texel;
  } else {
    // Every product below is at most 255 * 255.
    out = {div255x16(_mm256_mullo_epi16(texel.rb, k.colourRB)),
           div255x16(_mm256_mullo_epi16(texel.ga, k.colourGA))};
  }
  return true;
}

// The sources blended over eight pixels from `pixels` on, in the lanes set in `lanes` (all of
// them, or the first few at the end of a span).
__attribute__((always_inline)) inline void blend8(std::uint32_t* pixels, const Channels8& s,
                                                  bool keepAlpha, __m256i lanes, bool allLanes) {
  const __m256i alpha = _mm256_srli_epi32(s.ga, 16);
  const __m256i packed = _mm256_or_si256(s.rb, _mm256_slli_epi32(s.ga, 8));
  const __m256i opaque = _mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255));
  __m256i out;
  __m256i dest = _mm256_setzero_si256();
  if (_mm256_movemask_epi8(opaque) == -1) {
    // Alpha 255 blends to the source itself.
    out = packed;
  } else {
    dest = allLanes ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels))
                    : _mm256_maskload_epi32(reinterpret_cast<const int*>(pixels), lanes);
    const __m256i alpha2 = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
    const __m256i rest2 = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha2);
    const Channels8 d = split(dest);
    const __m256i outRB = div255x16(
        _mm256_add_epi16(_mm256_mullo_epi16(s.rb, alpha2), _mm256_mullo_epi16(d.rb, rest2)));
    const __m256i outGA = div255x16(
        _mm256_add_epi16(_mm256_mullo_epi16(s.ga, alpha2), _mm256_mullo_epi16(d.ga, rest2)));
    out = _mm256_or_si256(outRB, _mm256_slli_epi32(outGA, 8));
    if (!keepAlpha) out = _mm256_or_si256(out, _mm256_set1_epi32(int(0xFF000000u)));
    // Alpha 0 leaves the pixel as it was.
    out = _mm256_blendv_epi8(out, dest, _mm256_cmpeq_epi32(alpha, _mm256_setzero_si256()));
  }
  if (allLanes) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), out);
  } else {
    _mm256_maskstore_epi32(reinterpret_cast<int*>(pixels), lanes, out);
  }
}

// The sources packed, 0 where the alpha is 0, in the lanes set in `lanes`.
__attribute__((always_inline)) inline void store8(std::uint32_t* out, const Channels8& s,
                                                  __m256i lanes) {
  const __m256i packed = _mm256_or_si256(s.rb, _mm256_slli_epi32(s.ga, 8));
  const __m256i clear = _mm256_cmpeq_epi32(_mm256_srli_epi32(s.ga, 16), _mm256_setzero_si256());
  _mm256_maskstore_epi32(reinterpret_cast<int*>(out), lanes, _mm256_andnot_si256(clear, packed));
}

constexpr std::int64_t kLaneLimit = std::int64_t(1) << 29;

// Sets the kernel up for a triangle's spans, which step (du, dv) from pixel to pixel.
void setUp(Kernel& k, const SamplerSetup& s, std::uint32_t colour, std::int64_t du,
           std::int64_t dv) {
  const bool minified = s.kind == SamplerSetup::Kind::Minified;
  const TexelSheet& sheet = *s.sheet;
  k.origin = reinterpret_cast<const char*>(sheet.origin);
  k.stride = _mm256_set1_epi32(sheet.stride);
  k.lastX = _mm256_set1_epi32(sheet.width - 1);
  k.lastY = _mm256_set1_epi32(sheet.height - 1);
  k.taps = minified ? s.taps : 1;
  k.shift = _mm_cvtsi32_si128(minified ? s.levelIndex : 0);
  k.reach = 0x10000;
  // The minified taps take the rounding term off again before the shift.
  for (int i = 0; minified && i < s.taps; ++i) {
    k.tapU[i] = _mm256_set1_epi32(int(s.tapU[i] + 0x8000 - 0x80));
    k.tapV[i] = _mm256_set1_epi32(int(s.tapV[i] + 0x8000 - 0x80));
    k.reach = std::max(
        {k.reach, s.tapU[i] < 0 ? -s.tapU[i] : s.tapU[i], s.tapV[i] < 0 ? -s.tapV[i] : s.tapV[i]});
  }
  k.white = colour == 0xFFFFFFFFu;
  k.colourRB = _mm256_set1_epi32(int((colour & 0xFF) | (colour >> 16 & 0xFF) << 16));
  k.colourGA = _mm256_set1_epi32(int((colour >> 8 & 0xFF) | (colour >> 24) << 16));
  k.du = du, k.dv = dv;
  k.fits = false;
  if (std::max(du < 0 ? -du : du, dv < 0 ? -dv : dv) < kLaneLimit / 8) {
    const __m256i steps = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    k.laneU = _mm256_mullo_epi32(steps, _mm256_set1_epi32(int(du)));
    k.laneV = _mm256_mullo_epi32(steps, _mm256_set1_epi32(int(dv)));
    k.stepU = _mm256_set1_epi32(int(8 * du));
    k.stepV = _mm256_set1_epi32(int(8 * dv));
  }
}

// Whether the lanes of every span of a triangle whose texel coordinates lie in [uLow, uHigh] x
// [vLow, vHigh] stay within 32 bits, with the taps' reach and the eight lanes past a span's end.
bool lanesFit(const Kernel& k, const SamplerSetup& s, const TriangleSpans& spans) {
  const double margin =
      double(k.reach) + 8.0 * double(std::max(std::abs(k.du), std::abs(k.dv))) + 65536.0;
  auto fits = [&](double low, double high, int origin) {
    const double a = (low - origin) * 65536.0, b = (high - origin) * 65536.0;
    return std::max(std::abs(a), std::abs(b)) + margin < double(kLaneLimit);
  };
  return std::max(std::abs(k.du), std::abs(k.dv)) < kLaneLimit / 8 &&
         fits(spans.uLow, spans.uHigh, s.rect.x0) && fits(spans.vLow, spans.vHigh, s.rect.y0);
}

// The local coordinates (with the rounding term) of the first eight of a span's pixels
// [first, first + count); false when a coordinate of a lane could leave 32 bits, which leaves
// the span to the plain path.
inline bool startSpan(const Kernel& k, const SamplerSetup& s, const SpanCoords& span, int first,
                      int count, __m256i& u, __m256i& v) {
  const std::int64_t u0 = s.localU(span.u) + std::int64_t(first) * k.du;
  const std::int64_t v0 = s.localV(span.v) + std::int64_t(first) * k.dv;
  if (!k.fits) {
    auto within = [&](std::int64_t x) {
      return x > -kLaneLimit + k.reach && x < kLaneLimit - k.reach;
    };
    const int lanes = (count + 7) / 8 * 8;  // the unused lanes read inside the sheet too
    const std::int64_t lastU = u0 + std::int64_t(lanes - 1) * k.du;
    const std::int64_t lastV = v0 + std::int64_t(lanes - 1) * k.dv;
    if (!within(u0) || !within(v0) || !within(lastU) || !within(lastV) || !within(8 * k.du) ||
        !within(8 * k.dv)) {
      return false;
    }
  }
  u = _mm256_add_epi32(_mm256_set1_epi32(int(u0 + 0x80)), k.laneU);
  v = _mm256_add_epi32(_mm256_set1_epi32(int(v0 + 0x80)), k.laneV);
  return true;
}

// The lanes of the last, partial group: the first `left` of eight.
inline __m256i firstLanes(int left) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(left), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Walks pixels [first, first + count) of the span in groups of eight: group(offset, sources,
// lanes, allLanes) for each group with a visible texel, offset counted from `first`, the last
// group masked to the pixels left. False when startSpan declines the span.
template <Reads kReads, typename Group>
__attribute__((always_inline)) inline bool forEachEight(const Kernel& k, const SamplerSetup& s,
                                                        const SpanCoords& span, int first,
                                                        int count, Group&& group) {
  __m256i u, v;
  if (!startSpan(k, s, span, first, count, u, v)) return false;
  const __m256i stepU = k.stepU, stepV = k.stepV;
  int i = 0;
  Channels8 sources;
  for (; i + 8 <= count; i += 8) {
    if (sources8<kReads>(k, u, v, sources)) group(i, sources, _mm256_set1_epi32(-1), true);
    u = _mm256_add_epi32(u, stepU);
    v = _mm256_add_epi32(v, stepV);
  }
  if (i < count && sources8<kReads>(k, u, v, sources)) {
    group(i, sources, firstLanes(count - i), false);
  }
  return true;
}

// Shades the triangle's spans, the pixels that can change of each; the spans the vector path
// declines are left to the plain one.
// The spans of a triangle whose sheet holds one texel: every pixel takes the same source.
void shadeConstant(std::uint32_t* pixels, std::size_t width, const TriangleSpans& spans, int y0,
                   int y1, std::uint32_t colour, bool keepAlpha, const SamplerSetup& s) {
  const std::uint32_t texel = s.sheet->uniformTexel;
  if ((texel >> 24) == 0) return;
  const std::uint32_t source = colour == 0xFFFFFFFFu ? texel : modulate(texel, colour);
  if ((source >> 24) == 0) return;
  const Channels8 sources = split(_mm256_set1_epi32(int(source)));
  spans.walk(y0, y1, [&](int y, const SpanCoords& c) {
    std::uint32_t* row = pixels + std::size_t(y) * width;
    if ((source >> 24) == 255) {
      std::fill(row + c.x0, row + c.x1, source);
      return;
    }
    int x = c.x0;
    for (; x + 8 <= c.x1; x += 8) blend8(row + x, sources, keepAlpha, _mm256_set1_epi32(-1), true);
    if (x < c.x1) blend8(row + x, sources, keepAlpha, firstLanes(c.x1 - x), false);
  });
}

template <Reads kReads>
void shadeVector(std::uint32_t* pixels, std::size_t width, const TriangleSpans& spans, int y0,
                 int y1, std::uint32_t colour, bool keepAlpha, const SamplerSetup& s) {
  if (s.sheet->uniform) return shadeConstant(pixels, width, spans, y0, y1, colour, keepAlpha, s);
  Kernel k;
  setUp(k, s, colour, spans.du, spans.dv);
  k.fits = lanesFit(k, s, spans);
  const VisiblePixels visible(s);
  spans.walk(y0, y1, [&](int y, const SpanCoords& c) {
    std::uint32_t* row = pixels + std::size_t(y) * width;
    const PixelRange range = visible.of(c);
    std::uint32_t* from = row + c.x0 + range.first;
    if (range.first < range.last &&
        !forEachEight<kReads>(k, s, c, range.first, range.last - range.first,
                              [&](int i, const Channels8& sources, __m256i lanes, bool all) {
                                blend8(from + i, sources, keepAlpha, lanes, all);
                              })) {
      shadeFilteredSpanPlain(row, c, colour, keepAlpha, s);
    }
  });
}

// One span alone; false when the vector path declines it.
bool shadeSpanVector(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                     bool keepAlpha, const SamplerSetup& s) {
  Kernel k;
  setUp(k, s, colour, span.du, span.dv);
  const PixelRange range = VisiblePixels(s).of(span);
  std::uint32_t* from = row + span.x0 + range.first;
  auto blend = [&](int i, const Channels8& sources, __m256i lanes, bool all) {
    blend8(from + i, sources, keepAlpha, lanes, all);
  };
  const int count = range.last - range.first;
  if (count == 0) return true;
  switch (readsOf(s)) {
    case Reads::Bilinear:
      return forEachEight<Reads::Bilinear>(k, s, span, range.first, count, blend);
    case Reads::OneTap:
      return forEachEight<Reads::OneTap>(k, s, span, range.first, count, blend);
    case Reads::Taps:
      break;
  }
  return forEachEight<Reads::Taps>(k, s, span, range.first, count, blend);
}

// The sources of the span, 0 where nothing can change.
template <Reads kReads>
bool sampleVector(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                  const SamplerSetup& s) {
  Kernel k;
  setUp(k, s, colour, span.du, span.dv);
  const PixelRange range = VisiblePixels(s).of(span);
  std::memset(out, 0, std::size_t(span.x1 - span.x0) * 4);
  std::uint32_t* from = out + range.first;
  return range.first == range.last ||
         forEachEight<kReads>(k, s, span, range.first, range.last - range.first,
                              [&](int i, const Channels8& sources, __m256i lanes, bool) {
                                store8(from + i, sources, lanes);
                              });
}

ORVANE_END_AVX2_REGION

bool cpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

std::uint32_t sampleFiltered(const SamplerSetup& setup, std::int64_t u, std::int64_t v) {
  u = setup.localU(u), v = setup.localV(v);
  return setup.kind == SamplerSetup::Kind::Minified ? sampleMinified(setup, u, v)
                                                    : sampleBilinear<true>(*setup.sheet, u, v);
}

}  // namespace

void shadeFilteredSpanPlain(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                            bool keepAlpha, const SamplerSetup& setup) {
  std::int64_t u = span.u, v = span.v;
  for (int x = span.x0; x < span.x1; ++x, u += span.du, v += span.dv) {
    shadePixel(row[x], sampleFiltered(setup, u, v), colour, keepAlpha);
  }
}

void sampleFilteredSpanPlain(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                             const SamplerSetup& setup) {
  std::int64_t u = span.u, v = span.v;
  for (int x = span.x0; x < span.x1; ++x, u += span.du, v += span.dv) {
    const std::uint32_t texel = sampleFiltered(setup, u, v);
    const std::uint32_t source =
        (texel >> 24) == 0 || colour == 0xFFFFFFFFu ? texel : modulate(texel, colour);
    *out++ = (source >> 24) == 0 ? 0 : source;
  }
}

void sampleFilteredSpan(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                        const SamplerSetup& setup) {
#if defined(__x86_64__)
  if (cpuHasAvx2() && vectorAllowed.load(std::memory_order_relaxed)) {
    const Reads reads = readsOf(setup);
    if (reads == Reads::Bilinear ? sampleVector<Reads::Bilinear>(out, span, colour, setup)
        : reads == Reads::OneTap ? sampleVector<Reads::OneTap>(out, span, colour, setup)
                                 : sampleVector<Reads::Taps>(out, span, colour, setup)) {
      return;
    }
  }
#endif
  sampleFilteredSpanPlain(out, span, colour, setup);
}

void shadeFilteredTriangle(std::uint32_t* pixels, std::size_t width, const TriangleSpans& spans,
                           int y0, int y1, std::uint32_t colour, bool keepAlpha,
                           const SamplerSetup& setup) {
#if defined(__x86_64__)
  if (cpuHasAvx2() && vectorAllowed.load(std::memory_order_relaxed)) {
    switch (readsOf(setup)) {
      case Reads::Bilinear:
        shadeVector<Reads::Bilinear>(pixels, width, spans, y0, y1, colour, keepAlpha, setup);
        break;
      case Reads::OneTap:
        shadeVector<Reads::OneTap>(pixels, width, spans, y0, y1, colour, keepAlpha, setup);
        break;
      case Reads::Taps:
        shadeVector<Reads::Taps>(pixels, width, spans, y0, y1, colour, keepAlpha, setup);
        break;
    }
    return;
  }
#endif
  spans.walk(y0, y1, [&](int y, const SpanCoords& c) {
    shadeFilteredSpanPlain(pixels + std::size_t(y) * width, c, colour, keepAlpha, setup);
  });
}

void shadeFilteredSpan(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                       bool keepAlpha, const SamplerSetup& setup) {
#if defined(__x86_64__)
  if (cpuHasAvx2() && vectorAllowed.load(std::memory_order_relaxed) &&
      shadeSpanVector(row, span, colour, keepAlpha, setup)) {
    return;
  }
#endif
  shadeFilteredSpanPlain(row, span, colour, keepAlpha, setup);
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
