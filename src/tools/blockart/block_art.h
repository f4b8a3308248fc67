#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "catalogue/part_catalogue.h"
#include "document/emblem_document.h"
#include "render/picture_file.h"

namespace orvane {

// The block-art tool turns a picture into a mosaic of 15 x 15 square layers, one per pixel of the
// picture reduced to that size, and puts it into the emblem as a new group on top of the tree.

inline constexpr int kBlockArtSide = 15;
inline constexpr int kBlockArtLayerCount = kBlockArtSide * kBlockArtSide;  // 225
inline constexpr std::u16string_view kBlockArtGroupName = u"ブロックアート";
// Picture files larger than this (on either side) are reduced while they are read: the mosaic
// needs far fewer pixels, and memory then stays small whatever size the file has.
inline constexpr int kBlockArtPictureSide = 1024;

// What the tool's dialog asks for: the picture, the part every square shows, and the size the
// mosaic is laid out for (standard 192 x 96, small 32 x 32, or any numbers typed in).
struct BlockArtSettings {
  std::filesystem::path picturePath;
  std::int32_t part = std::int32_t(kBlockArtPart);
  std::int32_t width = 192;
  std::int32_t height = 96;
};

// One square of the mosaic in emblem units (y grows downwards).
struct BlockArtSquare {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const BlockArtSquare&, const BlockArtSquare&) = default;
};

// The grid step: min(width, height) / 15 in unsigned arithmetic, so 192 x 96 gives 6, sizes below
// 15 give 0 and a negative size wraps to a huge step (nothing here is clamped; the binary file
// writer limits coordinates when it saves).
std::uint32_t blockArtCell(std::int32_t width, std::int32_t height);

// The square at (row, column), both 0 ... 14 from the top-left: with half = 15 * cell / 2,
// left = column * cell - half - 1 and top = row * cell - half - 1, and the square is cell + 2 wide
// and high, so neighbours overlap by 2 units. The sums run modulo 2^32 like the unsigned cell.
BlockArtSquare blockArtSquare(std::int32_t width, std::int32_t height, int row, int column);

// The layer record of one square: its vertices, the colour (alpha forced to 255) and the part;
// every other field 0.
LayerRecord blockArtLayer(const BlockArtSquare& square, std::uint32_t colour, std::int32_t part);

// Adds the mosaic of `picture` to the document: UpdateBegins, the group kBlockArtGroupName as
// the root's first child, its 225 layers "レイヤー1" ... "レイヤー225" row by row from the
// top-left (earlier layers in front where squares overlap), UpdateEnds(1). The picture is
// stretched over the whole 15 x 15 field by area averaging and composed over black. False (with
// UpdateEnds(0) and nothing added) when the document has no root or the picture is empty.
bool GenerateBlockArt(EmblemDocument& document, const Picture& picture,
                      const BlockArtSettings& settings, std::string* error = nullptr);
// The same for the picture file of the settings (BMP, JPEG, TGA or PNG), reduced to
// kBlockArtPictureSide while it is read. A file that cannot be read is a failure like the
// above: no mosaic of black squares is made from it.
bool GenerateBlockArt(EmblemDocument& document, const BlockArtSettings& settings,
                      std::string* error = nullptr);

}  // namespace orvane
