#include "formats/parts_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "formats/atlas_cipher.h"
#include "formats/blowfish.h"
#include "formats/little_endian.h"

namespace orvane {
namespace {

constexpr std::size_t kMaskPixels = 1984 * kAtlasWidth;

// A resource made the way the generator makes one: packed, then enciphered with the atlas key.
std::vector<std::uint8_t> resourceOf(const std::vector<std::uint16_t>& atlas) {
  std::vector<std::uint16_t> words(kAtlasWordCount);
  EXPECT_TRUE(packAtlas(atlas.data(), words.data()));
  std::vector<std::uint8_t> resource(kPartsAtlasResourceBytes);
  storeLe16Words(words.data(), words.size(), resource.data());
  atlasEncipher(keySchedule(kAtlasKey), resource.data(), resource.size());
  return resource;
}

// Random masks and random colour pictures, with rows 1152-1215 tied to the pictures' red nibble.
std::vector<std::uint16_t> randomAtlas(unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::uint16_t> atlas(kAtlasPixelCount);
  for (std::size_t i = 0; i < kMaskPixels; ++i)
    atlas[i] = static_cast<std::uint16_t>((random() & 0xF) << 12 | 0xFFF);
  for (std::size_t i = kMaskPixels; i < kAtlasPixelCount; ++i)
    atlas[i] = static_cast<std::uint16_t>(random());
  for (std::size_t i = 0; i < 64 * kAtlasWidth; ++i) {
    atlas[1152 * kAtlasWidth + i] =
        static_cast<std::uint16_t>(((atlas[kMaskPixels + i] >> 8) & 0xF) << 12 | 0xFFF);
  }
  return atlas;
}

TEST(PartsAtlasLoader, EnciphersPackedAtlasBackToTheSamePixels) {
  const std::vector<std::uint16_t> atlas = randomAtlas(7);
  PartsAtlasBuffer loaded;
  ASSERT_TRUE(loadPartsAtlas(resourceOf(atlas), loaded));
  ASSERT_EQ(loaded.pixels().size(), atlas.size());
  EXPECT_TRUE(std::equal(atlas.begin(), atlas.end(), loaded.pixels().begin()));
}

TEST(PartsAtlasLoader, TheReaderReadsAnyRunOfARowAsTheLoaderUnpacksIt) {
  const std::vector<std::uint16_t> atlas = randomAtlas(9);
  std::vector<std::uint8_t> resource = resourceOf(atlas);
  resource.push_back(0x5A);  // a longer resource is deciphered over its whole length
  PartsAtlasBuffer loaded;
  ASSERT_TRUE(loadPartsAtlas(resource, loaded));
  PartsAtlasReader reader;
  ASSERT_TRUE(reader.open(resource));
  std::mt19937 random(10);
  std::vector<std::uint16_t> row(kAtlasWidth + 1);
  // Every row range, at odd and even columns, up to whole rows.
  for (int round = 0; round < 3000; ++round) {
    const int y = round < 2048 ? round : int(random() % kAtlasHeight);
    const int x = int(random() % kAtlasWidth);
    const int count = 1 + int(random() % (kAtlasWidth - std::size_t(x)));
    row[std::size_t(count)] = 0xBEEF;
    reader.readRow(x, y, count, row.data());
    ASSERT_TRUE(std::equal(row.begin(), row.begin() + count,
                           loaded.pixels().begin() + std::ptrdiff_t(y * kAtlasWidth + x)))
        << y << " " << x << " " << count;
    ASSERT_EQ(row[std::size_t(count)], 0xBEEF);
  }
  reader.readRow(0, 0, int(kAtlasWidth), row.data());
  EXPECT_TRUE(std::equal(row.begin(), row.begin() + kAtlasWidth, loaded.pixels().begin()));
  EXPECT_FALSE(reader.open(std::span<const std::uint8_t>(resource).first(1000)));
}

TEST(PartsAtlasLoader, ResourceWithAWrongWordDoesNotLoadTheSameAtlas) {
  const std::vector<std::uint16_t> atlas = randomAtlas(8);
  std::vector<std::uint8_t> resource = resourceOf(atlas);
  resource[0x1000] ^= 0x01;  // the keystream chains on stored words, so the damage spreads
  PartsAtlasBuffer loaded;
  ASSERT_TRUE(loadPartsAtlas(resource, loaded));
  EXPECT_FALSE(std::equal(atlas.begin(), atlas.end(), loaded.pixels().begin()));
}

TEST(PartsAtlasLoader, MissingOrShortResourceIsRefusedAndLeavesNothing) {
  PartsAtlasBuffer atlas;
  ASSERT_TRUE(loadPartsAtlas(resourceOf(randomAtlas(9)), atlas));
  EXPECT_FALSE(loadPartsAtlas({}, atlas));
  EXPECT_TRUE(atlas.empty());
  EXPECT_TRUE(atlas.pixels().empty());
  EXPECT_TRUE(atlas.bytes().empty());

  const std::vector<std::uint8_t> shortResource(kPartsAtlasResourceBytes - 2, 0);
  EXPECT_FALSE(loadPartsAtlas(shortResource, atlas));
  EXPECT_TRUE(atlas.empty());
}

TEST(PartsAtlasLoader, LongerResourceIsDecipheredOverItsWholeLength) {
  // The keystream depends on the distance to the end, so extra bytes change the first words.
  const std::vector<std::uint16_t> atlas = randomAtlas(10);
  std::vector<std::uint8_t> resource = resourceOf(atlas);
  resource.resize(resource.size() + 8, 0);
  PartsAtlasBuffer loaded;
  ASSERT_TRUE(loadPartsAtlas(resource, loaded));
  EXPECT_EQ(loaded.bytes().size(), kPartsAtlasBufferBytes);
  EXPECT_FALSE(std::equal(atlas.begin(), atlas.end(), loaded.pixels().begin()));
}

}  // namespace
}  // namespace orvane
