// The worker's pause protocol and its endings. These tests also run under ThreadSanitizer:
// scripts/tsan.sh.
#include "tools/randomart/random_art_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "randomart_test_support.h"
#include "tools/randomart/dna_file.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Counts what the worker reports; read from the test thread at any time.
struct Reports {
  std::atomic<std::uint32_t> simulations{0};
  std::atomic<int> finishedCount{0};
  std::atomic<EvolutionEnd> end{EvolutionEnd::Stopped};

  WorkerCallbacks callbacks() {
    WorkerCallbacks c;
    c.progress = [this](const EvolutionProgress& p) { simulations.store(p.simulationCount); };
    c.finished = [this](EvolutionEnd e) {
      end.store(e);
      finishedCount.fetch_add(1);
    };
    return c;
  }
};

// Generous: only a failing test waits this long, and the fits under ThreadSanitizer are slow.
template <typename Condition>
bool waitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Small genomes keep each iteration short.
void smallGenomes(RandomArtState& state) {
  EvolutionParameters p;
  p.layerCountMax = 20;
  state.parameters.assign(p);
}

TEST(RandomArtWorker, PausesNestAndOnlyTheLastStartRunsIt) {
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  smallGenomes(state);
  RandomGenerator random(17);
  Reports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(reports.simulations.load(), 0u);  // created paused
  EXPECT_EQ(worker.pauseCount(), 1);

  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > 20; }));
  worker.removePause();  // start while running changes nothing
  EXPECT_EQ(worker.pauseCount(), 0);

  worker.addPause();
  worker.addPause();
  // Held: the genomes may be read and written here.
  const std::uint32_t held = reports.simulations.load();
  const int count = state.best.count;
  EXPECT_GE(count, 1);
  std::this_thread::sleep_for(30ms);
  worker.removePause();
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(reports.simulations.load(), held);  // still paused once
  EXPECT_EQ(state.best.count, count);
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > held + 10; }));
  worker.close();
  EXPECT_EQ(reports.finishedCount.load(), 1);
  EXPECT_EQ(reports.end.load(), EvolutionEnd::Stopped);
}

// A pause lets the worker hand over what it held back before it stops: the hook runs on the
// worker, once per pause, and before addPause returns, so what it published is the last thing the
// worker did.
TEST(RandomArtWorker, AskedPausesAreAnnouncedBeforeTheWorkerStops) {
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  smallGenomes(state);
  RandomGenerator random(23);
  Reports reports;
  std::atomic<int> pausings{0};
  std::atomic<std::uint32_t> simulationsWhenPausing{0};
  WorkerCallbacks callbacks = reports.callbacks();
  callbacks.pausing = [&] {
    simulationsWhenPausing.store(reports.simulations.load());
    pausings.fetch_add(1);
  };
  RandomArtWorker worker(state, test::partsAtlas(), random, callbacks);
  ASSERT_TRUE(worker.launch());
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > 10; }));
  EXPECT_EQ(pausings.load(), 0);  // never while running freely
  worker.addPause();
  EXPECT_EQ(pausings.load(), 1);
  EXPECT_EQ(simulationsWhenPausing.load(), reports.simulations.load());
  worker.addPause();  // already stopped: nothing more to hand over
  EXPECT_EQ(pausings.load(), 1);
  worker.removePause();
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > simulationsWhenPausing + 10; }));
  worker.addPause();
  EXPECT_EQ(pausings.load(), 2);
  worker.close();
}

