// The shape fitting scores a layer over its own pixels only; those scores must be exactly what
// drawing the genome anew and measuring the whole field gives.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "randomart_test_support.h"
#include "render/span_shader.h"
#include "tools/randomart/fit_paint.h"
#include "tools/randomart/fit_parts.h"
#include "tools/randomart/fit_raster.h"
#include "tools/randomart/fit_scene.h"
#include "tools/randomart/region_painter.h"

namespace orvane {
namespace {

using test::partsAtlas;
using test::sampleTarget;

// A convex quad of a fitting part around a random point, in a random colour and alpha: big,
// small, turned and stretched ones, some reaching past the field.
Gene randomLayer(std::mt19937& rng, const std::vector<FitPart>& parts) {
  std::uniform_real_distribution<double> unit(0, 1);
  Gene gene{};
  for (;;) {
    const double cx = unit(rng) * 220 - 110, cy = unit(rng) * 120 - 60;
    const double hx = 1 + unit(rng) * 60, hy = 1 + unit(rng) * 40, angle = unit(rng) * 6.3;
    const double corners[4][2] = {{-hx, -hy}, {-hx, hy}, {hx, -hy}, {hx, hy}};
    for (int v = 0; v < 4; ++v) {
      const double x = cx + std::cos(angle) * corners[v][0] - std::sin(angle) * corners[v][1];
      const double y = cy + std::sin(angle) * corners[v][0] + std::cos(angle) * corners[v][1];
      gene.xy[2 * v] = std::int8_t(std::clamp<long>(std::lround(x), -128, 127));
      gene.xy[2 * v + 1] = std::int8_t(std::clamp<long>(std::lround(y), -128, 127));
    }
    if (isConvexQuad(gene)) break;
  }
  gene.attributes = std::uint32_t(rng()) & ((1u << 21) - 1);
  gene.setField(kPartShift, kPartBits, parts[rng() % parts.size()].id);
  return gene;
}

class FitExactness : public ::testing::Test {
 protected:
  void SetUp() override {
    parts_ = usableFitParts(partsAtlas(), kDefaultFitParts);
    ASSERT_FALSE(parts_.empty());
    ASSERT_TRUE(rasteriser_.create(RegionPainter::makeAtlasTexture(partsAtlas())));
    ASSERT_TRUE(prepareGenomeView(view_, partsAtlas()));
  }
  bool solid(const Gene& gene) const {
    for (const FitPart& p : parts_) {
      if (p.id == gene.part()) return p.solid;
    }
    return false;
  }
  std::vector<std::uint32_t> rendered(const Genome& genome) {
    RenderGenome(view_, genome);
    const PixelView picture = view_.backBuffer();
    return {picture.pixels, picture.pixels + kFieldPixels};
  }

