#pragma once

#include <cstdint>

namespace orvane {

// The fixed-function arithmetic of the renderer on 8-bit channels, each channel c meaning c / 255.
//
// Rules (pixel-exact tests depend on them):
// - modulate: texel x colour per channel, alpha included, rounded to nearest: round(t * c / 255);
// - blend: source alpha and one minus source alpha, each channel
//   round((s * a + d * (255 - a)) / 255), alpha included when the target keeps alpha;
// - every rounding is to nearest, halves up.

// round(x / 255) for 0 <= x <= 255 * 255.
constexpr std::uint32_t div255(std::uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

constexpr std::uint32_t channel(std::uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// The four channels of 0xAARRGGBB in 16-bit lanes: 0x00AA00RR00GG00BB, and back.
constexpr std::uint64_t spreadChannels(std::uint32_t argb) {
  const std::uint64_t x = argb;
  return (x & 0xFF) | (x & 0xFF00) << 8 | (x & 0xFF0000) << 16 | (x & 0xFF000000) << 24;
}
constexpr std::uint32_t packChannels(std::uint64_t lanes) {
  return std::uint32_t((lanes & 0xFF) | (lanes >> 8 & 0xFF00) | (lanes >> 16 & 0xFF0000) |
                       (lanes >> 24 & 0xFF000000));
}
// div255 in each 16-bit lane (each lane at most 255 * 255).
constexpr std::uint64_t div255Lanes(std::uint64_t x) {
  const std::uint64_t t = x + 0x0080008000800080ull;
  return ((t + ((t >> 8) & 0x00FF00FF00FF00FFull)) >> 8) & 0x00FF00FF00FF00FFull;
}

// The rounded mean of four texels, per channel: (a + b + c + d + 2) / 4, as mip levels are made.
constexpr std::uint32_t mean4(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  const std::uint64_t sum = spreadChannels(a) + spreadChannels(b) + spreadChannels(c) +
                            spreadChannels(d) + 0x0002000200020002ull;
  return packChannels((sum >> 2) & 0x00FF00FF00FF00FFull);
}

// texel x colour, per channel.
constexpr std::uint32_t modulate(std::uint32_t texel, std::uint32_t colour) {
  const std::uint64_t products = std::uint64_t(channel(texel, 24) * channel(colour, 24)) << 48 |
                                 std::uint64_t(channel(texel, 16) * channel(colour, 16)) << 32 |
                                 std::uint64_t(channel(texel, 8) * channel(colour, 8)) << 16 |
                                 std::uint64_t(channel(texel, 0) * channel(colour, 0));
  return packChannels(div255Lanes(products));
}

// `source` over `dest` with the source's alpha. With keepAlpha false the result's alpha is
// 0xFF (a target without an alpha channel).
constexpr std::uint32_t blendOver(std::uint32_t source, std::uint32_t dest, bool keepAlpha) {
  const std::uint32_t a = source >> 24;
  // The source's alpha lane carries a itself, so its lane computes a * a + dA * (255 - a).
  const std::uint64_t sum = spreadChannels(source) * a + spreadChannels(dest) * (255 - a);
  const std::uint32_t out = packChannels(div255Lanes(sum));
  return keepAlpha ? out : (out | 0xFF000000u);
}

// texel x colour blended over one pixel; a result of alpha 0 leaves the pixel alone.
inline void shadePixel(std::uint32_t& pixel, std::uint32_t texel, std::uint32_t colour,
                       bool keepAlpha) {
  if ((texel >> 24) == 0) return;
  const std::uint32_t source = colour == 0xFFFFFFFFu ? texel : modulate(texel, colour);
  const std::uint32_t alpha = source >> 24;
  if (alpha == 255) {
    pixel = source;
  } else if (alpha != 0) {
    pixel = blendOver(source, pixel, keepAlpha);
  }
}

}  // namespace orvane
