#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "render/picture_file.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {

// Turns a picture into the analysis target: stretched over the whole 192 x 96 field (whatever
// the picture's size or the chosen output size) and composed over black, so its transparent
// parts end up black; the fourth byte of every pixel is 255. False for an empty picture.
bool makeTargetPixels(const Picture& picture, TargetPixels& target);

// Picture files larger than this (on either side) are reduced while they are read: the target
// is 192 x 96 pixels, and memory then stays small whatever size the file has.
inline constexpr int kTargetPictureSide = 1024;

// The same from a BMP, JPEG, TGA or PNG file or its bytes, reduced to kTargetPictureSide while
// it is read; false with a reason, leaving `target` as it was.
bool loadTargetPicture(std::span<const std::uint8_t> bytes, TargetPixels& target,
                       std::string* error = nullptr);
bool loadTargetPictureFile(const std::filesystem::path& path, TargetPixels& target,
                           std::string* error = nullptr);

}  // namespace orvane