TEST(RandomArtWorker, ClosesInEveryStateWithoutHanging) {
  RandomGenerator random(3);
  {  // paused many times
    RandomArtState state;
    state.targetPixels = test::sampleTarget();
    smallGenomes(state);
    Reports reports;
    RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
    ASSERT_TRUE(worker.launch());
    worker.removePause();
    ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > 5; }));
    for (int i = 0; i < 5; ++i) worker.addPause();
    worker.close();
    EXPECT_EQ(reports.end.load(), EvolutionEnd::Stopped);
  }
  {  // never started, no picture
    RandomArtState state;
    Reports reports;
    RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
    ASSERT_TRUE(worker.launch());
    worker.close();
    EXPECT_EQ(reports.end.load(), EvolutionEnd::Stopped);
    EXPECT_EQ(reports.finishedCount.load(), 1);
    worker.close();  // twice is harmless
  }
  {  // started without a picture: the first measurement fails and the run ends by itself
    RandomArtState state;
    Reports reports;
    RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
    ASSERT_TRUE(worker.launch());
    worker.removePause();
    ASSERT_TRUE(waitFor([&] { return reports.finishedCount.load() == 1; }));
    EXPECT_EQ(reports.end.load(), EvolutionEnd::Failed);
    worker.addPause();  // returns at once: the worker has ended
    worker.close();
  }
  {  // never launched
    RandomArtState state;
    RandomArtWorker worker(state, test::partsAtlas(), random);
    worker.close();
  }
}

TEST(RandomArtWorker, AnExactMatchEndsTheRunAsAccepted) {
  RandomArtState state;
  state.targetPixels.assign(kFieldPixels, 0xFFFFFFFFu);  // the white ground itself
  EvolutionParameters p;
  for (int i : {2, 3, 4, 5, 6, 10, 13, 16, 19, 22}) p[i] = 2000;
  p.coordSmallMoveWidth = 0;
  p.coordSmallMoveRate = 1;
  state.parameters.assign(p);
  state.best.count = 1;  // one gene far outside the field
  for (int k = 0; k < 8; ++k) state.best.genes[0].xy[k] = std::int8_t(k % 2 ? 120 : -125);
  RandomGenerator random(5);
  Reports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.finishedCount.load() == 1; }));
  EXPECT_EQ(reports.end.load(), EvolutionEnd::Perfect);
}

TEST(RandomArtWorker, DnaImportHoldsAPauseAndKeepsTheWorkersState) {
  const auto path = std::filesystem::temp_directory_path() / "orvane_worker_test.dna";
  RandomArtState source;
  source.targetPixels = test::sampleTarget();
  source.best.count = 3;
  ASSERT_TRUE(exportDnaFile(path, source, nullptr));

  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  smallGenomes(state);
  RandomGenerator random(8);
  Reports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  ASSERT_TRUE(importDnaFile(path, state, &worker));  // while paused: stays paused
  EXPECT_EQ(worker.pauseCount(), 1);
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > 5; }));
  ASSERT_TRUE(importDnaFile(path, state, &worker));  // while running: runs on
  EXPECT_EQ(worker.pauseCount(), 0);
  const std::uint32_t after = reports.simulations.load();
  ASSERT_TRUE(waitFor([&] { return reports.simulations.load() > after + 5; }));
  ASSERT_TRUE(exportDnaFile(path, state, &worker));
  worker.close();
  std::filesystem::remove(path);
}

// The shape fitting on the same worker: what a fit reports, counted from the test thread.
struct FitReports : Reports {
  std::atomic<int> layers{0};
  std::atomic<int> reportCount{0};
  std::atomic<int> pictures{0};

  WorkerCallbacks callbacks() {
    WorkerCallbacks c = Reports::callbacks();
    c.progress = [this](const EvolutionProgress& p) {
      simulations.store(p.simulationCount);
      layers.store(p.bestCount);
      reportCount.fetch_add(1);
    };
    c.bestShown = [this](const PixelView&) { pictures.fetch_add(1); };
    return c;
  }
};

// A gene covering the whole coordinate square opaquely: the fit's backdrop.
bool isBackdrop(const Gene& gene) {
  const std::int8_t square[8] = {-128, -128, -128, 127, 127, -128, 127, 127};
  return std::equal(square, square + 8, gene.xy) && geneColour(gene) >> 24 == 0xFF;
}

// How soon a pause must hold: a layer's search, which the sanitizers slow many times over.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr auto kPauseHoldsWithin = 10s;
#else
constexpr auto kPauseHoldsWithin = 1s;
#endif

