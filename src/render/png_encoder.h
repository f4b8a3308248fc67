#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orvane {

// Writes a PNG file of 8-bit RGB (3 channels) or RGBA (4) rows: the signature, IHDR, the image
// data in IDAT chunks of up to 64 KiB, and IEND. Each row takes the filter choosePngFilter picks
// and the data is compressed with zlib at level 2 (window 2^15, memory level 8, the filtered
// strategy), the settings at which the renderer's pictures, large flat areas, compress fast
// and well. `row(y, out)` writes row y (width * channels bytes; `out` has 4 bytes of room
// more). The file's bytes are appended to `out`.
//
// With two threads a large picture is compressed in two halves at once, the second half on a
// thread of its own, with the end of the first half as its dictionary: the file is then a few
// bytes longer and `row` is called from both threads.
bool encodePng(int width, int height, int channels,
               const std::function<void(int, std::uint8_t*)>& row, std::string& out,
               std::string* error, int threads = 1);

}  // namespace orvane
