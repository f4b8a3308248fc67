#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// The deciphered atlas resource is 0xD0000 little-endian 16-bit words; the atlas they spread into
// is 1024 x 2048 pixels of A4R4G4B4, top row first.
inline constexpr std::size_t kAtlasWordCount = 0xD0000;
inline constexpr std::size_t kAtlasWidth = 1024;
inline constexpr std::size_t kAtlasHeight = 2048;
inline constexpr std::size_t kAtlasPixelCount = kAtlasWidth * kAtlasHeight;

// Spreads the words (host order) into the atlas. Rows 0-1983 are white with a 4-bit alpha taken
// from one nibble of a word, so each such pixel is nibble * 0x1000 + 0x0FFF; rows 1984-2047 are
// the last 0x10000 words copied whole. Which nibble of which word feeds a row range:
//   rows    0- 319  words 0x00000-0x4FFFF  bits  8-11
//   rows  320- 383  words 0x00000-0x0FFFF  bits 12-15
//   rows  384- 447  words 0x50000-0x5FFFF  bits 12-15
//   rows  448-1151  words 0x00000-0xAFFFF  bits  4-7
//   rows 1152-1215  words 0xC0000-0xCFFFF  bits  8-11
//   rows 1216-1983  words 0x00000-0xBFFFF  bits  0-3
//   rows 1984-2047  words 0xC0000-0xCFFFF  the whole word
// Within a range, pixel i of the range comes from word i of the range.
void unpackAtlas(const std::uint16_t* words, std::uint16_t* pixels);

// The same for the pixels that words [firstWord, firstWord + count) feed, the words given from
// firstWord on: unpacking all words in pieces gives what unpackAtlas gives.
void unpackAtlasWords(const std::uint16_t* words, std::size_t firstWord, std::size_t count,
                      std::uint16_t* pixels);

// Where pixel `pixel` of the atlas comes from: its word, and the lowest bit of its nibble (-1:
// the whole word). The pixels of a row come from consecutive words with the same nibble.
struct AtlasPixelSource {
  std::size_t word;
  int shift;
};
AtlasPixelSource atlasPixelSource(std::size_t pixel);
// The pixel a word gives with that nibble.
std::uint16_t atlasPixelFromWord(std::uint16_t word, int shift);

// The inverse: gathers an atlas back into words, bits that no range reads set to 0. Fails (the
// words then hold no meaning) when the atlas is not one unpackAtlas can make: a pixel of rows
// 0-1983 whose low twelve bits are not all ones, or rows 1152-1215 whose alpha differs from bits
// 8-11 of the pixel 832 rows below, both being read from the same words.
bool packAtlas(const std::uint16_t* pixels, std::uint16_t* words);

}  // namespace orvane
