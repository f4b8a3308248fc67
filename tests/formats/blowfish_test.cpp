#include "formats/blowfish.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "formats/little_endian.h"

namespace orvane {
namespace {

std::vector<std::uint8_t> bytesOf(std::uint64_t bigEndian, int count) {
  std::vector<std::uint8_t> bytes(count);
  for (int i = 0; i < count; ++i)
    bytes[i] = static_cast<std::uint8_t>(bigEndian >> (8 * (count - 1 - i)));
  return bytes;
}

// The published vectors give key, plaintext and ciphertext as big-endian hex, the left half
// first.
struct Vector {
  std::uint64_t key;
  std::uint64_t plain;
  std::uint64_t cipher;
};

constexpr Vector kEightByteKeyVectors[] = {
    {0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
    {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
    {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
    {0x1111111111111111, 0x1111111111111111, 0x2466DD878B963C9D},
    {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096},
    {0x1111111111111111, 0x0123456789ABCDEF, 0x7D0CC630AFDA1EC7},
    {0xFEDCBA9876543210, 0x0123456789ABCDEF, 0x0ACEAB0FC6A0A28D},
    {0x7CA110454A1A6E57, 0x01A1D6D039776742, 0x59C68245EB05282B},
};

TEST(BlowfishTest, PublishedVectorsWithEightByteKeys) {
  for (const Vector& v : kEightByteKeyVectors) {
    SCOPED_TRACE(testing::Message() << std::hex << "key " << v.key);
    const BlowfishContext context = keyScheduleAnyLength(bytesOf(v.key, 8));
    std::uint32_t left = static_cast<std::uint32_t>(v.plain >> 32);
    std::uint32_t right = static_cast<std::uint32_t>(v.plain);
    encryptBlock(context, left, right);
    EXPECT_EQ((std::uint64_t{left} << 32) | right, v.cipher);
    decryptBlock(context, left, right);
    EXPECT_EQ((std::uint64_t{left} << 32) | right, v.plain);
  }
}

// The published variable-length-key vectors: prefixes of F0E1D2C3B4A5968778695A4B3C2D1E0F...
// on the plaintext FEDCBA9876543210. The 4-byte one checks the program's own key schedule.
TEST(BlowfishTest, PublishedVectorsWithShortKeys) {
  const std::uint8_t key[] = {0xF0, 0xE1, 0xD2, 0xC3};
  const std::uint64_t ciphers[] = {0xF9AD597C49DB005E, 0xE91D21C1D961A6D6, 0xE9C2B70A1BC65CF3,
                                   0xBE1E639408640F05};
  for (std::size_t length = 1; length <= 4; ++length) {
    const BlowfishContext context = keyScheduleAnyLength(std::span(key, length));
    std::uint32_t left = 0xFEDCBA98;
    std::uint32_t right = 0x76543210;
    encryptBlock(context, left, right);
    EXPECT_EQ((std::uint64_t{left} << 32) | right, ciphers[length - 1]) << length;
  }

  // The buffer form reads each half little-endian, the left one first.
  const BlowfishContext context = keySchedule(std::span<const std::uint8_t, 4>(key));
  std::uint8_t block[8];
  storeLe32(block, 0xFEDCBA98);
  storeLe32(block + 4, 0x76543210);
  encryptBlocks(context, block, 8);
  EXPECT_EQ(loadLe32(block), 0xBE1E6394u);
  EXPECT_EQ(loadLe32(block + 4), 0x08640F05u);
}

TEST(BlowfishTest, BuffersRoundTripAndKeepTheirTail) {
  const BlowfishContext context = keySchedule(kEmblemFileKey);
  std::mt19937 random(7);
  for (std::ptrdiff_t length : {0, 1, 7, 8, 13, 16, 100, 1031}) {
    SCOPED_TRACE(length);
    std::vector<std::uint8_t> plain(static_cast<std::size_t>(length));
    for (auto& b : plain) b = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> buffer = plain;
    encryptBlocks(context, buffer.data(), length);
    const std::ptrdiff_t ciphered = length / 8 * 8;
    for (std::ptrdiff_t b = 0; b < ciphered; b += 8) {
      EXPECT_FALSE(std::equal(buffer.begin() + b, buffer.begin() + b + 8, plain.begin() + b));
    }
    EXPECT_TRUE(std::equal(buffer.begin() + ciphered, buffer.end(), plain.begin() + ciphered));
    decryptBlocks(context, buffer.data(), length);
    EXPECT_EQ(buffer, plain);
  }
}

TEST(BlowfishTest, ThirteenBytesChangeOnlyTheFirstEight) {
  const BlowfishContext context = keySchedule(kAtlasKey);
  std::array<std::uint8_t, 13> buffer{};
  encryptBlocks(context, buffer.data(), 13);
  // The zero block under this key is whatever encryptBlock gives, stored little-endian.
  std::uint32_t left = 0;
  std::uint32_t right = 0;
  encryptBlock(context, left, right);
  EXPECT_EQ(loadLe32(buffer.data()), left);
  EXPECT_EQ(loadLe32(buffer.data() + 4), right);
  for (int i = 8; i < 13; ++i) EXPECT_EQ(buffer[i], 0) << i;
}

TEST(BlowfishTest, ShortOrNegativeLengthsChangeNothing) {
  const BlowfishContext context = keySchedule(kEmblemFileKey);
  std::array<std::uint8_t, 16> buffer;
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i);
  const auto original = buffer;
  for (std::ptrdiff_t length : {-16, -1, 0, 1, 7}) {
    encryptBlocks(context, buffer.data(), length);
    EXPECT_EQ(buffer, original) << length;
    decryptBlocks(context, buffer.data(), length);
    EXPECT_EQ(buffer, original) << length;
  }
}

}  // namespace
}  // namespace orvane
