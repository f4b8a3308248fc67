#include "app/shell/layer_colour.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Red, green, blue and the alpha byte of a stored colour, for readable comparisons.
struct Channels {
  int red, green, blue, alpha;
  friend bool operator==(const Channels&, const Channels&) = default;
};
Channels channelsOf(std::uint32_t color) {
  return {int(color >> 16 & 0xFF), int(color >> 8 & 0xFF), int(color & 0xFF), int(color >> 24)};
}

TEST(LayerColour, QuantisingRepeatsTheTopTwoBits) {
  EXPECT_EQ(quantiseChannel(0), 0);
  EXPECT_EQ(quantiseChannel(3), 0);
  EXPECT_EQ(quantiseChannel(128), 130);
  EXPECT_EQ(quantiseChannel(200), 203);
  EXPECT_EQ(quantiseChannel(100), 101);
  EXPECT_EQ(quantiseChannel(50), 48);
  EXPECT_EQ(quantiseChannel(255), 255);
  // Quantised values are fixed points, and the alpha byte is never touched.
  for (int c = 0; c < 256; ++c) {
    const std::uint8_t once = quantiseChannel(std::uint8_t(c));
    EXPECT_EQ(quantiseChannel(once), once) << c;
  }
  EXPECT_EQ(quantiseColour(0x12C86432u), 0x12CB6530u);
}

TEST(LayerColour, OpacityLevelsAreTheAlphaByteTopBits) {
  const int expected[] = {31, 63, 95, 127, 159, 191, 223, 255};
  for (int level = 0; level < kOpacityLevels; ++level) {
    EXPECT_EQ(alphaOfLevel(level), expected[level]);
    EXPECT_EQ(opacityLevel(withOpacityLevel(0x00ABCDEFu, level)), level);
    EXPECT_EQ(withOpacityLevel(0x00ABCDEFu, level) & 0xFFFFFF, 0xABCDEFu);
  }
  EXPECT_EQ(alphaOfLevel(-1), 31);
  EXPECT_EQ(alphaOfLevel(9), 255);
  // An alpha byte that is not one of the levels reads as the level below it.
  EXPECT_EQ(opacityLevel(0x80000000u), 4);
  EXPECT_EQ(opacityLevel(0x1F000000u), 0);
}

TEST(LayerColour, TextIsReadIntoFourBytesFromTheRight) {
  EXPECT_EQ(parseColourText("255,128,0,7"), 0xFF800007u);
  EXPECT_EQ(parseColourText(""), 0u);
  EXPECT_EQ(parseColourText("2"), 2u);
  EXPECT_EQ(parseColourText("1,2"), 0x0102u);
  // Numbers are held to 255, however many digits they have.
  EXPECT_EQ(parseColourText("300,99999999999999999999,1,2"), 0xFFFF0102u);
  // Only the last four numbers count.
  EXPECT_EQ(parseColourText("9,8,7,6,5"), 0x08070605u);
  // The first other character ends the reading; the number before it still counts.
  EXPECT_EQ(parseColourText("255, 0, 0, 7"), 0xFF00u);
  EXPECT_EQ(parseColourText("12x,3"), 12u);
  EXPECT_EQ(parseColourText("-5"), 0u);
  EXPECT_EQ(parseColourText("1,2,3,4\n5,6"), 0x01020304u);
  // Empty numbers between commas count as 0.
  EXPECT_EQ(parseColourText(",,"), 0u);
  EXPECT_EQ(parseColourText("1,,"), 0x010000u);
}

TEST(LayerColour, StoredColourOfATextAndTheTextOfAColour) {
  const struct {
    const char* typed;
    Channels stored;
    const char* shown;
  } cases[] = {
      {"255,128,0,7", {255, 130, 0, 255}, "255,130,0,7"},
      {"255,0,0,9", {255, 0, 0, 255}, "255,0,0,7"},
      {"255, 0, 0, 7", {0, 0, 255, 31}, "0,0,255,0"},
      {"2", {0, 0, 0, 95}, "0,0,0,2"},
      {"", {0, 0, 0, 31}, "0,0,0,0"},
      {"200,100,50,3", {203, 101, 48, 127}, "203,101,48,3"},
  };
  for (const auto& c : cases) {
    const std::uint32_t stored = colourFromText(c.typed);
    EXPECT_EQ(channelsOf(stored), c.stored) << c.typed;
    EXPECT_EQ(colourText(stored), c.shown) << c.typed;
    // What the field shows reads back as the same colour.
    EXPECT_EQ(colourFromText(colourText(stored)), stored) << c.typed;
  }
}

TEST(LayerColour, AChosenColourIsQuantisedAndKeepsItsOpacityLevel) {
  EXPECT_EQ(channelsOf(withChosenColour(0xFF000000u, 200, 100, 50)), (Channels{203, 101, 48, 255}));
  // An alpha byte that is not a level's becomes its level's.
  EXPECT_EQ(channelsOf(withChosenColour(0x80FFFFFFu, 1, 2, 3)), (Channels{0, 0, 0, 159}));
  EXPECT_EQ(colourText(withChosenColour(0x3F000000u, 200, 100, 50)), "203,101,48,1");
}

}  // namespace
}  // namespace orvane
