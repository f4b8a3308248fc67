#pragma once

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/pixel_blend.h"
#include "render/texture.h"

namespace orvane {

// How textures are read (a fresh renderer samples the nearest texel, as a device does before
// its filters are set; useAnisotropicFiltering switches to Anisotropic).
enum class TextureFilter { Point, Anisotropic };

// Texel coordinates are level-0 texels with 16 fractional bits, texel centres on integers
// (a texture coordinate u is the texel coordinate u * width - 0.5). Sampling never leaves the
// rectangle of the cell being drawn (TexelRect): texel addresses are clamped into it, so a
// neighbouring cell never bleeds in.
//
// Sampling rules:
// - Point filter: the nearest texel, halves rounding up.
// - Anisotropic filter, magnified or 1:1 (at most one texel per pixel along both screen axes):
//   bilinear on level 0 with 8-bit weights, round((sum of weight * texel) / 65536).
// - Anisotropic filter, minified: N = ceil(major / minor) taps (at most kMaxAnisotropy) spread
//   evenly along the footprint's major axis, each bilinear on the mip level nearest
//   log2(major / N), the levels limited to those whose texels still tile the rectangle (level 6
//   for a 64 x 64 atlas cell); the taps are averaged with rounding, (sum + N / 2) / N.
inline constexpr int kMaxAnisotropy = 8;

struct SamplerSetup {
  enum class Kind { Nearest, Bilinear, Minified };
  Kind kind = Kind::Nearest;
  TexelRect rect;
  // The level read (0 unless Minified) as a sheet of the rectangle: texel (0, 0) of the sheet
  // is texel (rect.x0, rect.y0) >> levelIndex of the level.
  const TexelSheet* sheet = nullptr;
  // Minified only: the mip level read, and the taps' offsets in level-0 texels.
  int levelIndex = 0;
  int taps = 1;
  std::int64_t tapU[kMaxAnisotropy] = {};
  std::int64_t tapV[kMaxAnisotropy] = {};

  // Texel coordinates relative to the rectangle's corner, which is where sheets start.
  std::int64_t localU(std::int64_t u) const { return u - (std::int64_t(rect.x0) << 16); }
  std::int64_t localV(std::int64_t v) const { return v - (std::int64_t(rect.y0) << 16); }
};

// Decides the sampling of one triangle from its constant gradients (level-0 texels per pixel),
// making the sheet it reads.
SamplerSetup prepareSampler(const Texture& texture, TexelRect rect, TextureFilter filter,
                            double dUdx, double dVdx, double dUdy, double dVdy);

// The rectangle of level-0 texels that a cell (u, v, du, dv) covers, at least one texel.
TexelRect texelRectOf(const Texture& texture, float u, float v, float du, float dv);

// Bilinear blend of four texels with 8-bit weights fu, fv (0 ... 255 towards the second one):
// round((sum of weight * texel) / 65536) per channel, the weights (256 - f) and f multiplied.
#if defined(__SSE2__)
// The four channels of two texels interleaved in 16-bit lanes: a0 b0 a1 b1 a2 b2 a3 b3.
inline __m128i interleaveTexels(std::uint32_t a, std::uint32_t b) {
  const __m128i bytes = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(a)), _mm_cvtsi32_si128(int(b)));
  return _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
}
inline std::uint32_t bilerp(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                            std::uint32_t t11, std::uint32_t fu, std::uint32_t fv) {
  // Horizontal sums (at most 255 * 256) by multiply-add, then the vertical step in floats,
  // where every value below 2^24 is exact, so the result equals the integer formula.
  const __m128i wu = _mm_set1_epi32(int(fu << 16 | (256 - fu)));
  const __m128 top = _mm_cvtepi32_ps(_mm_madd_epi16(interleaveTexels(t00, t10), wu));
  const __m128 bottom = _mm_cvtepi32_ps(_mm_madd_epi16(interleaveTexels(t01, t11), wu));
  const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(top, _mm_set1_ps(float(256 - fv))),
                                           _mm_mul_ps(bottom, _mm_set1_ps(float(fv)))),
                                _mm_set1_ps(32768.0f));
  const __m128i q = _mm_cvttps_epi32(_mm_mul_ps(sum, _mm_set1_ps(1.0f / 65536.0f)));
  const __m128i words = _mm_packs_epi32(q, q);
  return std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}
