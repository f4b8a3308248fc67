// The speed-ups change no pixel: the AVX2 span shader against the plain one, and two shading
// threads against one, over random textures and random scenes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "render/blurred_scene.h"
#include "render/pixel_blend.h"
#include "render/render_bands.h"
#include "render/renderer.h"
#include "render/span_shader.h"
#include "render_test_support.h"

namespace orvane {
namespace {

// Texels of every kind: clear ones carrying colour, opaque ones, and anything between.
TexturePtr randomTexture(std::mt19937& rng, int side) {
  std::vector<std::uint32_t> texels(std::size_t(side) * side);
  for (std::uint32_t& t : texels) {
    const std::uint32_t rgb = rng() & 0xFFFFFFu;
    switch (rng() % 4) {
      case 0:
        t = rgb;
        break;
      case 1:
        t = 0xFF000000u | rgb;
        break;
      default:
        t = rng();
        break;
    }
  }
  return makeTextureFromPixels(side, side, texels.data(), PixelFormat::A8R8G8B8, 32);
}

// Restores the shading switches whatever a test does.
struct Switches {
  ~Switches() { allowVectorShading(true); }
};

TEST(FastPaths, VectorSpansGiveTheBytesOfThePlainSpans) {
  if (!vectorShadingAvailable()) GTEST_SKIP() << "no AVX2 here";
  std::mt19937 rng(7);
  const TexturePtr texture = randomTexture(rng, 64);
  std::uniform_real_distribution<double> gradient(-3.0, 3.0);
  int minifiedSpans = 0, multiTapSpans = 0;
  for (int round = 0; round < 3000; ++round) {
    const int x0 = int(rng() % 16), y0 = int(rng() % 16);
    const TexelRect rect{x0, y0, x0 + 1 + int(rng() % 48), y0 + 1 + int(rng() % 48)};
    // Mostly magnified, sometimes minified along one or both axes.
    const double scale = round % 3 == 0 ? 1.0 : 0.3;
    const double dUdx = gradient(rng) * scale, dVdx = gradient(rng) * scale;
    const double dUdy = gradient(rng) * scale, dVdy = gradient(rng) * scale;
    const SamplerSetup setup =
        prepareSampler(*texture, rect, TextureFilter::Anisotropic, dUdx, dVdx, dUdy, dVdy);
    minifiedSpans += setup.kind == SamplerSetup::Kind::Minified;
    multiTapSpans += setup.taps > 1;
    SpanCoords span;
    span.x0 = int(rng() % 8);
    span.x1 = span.x0 + 1 + int(rng() % 70);
    span.u = std::int64_t(rng() % (80 << 16)) - (8 << 16);
    span.v = std::int64_t(rng() % (80 << 16)) - (8 << 16);
    span.du = std::llround(dUdx * 65536.0);
    span.dv = std::llround(dVdx * 65536.0);
    const std::uint32_t colour = round % 5 == 0 ? 0xFFFFFFFFu : std::uint32_t(rng());
    const bool keepAlpha = rng() % 2 == 0;
    std::vector<std::uint32_t> vector(96), plain(96);
    for (std::size_t i = 0; i < vector.size(); ++i) vector[i] = plain[i] = std::uint32_t(rng());
    const std::vector<std::uint32_t> before = plain;
    shadeFilteredSpan(vector.data(), span, colour, keepAlpha, setup);
    shadeFilteredSpanPlain(plain.data(), span, colour, keepAlpha, setup);
    ASSERT_EQ(vector, plain) << "round " << round;

    // The sources alone, both ways, and nothing written past the span's length; blended over
    // the row with the renderer's rule they give the shaded row.
    const int length = span.x1 - span.x0;
    std::vector<std::uint32_t> sources(80, 0xDEADBEEFu), plainSources(80, 0xDEADBEEFu);
    sampleFilteredSpan(sources.data(), span, colour, setup);
    sampleFilteredSpanPlain(plainSources.data(), span, colour, setup);
    ASSERT_EQ(sources, plainSources) << "round " << round;
    ASSERT_TRUE(std::all_of(sources.begin() + length, sources.end(),
                            [](std::uint32_t s) { return s == 0xDEADBEEFu; }));
    std::vector<std::uint32_t> blended = before;
    for (int i = 0; i < length; ++i) {
      const std::uint32_t s = sources[std::size_t(i)];
      std::uint32_t& d = blended[std::size_t(span.x0 + i)];
      if ((s >> 24) == 255) {
        d = s;
      } else if ((s >> 24) != 0) {
        d = blendOver(s, d, keepAlpha);
      } else {
        ASSERT_EQ(s, 0u);
      }
    }
    ASSERT_EQ(blended, plain) << "round " << round;
  }
  EXPECT_GT(minifiedSpans, 100);
  EXPECT_GT(multiTapSpans, 50);
}

// Slanted quads of every size and alpha over the current target.
void drawRandomQuads(Renderer& r) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> place(-170.0f, 170.0f), size(2.0f, 140.0f);
  for (int i = 0; i < 300; ++i) {
    const float cx = place(rng), cy = place(rng) * 0.7f, w = size(rng), h = size(rng);
    const float skew = float(int(rng() % 17) - 8);
    const AtlasCell cell = cellOf(rng() % 1024);
    r.drawQuad({cx - w / 2 + skew, cy + h / 2}, {cx - w / 2 - skew, cy - h / 2},
               {cx + w / 2 + skew, cy + h / 2 + skew}, {cx + w / 2 - skew, cy - h / 2},
               std::uint32_t(rng()), cell);
  }
}

// The random quads into the back buffer or into a render texture (which keeps alpha), with the
// given switches.
std::vector<std::uint32_t> drawRandomScene(bool vector, int threads, bool intoTexture) {
  Switches restore;
  allowVectorShading(vector);
  Renderer r;
  r.setShadingThreads(threads);
  test::setUpWithAtlas(r, 300, 200);
  TexturePtr target;
  if (intoTexture) {
    target = r.createRenderTexture(300, 200);
    r.setRenderTarget(target);
  }
  r.beginFrame(0x80204060);
  drawRandomQuads(r);
  if (intoTexture) {
    return std::vector<std::uint32_t>(target->pixels(), target->pixels() + 300 * 200);
  }
  const PixelView view = r.backBuffer();
  return std::vector<std::uint32_t>(view.pixels, view.pixels + 300 * 200);
}

// The random quads blurred into the back buffer, through the aligned path (g = 512) or the
// general one (g = 400.5).
std::vector<std::uint32_t> drawBlurredRandomScene(bool vector, int threads, float g) {
  Switches restore;
  allowVectorShading(vector);
  Renderer r;
  r.setShadingThreads(threads);
  test::setUpWithAtlas(r, 300, 200);
  r.beginFrame(0xFF000000);
  EXPECT_TRUE(drawBlurredScene(r, g, g / 2, [&] {
    r.beginFrame(0xFF204060);
    drawRandomQuads(r);
  }));
  const PixelView view = r.backBuffer();
  return std::vector<std::uint32_t>(view.pixels, view.pixels + 300 * 200);
}

TEST(FastPaths, TwoThreadsAndVectorsDrawTheSameSceneAsOnePlainThread) {
  for (bool intoTexture : {false, true}) {
    const std::vector<std::uint32_t> reference = drawRandomScene(false, 1, intoTexture);
    std::size_t untouched = 0;
    for (std::uint32_t p : reference) untouched += (p == 0x80204060u || p == 0xFF204060u);
    ASSERT_LT(untouched, reference.size() / 2) << "the scene should cover most of the target";
    EXPECT_EQ(drawRandomScene(false, 2, intoTexture), reference) << intoTexture;
    EXPECT_EQ(drawRandomScene(true, 1, intoTexture), reference) << intoTexture;
    EXPECT_EQ(drawRandomScene(true, 2, intoTexture), reference) << intoTexture;
  }
}

TEST(FastPaths, TwoThreadsAndVectorsBlurTheSameAsOnePlainThread) {
  for (float g : {512.0f, 400.5f}) {
    const std::vector<std::uint32_t> reference = drawBlurredRandomScene(false, 1, g);
    std::size_t distinct = 0;
    for (std::size_t i = 1; i < reference.size(); ++i) distinct += reference[i] != reference[0];
    ASSERT_GT(distinct, reference.size() / 2) << "the blurred scene should not be flat";
    EXPECT_EQ(drawBlurredRandomScene(false, 2, g), reference) << g;
    EXPECT_EQ(drawBlurredRandomScene(true, 1, g), reference) << g;
    EXPECT_EQ(drawBlurredRandomScene(true, 2, g), reference) << g;
  }
}

TEST(FastPaths, RenderTexturesShowQueuedQuadsWhenRead) {
  Renderer r;
  test::setUpWithAtlas(r, 64, 64);
  const TexturePtr target = r.createRenderTexture(64, 64);
  r.setRenderTarget(target);
  r.beginFrame(0);
  r.drawQuad({-32, 32}, {-32, -32}, {32, 32}, {32, -32}, 0xFF336699, cellOf(test::kSolidPart));
  EXPECT_EQ(target->pixel(10, 10), 0xFF336699u);
}

}  // namespace
}  // namespace orvane
