#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

// PNG row filters, numbered as in the file: choosing one for a row, and applying it.
enum class PngFilter : std::uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

// The filter a PNG writer gives a row: of None, Sub and Up, the one whose filtered bytes, each
// read as a signed byte, have the least sum of magnitudes (the first in that order on a tie).
// Flat areas then become runs of zeros, which deflate shrinks best (Up turns a row like the one
// above into zeros, where Sub leaves a value at every change of colour), and the choice costs
// little next to compressing the row. Average and Paeth are left out: on the renderer's
// pictures they shrink files by a few percent but take the encoder far longer to apply.
//
// `row` and `above` point at `length` bytes of `bytesPerPixel`-byte pixels, and each has
// bytesPerPixel bytes of 0 before it (the pixel left of the first); `above` is a row of zeros
// for the first row.
PngFilter choosePngFilter(const std::uint8_t* row, const std::uint8_t* above, std::size_t length,
                          int bytesPerPixel);

// The row filtered with None, Sub or Up (the byte less the one left of it, or above it, modulo
// 256), written to out[0 ... length); `row` and `above` as for choosePngFilter.
void applyPngFilter(PngFilter filter, const std::uint8_t* row, const std::uint8_t* above,
                    std::size_t length, int bytesPerPixel, std::uint8_t* out);

}  // namespace orvane
