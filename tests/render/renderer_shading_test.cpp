// What colour a covered pixel gets: texel alignment, 4-bit texels, modulation, bilinear
// magnification, filtered minification, cell clamping and the blend arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/pixel_blend.h"
#include "render/renderer.h"

namespace orvane {
namespace {

constexpr AtlasCell kFull{0, 0, 1, 1};

TexturePtr argbTexture(Renderer& r, int w, int h, const std::vector<std::uint32_t>& texels) {
  return r.createTextureFromPixels(w, h, texels.data(), PixelFormat::A8R8G8B8, 32);
}

TEST(BlendArithmetic, RoundsToNearestEverywhere) {
  for (std::uint32_t x = 0; x <= 255 * 255; ++x) {
    ASSERT_EQ(div255(x), std::uint32_t(std::floor(x / 255.0 + 0.5))) << x;
  }
  // 128 of red over blue: 255 * 128 / 255 = 128 and 255 * 127 / 255 = 127.
  EXPECT_EQ(blendOver(0x80FF0000, 0xFF0000FF, false), 0xFF80007Fu);
  // With alpha kept: 128 * 128 / 255 + 64 * 127 / 255 = 64.25 + 31.87 -> 96.
  EXPECT_EQ(blendOver(0x80FF0000, 0x400000FF, true) >> 24, 96u);
  EXPECT_EQ(modulate(0xFF884422, 0x80808080), 0x80442211u);
}

TEST(RendererShading, TexelCentresLandOnPixelCentres) {
  for (bool filtered : {false, true}) {
    Renderer r;
    ASSERT_TRUE(r.create(6, 4));
    if (filtered) r.useAnisotropicFiltering();
    std::vector<std::uint32_t> texels(16);
    for (int i = 0; i < 16; ++i) texels[i] = 0xFF000000u | std::uint32_t(i * 0x0F0B07);
    r.setTexture(argbTexture(r, 4, 4, texels));
    r.beginFrame(0xFF000000);
    // A 4 x 4 quad on integer world coordinates, one pixel right of the target's left edge.
    r.drawQuad({-2, 2}, {-2, -2}, {2, 2}, {2, -2}, 0xFFFFFFFF, kFull);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(r.backBuffer().at(x + 1, y), texels[y * 4 + x]) << filtered << " " << x << y;
      }
    }
  }
}

TEST(RendererShading, FourBitTexelsAreFractionsOfFifteenModulatedByTheColour) {
  Renderer r;
  ASSERT_TRUE(r.create(2, 1));
  const std::uint16_t texels[2] = {0xF842, 0x8FFF};
  r.setTexture(r.createTextureFromPixels(2, 1, texels, PixelFormat::A4R4G4B4, 16));
  EXPECT_FALSE(r.createTextureFromPixels(2, 1, texels, PixelFormat::A4R4G4B4, 32));
  r.beginFrame(0xFF000000);
  r.drawQuad({-1, 0.5f}, {-1, -0.5f}, {1, 0.5f}, {1, -0.5f}, 0xFF808080, kFull);
  // 8/15 = 136/255, times 128/255 -> 68; 4/15 -> 34; 2/15 -> 17.
  EXPECT_EQ(r.backBuffer().at(0, 0), 0xFF442211u);
  // Alpha 8/15 = 136: 255 * 128 / 255 = 128 blended with 136 over black -> 68.
  EXPECT_EQ(r.backBuffer().at(1, 0), 0xFF444444u);
}

TEST(RendererShading, MagnifiedTexturesAreBilinearAndClampedToTheCell) {
  Renderer r;
  ASSERT_TRUE(r.create(4, 1));
  r.useAnisotropicFiltering();
  // Cell 0 is the left texel pair (black, white); cell 1 is red and must never show.
  r.setTexture(argbTexture(r, 4, 1, {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFFFF0000}));
  r.beginFrame(0xFF000000);
  r.drawQuad({-2, 0.5f}, {-2, -0.5f}, {2, 0.5f}, {2, -0.5f}, 0xFFFFFFFF, {0, 0, 0.5f, 1});
  // Pixel centres read texel coordinates -0.25, 0.25, 0.75 and 1.25.
  EXPECT_EQ(r.backBuffer().at(0, 0), 0xFF000000u);
  EXPECT_EQ(r.backBuffer().at(1, 0), 0xFF404040u);  // 255 * 64 / 256 = 63.75 -> 64
  EXPECT_EQ(r.backBuffer().at(2, 0), 0xFFBFBFBFu);  // 255 * 192 / 256 = 191.25 -> 191
  EXPECT_EQ(r.backBuffer().at(3, 0), 0xFFFFFFFFu);  // clamped inside the cell, not red
}

// A 128 x 64 texture: a 1-texel black and white checker in the left cell, red in the right.
std::vector<std::uint32_t> checkerAndRed() {
  std::vector<std::uint32_t> t(128 * 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      t[y * 128 + x] = x >= 64 ? 0xFFFF0000 : ((x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    }
  }
  return t;
}

TEST(RendererShading, MinifiedTexturesAreFilteredInsideTheCell) {
  for (bool filtered : {false, true}) {
    Renderer r;
    ASSERT_TRUE(r.create(8, 8));
    if (filtered) r.useAnisotropicFiltering();
    r.setTexture(argbTexture(r, 128, 64, checkerAndRed()));
    r.beginFrame(0xFF000000);
    // 64 texels onto 8 pixels, and onto 8 x 2 pixels (anisotropic).
    r.drawQuad({-4, 4}, {-4, -4}, {4, 4}, {4, -4}, 0xFFFFFFFF, {0, 0, 0.5f, 1});
    int extremes = 0;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const std::uint32_t p = r.backBuffer().at(x, y);
        const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF;
        if (red == 0 || red == 255) {
          ++extremes;
        }
        if (filtered) {
          EXPECT_NEAR(red, 128, 2) << x << "," << y;
          EXPECT_EQ(red, green);  // no red from the neighbouring cell
        }
      }
    }
    if (!filtered) {
      EXPECT_EQ(extremes, 64);  // point sampling aliases
    }
  }
  Renderer r;
  ASSERT_TRUE(r.create(8, 2));
  r.useAnisotropicFiltering();
  r.setTexture(argbTexture(r, 128, 64, checkerAndRed()));
  r.drawQuad({-4, 1}, {-4, -1}, {4, 1}, {4, -1}, 0xFFFFFFFF, {0, 0, 0.5f, 1});
  for (int x = 0; x < 8; ++x) EXPECT_NEAR(int((r.backBuffer().at(x, 1) >> 8) & 0xFF), 128, 2);
}

}  // namespace
}  // namespace orvane
