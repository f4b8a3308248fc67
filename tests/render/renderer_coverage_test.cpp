// Where quads land: the pixel-centre rule, the top-left fill rule, crossed quads, projection,
// viewport, scissor and render targets.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>

#include "render/renderer.h"

namespace orvane {
namespace {

constexpr AtlasCell kFull{0, 0, 1, 1};
constexpr std::uint32_t kBlack = 0xFF000000;

// Draws an axis-aligned world rectangle without a texture (plain colour).
void rect(Renderer& r, float left, float top, float right, float bottom, std::uint32_t colour) {
  r.drawQuad({left, top}, {left, bottom}, {right, top}, {right, bottom}, colour, kFull);
}

std::set<std::pair<int, int>> litPixels(const Renderer& r, std::uint32_t background = kBlack) {
  std::set<std::pair<int, int>> lit;
  const PixelView view = r.backBuffer();
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) {
      if (view.at(x, y) != background) lit.insert({x, y});
    }
  }
  return lit;
}

TEST(RendererPosition, PixelCentresSitHalfAPixelInFromIntegerWorldCoordinates) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 2));
  r.beginFrame(kBlack);
  // Pixel (i, j) of a 4 x 2 target has its centre at world (i + 0.5 - 2, 1 - j - 0.5).
  rect(r, -2, 1, -1, 0, 0xFFFFFFFF);  // exactly pixel (0, 0)
  rect(r, 1, 0, 2, -1, 0xFFFFFFFF);   // exactly pixel (3, 1)
  EXPECT_EQ(litPixels(r), (std::set<std::pair<int, int>>{{0, 0}, {3, 1}}));
}

TEST(RendererPosition, ProjectionUnlikeTheViewportScalesAndViewportClips) {
  Renderer r;
  ASSERT_TRUE(r.create(8, 8));
  r.beginFrame(kBlack);
  r.setProjection(4, 4);  // one world unit is two pixels
  rect(r, 0, 1, 1, 0, 0xFFFFFFFF);
  EXPECT_EQ(litPixels(r), (std::set<std::pair<int, int>>{{4, 2}, {5, 2}, {4, 3}, {5, 3}}));

  r.beginFrame(kBlack);
  r.setProjection(4, 4);
  r.setViewport(4, 4);  // the whole world now maps onto the top-left 4 x 4 pixels
  rect(r, -10, 10, 10, -10, 0xFFFFFFFF);
  EXPECT_EQ(litPixels(r).size(), 16u);
  EXPECT_EQ(r.backBuffer().at(3, 3), 0xFFFFFFFFu);
  EXPECT_EQ(r.backBuffer().at(4, 4), kBlack);
}

TEST(RendererCoverage, QuadsSharingAnEdgeNeitherOverlapNorLeaveAGap) {
  Renderer r;
  ASSERT_TRUE(r.create(6, 4));
  r.beginFrame(kBlack);
  // Half-transparent, so a pixel drawn twice would come out brighter. The shared vertical edge
  // x = -0.5 runs exactly through the centres of column 2, which belongs to the quad on its
  // right (a left edge); the slanted shared edge crosses rows at fractional positions.
  rect(r, -3, 2, -0.5f, -2, 0x80FF0000);
  rect(r, -0.5f, 2, 3, -2, 0x800000FF);
  r.drawQuad({0.25f, 2}, {1.75f, -2}, {3, 2}, {3, -2}, 0x8000FF00, kFull);
  r.drawQuad({-3, 2}, {-3, -2}, {0.25f, 2}, {1.75f, -2}, 0x8000FF00, kFull);
  // Red (or blue) once: 128; green once over it: 128 * 127 / 255 -> 64 and 128.
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(r.backBuffer().at(x, y), x < 2 ? 0xFF408000u : 0xFF008040u) << x << "," << y;
    }
  }
}

