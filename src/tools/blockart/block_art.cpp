#include "tools/blockart/block_art.h"

#include <algorithm>
#include <string>

#include "base/failure.h"
#include "base/numbers.h"
#include "base/utf.h"
#include "tools/blockart/picture_reduction.h"

namespace orvane {
namespace {

bool failGeneration(EmblemDocument& document, std::string* error, std::string reason) {
  document.fire(DocumentEvent::UpdateEnds, 0);
  return fail(error, std::move(reason));
}

std::u16string layerName(int number) { return u"レイヤー" + utf8ToUtf16(formatInt(number)); }

}  // namespace

std::uint32_t blockArtCell(std::int32_t width, std::int32_t height) {
  return std::uint32_t(std::min(width, height)) / std::uint32_t(kBlockArtSide);
}

BlockArtSquare blockArtSquare(std::int32_t width, std::int32_t height, int row, int column) {
  const std::uint32_t cell = blockArtCell(width, height);
  const std::uint32_t half = std::uint32_t(kBlockArtSide) * cell / 2u;
  const std::uint32_t left = std::uint32_t(column) * cell - half - 1u;
  const std::uint32_t top = std::uint32_t(row) * cell - half - 1u;
  // Conversions to int32 take the value modulo 2^32 (C++20), as the arithmetic above does.
  return {std::int32_t(left), std::int32_t(top), std::int32_t(left + cell + 2u),
          std::int32_t(top + cell + 2u)};
}

LayerRecord blockArtLayer(const BlockArtSquare& square, std::uint32_t colour, std::int32_t part) {
  LayerRecord record;
  record.ltx = square.left, record.lty = square.top;
  record.lbx = square.left, record.lby = square.bottom;
  record.rtx = square.right, record.rty = square.top;
  record.rbx = square.right, record.rby = square.bottom;
  record.color = colour | 0xFF000000u;
  record.partId = part;
  return record;
}

bool GenerateBlockArt(EmblemDocument& document, const Picture& picture,
                      const BlockArtSettings& settings, std::string* error) {
  document.fire(DocumentEvent::UpdateBegins, 0);
  EmblemNode* root = document.root();
  if (!root) return failGeneration(document, error, "the document holds no emblem");
  const std::vector<std::uint32_t> field =
      reducePictureOverBlack(picture, kBlockArtSide, kBlockArtSide);
  if (field.empty()) return failGeneration(document, error, "the picture is empty");

  // The group is made with an all-zero record and no GroupChanged, and goes in before its layers,
  // so observers see it arrive first and then each layer (LayerChanged, NodeAdded) in turn.
  NodePtr group = EmblemDocument::makeNode(&document, NodeKind::Group, kBlockArtGroupName);
  EmblemNode* groupNode = group.get();
  if (!document.prependChild(root, std::move(group))) {
    return failGeneration(document, error, "the mosaic group cannot be added");
  }
  for (int row = 0; row < kBlockArtSide; ++row) {
    for (int column = 0; column < kBlockArtSide; ++column) {
      const int index = row * kBlockArtSide + column;
      NodePtr layer = EmblemDocument::makeNode(&document, NodeKind::Layer, layerName(index + 1));
      EmblemDocument::setLayerRecord(
          layer.get(), blockArtLayer(blockArtSquare(settings.width, settings.height, row, column),
                                     field[std::size_t(index)], settings.part));
      if (!document.appendChild(groupNode, std::move(layer))) {
        return failGeneration(document, error, "a mosaic layer cannot be added");
      }
    }
  }
  document.fire(DocumentEvent::UpdateEnds, 1);
  return true;
}

bool GenerateBlockArt(EmblemDocument& document, const BlockArtSettings& settings,
                      std::string* error) {
  Picture picture;
  std::string reason;
  if (!readPictureFile(settings.picturePath, picture, &reason, kBlockArtPictureSide)) {
    // Reported like the other failures, between UpdateBegins and UpdateEnds(0).
    document.fire(DocumentEvent::UpdateBegins, 0);
    return failGeneration(document, error, reason);
  }
  return GenerateBlockArt(document, picture, settings, error);
}

}  // namespace orvane
