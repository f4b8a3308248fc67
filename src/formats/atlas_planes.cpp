#include "formats/atlas_planes.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

constexpr int kWholeWord = -1;

// One row range of the atlas and where its pixels come from.
struct PlaneRange {
  std::size_t firstPixel;
  std::size_t pixelCount;
  std::size_t firstWord;
  int shift;  // the nibble's lowest bit, or kWholeWord
};

// In table order; packing writes them in this order too, so the whole words of the last range
// are laid down after the nibbles that share them and a disagreement shows in the check.
constexpr PlaneRange kRanges[] = {
    {0x000000, 0x50000, 0x00000, 8},           // rows    0- 319
    {0x050000, 0x10000, 0x00000, 12},          // rows  320- 383
    {0x060000, 0x10000, 0x50000, 12},          // rows  384- 447
    {0x070000, 0xB0000, 0x00000, 4},           // rows  448-1151
    {0x120000, 0x10000, 0xC0000, 8},           // rows 1152-1215
    {0x130000, 0xC0000, 0x00000, 0},           // rows 1216-1983
    {0x1F0000, 0x10000, 0xC0000, kWholeWord},  // rows 1984-2047
};

constexpr std::uint16_t kWhite = 0x0FFF;

std::uint16_t pixelFromWord(std::uint16_t word, int shift) {
  if (shift == kWholeWord) return word;
  return static_cast<std::uint16_t>((((word >> shift) & 0xF) << 12) | kWhite);
}

}  // namespace

AtlasPixelSource atlasPixelSource(std::size_t pixel) {
  for (const PlaneRange& range : kRanges) {
    if (pixel >= range.firstPixel && pixel < range.firstPixel + range.pixelCount) {
      return {range.firstWord + (pixel - range.firstPixel), range.shift};
    }
  }
  return {0, kWholeWord};
}

std::uint16_t atlasPixelFromWord(std::uint16_t word, int shift) {
  return pixelFromWord(word, shift);
}

void unpackAtlasWords(const std::uint16_t* words, std::size_t firstWord, std::size_t count,
                      std::uint16_t* pixels) {
  for (const PlaneRange& range : kRanges) {
    // The range's words within [firstWord, firstWord + count).
    const std::size_t begin = std::max(range.firstWord, firstWord);
    const std::size_t end = std::min(range.firstWord + range.pixelCount, firstWord + count);
    if (begin >= end) continue;
    const std::uint16_t* from = words + (begin - firstWord);
    std::uint16_t* to = pixels + range.firstPixel + (begin - range.firstWord);
    const std::size_t n = end - begin;
    if (range.shift == kWholeWord) {
      std::copy_n(from, n, to);
      continue;
    }
    std::size_t i = 0;
#if defined(__SSE2__)
    // Eight pixels at a time: the nibble moved to the top, white below it.
    const __m128i shift = _mm_cvtsi32_si128(range.shift);
    const __m128i nibble = _mm_set1_epi16(0xF), white = _mm_set1_epi16(kWhite);
    for (; i + 8 <= n; i += 8) {
      const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
      const __m128i alpha = _mm_slli_epi16(_mm_and_si128(_mm_srl_epi16(in, shift), nibble), 12);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_or_si128(alpha, white));
    }
#endif
    for (; i < n; ++i) to[i] = pixelFromWord(from[i], range.shift);
  }
}

void unpackAtlas(const std::uint16_t* words, std::uint16_t* pixels) {
  unpackAtlasWords(words, 0, kAtlasWordCount, pixels);
}

bool packAtlas(const std::uint16_t* pixels, std::uint16_t* words) {
  std::fill(words, words + kAtlasWordCount, std::uint16_t{0});
  for (const PlaneRange& range : kRanges) {
    const std::uint16_t* from = pixels + range.firstPixel;
    std::uint16_t* to = words + range.firstWord;
    for (std::size_t i = 0; i < range.pixelCount; ++i) {
      if (range.shift == kWholeWord) {
        to[i] = from[i];
      } else {
        to[i] = static_cast<std::uint16_t>(to[i] | ((from[i] >> 12) << range.shift));
      }
    }
  }
  // Every pixel must come back from the words as it is. This catches pixels that are not white
  // with an alpha and every pair of ranges that read the same bits but want different values.
  for (const PlaneRange& range : kRanges) {
    const std::uint16_t* expected = pixels + range.firstPixel;
    const std::uint16_t* from = words + range.firstWord;
    for (std::size_t i = 0; i < range.pixelCount; ++i) {
      if (pixelFromWord(from[i], range.shift) != expected[i]) return false;
    }
  }
  return true;
}

}  // namespace orvane
