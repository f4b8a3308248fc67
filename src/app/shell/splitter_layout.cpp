#include "app/shell/splitter_layout.h"

#include <algorithm>
#include <limits>

namespace orvane {
namespace {

// Sizes and borders come unchecked from the settings file, so sums run in 64 bits and are
// brought back into the int32 range at the end.
std::int32_t saturate(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t nonNegative(std::int64_t value) { return saturate(std::max<std::int64_t>(value, 0)); }

bool splitsLeftRight(SplitOrientation orientation) {
  return orientation == SplitOrientation::SizedLeft || orientation == SplitOrientation::SizedRight;
}

bool sizesFirstPane(SplitOrientation orientation) {
  return orientation == SplitOrientation::SizedLeft || orientation == SplitOrientation::SizedTop;
}

// Distance of the dividing line from the splitter's left or top edge.
std::int64_t dividingLine(const SplitterGeometry& splitter) {
  const std::int64_t size = clampedSize(splitter);
  return sizesFirstPane(splitter.orientation) ? size : extentAlongSplit(splitter) - size;
}

}  // namespace

std::int32_t extentAlongSplit(const SplitterGeometry& splitter) {
  return splitsLeftRight(splitter.orientation) ? splitter.width : splitter.height;
}

std::int32_t clampedSize(const SplitterGeometry& splitter) {
  return std::min(std::max(splitter.size, 0), extentAlongSplit(splitter));
}

SplitterLayout layoutSplitter(const SplitterGeometry& splitter, bool pane1Shown, bool pane2Shown) {
  const PaneRect whole{0, 0, nonNegative(splitter.width), nonNegative(splitter.height)};
  if (!pane1Shown) return {std::nullopt, pane2Shown ? std::optional(whole) : std::nullopt};
  if (!pane2Shown) return {whole, std::nullopt};
  const std::int64_t line = dividingLine(splitter);
  const std::int64_t border = splitter.border;
  const std::int64_t extent = extentAlongSplit(splitter);
  const std::int32_t firstEnd = nonNegative(line - border);
  const std::int32_t secondStart = saturate(line + border);
  const std::int32_t secondLength = nonNegative(extent - line - border);
  if (splitsLeftRight(splitter.orientation)) {
    return {PaneRect{0, 0, firstEnd, whole.height},
            PaneRect{secondStart, 0, secondLength, whole.height}};
  }
  return {PaneRect{0, 0, whole.width, firstEnd},
          PaneRect{0, secondStart, whole.width, secondLength}};
}

SplitterDrag beginSplitterDrag(const SplitterGeometry& splitter, std::int32_t x, std::int32_t y) {
  const std::int64_t size = clampedSize(splitter);
  std::int64_t offset = 0;
  switch (splitter.orientation) {
    case SplitOrientation::SizedLeft:
      offset = size - x;
      break;
    case SplitOrientation::SizedTop:
      offset = size - y;
      break;
    case SplitOrientation::SizedRight:
      offset = std::int64_t{splitter.width} - x - size;
      break;
    case SplitOrientation::SizedBottom:
      offset = std::int64_t{splitter.height} - y - size;
      break;
  }
  return {static_cast<std::int32_t>(size), saturate(offset)};
}

std::int32_t draggedSplitterSize(const SplitterGeometry& splitter, const SplitterDrag& drag,
                                 std::int32_t x, std::int32_t y) {
  std::int64_t size = 0;
  switch (splitter.orientation) {
    case SplitOrientation::SizedLeft:
      size = std::int64_t{x} + drag.offset;
      break;
    case SplitOrientation::SizedTop:
      size = std::int64_t{y} + drag.offset;
      break;
    case SplitOrientation::SizedRight:
      size = std::int64_t{splitter.width} - drag.offset - x;
      break;
    case SplitOrientation::SizedBottom:
      size = std::int64_t{splitter.height} - drag.offset - y;
      break;
  }
  const std::int64_t extent = std::max(extentAlongSplit(splitter), 0);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(size, 0, extent));
}

SizingCursor sizingCursorOf(SplitOrientation orientation) {
  return splitsLeftRight(orientation) ? SizingCursor::WestEast : SizingCursor::NorthSouth;
}

bool isOnSplitterGap(const SplitterGeometry& splitter, std::int32_t x, std::int32_t y,
                     bool pane1Shown, bool pane2Shown) {
  if (!pane1Shown || !pane2Shown) return false;
  if (x < 0 || y < 0 || x >= splitter.width || y >= splitter.height) return false;
  const std::int64_t along = splitsLeftRight(splitter.orientation) ? x : y;
  const std::int64_t line = dividingLine(splitter);
  return along >= line - splitter.border && along < line + splitter.border;
}

}  // namespace orvane
