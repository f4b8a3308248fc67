// The run between the random-art worker and its dialog; these tests also run under
// ThreadSanitizer (scripts/tsan.sh).
#include "app/shell/random_art_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "app/shell/latest_value.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/randomart/genome_rendering.h"
#include "tools/randomart/target_picture.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

const PartsAtlasBuffer& atlas() {
  static const PartsAtlasBuffer buffer = [] {
    PartsAtlasBuffer b;
    loadEmbeddedPartsAtlas(b);
    return b;
  }();
  return buffer;
}

// A picture with a light and a dark half, so every run has plenty to improve.
TargetPixels halves() {
  Picture picture{2, 1, {250, 240, 10, 255, 20, 30, 200, 255}};
  TargetPixels target;
  makeTargetPixels(picture, target);
  return target;
}

template <typename Condition>
bool waitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(LatestValue, TheReaderGetsTheNewestValueOnce) {
  LatestValue<int> latest;
  EXPECT_EQ(latest.take(), nullptr);
  latest.publish(1);
  latest.publish(2);
  ASSERT_NE(latest.take(), nullptr);
  latest.publish(3);
  const int* value = latest.take();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(*value, 3);
  EXPECT_EQ(latest.take(), nullptr);
}

TEST(LatestValue, AReaderOnAnotherThreadSeesOnlyWholeValuesInOrder) {
  struct Pair {
    long a = 0, b = 0;
  };
  LatestValue<Pair> latest;
  constexpr long kLast = 200000;
  std::thread writer([&] {
    for (long i = 1; i <= kLast; ++i) latest.publish({i, -i});
  });
  long seen = 0;
  while (seen < kLast) {
    if (const Pair* p = latest.take()) {
      ASSERT_EQ(p->b, -p->a);  // never half of one value and half of another
      ASSERT_GT(p->a, seen);   // never an older value after a newer one
      seen = p->a;
    }
  }
  writer.join();
}

class RandomArtRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state_.targetPixels = halves();
    EvolutionParameters p;
    p.layerCountMax = 30;
    state_.parameters.assign(p);
  }
  RandomArtState state_;
  RandomGenerator random_{5};
};

TEST_F(RandomArtRunTest, APausedRunHasHandedOverItsNewestProgressAndPictures) {
  RandomArtRun run(state_, atlas(), random_);
  ASSERT_TRUE(run.launch());
  EXPECT_EQ(run.pauseCount(), 1);
  run.start();
  std::uint32_t simulations = 0;
  std::optional<EvolutionProgress> seen;
  ASSERT_TRUE(waitFor([&] {
    if (auto p = run.takeProgress()) {
      simulations = p->simulationCount;
      seen = p;
    }
    return simulations > 50;
  }));
  run.pause();
  // Whatever the worker did last is out now: the progress (unless the loop above already took
  // the newest) and both pictures.
  auto progress = run.takeProgress();
  if (!progress) progress = seen;
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->bestCount, state_.best.count);
  const RunPicture* best = run.takeBestPicture();
  ASSERT_NE(best, nullptr);
  Renderer view;
  ASSERT_TRUE(prepareGenomeView(view, atlas()));
  RenderGenome(view, state_.best);
  const PixelView drawn = view.backBuffer();
  EXPECT_EQ(MeasureError(state_.targetPixels, {kFieldWidth, kFieldHeight, best->data()}),
            MeasureError(state_.targetPixels, drawn));
  EXPECT_NE(run.takeSimulationPicture(), nullptr);
  // Nothing new while paused.
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(run.takeProgress());
  EXPECT_EQ(run.takeBestPicture(), nullptr);
  EXPECT_EQ(run.endedByItself(), std::nullopt);
  run.close();
}

// A fit hands over the picture of its layers as they are: exactly what the best genome draws.
TEST_F(RandomArtRunTest, AFitShowsItsBestGenomeAndCountsItsLayers) {
  state_.mode.store(RandomArtMode::Fit);
  RandomArtRun run(state_, atlas(), random_);
  ASSERT_TRUE(run.launch());
  EXPECT_FALSE(run.started());
  run.start();
  EXPECT_TRUE(run.started());
  std::optional<EvolutionProgress> seen;
  ASSERT_TRUE(waitFor([&] {
    if (auto p = run.takeProgress()) seen = p;
    return seen && seen->bestCount >= 3;
  }));
  run.pause();
  if (auto p = run.takeProgress()) seen = p;
  EXPECT_EQ(seen->bestCount, state_.best.count);
  EXPECT_GT(seen->relativeFitRatio, 0);  // closer than the white field
  const RunPicture* best = run.takeBestPicture();
  ASSERT_NE(best, nullptr);
  Renderer view;
  ASSERT_TRUE(prepareGenomeView(view, atlas()));
  RenderGenome(view, state_.best);
  const PixelView drawn = view.backBuffer();
  EXPECT_TRUE(std::equal(best->begin(), best->end(), drawn.pixels));
  run.close();
  EXPECT_EQ(run.endedByItself(), std::nullopt);
}

TEST_F(RandomArtRunTest, OnlyAStartedWorkerCountsAsStarted) {
  RandomArtRun unlaunched(state_, atlas(), random_);
  unlaunched.start();  // no worker: nothing starts
  EXPECT_FALSE(unlaunched.started());
}

TEST_F(RandomArtRunTest, ARunWithoutATargetEndsByItselfAsFailed) {
  state_.targetPixels.clear();
  RandomArtRun run(state_, atlas(), random_);
  ASSERT_TRUE(run.launch());
  run.start();
  ASSERT_TRUE(waitFor([&] { return run.endedByItself().has_value(); }));
  EXPECT_EQ(run.endedByItself(), EvolutionEnd::Failed);
  run.close();
  EXPECT_EQ(run.endedByItself(), std::nullopt);
}

}  // namespace
}  // namespace orvane