TEST(RandomArtWorkerFit, PausesBetweenLayersAndKeepsTheBestGenomeUpToDate) {
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  state.mode.store(RandomArtMode::Fit);
  RandomGenerator random(31);
  FitReports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(reports.reportCount.load(), 0);  // created paused
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.layers.load() >= 4; }));
  EXPECT_GT(reports.simulations.load(), 100u);
  EXPECT_GT(reports.pictures.load(), 0);

  // A pause is honoured within a layer's search, and then nothing moves.
  const auto asked = std::chrono::steady_clock::now();
  worker.addPause();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, kPauseHoldsWithin);
  const int reported = reports.reportCount.load();
  const int layers = state.best.count;
  EXPECT_EQ(layers, reports.layers.load());  // the genome of the last report
  EXPECT_TRUE(isBackdrop(state.best.genes[0]));
  EXPECT_EQ(state.bestBackdrop, GenomeBackdrop::None);  // it brings its own
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(reports.reportCount.load(), reported);
  EXPECT_EQ(state.best.count, layers);

  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.reportCount.load() > reported + 2; }));
  worker.close();
  EXPECT_EQ(reports.end.load(), EvolutionEnd::Stopped);
  EXPECT_GE(state.best.count, layers);
  EXPECT_TRUE(isBackdrop(state.best.genes[0]));
}

// A colour the six-bit channels hold exactly (each byte (c << 2) | (c >> 4)): the backdrop alone
// matches it.
constexpr std::uint32_t kExactColour = 0xFF41C382u;

TEST(RandomArtWorkerFit, AnExactBackdropEndsTheRunAsAccepted) {
  RandomArtState state;
  state.targetPixels.assign(kFieldPixels, kExactColour);
  state.mode.store(RandomArtMode::Fit);
  RandomGenerator random(5);
  FitReports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.finishedCount.load() == 1; }));
  EXPECT_EQ(reports.end.load(), EvolutionEnd::Perfect);
  ASSERT_EQ(state.best.count, 1);
  EXPECT_EQ(geneColour(state.best.genes[0]), kExactColour);
  EXPECT_EQ(state.bestBackdrop, GenomeBackdrop::None);
}

TEST(RandomArtWorkerFit, ANewPictureDuringAPauseStartsTheFitAgainOnIt) {
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  state.mode.store(RandomArtMode::Fit);
  RandomGenerator random(9);
  FitReports reports;
  RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
  ASSERT_TRUE(worker.launch());
  worker.removePause();
  ASSERT_TRUE(waitFor([&] { return reports.layers.load() >= 4; }));
  {
    ScopedPause pause(&worker);
    state.targetPixels.assign(kFieldPixels, kExactColour);
  }
  // Fitted afresh, the plain picture needs the backdrop alone.
  ASSERT_TRUE(waitFor([&] { return reports.finishedCount.load() == 1; }));
  EXPECT_EQ(reports.end.load(), EvolutionEnd::Perfect);
  ASSERT_EQ(state.best.count, 1);
  EXPECT_EQ(geneColour(state.best.genes[0]), kExactColour);
}

TEST(RandomArtWorkerFit, ClosesWhetherRunningPausedOrWithoutAPicture) {
  RandomGenerator random(4);
  {  // paused several times mid-fit
    RandomArtState state;
    state.targetPixels = test::sampleTarget();
    state.mode.store(RandomArtMode::Fit);
    FitReports reports;
    RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
    ASSERT_TRUE(worker.launch());
    worker.removePause();
    ASSERT_TRUE(waitFor([&] { return reports.layers.load() >= 2; }));
    for (int i = 0; i < 3; ++i) worker.addPause();
    worker.close();
    EXPECT_EQ(reports.end.load(), EvolutionEnd::Stopped);
  }
  {  // started without a picture: nothing to fit, the run fails by itself
    RandomArtState state;
    state.mode.store(RandomArtMode::Fit);
    FitReports reports;
    RandomArtWorker worker(state, test::partsAtlas(), random, reports.callbacks());
    ASSERT_TRUE(worker.launch());
    worker.removePause();
    ASSERT_TRUE(waitFor([&] { return reports.finishedCount.load() == 1; }));
    EXPECT_EQ(reports.end.load(), EvolutionEnd::Failed);
    worker.close();
  }
}

}  // namespace
}  // namespace orvane
