// One-pixel lines: the closed outline lights each pixel of its path once, and the emblem frame
// lies on the outermost pixels of the emblem's area.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "render/editor_picture.h"
#include "render_test_support.h"

namespace orvane {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet litPixels(const PixelView& view, std::uint32_t background) {
  PixelSet lit;
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) {
      if (view.at(x, y) != background) lit.insert({x, y});
    }
  }
  return lit;
}

PixelSet border(int x0, int y0, int x1, int y1) {
  PixelSet s;
  for (int x = x0; x <= x1; ++x) s.insert({x, y0}), s.insert({x, y1});
  for (int y = y0; y <= y1; ++y) s.insert({x0, y}), s.insert({x1, y});
  return s;
}

TEST(Outline, LightsEachPixelOfTheClosedPathOnce) {
  Renderer r;
  ASSERT_TRUE(r.create(8, 8));
  r.beginFrame(0xFF000000);
  // Corners on the centres of pixels (1, 2) ... (5, 6); half-transparent to catch repeats.
  r.drawOutline({-2.5f, 1.5f}, {-2.5f, -2.5f}, {1.5f, 1.5f}, {1.5f, -2.5f}, 0x80FFFFFF);
  const PixelSet lit = litPixels(r.backBuffer(), 0xFF000000);
  EXPECT_EQ(lit, border(1, 2, 5, 6));
  for (const auto& [x, y] : lit) EXPECT_EQ(r.backBuffer().at(x, y), 0xFF808080u);
}

TEST(Outline, SlantedLinesStepOnePixelPerColumn) {
  Renderer r;
  ASSERT_TRUE(r.create(8, 8));
  r.beginFrame(0xFF000000);
  // A flat diamond: every segment is steeper in x, so each column holds one or two pixels.
  r.drawOutline({0, 3.5f}, {-3.5f, 0}, {3.5f, 0}, {0, -3.5f}, 0xFFFFFFFF);
  const PixelSet lit = litPixels(r.backBuffer(), 0xFF000000);
  EXPECT_TRUE(lit.count({0, 4}));  // the left corner (-3.5, 0) is the centre of (0, 3.5 -> 4)
  EXPECT_TRUE(lit.count({4, 0}));
  for (int x = 0; x < 8; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 8; ++y) inColumn += int(lit.count({x, y}));
    EXPECT_GE(inColumn, 1) << x;
    EXPECT_LE(inColumn, 2) << x;
  }
}

TEST(EmblemFrame, StandardEmblemLightsThePanesOutermostRowsAndColumns) {
  EmblemDocument document;
  test::newEmblem(document, 192, 96);
  Renderer r;
  ASSERT_TRUE(r.create(kEditorPaneWidth, kEditorPaneHeight));
  r.beginFrame(0xFF000000);
  drawEmblemFrame(r, document, kEditorScale);
  // Rows 0 and 383, columns 0 and 767, in orange, and nothing else.
  EXPECT_EQ(litPixels(r.backBuffer(), 0xFF000000), border(0, 0, 767, 383));
  EXPECT_EQ(r.backBuffer().at(767, 200), kFrameColour);

  test::newEmblem(document, 32, 32);
  r.beginFrame(0xFF000000);
  drawEmblemFrame(r, document, kEditorScale);
  // The small emblem's 128 x 128 pixels around the centre: columns 320 ... 447.
  EXPECT_EQ(litPixels(r.backBuffer(), 0xFF000000), border(320, 128, 447, 255));

  document.clear();
  r.beginFrame(0xFF000000);
  drawEmblemFrame(r, document, kEditorScale);
  EXPECT_TRUE(litPixels(r.backBuffer(), 0xFF000000).empty());
}

}  // namespace
}  // namespace orvane