#else
inline std::uint32_t bilerp(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                            std::uint32_t t11, std::uint32_t fu, std::uint32_t fv) {
  const std::uint32_t gu = 256 - fu, gv = 256 - fv;
  // Two channels per 32-bit word in 16-bit lanes: each horizontal sum is at most 255 * 256.
  const std::uint32_t topRB = (t00 & 0xFF00FF) * gu + (t10 & 0xFF00FF) * fu;
  const std::uint32_t topAG = ((t00 >> 8) & 0xFF00FF) * gu + ((t10 >> 8) & 0xFF00FF) * fu;
  const std::uint32_t botRB = (t01 & 0xFF00FF) * gu + (t11 & 0xFF00FF) * fu;
  const std::uint32_t botAG = ((t01 >> 8) & 0xFF00FF) * gu + ((t11 >> 8) & 0xFF00FF) * fu;
  // The vertical step needs 24 bits per lane: spread to 32-bit lanes of a 64-bit word.
  auto spread = [](std::uint32_t x) -> std::uint64_t {
    return (x & 0xFFFF) | (std::uint64_t(x >> 16) << 32);
  };
  const std::uint64_t round = 0x0000800000008000ull;
  const std::uint64_t rb = (spread(topRB) * gv + spread(botRB) * fv + round) >> 16;
  const std::uint64_t ag = (spread(topAG) * gv + spread(botAG) * fv + round) >> 16;
  return std::uint32_t((rb & 0xFF) | ((rb >> 16) & 0xFF0000) | ((ag & 0xFF) << 8) |
                       ((ag >> 8) & 0xFF000000));
}
#endif

// The nearest texel of the sheet to local coordinates (u, v).
inline std::uint32_t sampleNearest(const TexelSheet& s, std::int64_t u, std::int64_t v) {
  const int x = int(std::clamp<std::int64_t>((u + 0x8000) >> 16, 0, s.width - 1));
  const int y = int(std::clamp<std::int64_t>((v + 0x8000) >> 16, 0, s.height - 1));
  return s.at(x, y);
}

// Bilinear read of the sheet at local coordinates (u, v) of its level. With kSkipClear, four
// fully transparent texels give 0 without blending them (the colour of a texel of alpha 0
// cannot show through the renderer's blending).
template <bool kSkipClear = false>
inline std::uint32_t sampleBilinear(const TexelSheet& s, std::int64_t u, std::int64_t v) {
  const std::int64_t u8 = (u + 0x80) >> 8;  // 8 fractional bits, rounded
  const std::int64_t v8 = (v + 0x80) >> 8;
  const int x = int(std::clamp<std::int64_t>(u8 >> 8, -1, s.width - 1));
  const int y = int(std::clamp<std::int64_t>(v8 >> 8, -1, s.height - 1));
  const std::uint32_t* r = s.record(x, y);
  const std::uint32_t t00 = r[0], t10 = r[1], t01 = r[2], t11 = r[3];
  if (kSkipClear && ((t00 | t10 | t01 | t11) >> 24) == 0) return 0;
  return bilerp(t00, t10, t01, t11, std::uint32_t(u8 & 0xFF), std::uint32_t(v8 & 0xFF));
}

// The minified path at local level-0 coordinates: the taps on the chosen level, averaged.
inline std::uint32_t sampleMinified(const SamplerSetup& s, std::int64_t u, std::int64_t v) {
  const std::int64_t half = 0x8000;
  const int shift = s.levelIndex;
  auto tap = [&](int k) {
    return sampleBilinear(*s.sheet, ((u + s.tapU[k] + half) >> shift) - half,
                          ((v + s.tapV[k] + half) >> shift) - half);
  };
  if (s.taps == 1) return tap(0);
  // Sum of the taps per channel in 16-bit lanes (at most 8 * 255), then (sum + n / 2) / n
  // through a reciprocal that is exact for sums below 2^16 / n.
  std::uint64_t sum = 0;
  for (int k = 0; k < s.taps; ++k) sum += spreadChannels(tap(k));
  const std::uint64_t n = std::uint64_t(s.taps);
  const std::uint64_t reciprocal = (65536 + n - 1) / n;
  sum += (n / 2) * 0x0001000100010001ull;
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) {
    out |= std::uint32_t((((sum >> (16 * c)) & 0xFFFF) * reciprocal) >> 16) << (8 * c);
  }
  return out;
}

// Any of the three paths at texel coordinates (u, v) of the texture; a result of alpha 0 may
// carry any colour.
inline std::uint32_t sample(const SamplerSetup& s, std::int64_t u, std::int64_t v) {
  u = s.localU(u), v = s.localV(v);
  switch (s.kind) {
    case SamplerSetup::Kind::Nearest:
      return sampleNearest(*s.sheet, u, v);
    case SamplerSetup::Kind::Bilinear:
      return sampleBilinear<true>(*s.sheet, u, v);
    case SamplerSetup::Kind::Minified:
      break;
  }
  return sampleMinified(s, u, v);
}

}  // namespace orvane
