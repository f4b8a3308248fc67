// The two-pass blur against its weight table: spread of one bright pixel, wrap addressing,
// all four channels, and the blur square of the drawing paths.
#include "render/blur.h"

#include <gtest/gtest.h>

#include "render/renderer.h"

namespace orvane {
namespace {

// Blurs a 16 x 16 render texture holding one white pixel at (px, py) along x into `mid` and
// along y into `out`, both 16 x 16 render textures.
void blurOnePixel(Renderer& r, int px, int py, TexturePtr& mid, TexturePtr& out) {
  ASSERT_TRUE(r.create(16, 16));
  const TexturePtr source = r.createRenderTexture(16, 16);
  mid = r.createRenderTexture(16, 16);
  out = r.createRenderTexture(16, 16);
  source->pixels()[py * 16 + px] = 0xFFFFFFFF;
  r.setBlurSize(16, 16);
  r.setRenderTarget(mid);
  r.blurPass(source, 0, 8);
  r.setRenderTarget(out);
  r.blurPass(mid, 1, 8);
}

TEST(Blur, OneBrightPixelSpreadsByTheWeightsInAllChannels) {
  Renderer r;
  TexturePtr mid, out;
  blurOnePixel(r, 8, 8, mid, out);
  // round(255 * weight) for the offsets -6 ... 6, in alpha as in colour.
  const int spread[13] = {1, 2, 7, 17, 31, 45, 51, 45, 31, 17, 7, 2, 1};
  for (int x = 0; x < 16; ++x) {
    const int d = x - 8;
    const std::uint32_t v = d >= -6 && d <= 6 ? std::uint32_t(spread[d + 6]) : 0;
    EXPECT_EQ(mid->pixel(x, 8), v * 0x01010101u) << x;
    EXPECT_EQ(mid->pixel(x, 7), 0u);
  }
  // The second pass weighs the stored 8-bit values: 0.199471 * 51 = 10.17 -> 10,
  // 0.176033 * 51 = 8.98 -> 9, 0.002216 * 51 = 0.11 -> 0, 0.199471 * 17 = 3.39 -> 3.
  EXPECT_EQ(out->pixel(8, 8), 10 * 0x01010101u);
  EXPECT_EQ(out->pixel(8, 9), 9 * 0x01010101u);
  EXPECT_EQ(out->pixel(8, 7), 9 * 0x01010101u);
  EXPECT_EQ(out->pixel(8, 14), 0u);
  EXPECT_EQ(out->pixel(11, 8), 3 * 0x01010101u);
}

TEST(Blur, TapsWrapAroundTheTextureEdges) {
  Renderer r;
  TexturePtr mid, out;
  blurOnePixel(r, 0, 15, mid, out);
  EXPECT_EQ(mid->pixel(15, 15) & 0xFF, 45u);  // offset -1 wraps to the right edge
  EXPECT_EQ(mid->pixel(10, 15) & 0xFF, 1u);   // offset -6
  EXPECT_EQ(mid->pixel(9, 15) & 0xFF, 0u);
  EXPECT_EQ(out->pixel(0, 0) & 0xFF, 9u);  // row 0 reads row 15 at offset +1
}

TEST(Blur, TheBackBufferKeepsNoAlphaAndHalfTexelStepsInterpolate) {
  Renderer r;
  ASSERT_TRUE(r.create(16, 1));
  const TexturePtr source = r.createRenderTexture(16, 1);
  source->pixels()[8] = 0x80C8C8C8;
  // Offsets measured in a texture twice as wide: half-texel taps, read bilinearly.
  r.setBlurSize(32, 1);
  r.blurPass(source, 0, 8);
  // 200 * (w(-1) / 2 + w(0) + w(1) / 2 + ...) at x = 8: taps at 8 +- k/2.
  const std::uint32_t centre = r.backBuffer().at(8, 0);
  EXPECT_EQ(centre >> 24, 0xFFu);
  float expected = 0;
  for (int k = 0; k < kBlurTaps; ++k) {
    const int offset = k - 6;  // half-texel steps
    if (offset == 0) expected += kBlurWeights[k] * 200.0f;
    if (offset == 1 || offset == -1) expected += kBlurWeights[k] * 100.0f;
  }
  EXPECT_EQ(centre & 0xFF, std::uint32_t(expected + 0.5f));
  // At x = 7: offset 2 hits the texel, offsets 1 and 3 fall halfway beside it:
  // 0.120985 * 200 + (0.176033 + 0.064759) * 100 = 48.28 -> 48.
  EXPECT_EQ(r.backBuffer().at(7, 0) & 0xFF, 48u);
}

}  // namespace
}  // namespace orvane
