#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

// Which pane of a splitter keeps the stored size, and on which side it sits.
enum class SplitOrientation : std::int32_t {
  SizedLeft = 0,    // pane 1 is sized, on the left
  SizedTop = 1,     // pane 1 is sized, on top
  SizedRight = 2,   // pane 2 is sized, on the right
  SizedBottom = 3,  // pane 2 is sized, at the bottom
};

// Position and extent of a pane inside its splitter, in pixels.
struct PaneRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const PaneRect&, const PaneRect&) = default;
};

// A splitter's state: its client extent, the size (extent of the sized pane plus one border,
// measured from the sized edge) and the border (half the gap between the panes).
struct SplitterGeometry {
  SplitOrientation orientation = SplitOrientation::SizedLeft;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t size = 0;
  std::int32_t border = 0;
};

// Where the panes go; a pane without a rectangle is hidden and is not moved.
struct SplitterLayout {
  std::optional<PaneRect> pane1;
  std::optional<PaneRect> pane2;
};

// Lays out the two panes. With both shown, the gap of 2 x border is centred on the line at
// `size` from the sized edge (size clamped to 0 … the extent along the split); with one shown it
// fills the splitter. Extents that would come out negative are 0.
SplitterLayout layoutSplitter(const SplitterGeometry& splitter, bool pane1Shown = true,
                              bool pane2Shown = true);

// Extent of the splitter along the split: its width when split left/right, else its height.
std::int32_t extentAlongSplit(const SplitterGeometry& splitter);

// The size clamped to 0 … extentAlongSplit, as layout and dragging use it.
std::int32_t clampedSize(const SplitterGeometry& splitter);

// Start of a drag of the gap: the clamped size the splitter keeps, and the distance between the
// pointer and the dividing line that the drag preserves.
struct SplitterDrag {
  std::int32_t size = 0;
  std::int32_t offset = 0;
};

// Begins dragging the gap with the pointer at (x, y).
SplitterDrag beginSplitterDrag(const SplitterGeometry& splitter, std::int32_t x, std::int32_t y);

// The new size for the pointer at (x, y) during a drag, clamped to 0 … the extent along the split.
std::int32_t draggedSplitterSize(const SplitterGeometry& splitter, const SplitterDrag& drag,
                                 std::int32_t x, std::int32_t y);

// The sizing arrow shown over a splitter's gap.
enum class SizingCursor { WestEast, NorthSouth };

// The cursor a splitter split this way shows over its gap.
SizingCursor sizingCursorOf(SplitOrientation orientation);

// Whether (x, y) lies on the gap between the panes, where the sizing cursor shows; there is no
// gap while a pane is hidden.
bool isOnSplitterGap(const SplitterGeometry& splitter, std::int32_t x, std::int32_t y,
                     bool pane1Shown = true, bool pane2Shown = true);

}  // namespace orvane
