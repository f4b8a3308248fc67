#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace orvane {

// The LZ-style stream of packed binary emblem files. Every stream byte is XORed with 0xA7.
// Control bits come LSB first from control bytes, a new one being read only when a bit is needed,
// so each control byte sits just before the data of the token that takes its first bit:
//   1            + L          literal byte L
//   0 1          + b0 b1      v = b0 + 256 * b1; v = 0 ends the stream; otherwise the offset is
//                             (v >> 3) - 8192 and n = v & 7 gives length n + 2, or, when n = 0,
//                             one more byte e gives length e + 10
//   0 0 h l      + d          length 2 * h + l + 2, offset d - 256
// A match copies byte by byte from the output position plus the (negative) offset.

enum class UnpackStatus {
  Complete,         // the end token was read
  MissingEndToken,  // the input ran out first
  TooLarge,         // the output would have grown past the caller's limit
};

struct UnpackResult {
  // Bytes produced: the full unpacked size when complete, even past the capacity; otherwise the
  // bytes produced before the unpacker stopped.
  std::size_t size = 0;
  UnpackStatus status = UnpackStatus::Complete;

  bool complete() const { return status == UnpackStatus::Complete; }
};

inline constexpr std::size_t kNoOutputLimit = std::numeric_limits<std::size_t>::max();

// Unpacks `packed` into `out`. Bytes that fall beyond `capacity` are dropped (the position still
// advances) and match sources outside the written area read as 0, so a first call with no output
// area gives the size to allocate for a second call. Reads past the input give 0 without the
// mask; a token other than the end token that needs such bytes is not carried out and the result
// is MissingEndToken. A token that would take the output past `maxOutput` bytes stops the
// unpacker with TooLarge before anything of it is written. No input gives 0 bytes, complete.
UnpackResult unpackEmblem(const std::uint8_t* packed, std::size_t packedLength, std::uint8_t* out,
                          std::size_t capacity, std::size_t maxOutput = kNoOutputLimit);

// Packs `data` into the stream above (hash-chain match search with one step of lazy matching),
// ending with the end token. unpackEmblem gives `data` back exactly.
std::vector<std::uint8_t> packEmblem(std::span<const std::uint8_t> data);

}  // namespace orvane
