#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// The fixed table of the 1024 parts a layer can show: the category and label of every part id,
// and the cell of the parts atlas it is drawn from. Code and constants only; no state.

inline constexpr std::uint32_t kPartCount = 1024;
// Parts the drawing code borrows for its own decorations and tools.
inline constexpr std::uint32_t kSelectionHandlePart = 240;
inline constexpr std::uint32_t kBlockArtPart = 242;
inline constexpr std::uint32_t kBackgroundTilePart = 560;

enum class PartCategory {
  Characters,
  BasicShapes,
  Lines,
  Ink,
  Gradations,
  Fractals,
  Marks,
  Pictures,
  Other,
};

// A cell of the atlas in texture coordinates (0 ... 1, v growing downwards).
struct AtlasCell {
  float u;
  float v;
  float du;
  float dv;
};

// The atlas is 16 columns by 32 rows of 64 x 64-texel cells.
inline constexpr int kAtlasColumns = 16;
inline constexpr int kAtlasRows = 32;
inline constexpr int kAtlasCellSize = 64;
// The row that every id outside the placed blocks falls back to.
inline constexpr int kFallbackAtlasRow = 14;

// Atlas row (0 ... 31) of a part id; unplaced ids and ids of 976 or more give row 14.
int atlasRow(std::uint32_t id);
// Texture rectangle of a part: column id % 16, row atlasRow(id).
AtlasCell cellOf(std::uint32_t id);
// Category owning the id; ids of 1024 or more count as Other.
PartCategory partCategory(std::uint32_t id);
// First id of a category's contiguous range.
std::uint32_t firstPartOf(PartCategory category);
// Number of the entry within its category, counted from 1.
int partNumber(std::uint32_t id);
// Whether the id has a name (and so a picture) rather than the bare "%04d:" label.
bool isNamedPart(std::uint32_t id);
// The letter a character entry shows, or 0 for characters without one and all other parts.
char16_t partLetter(std::uint32_t id);
// The list label of one id, e.g. u"0001:文字001 A"; ids of 1024 or more give an empty string.
std::u16string partLabel(std::uint32_t id);
// All 1024 labels in id order, so that a list index is a part id.
std::vector<std::u16string> partLabels();

}  // namespace orvane
