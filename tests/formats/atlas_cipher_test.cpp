#include "formats/atlas_cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "formats/little_endian.h"

namespace orvane {
namespace {

TEST(AtlasCipherTest, FirstWordsFollowTheChainRule) {
  const BlowfishContext context = keySchedule(kAtlasKey);
  auto t = [&](std::uint32_t k) { return context.sboxWord(k % 1024); };

  // Three stored words, little-endian; 12 bytes, so the counts of words left are 3, 2, 1.
  std::uint8_t buffer[12] = {0x01, 0x02, 0x03, 0x04, 0xFF, 0x00,
                             0x00, 0x80, 0x10, 0x32, 0x54, 0x76};
  const std::uint32_t w0 = 0x04030201;
  const std::uint32_t w1 = 0x800000FF;
  const std::uint32_t w2 = 0x76543210;
  atlasDecipher(context, buffer, sizeof buffer);

  EXPECT_EQ(loadLe32(buffer), t(3 ^ t(0)) ^ w0);
  // The chain carries the stored word on: w0 % 1024 = 0x201, w1 % 1024 = 0x0FF.
  EXPECT_EQ(loadLe32(buffer + 4), t(2 ^ t(0x201)) ^ w1 ^ w0);
  EXPECT_EQ(loadLe32(buffer + 8), t(1 ^ t(0x0FF)) ^ w2 ^ w1);
}

TEST(AtlasCipherTest, EncipherIsTheInverse) {
  const BlowfishContext context = keySchedule(kAtlasKey);
  std::mt19937 random(11);
  for (std::size_t length : {0u, 4u, 8u, 4096u, 65540u}) {
    SCOPED_TRACE(length);
    std::vector<std::uint8_t> plain(length);
    for (auto& b : plain) b = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> buffer = plain;
    atlasEncipher(context, buffer.data(), buffer.size());
    if (length > 0) {
      EXPECT_NE(buffer, plain);
    }
    atlasDecipher(context, buffer.data(), buffer.size());
    EXPECT_EQ(buffer, plain);

    // And the other way round: deciphering arbitrary stored data and enciphering it again.
    atlasDecipher(context, buffer.data(), buffer.size());
    atlasEncipher(context, buffer.data(), buffer.size());
    EXPECT_EQ(buffer, plain);
  }
}

TEST(AtlasCipherTest, AnyRangeDeciphersAsTheWholeBufferDoesWithoutTouchingIt) {
  const BlowfishContext context = keySchedule(kAtlasKey);
  std::mt19937 random(12);
  std::vector<std::uint8_t> stored(4098);  // a tail of two bytes, as a longer resource may have
  for (auto& b : stored) b = static_cast<std::uint8_t>(random());
  const std::vector<std::uint8_t> kept = stored;
  std::vector<std::uint8_t> whole = stored;
  atlasDecipher(context, whole.data(), whole.size());
  for (int round = 0; round < 200; ++round) {
    const std::size_t first = 4 * (random() % 1024), count = 4 * (random() % (1025 - first / 4));
    std::vector<std::uint8_t> part(count + 1, 0xAB);
    atlasDecipherRange(context, stored.data(), stored.size(), first, count, part.data());
    ASSERT_TRUE(std::equal(part.begin(), part.begin() + std::ptrdiff_t(count),
                           whole.begin() + std::ptrdiff_t(first)))
        << first << " " << count;
    ASSERT_EQ(part[count], 0xAB);
  }
  EXPECT_EQ(stored, kept);
}

TEST(AtlasCipherTest, PartialTailWordIsLeftAlone) {
  const BlowfishContext context = keySchedule(kAtlasKey);
  std::uint8_t buffer[6] = {1, 2, 3, 4, 5, 6};
  atlasDecipher(context, buffer, sizeof buffer);
  EXPECT_EQ(buffer[4], 5);
  EXPECT_EQ(buffer[5], 6);
  // The one whole word still counts the tail: 6 bytes left, 6 / 4 = 1.
  EXPECT_EQ(loadLe32(buffer), context.sboxWord((1 ^ context.sboxWord(0)) % 1024) ^ 0x04030201u);
}

}  // namespace
}  // namespace orvane
