#include "formats/blowfish.h"

#include "formats/little_endian.h"

namespace orvane {
namespace {

std::uint32_t roundFunction(const BlowfishContext& c, std::uint32_t x) {
  return ((c.s[0][x >> 24] + c.s[1][(x >> 16) & 0xFF]) ^ c.s[2][(x >> 8) & 0xFF]) +
         c.s[3][x & 0xFF];
}

template <typename Block>
void forEachBlock(std::uint8_t* buffer, std::ptrdiff_t length, Block block) {
  if (buffer == nullptr || length < 8) return;
  const std::ptrdiff_t blocks = length / 8;
  for (std::ptrdiff_t i = 0; i < blocks; ++i) {
    std::uint8_t* p = buffer + 8 * i;
    std::uint32_t left = loadLe32(p);
    std::uint32_t right = loadLe32(p + 4);
    block(left, right);
    storeLe32(p, left);
    storeLe32(p + 4, right);
  }
}

}  // namespace

void encryptBlock(const BlowfishContext& context, std::uint32_t& left, std::uint32_t& right) {
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (int i = 0; i < 16; i += 2) {
    l ^= context.p[i];
    r ^= roundFunction(context, l);
    r ^= context.p[i + 1];
    l ^= roundFunction(context, r);
  }
  // After the last round the halves are not swapped; the final two P words whiten them.
  left = r ^ context.p[17];
  right = l ^ context.p[16];
}

void decryptBlock(const BlowfishContext& context, std::uint32_t& left, std::uint32_t& right) {
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (int i = 17; i > 1; i -= 2) {
    l ^= context.p[i];
    r ^= roundFunction(context, l);
    r ^= context.p[i - 1];
    l ^= roundFunction(context, r);
  }
  left = r ^ context.p[0];
  right = l ^ context.p[1];
}

BlowfishContext keyScheduleAnyLength(std::span<const std::uint8_t> key) {
  BlowfishContext context = kBlowfishInitialState;
  if (!key.empty()) {
    std::size_t k = 0;
    for (std::uint32_t& word : context.p) {
      std::uint32_t keyWord = 0;
      for (int b = 0; b < 4; ++b) {
        keyWord = (keyWord << 8) | key[k];
        k = (k + 1) % key.size();
      }
      word ^= keyWord;
    }
  }
  // Encrypting the all-zero block over and over, each result replacing the next two words of
  // the P-array and then of the S-boxes in order, each time starting from the last result.
  std::uint32_t left = 0;
  std::uint32_t right = 0;
  for (int i = 0; i < 18; i += 2) {
    encryptBlock(context, left, right);
    context.p[i] = left;
    context.p[i + 1] = right;
  }
  for (auto& box : context.s) {
    for (int i = 0; i < 256; i += 2) {
      encryptBlock(context, left, right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
  return context;
}

BlowfishContext keySchedule(std::span<const std::uint8_t, 4> key) {
  return keyScheduleAnyLength(std::span<const std::uint8_t>(key));
}

void encryptBlocks(const BlowfishContext& context, std::uint8_t* buffer, std::ptrdiff_t length) {
  forEachBlock(buffer, length,
               [&](std::uint32_t& l, std::uint32_t& r) { encryptBlock(context, l, r); });
}

void decryptBlocks(const BlowfishContext& context, std::uint8_t* buffer, std::ptrdiff_t length) {
  forEachBlock(buffer, length,
               [&](std::uint32_t& l, std::uint32_t& r) { decryptBlock(context, l, r); });
}

}  // namespace orvane
