#include "formats/emblem_packer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string_view>
#include <vector>

namespace orvane {
namespace {

// A stream written down unmasked, as the unpacker sees it, then masked for the input.
std::vector<std::uint8_t> masked(std::initializer_list<int> plain) {
  std::vector<std::uint8_t> bytes;
  for (int b : plain) bytes.push_back(static_cast<std::uint8_t>(b ^ 0xA7));
  return bytes;
}

struct Unpacked {
  UnpackResult result;
  std::vector<std::uint8_t> bytes;
};

// The two-pass use: size first, then into exactly that many bytes.
Unpacked unpackAll(const std::vector<std::uint8_t>& packed) {
  const UnpackResult sized = unpackEmblem(packed.data(), packed.size(), nullptr, 0);
  std::vector<std::uint8_t> bytes(sized.size);
  const UnpackResult result =
      unpackEmblem(packed.data(), packed.size(), bytes.data(), bytes.size());
  EXPECT_EQ(result.size, sized.size);
  EXPECT_EQ(result.status, sized.status);
  return {result, bytes};
}

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

TEST(EmblemPackerTest, HandWrittenStreams) {
  // Control 0x02: bits 0, 1 -- the end token, then its two zero bytes.
  Unpacked u = unpackAll(masked({0x02, 0x00, 0x00}));
  EXPECT_TRUE(u.result.complete());
  EXPECT_EQ(u.result.size, 0u);

  // Control 0x59 = bits 1 | 0 0 1 1 | 0 1: literal 'X', short match (h = l = 1: length 5) with
  // d = 0xFF (offset -1), end.
  u = unpackAll(masked({0x59, 'X', 0xFF, 0x00, 0x00}));
  EXPECT_TRUE(u.result.complete());
  EXPECT_EQ(u.bytes, bytesOf("XXXXXX"));

  // Control 0x15 = bits 1 | 0 1 | 0 1: 'A', long match v = 0xFFF8 (offset -1, n = 0) with the
  // extra length byte e, end. e = 0 gives 10 bytes, e = 255 gives 265.
  u = unpackAll(masked({0x15, 'A', 0xF8, 0xFF, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(u.result.complete());
  EXPECT_EQ(u.bytes, std::vector<std::uint8_t>(11, 'A'));
  u = unpackAll(masked({0x15, 'A', 0xF8, 0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(u.bytes, std::vector<std::uint8_t>(266, 'A'));

  // Control 0x2B = bits 1 1 | 0 1 | 0 1: 'A', 'B', long match v = 0xFFF7 (offset -2, n = 7:
  // length 9), end.
  u = unpackAll(masked({0x2B, 'A', 'B', 0xF7, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(u.bytes, bytesOf("ABABABABABA"));

  // Control 0x41 = bits 1 | 0 0 0 0 | 0 1: 'Z', short match d = 0 (offset -256, length 2)
  // reaching before the start, which reads as zeros, end.
  u = unpackAll(masked({0x41, 'Z', 0x00, 0x00, 0x00}));
  EXPECT_TRUE(u.result.complete());
  EXPECT_EQ(u.bytes, std::vector<std::uint8_t>({'Z', 0, 0}));
}

TEST(EmblemPackerTest, ControlByteSitsBeforeTheTokenThatNeedsIt) {
  // Control 0x7F: seven literals and the first 0 of a short match; the match's other bits
  // (0, h = 0, l = 0) start the next control byte, which comes after the seven literals and
  // before the match's offset byte. Then 0 1: the end.
  const Unpacked u =
      unpackAll(masked({0x7F, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 0x10, 0xFF, 0x00, 0x00}));
  EXPECT_TRUE(u.result.complete());
  EXPECT_EQ(u.bytes, bytesOf("abcdefggg"));
}

TEST(EmblemPackerTest, OutputAreaOnlyLimitsWhatIsWritten) {
  const std::vector<std::uint8_t> packed = masked({0x15, 'A', 0xF8, 0xFF, 0xFF, 0x00, 0x00});
  EXPECT_EQ(unpackEmblem(packed.data(), packed.size(), nullptr, 0).size, 266u);
  std::vector<std::uint8_t> large(1000, 0xEE);
  EXPECT_EQ(unpackEmblem(packed.data(), packed.size(), large.data(), large.size()).size, 266u);

  // Cut at 4 bytes: the full size is still reported and nothing lands past the capacity.
  std::vector<std::uint8_t> small(16, 0xEE);
  const UnpackResult cut = unpackEmblem(packed.data(), packed.size(), small.data(), 4);
  EXPECT_TRUE(cut.complete());
  EXPECT_EQ(cut.size, 266u);
  EXPECT_EQ(std::count(small.begin(), small.begin() + 4, 'A'), 4);
  EXPECT_EQ(std::count(small.begin() + 4, small.end(), 0xEE), 12);

  // No input: nothing, complete.
  const UnpackResult none = unpackEmblem(nullptr, 0, large.data(), large.size());
  EXPECT_TRUE(none.complete());
  EXPECT_EQ(none.size, 0u);
  EXPECT_EQ(large[266], 0xEE);
}

TEST(EmblemPackerTest, MissingEndTokenIsReported) {
  // Eight literals, then the input ends: the next control byte would be read past the end.
  std::vector<std::uint8_t> out(32, 0xEE);
  std::vector<std::uint8_t> packed = masked({0xFF, 1, 2, 3, 4, 5, 6, 7, 8});
  UnpackResult r = unpackEmblem(packed.data(), packed.size(), out.data(), out.size());
  EXPECT_EQ(r.status, UnpackStatus::MissingEndToken);
  EXPECT_EQ(r.size, 8u);
  EXPECT_EQ(out[8], 0xEE);

  // A short match whose offset byte is missing is not carried out.
  std::fill(out.begin(), out.end(), 0xEE);
  packed = masked({0x00});
  r = unpackEmblem(packed.data(), packed.size(), out.data(), out.size());
  EXPECT_EQ(r.status, UnpackStatus::MissingEndToken);
  EXPECT_EQ(r.size, 0u);
  EXPECT_EQ(out[0], 0xEE);

  // A long match missing its extra length byte neither.
  packed = masked({0x05, 'A', 0xF8, 0xFF});
  r = unpackEmblem(packed.data(), packed.size(), out.data(), out.size());
  EXPECT_EQ(r.status, UnpackStatus::MissingEndToken);
  EXPECT_EQ(r.size, 1u);

  // The end token's last byte, read past the end, is 0 like the masked byte would be, so a
  // stream cut there still ends properly.
  packed = masked({0x02, 0x00});
  EXPECT_TRUE(unpackEmblem(packed.data(), packed.size(), nullptr, 0).complete());
}

TEST(EmblemPackerTest, CutStreamsNeverInventBytes) {
  std::vector<std::uint8_t> data;
  std::mt19937 random(5);
  for (int i = 0; i < 600; ++i) data.push_back(static_cast<std::uint8_t>(random() % 4 + 'a'));
  const std::vector<std::uint8_t> packed = packEmblem(data);
  for (std::size_t length = 0; length + 2 < packed.size(); ++length) {
    SCOPED_TRACE(length);
    std::vector<std::uint8_t> out(data.size() + 300, 0xEE);
    const UnpackResult r = unpackEmblem(packed.data(), length, out.data(), out.size());
    // Whatever comes out is the start of the data; without the end token it is flagged.
    ASSERT_LE(r.size, data.size());
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + r.size, data.begin()));
    EXPECT_EQ(out[r.size], 0xEE);
  }
}

TEST(EmblemPackerTest, OutputLimitStopsBeforeAnythingLarger) {
  const std::vector<std::uint8_t> zeros((1 << 20) + 1, 0);
  const std::vector<std::uint8_t> packed = packEmblem(zeros);
  EXPECT_LT(packed.size(), zeros.size() / 64);

  const UnpackResult refused = unpackEmblem(packed.data(), packed.size(), nullptr, 0, 1 << 20);
  EXPECT_EQ(refused.status, UnpackStatus::TooLarge);
  EXPECT_LE(refused.size, std::size_t{1} << 20);

  const UnpackResult exact = unpackEmblem(packed.data(), packed.size(), nullptr, 0, zeros.size());
  EXPECT_TRUE(exact.complete());
  EXPECT_EQ(exact.size, zeros.size());

  // The limit applies to a literal too.
  const std::vector<std::uint8_t> one = packEmblem(bytesOf("x"));
  EXPECT_EQ(unpackEmblem(one.data(), one.size(), nullptr, 0, 0).status, UnpackStatus::TooLarge);
}

void expectRoundTrip(const std::vector<std::uint8_t>& data) {
  const std::vector<std::uint8_t> packed = packEmblem(data);
  const Unpacked u = unpackAll(packed);
  ASSERT_TRUE(u.result.complete());
  EXPECT_EQ(u.bytes, data);
}

TEST(EmblemPackerTest, PackedStreamsUnpackToTheirInput) {
  expectRoundTrip({});
  EXPECT_EQ(packEmblem({}), masked({0x02, 0x00, 0x00}));

  std::mt19937 random(1234);
  for (std::size_t size : {1u, 2u, 3u, 7u, 100u, 4097u, 20000u}) {
    SCOPED_TRACE(size);
    std::vector<std::uint8_t> noise(size);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    expectRoundTrip(noise);

    // Few symbols, runs and repeats at every distance.
    std::vector<std::uint8_t> mixed;
    while (mixed.size() < size) {
      const std::size_t kind = random() % 3;
      if (kind == 0 || mixed.empty()) {
        mixed.push_back(static_cast<std::uint8_t>(random() % 3));
      } else if (kind == 1) {
        mixed.insert(mixed.end(), random() % 300, static_cast<std::uint8_t>(random()));
      } else {
        const std::size_t from = random() % mixed.size();
        const std::size_t count = std::min<std::size_t>(random() % 400, mixed.size() - from);
        for (std::size_t k = 0; k < count; ++k) mixed.push_back(mixed[from + k]);
      }
    }
    mixed.resize(size);
    expectRoundTrip(mixed);
  }
}

TEST(EmblemPackerTest, MatchesAtTheFarthestDistanceStayDistinctFromTheEnd) {
  // A block repeated exactly 8192 bytes later: the long match there has offset -8192, and with
  // the extra length byte its v would be 0, the end token.
  std::mt19937 random(99);
  std::vector<std::uint8_t> data(8192);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  const std::vector<std::uint8_t> block(data.begin(), data.begin() + 400);
  data.insert(data.end(), block.begin(), block.end());
  expectRoundTrip(data);
  EXPECT_LT(packEmblem(data).size(), 8192u + 8192u / 8 + 200u);
}

TEST(EmblemPackerTest, RepetitiveDataPacksSmaller) {
  // Something like a file body: 16-byte layer records that differ in a few bytes.
  std::vector<std::uint8_t> records;
  for (int layer = 0; layer < 300; ++layer) {
    const std::uint8_t record[16] = {0x10,
                                     0xF0,
                                     0x30,
                                     0xF0,
                                     0x10,
                                     0x10,
                                     0x30,
                                     0x10,
                                     static_cast<std::uint8_t>(layer % 7),
                                     0x80,
                                     0xFF,
                                     0xFF,
                                     static_cast<std::uint8_t>(layer & 0xFF),
                                     0x01,
                                     0,
                                     0};
    records.insert(records.end(), record, record + 16);
  }
  const std::vector<std::uint8_t> packed = packEmblem(records);
  EXPECT_LT(packed.size(), records.size() / 3);
  expectRoundTrip(records);

  const std::vector<std::uint8_t> text =
      bytesOf("emblem emblem emblem layer layer group emblem layer layer layer group group emblem");
  EXPECT_LT(packEmblem(text).size(), text.size() * 3 / 4);
}

}  // namespace
}  // namespace orvane
