#include "render/color_convert.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct ColourCase {
  std::uint32_t in, converted, plain;
};

TEST(ColourConversion, DrawsTheTableColoursWithConversionOnAndOff) {
  const ColourCase cases[] = {
      {0xFF808080, 0xFF424242, 0xFF838383}, {0xFF4080C0, 0xFF115498, 0xFF4383C3},
      {0xFFFCFCFC, 0xFFFFFFFF, 0xFFFFFFFF}, {0xFFFF0000, 0xFFFF0000, 0xFFFF0303},
      {0xFF000000, 0xFF000000, 0xFF030303},
  };
  for (const ColourCase& c : cases) {
    EXPECT_EQ(layerDrawColour(c.in, true), c.converted) << std::hex << c.in;
    EXPECT_EQ(layerDrawColour(c.in, false), c.plain) << std::hex << c.in;
  }
  // Alpha is taken over unchanged either way.
  EXPECT_EQ(colorConvert(0x3F808080), 0x3F424242u);
  EXPECT_EQ(layerDrawColour(0x00000000, false), 0x00030303u);
}

TEST(ColourConversion, HueIsNotWrappedOneWayButWrappedTheOther) {
  const Hsv magenta = rgbToHsv(1.0f, 0.0f, 0.5f);  // r is max, g < b: negative hue
  EXPECT_FLOAT_EQ(magenta.h, -30.0f);
  EXPECT_FLOAT_EQ(magenta.s, 1.0f);
  EXPECT_FLOAT_EQ(rgbToHsv(0.2f, 0.6f, 0.4f).h, 150.0f);  // 60 * 0.2 / 0.4 + 120
  EXPECT_FLOAT_EQ(rgbToHsv(0.0f, 0.0f, 0.0f).s, 0.0f);
  const Rgb back = hsvToRgb(-30.0f, 1.0f, 1.0f);  // wrapped to 330: sector 5
  EXPECT_FLOAT_EQ(back.r, 1.0f);
  EXPECT_FLOAT_EQ(back.g, 0.0f);
  EXPECT_FLOAT_EQ(back.b, 0.5f);
  const Rgb grey = hsvToRgb(725.0f, 0.0f, 0.25f);
  EXPECT_FLOAT_EQ(grey.r, 0.25f);
  EXPECT_FLOAT_EQ(grey.b, 0.25f);
}

}  // namespace
}  // namespace orvane
