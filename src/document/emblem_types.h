#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// What a node stands for; fixed when the node is made. The values are those of the files.
enum class NodeKind : std::int32_t { Info = 0, Group = 1, Layer = 2, Image = 3 };

// The record of the root: author ID, size in pixels and sound-effect number.
struct EmblemInfo {
  std::int32_t authorId = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t sound = 0;
  friend bool operator==(const EmblemInfo&, const EmblemInfo&) = default;
};

// A layer: one atlas part over a free quadrilateral, tinted, with a pending move, scale and
// rotation that a drag holds until it ends. Scale factors are stored as factor - 1.
struct LayerRecord {
  std::int32_t ltx = 0, lty = 0;
  std::int32_t lbx = 0, lby = 0;
  std::int32_t rtx = 0, rty = 0;
  std::int32_t rbx = 0, rby = 0;
  std::uint32_t color = 0;  // 0xAARRGGBB
  std::int32_t partId = 0;
  std::int32_t moveX = 0, moveY = 0;
  std::int32_t moveOriginX = 0, moveOriginY = 0;
  float scaleX = 0, scaleY = 0;
  std::int32_t scaleCentreX = 0, scaleCentreY = 0;
  float rotation = 0;
  std::int32_t rotationCentreX = 0, rotationCentreY = 0;
  friend bool operator==(const LayerRecord&, const LayerRecord&) = default;
};

// An image node's record. No operation makes image nodes; the XML writer still writes them.
struct ImageRecord {
  std::string source;  // path of the picture
  float alpha = 0;     // 0 ... 1
  friend bool operator==(const ImageRecord&, const ImageRecord&) = default;
};

// The document's nine change notifications.
enum class DocumentEvent : int {
  Cleared,
  UpdateBegins,
  UpdateEnds,
  NodeAdded,
  NodeRemoved,
  NameChanged,
  InfoChanged,
  GroupChanged,
  LayerChanged,
};
inline constexpr int kDocumentEventCount = 9;

// The emblem's name of a new document and of files that carry none.
inline constexpr std::u16string_view kUntitledName = u"名称未設定";
inline constexpr std::u16string_view kNewLayerName = u"新規レイヤー";
inline constexpr std::u16string_view kNewGroupName = u"新規グループ";
// A name holds at most this many UTF-16 code units.
inline constexpr std::size_t kMaxNameUnits = 255;

}  // namespace orvane
