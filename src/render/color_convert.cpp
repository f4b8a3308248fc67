#include "render/color_convert.h"

#include <cmath>

namespace orvane {
namespace {

constexpr float kPi = 3.14159274f;  // single-precision pi

// The top six bits of a channel with their top two copied into the bottom two, as a fraction.
float sixBitFraction(std::uint32_t c) {
  const std::uint32_t c6 = (c & 0xFC) | (c >> 6);
  return static_cast<float>(c6) / 255.0f;
}

std::uint32_t toByte(float value) { return static_cast<std::uint32_t>(value * 255.0f); }

}  // namespace

Hsv rgbToHsv(float r, float g, float b) {
  const float max = (g > r) ? (b > g ? b : g) : (b > r ? b : r);
  const float min = (r > g) ? (g > b ? b : g) : (r > b ? b : r);
  Hsv out;
  if (max != min) {
    if (r == max) {
      out.h = 60.0f * (g - b) / (max - min);
    } else if (g == max) {
      out.h = 60.0f * (b - r) / (max - min) + 120.0f;
    } else {
      out.h = 60.0f * (r - g) / (max - min) + 240.0f;
    }
  }
  out.s = max == 0.0f ? 0.0f : (max - min) / max;
  out.v = max;
  return out;
}

Rgb hsvToRgb(float h, float s, float v) {
  while (h < 0.0f) h += 360.0f;
  while (h >= 360.0f) h -= 360.0f;
  const float sector = h / 60.0f;
  const int i = static_cast<int>(sector) % 6;
  const float f = sector - static_cast<float>(i);
  const float p = v * (1.0f - s);
  const float q = v * (1.0f - s * f);
  const float t = v * (1.0f - s * (1.0f - f));
  switch (i) {
    case 0:
      return {v, t, p};
    case 1:
      return {q, v, p};
    case 2:
      return {p, v, t};
    case 3:
      return {p, q, v};
    case 4:
      return {t, p, v};
    default:
      return {v, p, q};
  }
}

std::uint32_t colorConvert(std::uint32_t argb) {
  const Hsv hsv = rgbToHsv(sixBitFraction((argb >> 16) & 0xFF), sixBitFraction((argb >> 8) & 0xFF),
                           sixBitFraction(argb & 0xFF));
  float v = hsv.v - 0.25f * std::sin(kPi * hsv.v);
  if (v < 0.0f) v = 0.0f;
  float s = hsv.s + 0.25f * std::sin(kPi * hsv.s);
  if (s > 1.0f) s = 1.0f;
  const Rgb rgb = hsvToRgb(hsv.h, s, v);
  return (argb & 0xFF000000u) | toByte(rgb.r) << 16 | toByte(rgb.g) << 8 | toByte(rgb.b);
}

std::uint32_t layerDrawColour(std::uint32_t argb, bool conversion) {
  return conversion ? colorConvert(argb) : (argb | 0x030303u);
}

}  // namespace orvane