  std::vector<FitPart> parts_;
  FitRasteriser rasteriser_;
  Renderer view_;
};

TEST_F(FitExactness, ErrorChangeAndPaintingEqualDrawingTheGenomeAgain) {
  for (const bool vector : {true, false}) {
    allowVectorShading(vector);
    std::mt19937 rng(vector ? 3 : 4);
    const TargetPixels target = sampleTarget();
    Genome genome;
    FitRaster raster;
    std::vector<std::uint32_t> picture = rendered(genome);
    for (int step = 0; step < 20; ++step) {
      const Gene layer = randomLayer(rng, parts_);
      rasteriser_.rasterise(layer, solid(layer), raster);
      const std::int64_t change =
          squaredErrorChange(raster, geneColour(layer), picture.data(), target.data());
      const std::int64_t before = squaredDistance(picture.data(), target.data(), kFieldPixels);
      genome.genes[std::size_t(genome.count++)] = layer;
      const std::vector<std::uint32_t> drawn = rendered(genome);
      ASSERT_EQ(change, squaredDistance(drawn.data(), target.data(), kFieldPixels) - before)
          << "layer " << step << (vector ? " (vector path)" : " (plain path)");
      paintRaster(raster, geneColour(layer), picture.data());
      ASSERT_EQ(picture, drawn) << "layer " << step;
    }
  }
  allowVectorShading(true);
}

TEST_F(FitExactness, SolidPartsNeedNoTextureReads) {
  // The square's coverage without sampling equals the sampled one, texel for texel.
  std::mt19937 rng(8);
  const std::vector<FitPart> square = usableFitParts(partsAtlas(), std::vector<std::uint32_t>{242});
  ASSERT_EQ(square.size(), 1u);
  ASSERT_TRUE(square.front().solid);
  EXPECT_FALSE(
      solid(randomLayer(rng, usableFitParts(partsAtlas(), std::vector<std::uint32_t>{241}))));
  FitRaster quick, sampled;
  for (int i = 0; i < 50; ++i) {
    Gene gene = randomLayer(rng, square);
    rasteriser_.rasterise(gene, true, quick);
    rasteriser_.rasterise(gene, false, sampled);
    ASSERT_EQ(quick.pixelCount, sampled.pixelCount);
    ASSERT_EQ(quick.spans.size(), sampled.spans.size());
    for (std::size_t s = 0; s < quick.spans.size(); ++s) {
      ASSERT_EQ(quick.spans[s].y, sampled.spans[s].y);
      ASSERT_EQ(quick.spans[s].x0, sampled.spans[s].x0);
      ASSERT_EQ(quick.spans[s].x1, sampled.spans[s].x1);
    }
    for (const std::uint8_t alpha : sampled.coverage) ASSERT_EQ(alpha, 255);
  }
}

TEST(FitRaster, OnlyConvexQuadsAreUsed) {
  Gene gene{};
  const std::int8_t square[8] = {0, 0, 0, 10, 10, 0, 10, 10};  // lt, lb, rt, rb
  std::copy(square, square + 8, gene.xy);
  EXPECT_TRUE(isConvexQuad(gene));
  const std::int8_t crossed[8] = {0, 0, 0, 10, 10, 10, 10, 0};  // rt and rb swapped
  std::copy(crossed, crossed + 8, gene.xy);
  EXPECT_FALSE(isConvexQuad(gene));
  const std::int8_t dart[8] = {0, 0, 4, 4, 10, 0, 0, 10};  // lb pushed inside
  std::copy(dart, dart + 8, gene.xy);
  EXPECT_FALSE(isConvexQuad(gene));
  const std::int8_t flat[8] = {0, 0, 5, 0, 10, 0, 20, 0};
  std::copy(flat, flat + 8, gene.xy);
  EXPECT_TRUE(isConvexQuad(gene));  // covers nothing, so it cannot cover a pixel twice
}

// The colour sums of a raster taken pixel by pixel, for checking the scene's shortcuts.
ColourSums pixelSums(const FitRaster& raster, const std::vector<std::uint32_t>& below,
                     const std::vector<std::uint32_t>& without, const std::vector<float>& through,
                     const TargetPixels& target) {
  ColourSums sums;
  std::size_t k = 0;
  for (const Span& s : raster.spans) {
    for (int x = s.x0; x < s.x1; ++x, ++k) {
      const std::size_t p = std::size_t(s.y * kFieldWidth + x);
      const double alpha = raster.solid ? 255 : raster.coverage[k];
      double d[3], r[3];
      for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        d[c] = (below[p] >> shift) & 0xFF;
        r[c] = double((without[p] >> shift) & 0xFF) - double((target[p] >> shift) & 0xFF);
      }
      sums.add(alpha / 255.0 * through[p], d, r);
    }
  }
  return sums;
}

void expectSameSums(const ColourSums& a, const ColourSums& b, double tolerance) {
  EXPECT_NEAR(a.ww, b.ww, tolerance * (1 + std::abs(b.ww)));
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(a.wwd[c], b.wwd[c], tolerance * (1 + std::abs(b.wwd[c])));
    EXPECT_NEAR(a.wwdd[c], b.wwdd[c], tolerance * (1 + std::abs(b.wwdd[c])));
    EXPECT_NEAR(a.wr[c], b.wr[c], tolerance * (1 + std::abs(b.wr[c])));
    EXPECT_NEAR(a.wdr[c], b.wdr[c], tolerance * (1 + std::abs(b.wdr[c])));
  }
}

TEST_F(FitExactness, SceneSumsMatchThePixelsInEveryPath) {
  std::mt19937 rng(21);
  const TargetPixels target = sampleTarget();
  std::vector<std::uint32_t> below(kFieldPixels), without(kFieldPixels);
  std::vector<float> through(kFieldPixels);
  for (int p = 0; p < kFieldPixels; ++p) {
    below[std::size_t(p)] = 0xFF000000u | (std::uint32_t(rng()) & 0xFFFFFF);
    without[std::size_t(p)] = 0xFF000000u | (std::uint32_t(rng()) & 0xFFFFFF);
    through[std::size_t(p)] = float(rng() % 256) / 255.0f;
  }
  FitScene scene;
  scene.setLayered(below.data(), without.data(), through.data(), target);
  FitRaster raster;
  for (int i = 0; i < 30; ++i) {
    const Gene layer = randomLayer(rng, parts_);
    rasteriser_.rasterise(layer, solid(layer), raster);
    const ColourSums expected = pixelSums(raster, below, without, through, target);
    for (const bool vector : {true, false}) {
      allowVectorShading(vector);
      ColourSums sums;
      scene.accumulate(raster, sums);
      expectSameSums(sums, expected, 1e-5);
    }
    allowVectorShading(true);
  }
}

TEST_F(FitExactness, RowUpdatesLeaveTheSceneAsIfMadeAnew) {
  // A layer's two triangles each run down the rows, so the first span is not always the top
  // row; every row the layer touched must be taken up again.
  std::mt19937 rng(34);
  const TargetPixels target = sampleTarget();
  std::vector<std::uint32_t> picture = rendered(Genome{});
  FitScene updated, fresh;
  updated.setPicture(picture.data(), target);
  FitRaster layer, probe;
  for (int i = 0; i < 12; ++i) {
    const Gene gene = randomLayer(rng, parts_);
    rasteriser_.rasterise(gene, solid(gene), layer);
    paintRaster(layer, geneColour(gene), picture.data());
    updated.updateRows(picture.data(), target, layer.rowBegin(), layer.rowEnd());
    fresh.setPicture(picture.data(), target);
    for (int k = 0; k < 5; ++k) {
      const Gene other = randomLayer(rng, parts_);
      rasteriser_.rasterise(other, solid(other), probe);
      ColourSums a, b;
      updated.accumulate(probe, a);
      fresh.accumulate(probe, b);
      expectSameSums(a, b, 1e-12);
    }
  }
}

}  // namespace
}  // namespace orvane
