// Image export: picture sizes, refusals, the export's tile geometry, the blurred square, and
// agreement with the editor's picture.
#include "render/image_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "../support/child_memory.h"
#include "render/editor_picture.h"
#include "render/emblem_drawing.h"
#include "render_test_support.h"

namespace orvane {
namespace {

using test::addLayer;

std::span<const std::uint16_t> atlas() { return test::syntheticAtlas(); }

bool render(Renderer& r, const EmblemDocument& d, ExportSettings s, std::string* error = nullptr) {
  return renderExportPicture(r, d, atlas(), s, error);
}

TEST(ImageExport, PictureSizeIsTheTruncatedScaledEmblem) {
  EmblemDocument d;
  test::newEmblem(d, 192, 96);
  const std::pair<float, std::pair<int, int>> cases[] = {
      {4.0f, {768, 384}}, {1.5f, {288, 144}}, {0.1f, {19, 9}}};
  for (const auto& [scale, size] : cases) {
    for (bool blur : {false, true}) {
      Renderer r;
      ASSERT_TRUE(render(r, d, {scale, true, 0, true, blur})) << scale;
      EXPECT_EQ(r.backBuffer().width, size.first);
      EXPECT_EQ(r.backBuffer().height, size.second);
    }
  }
}

TEST(ImageExport, RefusesBeforeMakingAnything) {
  EmblemDocument d;
  test::newEmblem(d, 192, 96);
  Renderer r;
  std::string error;
  for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity(), 0.001f, 100.0f}) {
    EXPECT_FALSE(render(r, d, {bad, true, 0, true, false}, &error)) << bad;
    EXPECT_FALSE(r.isCreated());
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(render(r, d, {40.0f, true, 0, true, true}));  // blur square above 8192
  EXPECT_FALSE(renderExportPicture(r, d, atlas().first(100), {}));
  EXPECT_FALSE(exportImage(d, atlas(), "", ImageFormat::Png, {4, true, 0, true, false}));
  d.clear();
  EXPECT_FALSE(render(r, d, {}));
}

TEST(ImageExport, PicturesAboveTheLimitAreRefusedBeforeAnyMemoryIsTaken) {
  // A tiny file can describe a 4096 x 4096 emblem: 16384 x 16384 pixels at the default scale.
  EmblemDocument d;
  test::newEmblem(d, 4096, 4096);
  ASSERT_TRUE(exportAtlasTexture(atlas()));  // made here once, not in the child
  EXPECT_LT(peakMegabytesOfChild([&] {
              Renderer r;
              std::string error;
              return !render(r, d, {}, &error) && error == "picture would be above 256 megapixels";
            }),
            16);
  test::newEmblem(d, 16001, 16000);
  Renderer r;
  EXPECT_FALSE(render(r, d, {1.0f, true, 0, true, false}));
  EXPECT_FALSE(r.isCreated());
  // What an export costs grows with its pixels and, with blur, with its scale.
  EXPECT_GT(exportMemoryBytes(2000, 1000, {1.0f}), 14'000'000u);
  EXPECT_GT(exportMemoryBytes(200, 100, {32.0f, true, 0, true, true}),
            exportMemoryBytes(200, 100, {32.0f}) + 1'000'000'000u);
}

TEST(ImageExport, SmallEmblemTilesAreSixUnitsEveryFourFromMinus17Minus18) {
  EmblemDocument d;
  test::newEmblem(d, 32, 32);
  Renderer plain, blurred;
  ASSERT_TRUE(render(plain, d, {4.0f, true, 0, true, false}));
  ASSERT_TRUE(render(blurred, d, {4.0f, true, 0, true, true}));
  // Five rows of tiles reach y = -18 + 4 * 4 + 6 = 4, row (4 + 16) * 4 = 80 of the picture;
  // below lies the backdrop. With blur the tiles are 26 units every 24 and cover everything.
  for (int x : {8, 64, 127}) {
    EXPECT_EQ(test::pixelAt(plain, x, 79), kTileColour);
    EXPECT_EQ(test::pixelAt(plain, x, 80), kBackdropColour | 0xFF000000);
    EXPECT_EQ(test::pixelAt(blurred, x, 120), kTileColour);
  }
}

// Sum and centre of brightness (the red channel) over a picture.
void brightness(const PixelView& v, double& sum, double& cx, double& cy) {
  sum = cx = cy = 0;
  for (int y = 0; y < v.height; ++y) {
    for (int x = 0; x < v.width; ++x) {
      const double b = (v.at(x, y) >> 16) & 0xFF;
      sum += b, cx += b * x, cy += b * y;
    }
  }
  cx /= sum, cy /= sum;
}

TEST(ImageExport, BlurredSmallEmblemKeepsSizeAndPlace) {
  EmblemDocument d;
  test::newEmblem(d, 32, 32);
  addLayer(d, d.root(), -12, -10, -2, 2, 0xFFFFFFFF);
  Renderer plain, blurred;
  const ExportSettings settings{4.0f, false, 0x000000, false, false};
  ASSERT_TRUE(render(plain, d, settings));
  ExportSettings withBlur = settings;
  withBlur.blur = true;
  ASSERT_TRUE(render(blurred, d, withBlur));
  ASSERT_EQ(blurred.backBuffer().width, 128);
  ASSERT_EQ(blurred.backBuffer().height, 128);
  double s0, x0, y0, s1, x1, y1;
  brightness(plain.backBuffer(), s0, x0, y0);
  brightness(blurred.backBuffer(), s1, x1, y1);
  EXPECT_NEAR(x1, x0, 0.25);
  EXPECT_NEAR(y1, y0, 0.25);
  EXPECT_NEAR(s1 / s0, 0.998975 * 0.998975, 0.01);
  // Blurred: the hard edge at x = -12 (column 16) now ramps.
  EXPECT_EQ((test::pixelAt(plain, 15, 40) >> 16) & 0xFF, 0u);
  EXPECT_GT((test::pixelAt(blurred, 15, 40) >> 16) & 0xFF, 0u);
  EXPECT_LT((test::pixelAt(blurred, 16, 40) >> 16) & 0xFF, 255u);
}

TEST(ImageExport, StandardEmblemExportEqualsTheEditorPictureInViewerMode) {
  EmblemDocument d;
  test::newEmblem(d, 192, 96);
  addLayer(d, d.root(), -60, -30, 10, 40, 0xC04080C0, 7);
  addLayer(d, d.root(), -90, -40, 90, 40, 0xFF808080, test::kGradientPart);
  for (bool blur : {false, true}) {
    Renderer exported, editor;
    ASSERT_TRUE(render(exported, d, {4.0f, true, 0, true, blur}));
    test::setUpWithAtlas(editor, kEditorPaneWidth, kEditorPaneHeight);
    drawEditorPicture(editor, d, d.root(), {true, blur, true});
    const PixelView a = exported.backBuffer(), b = editor.backBuffer();
    ASSERT_EQ(a.width, b.width);
    EXPECT_TRUE(std::equal(a.pixels, a.pixels + a.width * a.height, b.pixels)) << blur;
  }
}

TEST(ImageExport, ARendererUsedForManyExportsDrawsWhatFreshOnesDraw) {
  // Sizes and blur change from picture to picture, so kept render textures and the blur's kept
  // rows meet pictures of other sizes.
  EmblemDocument d;
  test::newEmblem(d, 64, 48);
  addLayer(d, d.root(), -30, -20, 10, 22, 0xC04080C0, 7);
  addLayer(d, d.root(), -5, -24, 32, 24, 0xFF808080, test::kGradientPart);
  const ExportSettings sequence[] = {{4.0f, true, 0, true, true},
                                     {1.0f, false, 0x123456, true, true},
                                     {2.5f, true, 0, false, false},
                                     {4.0f, true, 0, true, true}};
  Renderer reused;
  for (const ExportSettings& settings : sequence) {
    Renderer fresh;
    ASSERT_TRUE(render(fresh, d, settings));
    ASSERT_TRUE(render(reused, d, settings));
    const PixelView a = fresh.backBuffer(), b = reused.backBuffer();
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    EXPECT_TRUE(std::equal(a.pixels, a.pixels + a.width * a.height, b.pixels)) << settings.scale;
  }
}

TEST(ImageExport, WritesAnOpaquePictureFileOrReportsFailure) {
  EmblemDocument d;
  test::newEmblem(d, 32, 32);
  addLayer(d, d.root(), -8, -8, 8, 8, 0x80808080);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("orvane_export_" + std::to_string(::getpid()) + ".tga");
  ASSERT_TRUE(exportImage(d, atlas(), path, ImageFormat::Tga, {1.5f, true, 0, true, false}));
  Picture back;
  ASSERT_TRUE(readPictureFile(path, back));
  EXPECT_EQ(back.width, 48);
  EXPECT_EQ(back.rgba[3], 0xFF);
  std::filesystem::remove(path);
  EXPECT_FALSE(exportImage(d, atlas(), path.parent_path() / "no" / "e.png", ImageFormat::Png,
                           {1, true, 0, true, false}));
}

}  // namespace
}  // namespace orvane