TEST(RendererCoverage, TheQuadDiagonalIsCoveredOnce) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 4));
  r.beginFrame(kBlack);
  // The diagonal lb-rt of this square runs through the centres (0,3), (1,2), (2,1), (3,0).
  rect(r, -2, 2, 2, -2, 0x80FFFFFF);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(r.backBuffer().at(x, y), 0xFF808080u) << x << "," << y;
  }
}

TEST(RendererCoverage, CrossedQuadFillsBothTrianglesAndOverlapsWhereTheyMeet) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 4));
  r.beginFrame(kBlack);
  // lt and rt swapped: triangles (lb, lt, rb), the lower right half, and (lt, rb, rt), the
  // upper left half above the other diagonal; they overlap in the right quarter.
  r.drawQuad({2, 2}, {-2, -2}, {-2, 2}, {2, -2}, 0x80FFFFFF, kFull);
  EXPECT_EQ(r.backBuffer().at(3, 1), 0xFFC0C0C0u);  // world (1.5, 0.5): in both
  EXPECT_EQ(r.backBuffer().at(1, 0), 0xFF808080u);  // world (-0.5, 1.5): upper triangle only
  EXPECT_EQ(r.backBuffer().at(2, 3), 0xFF808080u);  // world (0.5, -1.5): lower triangle only
  EXPECT_EQ(r.backBuffer().at(0, 2), kBlack);       // world (-1.5, -0.5): in neither
}

TEST(RendererCoverage, ScissorAndRenderTargetsLimitWhatIsWritten) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 4));
  r.beginFrame(kBlack);
  r.setScissor(PixelRect{1, 1, 3, 2});
  r.beginFrame(0xFF102030);
  rect(r, -2, 2, 2, -2, 0xFFFFFFFF);
  EXPECT_EQ(litPixels(r), (std::set<std::pair<int, int>>{{1, 1}, {2, 1}}));
  r.setScissor(std::nullopt);

  const TexturePtr target = r.createRenderTexture(2, 2);
  ASSERT_TRUE(target);
  r.setViewport(1, 1);
  r.setRenderTarget(target);  // resets the viewport to the whole 2 x 2 texture
  r.setProjection(2, 2);
  r.beginFrame(0x00123456);
  rect(r, -1, 1, 0, 0, 0xFFFFFFFF);
  EXPECT_EQ(target->pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(target->pixel(1, 1), 0x00123456u);  // render textures keep the clear's alpha
  EXPECT_EQ(litPixels(r).size(), 2u);           // the back buffer is untouched
}

TEST(RendererCoverage, ExtremeAndBrokenCoordinatesAreSafe) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 4));
  r.beginFrame(kBlack);
  rect(r, -1e9f, 1e9f, 1e9f, -1e9f, 0xFFFFFFFF);  // clipped, still fills the target
  EXPECT_EQ(litPixels(r).size(), 16u);
  r.beginFrame(kBlack);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // Only the triangle without the broken vertex lb is drawn: (lt, rb, rt), whose diagonal is
  // a left edge and so keeps the centres on it.
  r.drawQuad({-1, 1}, {nan, -1}, {1, 1}, {1, -1}, 0xFFFFFFFF, kFull);
  EXPECT_EQ(litPixels(r), (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {2, 2}}));
}

TEST(RendererLifecycle, RefusesBadSizesAndReleasesTwice) {
  Renderer r;
  EXPECT_FALSE(r.create(0, 4));
  EXPECT_FALSE(r.create(4, kMaxTextureSide + 1));
  EXPECT_FALSE(r.isCreated());
  EXPECT_TRUE(r.drawQuad({0, 0}, {0, 0}, {0, 0}, {0, 0}, 0, kFull));  // nothing to draw into
  r.release();
  r.release();
  ASSERT_TRUE(r.create(2, 2));
  int presented = 0;
  r.setPresentHook([&](const PixelView& v) { presented += v.width * v.height; });
  r.endFrame();
  EXPECT_EQ(presented, 4);
}

}  // namespace
}  // namespace orvane
