// The cache of gene rasters: trimming by count or by storage keeps the best genome's rasters
// exactly as they were made.
#include "tools/randomart/gene_raster_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "randomart_test_support.h"

namespace orvane {
namespace {

using test::partsAtlas;

// A gene spread over most of the field, so its raster is large.
Gene largeGene(std::mt19937& rng) {
  Gene gene{};
  const int corners[8] = {-96, -48, -96, 47, 95, -48, 95, 47};
  for (int k = 0; k < 8; ++k) gene.xy[k] = std::int8_t(corners[k] + int(rng() % 9) - 4);
  gene.attributes = std::uint32_t(rng()) & 0x7FFFFFFFu;
  gene.setField(kPartShift, kPartBits, rng() % 730);
  return gene;
}

std::vector<std::uint32_t> paintedAlone(const GeneRaster& raster) {
  PixelRegion everything;
  for (int y = 0; y < kFieldHeight; ++y) everything.addSpan(y, 0, kFieldWidth);
  std::vector<std::uint32_t> pixels(kFieldPixels, 0xFF808080u);
  raster.paint(pixels.data(), everything);
  return pixels;
}

TEST(GeneRasterCache, TrimmingByStorageKeepsTheKeptRastersIntact) {
  RegionPainter painter, referencePainter;
  ASSERT_TRUE(painter.create(partsAtlas()));
  ASSERT_TRUE(referencePainter.create(partsAtlas()));
  GeneRasterCache cache(painter);
  std::mt19937 rng(5);
  Genome keep;
  // Far fewer genes than kMaxEntries, but enough large rasters to fill the storage many times.
  const int genes = 1400;
  for (int i = 0; i < genes; ++i) {
    const Gene gene = largeGene(rng);
    cache.get(gene);
    if (i % 5 == 0) keep.genes[std::size_t(keep.count++)] = gene;
    cache.trimIfFull(keep);
  }
  EXPECT_LT(cache.size(), genes);
  EXPECT_GE(cache.size(), keep.count);
  for (std::int32_t g = 0; g < keep.count; ++g) {
    GeneRasterCache reference(referencePainter);
    const Gene& gene = keep.genes[std::size_t(g)];
    const std::vector<std::uint32_t> expected = paintedAlone(reference.get(gene));
    ASSERT_EQ(paintedAlone(cache.get(gene)), expected) << "kept gene " << g;
  }
}

TEST(GeneRasterCache, AGenomeHoldingAGeneTwiceKeepsOneRaster) {
  RegionPainter painter;
  ASSERT_TRUE(painter.create(partsAtlas()));
  GeneRasterCache cache(painter);
  std::mt19937 rng(9);
  Genome keep;
  const Gene twice = largeGene(rng);
  keep.genes[0] = keep.genes[1] = twice;
  keep.count = 2;
  const std::vector<std::uint32_t> expected = paintedAlone(cache.get(twice));
  for (int i = 0; i < GeneRasterCache::kMaxEntries; ++i) {
    Gene small{};
    small.attributes = std::uint32_t(i);
    cache.get(small);
  }
  cache.trimIfFull(keep);
  EXPECT_EQ(cache.size(), 1);
  EXPECT_EQ(paintedAlone(cache.get(twice)), expected);
}

}  // namespace
}  // namespace orvane
