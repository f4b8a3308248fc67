#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/blowfish.h"

namespace orvane {

// The atlas resource's word-chained XOR, keyed by the S-box words T[0 ... 1023] of a
// key-scheduled context. The buffer is taken as little-endian 32-bit words; with `remaining`
// the bytes from the current word to the end and `prev` the previous STORED word (0 at first):
//   plain = T[((remaining / 4) ^ T[prev % 1024]) % 1024] ^ stored ^ prev.
// The length should be a multiple of 4; a shorter tail is left as it is.
void atlasDecipher(const BlowfishContext& context, std::uint8_t* buffer, std::size_t length);

// Bytes [first, first + count) of what atlasDecipher makes of the `length` stored bytes, written
// to `out` and read from `stored`, which is left as it is (a word's plain value depends only on
// its stored value and the stored word before it). first and count are multiples of 4, and
// first + count is at most length.
void atlasDecipherRange(const BlowfishContext& context, const std::uint8_t* stored,
                        std::size_t length, std::size_t first, std::size_t count,
                        std::uint8_t* out);

// The inverse of atlasDecipher: turns plain words into the stored form, in place.
void atlasEncipher(const BlowfishContext& context, std::uint8_t* buffer, std::size_t length);

}  // namespace orvane
