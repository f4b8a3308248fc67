#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// Loads and stores of little-endian words at any byte address, whatever the host's byte order.
// The emblem file body and the atlas resource are little-endian throughout.

inline std::uint16_t loadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t loadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void storeLe16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void storeLe32(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
  p[2] = static_cast<std::uint8_t>(value >> 16);
  p[3] = static_cast<std::uint8_t>(value >> 24);
}

// `count` little-endian 16-bit words from `bytes` (2 * count bytes) into host-order `words`.
inline void loadLe16Words(const std::uint8_t* bytes, std::size_t count, std::uint16_t* words) {
  for (std::size_t i = 0; i < count; ++i) words[i] = loadLe16(bytes + 2 * i);
}

// `count` host-order `words` into little-endian bytes (2 * count bytes).
inline void storeLe16Words(const std::uint16_t* words, std::size_t count, std::uint8_t* bytes) {
  for (std::size_t i = 0; i < count; ++i) storeLe16(bytes + 2 * i, words[i]);
}

}  // namespace orvane
