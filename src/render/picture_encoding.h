#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "render/picture_file.h"

namespace orvane {

// Pixels to encode, handed to the encoders a row at a time, so that encoding a large picture
// takes memory for one row and the file, not a second copy of the picture.
struct PixelRows {
  int width = 0;
  int height = 0;
  // Writes row y (0 is the top) as width x 4 bytes R, G, B, A; rows are asked for in any order.
  std::function<void(int y, std::uint8_t* rgba)> fetch;
  // The whole picture in one block with 4 bytes a pixel, which the JPEG codec reads in place,
  // and its TurboJPEG pixel format (TJPF_RGBX, TJPF_BGRX, ...).
  const std::uint8_t* block = nullptr;
  int blockFormat = 0;
};

// Encodes as encodePicture does (picture_file.h); false with a reason.
bool encodeRows(const PixelRows& rows, ImageFormat format, bool keepAlpha, std::string& bytes,
                std::string* error = nullptr);

}  // namespace orvane
