// The shape-fitting engine as a whole: repeatable runs, layers an emblem file can hold, a
// picture exactly as the renderer draws it, and an error that only ever goes down.
#include "tools/randomart/fit_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "formats/binary_emblem_file.h"
#include "randomart_test_support.h"
#include "tools/randomart/append_genome.h"
#include "tools/randomart/fit_colour.h"
#include "tools/randomart/fit_colour_refit.h"
#include "tools/randomart/fit_paint.h"
#include "tools/randomart/fit_workers.h"

namespace orvane {
namespace {

using test::partsAtlas;
using test::sampleTarget;

// A short run: eight layers, little search, one polish round, no time limit.
constexpr int kSmallBudget = 8;
FitSettings smallRun(std::uint32_t seed, int threads) {
  FitSettings settings;
  settings.layerBudget = kSmallBudget;
  settings.seconds = 0;
  settings.seed = seed;
  settings.threads = threads;
  FitEffort effort;
  effort.randomCandidates = 12;
  effort.climbers = 2;
  effort.climbSteps = 12;
  effort.largestExtent = 24;
  settings.effort = effort;
  settings.polishRounds = 1;
  return settings;
}

// One engine for the whole test program: making one reads the whole atlas.
FitEngine& engine() {
  static FitEngine* made = [] {
    auto* e = new FitEngine;
    if (!e->create(partsAtlas())) std::abort();
    return e;
  }();
  return *made;
}

bool sameGenes(const Genome& a, const Genome& b) {
  return a.count == b.count &&
         std::equal(a.genes.begin(), a.genes.begin() + a.count, b.genes.begin());
}

TEST(FitEngine, RepeatsExactlyForOneSeedAndThreadCount) {
  const TargetPixels target = sampleTarget();
  FitResult first, again, otherSeed;
  ASSERT_TRUE(fitPicture(partsAtlas(), target, smallRun(7, 2), first));  // a fresh engine
  ASSERT_TRUE(engine().run(target, smallRun(7, 2), again));
  ASSERT_TRUE(engine().run(target, smallRun(8, 2), otherSeed));
  EXPECT_EQ(first.genome.count, kSmallBudget + 1);
  EXPECT_TRUE(sameGenes(first.genome, again.genome));
  EXPECT_EQ(first.squaredError, again.squaredError);
  EXPECT_EQ(first.candidates, again.candidates);
  EXPECT_FALSE(sameGenes(first.genome, otherSeed.genome));
}

TEST(FitEngine, PictureAndErrorsAreTheRenderersAndTheEvolutionsMeasure) {
  const TargetPixels target = sampleTarget();
  FitResult result;
  ASSERT_TRUE(engine().run(target, smallRun(3, 1), result));
  Renderer view;
  ASSERT_TRUE(prepareGenomeView(view, partsAtlas()));
  RenderGenome(view, result.genome);
  const PixelView drawn = view.backBuffer();
  EXPECT_EQ(result.squaredError, squaredDistance(drawn.pixels, target.data(), kFieldPixels));
  EXPECT_EQ(result.distance, MeasureError(target, drawn));
  EXPECT_DOUBLE_EQ(result.fitRatio, (1.0 - double(result.distance) / kMaxFieldError) * 100.0);
  EXPECT_DOUBLE_EQ(result.rmsError, rmsOf(result.squaredError));
  // The backdrop alone is the mean colour: every layer after it helped.
  Genome backdrop;
  backdrop.genes[0] = result.genome.genes[0];
  backdrop.count = 1;
  RenderGenome(view, backdrop);
  EXPECT_LT(result.squaredError,
            squaredDistance(view.backBuffer().pixels, target.data(), kFieldPixels) * 3 / 4);
}

TEST(FitEngine, EveryLayerIsOneTheBinaryFileKeeps) {
  FitResult result;
  ASSERT_TRUE(engine().run(sampleTarget(), smallRun(11, 2), result));
  std::set<std::uint32_t> alphaBytes;
  for (int k = 0; k < kAlphaLevels; ++k) alphaBytes.insert(levelAlpha(k));
  for (int i = 0; i < result.genome.count; ++i) {
    const std::uint32_t colour = geneColour(result.genome.genes[std::size_t(i)]);
    EXPECT_TRUE(isNamedPart(result.genome.genes[std::size_t(i)].part()));
    EXPECT_EQ(alphaBytes.count(colour >> 24), 1u);
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t c = (colour >> shift) & 0xFF;
      EXPECT_EQ(c & 3, c >> 6) << "channel bytes keep six bits";
    }
  }
  // Through the document and a binary file: every layer comes back as it went in, the front
  // layer first, and nothing is added behind the fitted backdrop.
  EmblemDocument document, reread;
  ASSERT_TRUE(document.newDocument(u"", 192, 96));
  ASSERT_TRUE(AppendGenomeAsLayers(document, result.genome, GenomeBackdrop::None));
  const std::vector<std::uint8_t> bytes = binaryEmblemBytes(document);
  ASSERT_TRUE(readBinaryEmblemFromMemory(reread, bytes));
  int count = 0;
  for (const EmblemNode* layer = reread.root()->firstChild(); layer; layer = layer->next()) {
    const Gene& gene = result.genome.genes[std::size_t(result.genome.count - 1 - count)];
    const LayerRecord& r = layer->layer();
    EXPECT_EQ(r.ltx, gene.x(0));
    EXPECT_EQ(r.lty, gene.y(0));
    EXPECT_EQ(r.lbx, gene.x(1));
    EXPECT_EQ(r.lby, gene.y(1));
    EXPECT_EQ(r.rtx, gene.x(2));
    EXPECT_EQ(r.rty, gene.y(2));
    EXPECT_EQ(r.rbx, gene.x(3));
    EXPECT_EQ(r.rby, gene.y(3));
    EXPECT_EQ(r.color, geneColour(gene));
    EXPECT_EQ(std::uint32_t(r.partId), gene.part());
    ++count;
  }
  EXPECT_EQ(count, result.genome.count);
}

TEST(FitEngine, ErrorNeverRisesWhileAddingOrPolishing) {
  FitSettings settings = smallRun(5, 2);
  settings.polishRounds = 2;
  std::vector<double> errors;
  bool polished = false;
  FitResult result;
  ASSERT_TRUE(engine().run(sampleTarget(), settings, result, [&](const FitProgress& p) {
    errors.push_back(p.rmsError);
    polished = polished || p.phase == FitPhase::Polishing;
    ASSERT_EQ(p.picture.width, kFieldWidth);
  }));
  EXPECT_TRUE(polished);
  ASSERT_GE(errors.size(), 3u * kSmallBudget);
  for (std::size_t i = 1; i < errors.size(); ++i) ASSERT_LE(errors[i], errors[i - 1]) << i;
  EXPECT_DOUBLE_EQ(errors.back(), result.rmsError);
  EXPECT_EQ(result.polishRounds, 2);
}

TEST(FitEngine, StopsBetweenLayersWhenAsked) {
  std::atomic<bool> stop{false};
  FitResult result;
  ASSERT_TRUE(engine().run(
      sampleTarget(), smallRun(2, 2), result, [&](const FitProgress& p) { stop = p.layers == 4; },
      &stop));
  EXPECT_EQ(result.genome.count, 4);
  EXPECT_TRUE(result.cutShort);
  EXPECT_EQ(result.polishRounds, 0);
}

TEST(FitEngine, RefusesWhatItCannotFit) {
  FitResult result;
  std::string error;
  EXPECT_FALSE(engine().run(TargetPixels{}, smallRun(1, 1), result, {}, nullptr, &error));
  EXPECT_FALSE(error.empty());
  FitSettings settings = smallRun(1, 1);
  settings.parts = {721, 1000};  // a coloured picture and an unnamed id
  error.clear();
  EXPECT_FALSE(engine().run(sampleTarget(), settings, result, {}, nullptr, &error));
  EXPECT_FALSE(error.empty());
  FitEngine unmade;
  EXPECT_FALSE(unmade.run(sampleTarget(), smallRun(1, 1), result, {}, nullptr, &error));
}

TEST(FitColourRefit, FindsColoursForFixedShapes) {
  // A fitted stack whose colours are spoilt comes back to at least as good as it was.
  const TargetPixels target = sampleTarget();
  FitResult result;
  ASSERT_TRUE(engine().run(target, smallRun(9, 1), result));
  FitRasteriser rasteriser;
  ASSERT_TRUE(rasteriser.create(RegionPainter::makeAtlasTexture(partsAtlas())));
  FitStack stack;
  FitRaster raster;
  for (int i = 0; i < result.genome.count; ++i) {
    Gene gene = result.genome.genes[std::size_t(i)];
    rasteriser.rasterise(gene, false, raster);
    gene.setField(kRedShift, kChannelBits, 0);
    gene.setField(kBlueShift, kChannelBits, 63);
    if (i == 0) {
      stack.reset(gene, raster, target);
    } else {
      stack.add(gene, raster, 0);
    }
  }
  stack.repaint(target);
  const std::int64_t spoilt = stack.squaredError();
  FitColourRefit refit;
  EXPECT_TRUE(refit.run(stack, target));
  EXPECT_LT(stack.squaredError(), spoilt / 2);
  EXPECT_LE(stack.squaredError(), result.squaredError * 11 / 10);
  const std::int64_t kept = stack.squaredError();
  stack.repaint(target);
  EXPECT_EQ(stack.squaredError(), kept);
}

TEST(FitWorkers, RunsEveryIndexOncePerJob) {
  FitWorkers workers(3);
  ASSERT_EQ(workers.size(), 3);
  std::atomic<int> calls[3] = {0, 0, 0};
  const std::function<void(int)> job = [&](int i) { ++calls[i]; };
  for (int round = 0; round < 200; ++round) workers.run(job);
  for (const auto& c : calls) EXPECT_EQ(c.load(), 200);
}

}  // namespace
}  // namespace orvane
