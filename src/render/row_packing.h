#pragma once

#include <cstdint>

namespace orvane {

// `count` words 0xAARRGGBB as the bytes R, G, B (three a pixel). `out` has room for 4 bytes more
// than it is given, which may be overwritten.
void packRgb(const std::uint32_t* in, int count, std::uint8_t* out);

// The same as R, G, B, A (four a pixel).
void packRgba(const std::uint32_t* in, int count, std::uint8_t* out);

}  // namespace orvane
