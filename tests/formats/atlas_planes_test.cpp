#include "formats/atlas_planes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "formats/little_endian.h"

namespace orvane {
namespace {

constexpr std::size_t at(std::size_t row, std::size_t column) { return row * kAtlasWidth + column; }

class AtlasPlanesTest : public testing::Test {
 protected:
  std::vector<std::uint16_t> words_ = std::vector<std::uint16_t>(kAtlasWordCount, 0);
  std::vector<std::uint16_t> pixels_ = std::vector<std::uint16_t>(kAtlasPixelCount, 0xDEAD);
};

TEST_F(AtlasPlanesTest, NibbleZeroIsTransparentWhiteAndFifteenOpaqueWhite) {
  unpackAtlas(words_.data(), pixels_.data());
  EXPECT_EQ(std::count(pixels_.begin(), pixels_.begin() + at(1984, 0), 0x0FFF), at(1984, 0));
  EXPECT_EQ(std::count(pixels_.begin() + at(1984, 0), pixels_.end(), 0), 64 * 1024);

  std::fill(words_.begin(), words_.end(), 0xFFFF);
  unpackAtlas(words_.data(), pixels_.data());
  EXPECT_EQ(std::count(pixels_.begin(), pixels_.end(), 0xFFFF), kAtlasPixelCount);
}

TEST_F(AtlasPlanesTest, UnpackingInPiecesOfAnySizeGivesTheWholeAtlas) {
  std::mt19937 random(5);
  for (auto& w : words_) w = static_cast<std::uint16_t>(random());
  unpackAtlas(words_.data(), pixels_.data());
  for (std::size_t piece :
       {std::size_t(1), std::size_t(7), std::size_t(8192), std::size_t(65537)}) {
    std::vector<std::uint16_t> pieces(kAtlasPixelCount, 0xDEAD);
    for (std::size_t first = 0; first < kAtlasWordCount; first += piece) {
      const std::size_t count = std::min(piece, kAtlasWordCount - first);
      unpackAtlasWords(words_.data() + first, first, count, pieces.data());
    }
    EXPECT_EQ(pieces, pixels_) << piece;
  }
}

// A few marked words, each nibble different, and the pixels every row range takes from them.
TEST_F(AtlasPlanesTest, EachRowRangeTakesItsNibble) {
  words_[0x00000] = 0x4321;
  words_[0x0FFFF] = 0x8765;
  words_[0x4FFFF] = 0x0A00;  // last word of rows 0-319; its top nibble feeds nothing
  words_[0x50000] = 0xB0DC;  // first word of rows 384-447; bits 8-11 feed nothing
  words_[0xAFFFF] = 0x00E0;
  words_[0xBFFFF] = 0x000F;
  words_[0xC0000] = 0x5A3C;
  words_[0xCFFFF] = 0x0900;
  unpackAtlas(words_.data(), pixels_.data());

  const std::pair<std::size_t, std::uint16_t> expected[] = {
      {at(0, 0), 0x3FFF},        // rows 0-319: bits 8-11 of words from 0
      {at(63, 1023), 0x7FFF},    //
      {at(319, 1023), 0xAFFF},   //
      {at(320, 0), 0x4FFF},      // rows 320-383: bits 12-15 of words from 0
      {at(383, 1023), 0x8FFF},   //
      {at(384, 0), 0xBFFF},      // rows 384-447: bits 12-15 of words from 0x50000
      {at(448, 0), 0x2FFF},      // rows 448-1151: bits 4-7 of words from 0
      {at(511, 1023), 0x6FFF},   //
      {at(768, 0), 0xDFFF},      //
      {at(1151, 1023), 0xEFFF},  //
      {at(1152, 0), 0xAFFF},     // rows 1152-1215: bits 8-11 of words from 0xC0000
      {at(1215, 1023), 0x9FFF},  //
      {at(1216, 0), 0x1FFF},     // rows 1216-1983: bits 0-3 of words from 0
      {at(1279, 1023), 0x5FFF},  //
      {at(1536, 0), 0xCFFF},     //
      {at(1983, 1023), 0xFFFF},  //
      {at(1984, 0), 0x5A3C},     // rows 1984-2047: whole words from 0xC0000
      {at(2047, 1023), 0x0900},  //
  };
  for (const auto& [pixel, value] : expected) {
    EXPECT_EQ(pixels_[pixel], value) << std::hex << "pixel " << pixel;
  }
  // No other pixel saw a marked nibble.
  std::size_t marked = 0;
  for (std::size_t i = 0; i < at(1984, 0); ++i) marked += pixels_[i] != 0x0FFF;
  EXPECT_EQ(marked, std::size(expected) - 2);
}

// Random atlases that unpackAtlas can make: alpha-only rows, with rows 1152-1215 following
// bits 8-11 of rows 1984-2047.
std::vector<std::uint16_t> randomAtlas(std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint16_t> pixels(kAtlasPixelCount);
  for (std::size_t i = 0; i < at(1984, 0); ++i) {
    pixels[i] = static_cast<std::uint16_t>(((random() & 0xF) << 12) | 0x0FFF);
  }
  for (std::size_t i = at(1984, 0); i < kAtlasPixelCount; ++i) {
    pixels[i] = static_cast<std::uint16_t>(random());
    pixels[i - at(832, 0)] = static_cast<std::uint16_t>((pixels[i] & 0x0F00) << 4 | 0x0FFF);
  }
  return pixels;
}

TEST_F(AtlasPlanesTest, PackedAtlasUnpacksToItself) {
  const std::vector<std::uint16_t> atlas = randomAtlas(3);
  ASSERT_TRUE(packAtlas(atlas.data(), words_.data()));
  unpackAtlas(words_.data(), pixels_.data());
  EXPECT_EQ(pixels_, atlas);

  // Bits that no range reads are left 0.
  EXPECT_EQ(words_[0x10000] & 0xF000, 0);
  EXPECT_EQ(words_[0x50000] & 0x0F00, 0);
  EXPECT_EQ(words_[0xAFFFF] & 0xFF00, 0);
  EXPECT_EQ(words_[0xB0000] & 0xFFF0, 0);
}

TEST(AtlasWordsTest, ResourceBytesAreLittleEndian) {
  const std::uint8_t bytes[4] = {0x34, 0x12, 0xCD, 0xAB};
  std::uint16_t words[2];
  loadLe16Words(bytes, 2, words);
  EXPECT_EQ(words[0], 0x1234);
  EXPECT_EQ(words[1], 0xABCD);
  std::uint8_t back[4] = {};
  storeLe16Words(words, 2, back);
  EXPECT_TRUE(std::equal(back, back + 4, bytes));
}

TEST_F(AtlasPlanesTest, AtlasesItCannotMakeAreRefused) {
  std::vector<std::uint16_t> atlas = randomAtlas(4);
  ASSERT_TRUE(packAtlas(atlas.data(), words_.data()));

  // A coloured pixel where only white with an alpha can come out.
  atlas[at(5, 7)] = 0xF0F0;
  EXPECT_FALSE(packAtlas(atlas.data(), words_.data()));
  atlas = randomAtlas(4);
  atlas[at(1983, 1023)] &= 0xFFFE;
  EXPECT_FALSE(packAtlas(atlas.data(), words_.data()));

  // Rows 1152-1215 and 1984-2047 share their words; an alpha that disagrees is refused,
  // whichever side is changed.
  atlas = randomAtlas(4);
  atlas[at(1152, 3)] ^= 0x1000;
  EXPECT_FALSE(packAtlas(atlas.data(), words_.data()));
  atlas = randomAtlas(4);
  atlas[at(2047, 1023)] ^= 0x0800;
  EXPECT_FALSE(packAtlas(atlas.data(), words_.data()));
  // Bits of the full-colour rows that nothing else reads may be anything.
  atlas = randomAtlas(4);
  atlas[at(2047, 1023)] ^= 0xF0FF;
  EXPECT_TRUE(packAtlas(atlas.data(), words_.data()));
}

}  // namespace
}  // namespace orvane
