#include "app/shell/splitter_layout.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

SplitterGeometry splitter(SplitOrientation orientation, std::int32_t size,
                          std::int32_t border = 2) {
  return {orientation, 1000, 600, size, border};
}

void expectPanes(const SplitterLayout& layout, PaneRect pane1, PaneRect pane2) {
  ASSERT_TRUE(layout.pane1 && layout.pane2);
  EXPECT_EQ(*layout.pane1, pane1);
  EXPECT_EQ(*layout.pane2, pane2);
}

TEST(SplitterLayout, AllFourOrientations) {
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedLeft, 250)), {0, 0, 248, 600},
              {252, 0, 748, 600});
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedTop, 250)), {0, 0, 1000, 248},
              {0, 252, 1000, 348});
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedRight, 250)), {0, 0, 748, 600},
              {752, 0, 248, 600});
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedBottom, 250)), {0, 0, 1000, 348},
              {0, 352, 1000, 248});
}

TEST(SplitterLayout, SizeIsClampedAndNoExtentIsNegative) {
  // Size 0: the far pane starts at the border; the sized pane is empty rather than -2 wide.
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedLeft, -40)), {0, 0, 0, 600},
              {2, 0, 998, 600});
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedLeft, 5000)), {0, 0, 998, 600},
              {1002, 0, 0, 600});
  expectPanes(layoutSplitter(splitter(SplitOrientation::SizedBottom, 5000)), {0, 0, 1000, 0},
              {0, 2, 1000, 598});
  // Unchecked values from a damaged settings file do not overflow.
  const SplitterLayout wild =
      layoutSplitter(splitter(SplitOrientation::SizedRight, INT32_MAX, INT32_MAX));
  ASSERT_TRUE(wild.pane2);
  EXPECT_EQ(wild.pane1->width, 0);
  EXPECT_EQ(wild.pane2->x, INT32_MAX);
}

TEST(SplitterLayout, AHiddenPaneLeavesTheWholeAreaToTheOther) {
  const SplitterGeometry s = splitter(SplitOrientation::SizedRight, 250);
  const SplitterLayout onlySecond = layoutSplitter(s, false, true);
  EXPECT_FALSE(onlySecond.pane1);
  EXPECT_EQ(onlySecond.pane2, (PaneRect{0, 0, 1000, 600}));
  const SplitterLayout onlyFirst = layoutSplitter(s, true, false);
  EXPECT_EQ(onlyFirst.pane1, (PaneRect{0, 0, 1000, 600}));
  EXPECT_FALSE(onlyFirst.pane2);
  const SplitterLayout none = layoutSplitter(s, false, false);
  EXPECT_FALSE(none.pane1 || none.pane2);
}

TEST(SplitterDrag, KeepsThePointerOffsetAndClampsAtTheFarEdges) {
  struct Case {
    SplitOrientation orientation;
    std::int32_t grabX, grabY;  // on the gap, one pixel past the dividing line
    std::int32_t moveX, moveY;  // 50 pixels towards the far edge
    std::int32_t movedSize;
    std::int32_t fullX, fullY;    // beyond the far edge: the whole extent
    std::int32_t emptyX, emptyY;  // beyond the sized edge: nothing
    std::int32_t extent;
  };
  const Case cases[] = {
      {SplitOrientation::SizedLeft, 251, 10, 301, 10, 300, 5000, 10, -90, 10, 1000},
      {SplitOrientation::SizedTop, 10, 251, 10, 301, 300, 10, 5000, 10, -90, 600},
      {SplitOrientation::SizedRight, 751, 10, 701, 10, 300, -90, 10, 5000, 10, 1000},
      {SplitOrientation::SizedBottom, 10, 351, 10, 301, 300, 10, -90, 10, 5000, 600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.orientation));
    const SplitterGeometry s = splitter(c.orientation, 250);
    const SplitterDrag drag = beginSplitterDrag(s, c.grabX, c.grabY);
    EXPECT_EQ(drag.size, 250);
    EXPECT_EQ(draggedSplitterSize(s, drag, c.grabX, c.grabY), 250);
    EXPECT_EQ(draggedSplitterSize(s, drag, c.moveX, c.moveY), c.movedSize);
    EXPECT_EQ(draggedSplitterSize(s, drag, c.fullX, c.fullY), c.extent);
    EXPECT_EQ(draggedSplitterSize(s, drag, c.emptyX, c.emptyY), 0);
  }
  // A drag starts from the clamped size.
  EXPECT_EQ(beginSplitterDrag(splitter(SplitOrientation::SizedLeft, 4000), 999, 0).size, 1000);
}

TEST(SplitterGap, SizingCursorOnlyOverTheGap) {
  EXPECT_EQ(sizingCursorOf(SplitOrientation::SizedRight), SizingCursor::WestEast);
  EXPECT_EQ(sizingCursorOf(SplitOrientation::SizedBottom), SizingCursor::NorthSouth);
  struct Case {
    SplitOrientation orientation;
    std::int32_t gapStart;  // first pixel of the 4-pixel gap along the split
  };
  for (const Case c :
       {Case{SplitOrientation::SizedLeft, 248}, Case{SplitOrientation::SizedTop, 248},
        Case{SplitOrientation::SizedRight, 748}, Case{SplitOrientation::SizedBottom, 348}}) {
    const SplitterGeometry s = splitter(c.orientation, 250);
    const bool across = c.orientation == SplitOrientation::SizedLeft ||
                        c.orientation == SplitOrientation::SizedRight;
    auto onGap = [&](std::int32_t along) {
      return across ? isOnSplitterGap(s, along, 5) : isOnSplitterGap(s, 5, along);
    };
    EXPECT_FALSE(onGap(c.gapStart - 1));
    EXPECT_TRUE(onGap(c.gapStart));
    EXPECT_TRUE(onGap(c.gapStart + 3));
    EXPECT_FALSE(onGap(c.gapStart + 4));
    EXPECT_FALSE(across ? isOnSplitterGap(s, c.gapStart, 600)
                        : isOnSplitterGap(s, 1000, c.gapStart));
  }
  const SplitterGeometry s = splitter(SplitOrientation::SizedLeft, 250);
  EXPECT_FALSE(isOnSplitterGap(s, 249, 5, true, false));
  EXPECT_FALSE(isOnSplitterGap(splitter(SplitOrientation::SizedLeft, 250, 0), 250, 5));
}

}  // namespace
}  // namespace orvane
