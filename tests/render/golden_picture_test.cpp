// Whole-pipeline guards: pictures compared pixel for pixel with PNGs in tests/data/golden.
// After a deliberate change of the pictures, run with ORVANE_UPDATE_GOLDEN=1 to rewrite them,
// and look at every rewritten file before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editing/layer_transforms.h"
#include "render/editor_picture.h"
#include "render/image_export.h"
#include "render_test_support.h"

namespace orvane {
namespace {

using test::addGroup;
using test::addLayer;

Picture pictureOf(const PixelView& v) {
  Picture p{v.width, v.height, std::vector<std::uint8_t>(std::size_t(v.width) * v.height * 4)};
  for (int i = 0; i < v.width * v.height; ++i) {
    p.rgba[4 * i] = std::uint8_t(v.pixels[i] >> 16),
               p.rgba[4 * i + 1] = std::uint8_t(v.pixels[i] >> 8);
    p.rgba[4 * i + 2] = std::uint8_t(v.pixels[i]), p.rgba[4 * i + 3] = 0xFF;
  }
  return p;
}

void expectMatchesGolden(const PixelView& view, const std::string& name) {
  const std::string path = test::testDataPath("golden/" + name);
  const Picture actual = pictureOf(view);
  if (std::getenv("ORVANE_UPDATE_GOLDEN")) {
    ASSERT_TRUE(writePictureFile(path, actual, ImageFormat::Png, false));
    GTEST_SKIP() << "rewrote " << path;
  }
  Picture golden;
  std::string error;
  ASSERT_TRUE(readPictureFile(path, golden, &error)) << path << ": " << error;
  ASSERT_EQ(golden.width, actual.width);
  ASSERT_EQ(golden.height, actual.height);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < golden.rgba.size(); i += 4) {
    differing += !std::equal(&golden.rgba[i], &golden.rgba[i] + 4, &actual.rgba[i]);
  }
  if (differing > 0) {
    const auto out = std::filesystem::temp_directory_path() / ("actual_" + name);
    writePictureFile(out, actual, ImageFormat::Png, false);
    ADD_FAILURE() << differing << " pixels differ from " << path << "; see " << out;
  }
}

// A busy emblem: discs in several colours and alphas, a gradient, a crossed quad, a hidden
// layer and a group with a pending rotation.
void busyEmblem(EmblemDocument& d, int width, int height) {
  test::newEmblem(d, width, height);
  EmblemNode* root = d.root();
  addLayer(d, root, -20, -20, 20, 20, 0xBFFF4020, 3);
  EmblemNode* group = addGroup(d, root);
  addLayer(d, group, -40, -30, 0, 10, 0xFF20A0FF, 17);
  addLayer(d, group, -10, -10, 30, 30, 0x7F40FF40, test::kGradientPart);
  setPendingRotation(group, 0.3f, -5, 0);
  EmblemNode* crossed = addLayer(d, root, 20, -20, 60, 20, 0xFFFFFF00, 100);
  LayerRecord r = crossed->layer();
  std::swap(r.ltx, r.rtx);
  EmblemDocument::setLayerRecord(crossed, r);
  addLayer(d, root, -90, -45, 90, 45, 0xFF808080, test::kCheckerPart);
  addLayer(d, root, -96, -48, 96, 48, 0xFFFF0000, test::kSolidPart, false);
}

TEST(GoldenPictures, EditorPictureWithSelectionAndFrame) {
  EmblemDocument d;
  busyEmblem(d, 192, 96);
  Renderer r;
  test::setUpWithAtlas(r, kEditorPaneWidth, kEditorPaneHeight);
  drawEditorPicture(r, d, d.root()->firstChild()->next(), {true, false, false});
  expectMatchesGolden(r.backBuffer(), "editor_selection.png");
}

TEST(GoldenPictures, BlurredSmallEmblemExport) {
  EmblemDocument d;
  busyEmblem(d, 32, 32);
  Renderer r;
  ASSERT_TRUE(renderExportPicture(r, d, test::syntheticAtlas(), {3.0f, true, 0, true, true}));
  expectMatchesGolden(r.backBuffer(), "export_small_blurred.png");
}

TEST(GoldenPictures, MinifiedExportOnAPlainBackground) {
  EmblemDocument d;
  busyEmblem(d, 192, 96);
  Renderer r;
  ASSERT_TRUE(
      renderExportPicture(r, d, test::syntheticAtlas(), {0.75f, false, 0x203040, false, false}));
  expectMatchesGolden(r.backBuffer(), "export_minified.png");
}

}  // namespace
}  // namespace orvane
