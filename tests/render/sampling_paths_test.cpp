// The samplers read cell sheets made on first use; these tests hold them to the sampling rules
// as stated on the texture's own levels, and hold every shading path to the same pixels over
// many random quads at random scales.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "render/pixel_blend.h"
#include "render/renderer.h"
#include "render/span_shader.h"
#include "render_test_support.h"

namespace orvane {
namespace {

struct Switches {
  ~Switches() { allowVectorShading(true); }
};

// The rules of texture_sampler.h on the texture's own levels, integer arithmetic throughout.
std::uint32_t bilinearRule(const TextureLevel& level, const TexelRect& r, std::int64_t u,
                           std::int64_t v) {
  const std::int64_t u8 = (u + 0x80) >> 8, v8 = (v + 0x80) >> 8;
  const std::int64_t xi = u8 >> 8, yi = v8 >> 8;
  const std::int64_t fu = u8 & 0xFF, fv = v8 & 0xFF;
  auto texel = [&](std::int64_t x, std::int64_t y) {
    x = std::clamp<std::int64_t>(x, r.x0, r.x1 - 1),
    y = std::clamp<std::int64_t>(y, r.y0, r.y1 - 1);
    return level.texels[std::size_t(y) * level.width + std::size_t(x)];
  };
  const std::uint32_t t[4] = {texel(xi, yi), texel(xi + 1, yi), texel(xi, yi + 1),
                              texel(xi + 1, yi + 1)};
  const std::int64_t w[4] = {(256 - fu) * (256 - fv), fu * (256 - fv), (256 - fu) * fv, fu * fv};
  std::uint32_t out = 0;
  for (int c = 0; c < 32; c += 8) {
    std::int64_t sum = 32768;
    for (int i = 0; i < 4; ++i) sum += w[i] * ((t[i] >> c) & 0xFF);
    out |= std::uint32_t(sum >> 16) << c;
  }
  return out;
}

std::uint32_t sampleRule(const Texture& texture, const SamplerSetup& s, std::int64_t u,
                         std::int64_t v) {
  if (s.kind == SamplerSetup::Kind::Bilinear) return bilinearRule(texture.level(0), s.rect, u, v);
  const int l = s.levelIndex;
  const TexelRect r{s.rect.x0 >> l, s.rect.y0 >> l, s.rect.x1 >> l, s.rect.y1 >> l};
  std::uint32_t sum[4] = {0, 0, 0, 0};
  for (int k = 0; k < s.taps; ++k) {
    const std::uint32_t t =
        bilinearRule(texture.level(l), r, ((u + s.tapU[k] + 0x8000) >> l) - 0x8000,
                     ((v + s.tapV[k] + 0x8000) >> l) - 0x8000);
    for (int c = 0; c < 4; ++c) sum[c] += (t >> (8 * c)) & 0xFF;
  }
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= ((sum[c] + s.taps / 2) / s.taps) << (8 * c);
  return out;
}

// Clear texels with colour, opaque ones, anything between, and runs of one texel.
std::vector<std::uint16_t> randomPackedTexels(std::mt19937& rng, int count) {
  std::vector<std::uint16_t> texels(std::size_t(count), 0);
  for (std::size_t i = 0; i < texels.size(); ++i) {
    switch (rng() % 5) {
      case 0:
        texels[i] = std::uint16_t(rng() & 0x0FFF);
        break;
      case 1:
        texels[i] = std::uint16_t(0xF000 | (rng() & 0x0FFF));
        break;
      case 2:
        texels[i] = i > 0 ? texels[i - 1] : 0;
        break;
      default:
        texels[i] = std::uint16_t(rng());
        break;
    }
  }
  return texels;
}

TEST(SamplingPaths, FixedPointCoordinatesRoundAsTheLibraryDoes) {
  std::mt19937_64 rng(9);
  std::uniform_real_distribution<double> texels(-5000.0, 5000.0);
  for (int i = 0; i < 200000; ++i) {
    double x = texels(rng);
    // Halves of a step and values a hair from them, where rounding is decided.
    if (i % 3 == 0) x = (std::floor(x * 65536.0) + 0.5) / 65536.0;
    if (i % 7 == 0) x = std::nextafter(x, i % 2 ? 1e9 : -1e9);
    ASSERT_EQ(toFixed(x), std::llround(x * 65536.0)) << x;
  }
  for (double x :
       {0.0, -0.0, 1e-300, -0.5 / 65536.0, 0.5 / 65536.0, 1e15, -1e15, 1e300, std::nan("")}) {
    EXPECT_EQ(toFixed(x), std::llround(x * 65536.0)) << x;
  }
}

TEST(SamplingPaths, SheetsSampleWhatTheRulesSayOnTheTexturesOwnLevels) {
  std::mt19937 rng(3);
  constexpr int kSide = 128;
  const std::vector<std::uint16_t> packed = randomPackedTexels(rng, kSide * kSide);
  const TexturePtr texture =
      makeTextureFromPixels(kSide, kSide, packed.data(), PixelFormat::A4R4G4B4, 16);
  ASSERT_TRUE(texture);
  std::uniform_real_distribution<double> gradient(-4.0, 4.0);
  int minified = 0, deepLevels = 0;
  for (int round = 0; round < 4000; ++round) {
    // Cells on multiples of 32 (mip-mapped down to level 5) and odd rectangles (level 0 only).
    TexelRect rect;
    if (round % 2 == 0) {
      const int x = 32 * int(rng() % 3), y = 32 * int(rng() % 3);
      rect = {x, y, x + 32 * (1 + int(rng() % 2)), y + 32};
    } else {
      const int x = int(rng() % 60), y = int(rng() % 60);
      rect = {x, y, x + 1 + int(rng() % 60), y + 1 + int(rng() % 60)};
    }
    const double scale = std::exp2(int(rng() % 7) - 3);
    const double dUdx = gradient(rng) * scale, dVdx = gradient(rng) * scale;
    const double dUdy = gradient(rng) * scale, dVdy = gradient(rng) * scale;
    const SamplerSetup setup =
        prepareSampler(*texture, rect, TextureFilter::Anisotropic, dUdx, dVdx, dUdy, dVdy);
    minified += setup.kind == SamplerSetup::Kind::Minified;
    deepLevels += setup.levelIndex >= 2;
    SpanCoords span;
    span.x1 = 1 + int(rng() % 40);
    span.u = std::int64_t(rng() % (200 << 16)) - (30 << 16);
    span.v = std::int64_t(rng() % (200 << 16)) - (30 << 16);
    span.du = std::llround(dUdx * 65536.0), span.dv = std::llround(dVdx * 65536.0);
    const std::uint32_t colour = round % 4 == 0 ? 0xFFFFFFFFu : std::uint32_t(rng());
    std::vector<std::uint32_t> sources(std::size_t(span.x1));
    sampleFilteredSpanPlain(sources.data(), span, colour, setup);
    for (int i = 0; i < span.x1; ++i) {
      const std::uint32_t texel =
          sampleRule(*texture, setup, span.u + i * span.du, span.v + i * span.dv);
      std::uint32_t expected = (texel >> 24) == 0 ? 0 : modulate(texel, colour);
      if ((expected >> 24) == 0) expected = 0;
      ASSERT_EQ(sources[std::size_t(i)], expected) << "round " << round << " pixel " << i;
    }
  }
  EXPECT_GT(minified, 1000);
  EXPECT_GT(deepLevels, 300);
}

// Quads of every size from a pixel to a few hundred, slanted, turned and stretched, with cells
// of the test atlas (a gradient, a checker, a solid square, discs) and colours of every alpha,
// over the target (a render texture keeps alpha).
std::vector<std::uint32_t> drawManyQuads(bool vector, bool intoTexture, int quads) {
  Switches restore;
  allowVectorShading(vector);
  constexpr int kWidth = 160, kHeight = 120;
  Renderer r;
  r.setShadingThreads(1);
  test::setUpWithAtlas(r, kWidth, kHeight);
  TexturePtr target;
  if (intoTexture) {
    target = r.createRenderTexture(kWidth, kHeight);
    r.setRenderTarget(target);
  }
  r.beginFrame(0x80402010);
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> place(-90.0f, 90.0f), turn(0.0f, 6.2832f);
  std::uniform_real_distribution<float> logSide(0.0f, 8.0f);
  for (int i = 0; i < quads; ++i) {
    const float w = std::exp2(logSide(rng)), h = i % 3 == 0 ? w : std::exp2(logSide(rng));
    const float cx = place(rng), cy = place(rng) * 0.7f, a = turn(rng);
    const float c = std::cos(a), s = std::sin(a), skew = float(int(rng() % 9) - 4);
    auto at = [&](float x, float y) { return WorldPoint{cx + c * x - s * y, cy + s * x + c * y}; };
    const WorldPoint lt = at(-w / 2 + skew, h / 2), rb = at(w / 2 - skew, -h / 2);
    const WorldPoint lb = at(-w / 2, -h / 2), rt = at(w / 2, h / 2);
    const int part = i % 4 == 0   ? test::kGradientPart
                     : i % 4 == 1 ? test::kCheckerPart
                     : i % 8 == 2 ? test::kSolidPart
                                  : int(rng() % 1024);
    const std::uint32_t alpha = i % 5 == 0 ? 0xFFu : std::uint32_t(rng() % 256);
    r.drawQuad(lt, lb, rt, rb, alpha << 24 | (rng() & 0xFFFFFFu), cellOf(std::uint32_t(part)));
  }
  if (intoTexture) {
    return std::vector<std::uint32_t>(target->pixels(), target->pixels() + kWidth * kHeight);
  }
  const PixelView view = r.backBuffer();
  return std::vector<std::uint32_t>(view.pixels, view.pixels + kWidth * kHeight);
}

// Layers of big opaque quads (solid and checker parts in opaque colours) over and under smaller
// ones of every kind, queued together or shaded one by one (reading the picture after each
// quad), on one thread or two: an opaque quad hides what lies under it without a pixel changing.
std::vector<std::uint32_t> drawLayers(bool oneByOne, int threads) {
  constexpr int kWidth = 200, kHeight = 150;
  Renderer r;
  r.setShadingThreads(threads);
  test::setUpWithAtlas(r, kWidth, kHeight);
  r.beginFrame(0xFF102030);
  std::mt19937 rng(23);
  std::uniform_real_distribution<float> place(-100.0f, 100.0f), side(4.0f, 160.0f);
  for (int i = 0; i < 600; ++i) {
    const bool cover = i % 6 == 0;
    const float w = cover ? 120.0f + side(rng) : side(rng),
                h = cover ? 90.0f + side(rng) : side(rng);
    const float cx = place(rng), cy = place(rng) * 0.75f,
                skew = cover && i % 12 ? 0.0f : float(int(rng() % 9) - 4);
    const int part = cover ? (i % 4 ? test::kSolidPart : test::kCheckerPart) : int(rng() % 1024);
    const std::uint32_t alpha = cover || i % 3 == 0 ? 0xFFu : std::uint32_t(rng() % 256);
    r.drawQuad({cx - w / 2 + skew, cy + h / 2}, {cx - w / 2, cy - h / 2}, {cx + w / 2, cy + h / 2},
               {cx + w / 2 - skew, cy - h / 2}, alpha << 24 | (rng() & 0xFFFFFFu),
               cellOf(std::uint32_t(part)));
    if (oneByOne) r.backBuffer();
  }
  const PixelView view = r.backBuffer();
  return std::vector<std::uint32_t>(view.pixels, view.pixels + kWidth * kHeight);
}

TEST(SamplingPaths, OpaqueQuadsHideWhatLiesUnderThemWithoutChangingAPixel) {
  const std::vector<std::uint32_t> reference = drawLayers(true, 1);
  EXPECT_EQ(drawLayers(false, 1), reference);
  EXPECT_EQ(drawLayers(false, 2), reference);
}

TEST(SamplingPaths, TenThousandRandomQuadsDrawTheSameWithVectorsAsWithThePlainPath) {
  if (!vectorShadingAvailable()) GTEST_SKIP() << "no AVX2 here";
  for (bool intoTexture : {false, true}) {
    const std::vector<std::uint32_t> plain = drawManyQuads(false, intoTexture, 10000);
    std::size_t distinct = 0;
    for (std::size_t i = 1; i < plain.size(); ++i) distinct += plain[i] != plain[i - 1];
    ASSERT_GT(distinct, plain.size() / 2) << "the quads should leave a busy picture";
    EXPECT_EQ(drawManyQuads(true, intoTexture, 10000), plain) << intoTexture;
  }
}

}  // namespace
}  // namespace orvane
