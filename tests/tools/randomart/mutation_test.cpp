#include "tools/randomart/mutation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvane {
namespace {

// Every operator off; each test switches on what it examines.
EvolutionParameters allOff() {
  EvolutionParameters p;
  for (int i : {2, 3, 4, 5, 6, 7, 10, 13, 16, 19, 22}) p[i] = 2000;
  return p;
}

Gene geneAt(std::int8_t x, std::int8_t y, std::uint32_t attributes = 0) {
  Gene g{};
  for (int v = 0; v < 4; ++v)
    g.xy[2 * v] = std::int8_t(x + (v & 2 ? 4 : 0)),
             g.xy[2 * v + 1] = std::int8_t(y + (v & 1 ? 4 : 0));
  g.attributes = attributes;
  return g;
}

TEST(MutateGenome, NothingFiringChangesNothingAndDrawsNothing) {
  Genome genome;
  genome.count = 3;
  for (int i = 0; i < 3; ++i) genome.genes[i] = geneAt(std::int8_t(i), 0, 77);
  const Genome before = genome;
  RandomGenerator random(1), reference(1);
  MutationLog log;
  EXPECT_FALSE(MutateGenome(genome, allOff(), random, &log));
  EXPECT_EQ(log.count, 0);
  EXPECT_EQ(genome.count, 3);
  EXPECT_TRUE(std::equal(before.genes.begin(), before.genes.begin() + 3, genome.genes.begin()));
  EXPECT_EQ(random.next(), reference.next());
}

TEST(MutateGenome, AddDrawsPositionSpeckAndAttributesInOrder) {
  EvolutionParameters p = allOff();
  p.layerAddRate = 1;
  p.redMin = 10, p.redMax = 20, p.greenMin = 0, p.greenMax = 64, p.blueMin = 63, p.blueMax = 63;
  p.alphaMin = 2, p.alphaMax = 6, p.partMin = 100, p.partMax = 300;
  Genome genome;
  genome.count = 2;
  genome.genes[0] = geneAt(1, 1), genome.genes[1] = geneAt(2, 2);
  RandomGenerator random(42), r(42);
  ASSERT_TRUE(MutateGenome(genome, p, random));

  r.next();  // the rate test of rate 1
  const std::uint32_t pos = r.next() % 3;
  const int cx = int(r.next() & 255), cy = int(r.next() & 255);
  Gene expected{};
  for (int v = 0; v < 4; ++v) {
    expected.xy[2 * v] = std::int8_t(std::clamp<int>(cx - 131 + int(r.next() % 6), -128, 127));
    expected.xy[2 * v + 1] = std::int8_t(std::clamp<int>(cy - 131 + int(r.next() % 6), -128, 127));
  }
  expected.setField(kRedShift, 6, 10 + r.next() % 10);
  expected.setField(kGreenShift, 6, r.next() % 64);
  expected.setField(kBlueShift, 6, 63);  // min = max draws nothing
  expected.setField(kAlphaShift, 3, 2 + r.next() % 4);
  expected.setField(kPartShift, 10, 100 + r.next() % 200);
  ASSERT_EQ(genome.count, 3);
  EXPECT_EQ(genome.genes[pos], expected);
  EXPECT_EQ(random.next(), r.next());
  // The old genes keep their order around the new one.
  const Genome& g = genome;
  EXPECT_EQ(g.genes[pos == 0 ? 1 : 0], geneAt(1, 1));
  EXPECT_EQ(g.genes[pos == 2 ? 1 : 2], geneAt(2, 2));
}

TEST(MutateGenome, RangesAtTheTopAreCutToTheFieldWidth) {
  EvolutionParameters p = allOff();
  p.layerAddRate = 1;
  p.redMin = p.redMax = 64;
  p.greenMin = p.greenMax = 64;
  p.blueMin = p.blueMax = 64;
  p.alphaMin = p.alphaMax = 8;
  p.partMin = p.partMax = 1024;
  Genome genome;
  RandomGenerator random(5);
  ASSERT_TRUE(MutateGenome(genome, p, random));
  ASSERT_EQ(genome.count, 1);
  EXPECT_EQ(genome.genes[0].attributes, 0u);
  // The speck stays inside its 6 x 6 box and the coordinate range.
  const Gene& g = genome.genes[0];
  const int minX = std::min({g.x(0), g.x(1), g.x(2), g.x(3)});
  const int maxX = std::max({g.x(0), g.x(1), g.x(2), g.x(3)});
  EXPECT_LE(maxX - minX, 5);
}

TEST(MutateGenome, AddStopsAtTheMaximumAndAtCapacity) {
  EvolutionParameters p = allOff();
  p.layerAddRate = 1;
  p.layerCountMax = 4;
  Genome genome;
  genome.count = 4;
  RandomGenerator random(3);
  EXPECT_FALSE(MutateGenome(genome, p, random));  // the rate fired but the count is at its limit
  EXPECT_EQ(genome.count, 4);

  p.layerCountMax = 100000;  // only a hostile file could say this
  genome.count = kMaxGeneCount;
  EXPECT_FALSE(MutateGenome(genome, p, random));
  EXPECT_EQ(genome.count, kMaxGeneCount);
  genome.count = 9999;  // a count beyond the buffer is cut back, never used
  MutateGenome(genome, p, random);
  EXPECT_EQ(genome.count, kMaxGeneCount);
}

TEST(MutateGenome, DeleteRemovesOneGeneAboveTheMinimumOnly) {
  EvolutionParameters p = allOff();
  p.layerDeleteRate = 1;
  p.layerCountMin = 2;
  Genome genome;
  genome.count = 3;
  for (int i = 0; i < 3; ++i) genome.genes[i] = geneAt(std::int8_t(10 * i), 0);
  RandomGenerator random(11), r(11);
  MutationLog log;
  ASSERT_TRUE(MutateGenome(genome, p, random, &log));
  r.next();
  const std::uint32_t pos = r.next() % 3;
  ASSERT_EQ(genome.count, 2);
  ASSERT_EQ(log.count, 1);
  EXPECT_EQ(log.entries[0].gene, geneAt(std::int8_t(10 * pos), 0));
  int k = 0;
  for (int i = 0; i < 3; ++i) {
    if (i != int(pos)) {
      EXPECT_EQ(genome.genes[k++], geneAt(std::int8_t(10 * i), 0));
    }
  }
  EXPECT_FALSE(MutateGenome(genome, p, random));  // at the minimum now
  EXPECT_EQ(genome.count, 2);
}

TEST(MutateGenome, ReorderTakesOutAndReinsertsWithPositionsFromTheOldCount) {
  EvolutionParameters p = allOff();
  p.orderChangeRate = 1;
  Genome one;
  one.count = 1;
  one.genes[0] = geneAt(5, 5);
  RandomGenerator random(8);
  MutationLog log;
  EXPECT_TRUE(MutateGenome(one, p, random, &log));  // one gene: out and back in at 0
  EXPECT_EQ(one.count, 1);
  EXPECT_EQ(one.genes[0], geneAt(5, 5));
  EXPECT_EQ(log.count, 0);  // the picture cannot change

  for (std::uint32_t seed = 0; seed < 40; ++seed) {
    Genome g;
    g.count = 5;
    for (int i = 0; i < 5; ++i) g.genes[i] = geneAt(std::int8_t(i), 0);
    RandomGenerator rg(seed), r(seed);
    ASSERT_TRUE(MutateGenome(g, p, rg));
    r.next();
    const int pos = int(r.next() % 5), newPos = int(r.next() % 5);
    std::vector<int> order{0, 1, 2, 3, 4};
    order.erase(order.begin() + pos);
    order.insert(order.begin() + newPos, pos);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(g.genes[i], geneAt(std::int8_t(order[i]), 0)) << seed;
  }
}

TEST(MutateGenome, MovesStepWithinMinusWToWMinusOneAndClamp) {
  EvolutionParameters p = allOff();
  p.coordMediumMoveRate = 1;
  p.coordMediumMoveWidth = 20;
  bool sawLow = false;
  for (std::uint32_t seed = 0; seed < 300; ++seed) {
    Genome g;
    g.count = 1;
    g.genes[0] = geneAt(0, 120);  // y near the top of the range
    const Gene before = g.genes[0];
    RandomGenerator random(seed);
    ASSERT_TRUE(MutateGenome(g, p, random));
    for (int v = 0; v < 4; ++v) {
      const int dx = g.genes[0].x(v) - before.x(v);
      EXPECT_GE(dx, -20);
      EXPECT_LE(dx, 19);
      sawLow = sawLow || dx == -20;
      EXPECT_LE(int(g.genes[0].y(v)), 127);
    }
  }
  EXPECT_TRUE(sawLow);
}

TEST(MutateGenome, MoveOfWidthZeroCountsAsChangedButMovesNothing) {
  EvolutionParameters p = allOff();
  p.coordSmallMoveRate = 1;
  p.coordSmallMoveWidth = 0;
  Genome g;
  g.count = 2;
  g.genes[0] = geneAt(3, 3), g.genes[1] = geneAt(-9, 4);
  RandomGenerator random(2), reference(2);
  MutationLog log;
  EXPECT_TRUE(MutateGenome(g, p, random, &log));
  EXPECT_EQ(g.genes[0], geneAt(3, 3));
  EXPECT_EQ(g.genes[1], geneAt(-9, 4));
  EXPECT_EQ(log.count, 0);
  for (int i = 0; i < 8; ++i) reference.next();  // only the eight rate tests drew
  EXPECT_EQ(random.next(), reference.next());
}

TEST(MutateGenome, LargeMoveAndRecolourDrawInTheWrittenOrder) {
  EvolutionParameters p = allOff();
  p.coordLargeMoveRate = 1;
  p.greenChangeRate = 1;
  p.greenMin = 0, p.greenMax = 64;
  Genome g;
  g.count = 1;
  g.genes[0] = geneAt(0, 0, 0x12345);
  RandomGenerator random(31), r(31);
  MutationLog log;
  ASSERT_TRUE(MutateGenome(g, p, random, &log));
  Gene expected = geneAt(0, 0, 0x12345);
  for (int v = 0; v < 4; ++v) {
    r.next();
    expected.xy[2 * v] = std::int8_t(int(r.next() & 255) - 128);
    expected.xy[2 * v + 1] = std::int8_t(int(r.next() & 255) - 128);
  }
  r.next();
  expected.setField(kGreenShift, 6, r.next() % 64);
  EXPECT_EQ(g.genes[0], expected);
  ASSERT_EQ(log.count, 2);  // the gene as it was and as it is, both triangles
  EXPECT_EQ(log.entries[0].gene, geneAt(0, 0, 0x12345));
  EXPECT_EQ(log.entries[1].gene, expected);
  EXPECT_EQ(log.entries[1].triangles, kBothTriangles);
}

TEST(MutateGenome, LogsOnlyTheTriangleAMovedCornerBelongsTo) {
  const Gene base = geneAt(0, 0, 5);
  Gene lb = base, rt = base, lt = base, recoloured = base;
  lb.xy[3] += 1;  // vertex 1 (lb): triangle (lb, lt, rb) only
  rt.xy[4] += 1;  // vertex 2 (rt): triangle (lt, rb, rt) only
  lt.xy[0] += 1;  // vertex 0 (lt) belongs to both
  recoloured.attributes = 6;
  EXPECT_EQ(changedTriangles(base, lb), 1u);
  EXPECT_EQ(changedTriangles(base, rt), 2u);
  EXPECT_EQ(changedTriangles(base, lt), kBothTriangles);
  EXPECT_EQ(changedTriangles(base, recoloured), kBothTriangles);
  EXPECT_EQ(changedTriangles(base, base), 0u);
}

}  // namespace
}  // namespace orvane
