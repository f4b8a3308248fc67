#pragma once

#include <cstdint>

namespace orvane {

// The display colour transform ("colour correction"): darkens mid-tones and saturates colours.
// Every step runs in 32-bit floats in the order written in color_convert.cpp; the results are
// compared bit for bit, so keep the arithmetic as it is.
std::uint32_t colorConvert(std::uint32_t argb);

// Hue in degrees (not wrapped: -60 ... 360), saturation and value 0 ... 1.
struct Hsv {
  float h = 0, s = 0, v = 0;
};
struct Rgb {
  float r = 0, g = 0, b = 0;
};
Hsv rgbToHsv(float r, float g, float b);
Rgb hsvToRgb(float h, float s, float v);

// The colour a layer is drawn with: colorConvert with conversion on, otherwise the colour with
// the low two bits of red, green and blue set (0x030303 ORed in), alpha unchanged.
std::uint32_t layerDrawColour(std::uint32_t argb, bool conversion);

}  // namespace orvane
