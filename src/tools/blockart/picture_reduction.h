#pragma once

#include <cstdint>
#include <vector>

#include "render/picture_file.h"

namespace orvane {

// Shrinks (or stretches) a whole picture onto a columns x rows field by area averaging and
// composes it over black: every field pixel is the mean of the picture area it covers, each
// picture pixel weighted by the part of it that lies inside, its colour multiplied by its alpha.
// The result is 0xFFRRGGBB words, rows top to bottom; empty for an empty picture or field.
std::vector<std::uint32_t> reducePictureOverBlack(const Picture& picture, int columns, int rows);

}  // namespace orvane
