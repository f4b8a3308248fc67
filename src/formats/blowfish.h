#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

// Blowfish state: the P-array followed by the four S-boxes, one after the other, so that S-box
// word k (0 ... 1023) is entry k % 256 of box k / 256. The atlas keystream indexes it that way.
struct BlowfishContext {
  std::uint32_t p[18];
  std::uint32_t s[4][256];

  std::uint32_t sboxWord(std::size_t k) const { return s[(k >> 8) & 3][k & 0xFF]; }
};
static_assert(sizeof(BlowfishContext) == (18 + 4 * 256) * sizeof(std::uint32_t));

// The published initial state of the algorithm, before any key is mixed in.
extern const BlowfishContext kBlowfishInitialState;

using BlowfishKey = std::array<std::uint8_t, 4>;

// Key of the binary emblem file body: the 32-bit value 0x5D3E1A64, least significant byte first.
inline constexpr BlowfishKey kEmblemFileKey = {0x64, 0x1A, 0x3E, 0x5D};
// Key of the parts-atlas resource: the letters "Qovt".
inline constexpr BlowfishKey kAtlasKey = {'Q', 'o', 'v', 't'};

// The key schedule for the program's 4-byte keys.
BlowfishContext keySchedule(std::span<const std::uint8_t, 4> key);

// The general key schedule for keys of any length (the algorithm allows up to 56 bytes; longer
// keys still work, cycling through the first 72 bytes). Key bytes are taken cyclically, the
// first in the most significant position of each 32-bit word. An empty key mixes in nothing.
BlowfishContext keyScheduleAnyLength(std::span<const std::uint8_t> key);

// The 16-round cipher on one block given as its two 32-bit halves.
void encryptBlock(const BlowfishContext& context, std::uint32_t& left, std::uint32_t& right);
void decryptBlock(const BlowfishContext& context, std::uint32_t& left, std::uint32_t& right);

// ECB over a buffer, in place. Each 8-byte block is two little-endian words, the one at the lower
// address being the left half. The last length % 8 bytes are left as they are; a length below 8
// (or negative) changes nothing. decryptBlocks undoes encryptBlocks for the same key and length.
void encryptBlocks(const BlowfishContext& context, std::uint8_t* buffer, std::ptrdiff_t length);
void decryptBlocks(const BlowfishContext& context, std::uint8_t* buffer, std::ptrdiff_t length);

}  // namespace orvane
