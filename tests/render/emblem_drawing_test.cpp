// The emblem walk: colours, hidden subtrees, stacking, effective vertices, missing roots and
// the background tiles.
#include "render/emblem_drawing.h"

#include <gtest/gtest.h>

#include "editing/layer_transforms.h"
#include "render/editor_picture.h"
#include "render_test_support.h"

namespace orvane {
namespace {

using test::addGroup;
using test::addLayer;
using test::pixelAt;

// An 8 x 8 target showing emblem units -4 ... 4 at scale 1, cleared to black.
struct SmallScene {
  EmblemDocument document;
  Renderer renderer;
  SmallScene() {
    test::newEmblem(document, 8, 8);
    test::setUpWithAtlas(renderer, 8, 8);
    renderer.beginFrame(0xFF000000);
  }
  EmblemNode* root() { return document.root(); }
  bool draw(bool conversion = false) { return drawEmblem(renderer, document, 1.0f, conversion); }
};

TEST(EmblemDrawing, LayersShowTheirConvertedOrPlainColour) {
  SmallScene on, off;
  addLayer(on.document, on.root(), -4, -4, 4, 4, 0xFF4080C0);
  addLayer(off.document, off.root(), -4, -4, 4, 4, 0xFF4080C0);
  ASSERT_TRUE(on.draw(true));
  ASSERT_TRUE(off.draw(false));
  EXPECT_EQ(pixelAt(on.renderer, 3, 3), 0xFF115498u);   // (17, 84, 152)
  EXPECT_EQ(pixelAt(off.renderer, 3, 3), 0xFF4383C3u);  // (67, 131, 195)
}

TEST(EmblemDrawing, EmblemYPointsDownAndPendingTransformsAreDrawn) {
  SmallScene s;
  EmblemNode* layer = addLayer(s.document, s.root(), -4, -4, 0, 0, 0xFFFFFFFF);
  // A pending move of (+4, 0): the layer is drawn over the top right quarter.
  setPendingMove(layer, 14, 3, 10, 3);
  ASSERT_TRUE(s.draw());
  EXPECT_EQ(pixelAt(s.renderer, 5, 1), 0xFFFFFFFFu);
  EXPECT_EQ(pixelAt(s.renderer, 1, 1), 0xFF000000u);
  EXPECT_EQ(pixelAt(s.renderer, 5, 6), 0xFF000000u);
}

TEST(EmblemDrawing, HiddenNodesHideTheirWholeSubtree) {
  SmallScene s;
  EmblemNode* hidden = addGroup(s.document, s.root(), false);
  addLayer(s.document, hidden, -4, -4, 4, 4, 0xFFFF0000);  // visible, inside a hidden group
  EmblemNode* shown = addGroup(s.document, s.root());
  addLayer(s.document, shown, -4, -4, 0, 4, 0xFF0000FF);
  addLayer(s.document, s.root(), 0, -4, 4, 4, 0xFF00FF00, test::kSolidPart, false);
  ASSERT_TRUE(s.draw());
  EXPECT_EQ(pixelAt(s.renderer, 1, 4), 0xFF0303FFu);
  EXPECT_EQ(pixelAt(s.renderer, 6, 4), 0xFF000000u);
}

TEST(EmblemDrawing, TheFirstSiblingLiesOnTop) {
  SmallScene s;
  addLayer(s.document, s.root(), -4, -4, 2, 2, 0xFFFF0000);
  EmblemNode* group = addGroup(s.document, s.root());
  addLayer(s.document, group, -2, -2, 4, 4, 0xFF0000FF);
  addLayer(s.document, group, -4, -4, 4, 4, 0xFF00FF00);
  ASSERT_TRUE(s.draw());
  EXPECT_EQ(pixelAt(s.renderer, 3, 3), 0xFFFF0303u);  // red over the group
  EXPECT_EQ(pixelAt(s.renderer, 7, 7), 0xFF0303FFu);  // blue over green inside the group
  EXPECT_EQ(pixelAt(s.renderer, 7, 0), 0xFF03FF03u);
}

TEST(EmblemDrawing, WithoutAnInfoRootOnlyTheBackgroundIsDrawn) {
  SmallScene s;
  s.document.clear();
  EXPECT_FALSE(s.draw());
  EXPECT_EQ(pixelAt(s.renderer, 3, 3), 0xFF000000u);

  // The editor picture of an empty document equals the bare background.
  Renderer editor, background;
  test::setUpWithAtlas(editor, kEditorPaneWidth, kEditorPaneHeight);
  test::setUpWithAtlas(background, kEditorPaneWidth, kEditorPaneHeight);
  drawEditorPicture(editor, s.document, nullptr, {});
  background.beginFrame(kBackdropColour);
  drawBackgroundTiles(background, kEditorScale);
  const PixelView a = editor.backBuffer(), b = background.backBuffer();
  EXPECT_TRUE(std::equal(a.pixels, a.pixels + a.width * a.height, b.pixels));
}

TEST(EmblemDrawing, BackgroundTilesSpanXFromMinus97To97AndYFromMinus50) {
  Renderer r;
  test::setUpWithAtlas(r, 800, 520);  // emblem units -100 ... 100 by -65 ... 65 at scale 4
  r.beginFrame(kBackdropColour);
  drawBackgroundTiles(r, 4.0f);
  const std::uint32_t tile = kTileColour, backdrop = kBackdropColour | 0xFF000000;
  EXPECT_EQ(pixelAt(r, 11, 300), backdrop);  // x = -97 is column 400 - 388 = 12
  EXPECT_EQ(pixelAt(r, 12, 300), tile);
  EXPECT_EQ(pixelAt(r, 787, 300), tile);
  EXPECT_EQ(pixelAt(r, 788, 300), backdrop);
  EXPECT_EQ(pixelAt(r, 400, 59), backdrop);  // y = -50 is row 260 - 200 = 60
  EXPECT_EQ(pixelAt(r, 400, 60), tile);
  EXPECT_EQ(pixelAt(r, 400, 519), tile);
}

}  // namespace
}  // namespace orvane
