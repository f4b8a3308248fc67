// The random-art worker's speed with its dialog open, running and showing the pictures being
// processed, against the worker alone, and how fast the dialog's event loop answers meanwhile.
// Targets: at least 90 % of the lone worker's iterations per second, and input answered within
// 20 ms.
//
//   QT_QPA_PLATFORM=offscreen build/bench/random_art_dialog_bench [seconds per run] [genes]
//
// Both runs start from the same genome, grown once from a fixed seed on the committed target
// picture and then held at its size (layerCountMin = layerCountMax), and use the same seed, so
// they do the same kind of work. Runs alternate (alone, dialog, alone, dialog, ...) so a busy
// machine affects both alike; the medians are reported, after one dialog run that is not
// counted (the first dialog loads its fonts). The latency is measured by posting an
// event to the dialog's thread every 5 ms and timing its delivery, as a key press would wait.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/file_dialogs.h"
#include "app/tools/random_art_dialog.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/randomart/evolution.h"
#include "tools/randomart/target_picture.h"

namespace orvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Setup {
  PartsAtlasBuffer atlas;
  TargetPixels target;
  Genome grown;
  EvolutionParameters parameters;
};

void prepare(Setup& setup, int genes) {
  if (!loadEmbeddedPartsAtlas(setup.atlas) ||
      !loadTargetPictureFile(ORVANE_BENCH_DIR "/randomart_target.png", setup.target)) {
    std::fprintf(stderr, "the atlas or the target picture is missing\n");
    std::exit(1);
  }
  IncrementalEvaluator evaluator;
  evaluator.create(setup.atlas);
  RandomGenerator random(2024);
  EvolutionEngine engine(evaluator, random);
  Genome candidate;
  engine.start(setup.grown, setup.target);
  setup.parameters.layerCountMax = genes;
  while (setup.grown.count < genes) engine.step(setup.grown, candidate, setup.parameters);
  setup.parameters.layerCountMin = genes;
}

void fill(RandomArtState& state, const Setup& setup) {
  state.targetPixels = setup.target;
  copyGenome(setup.grown, state.best);
  state.parameters.assign(setup.parameters);
}

// Measured candidates a second of the worker with no dialog (its progress only counted).
double aloneRate(const Setup& setup, double seconds) {
  RandomArtState state;
  fill(state, setup);
  RandomGenerator random(99);
  std::atomic<std::uint32_t> simulations{0};
  WorkerCallbacks callbacks;
  callbacks.progress = [&](const EvolutionProgress& p) { simulations.store(p.simulationCount); };
  RandomArtWorker worker(state, setup.atlas, random, callbacks);
  worker.launch();
  worker.removePause();
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  worker.addPause();
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  return simulations.load() / elapsed;
}

// Posts itself a timed event and records how long each one waited for the event loop.
class LatencyProbe : public QObject {
 public:
  std::vector<double> delays;  // milliseconds
  void post() {
    auto* event = new QEvent(QEvent::User);
    posted_.push_back(Clock::now());
    QCoreApplication::postEvent(this, event);
  }
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    delays.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - posted_[delays.size()]).count());
    return true;
  }

 private:
  std::vector<Clock::time_point> posted_;
};

struct DialogRun {
  double rate = 0;
  double interfaceLoad = 0;  // processor time of the dialog's thread per second of the run
  std::vector<double> delays;
};

double threadProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

DialogRun dialogRate(const Setup& setup, double seconds) {
  RandomArtState state;
  fill(state, setup);
  RandomGenerator random(99);
  QtFileDialogs dialogs;
  RandomArtDialog dialog(state, setup.atlas, random, dialogs);
  dialog.show();
  QCoreApplication::processEvents();
  LatencyProbe probe;
  QTimer poster;
  QObject::connect(&poster, &QTimer::timeout, [&] { probe.post(); });
  poster.start(5);
  dialog.startSimulation();
  const auto start = Clock::now();
  const double processorBefore = threadProcessorSeconds();
  QEventLoop loop;
  QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  dialog.pauseSimulation();  // shows the newest count
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  const double processor = threadProcessorSeconds() - processorBefore;
  poster.stop();
  QCoreApplication::processEvents();
  const QString text = dialog.findChild<QLabel*>("simulations")->text();
  DialogRun run;
  run.rate = text.left(text.size() - 1).toDouble() / elapsed;
  run.delays = probe.delays;
  run.interfaceLoad = processor / elapsed;
  dialog.reject();
  return run;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[std::min(values.size() - 1, std::size_t(p * values.size()))];
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
  using namespace orvane::bench;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  const int genes = argc > 2 ? std::atoi(argv[2]) : 300;
  constexpr int kRounds = 3;
  Setup setup;
  prepare(setup, genes);
  // The first dialog loads the fonts and lays itself out: not counted.
  dialogRate(setup, 0.5);
  std::vector<double> alone, withDialog, delays, loads;
  for (int round = 0; round < kRounds; ++round) {
    alone.push_back(aloneRate(setup, seconds));
    DialogRun run = dialogRate(setup, seconds);
    withDialog.push_back(run.rate);
    loads.push_back(run.interfaceLoad);
    delays.insert(delays.end(), run.delays.begin(), run.delays.end());
    std::printf("round %d: alone %.0f/s, with the dialog %.0f/s\n", round + 1, alone.back(),
                withDialog.back());
  }
  const double ratio = median(withDialog) / median(alone);
  std::printf("genes %d, %.1f s a run, %d rounds\n", genes, seconds, kRounds);
  std::printf("worker alone        %10.0f iterations/s (median)\n", median(alone));
  std::printf("dialog open, shown  %10.0f iterations/s (median)  = %.1f %%  (target >= 90 %%)\n",
              median(withDialog), 100 * ratio);
  std::printf("interface thread    %10.1f %% of one core (median)\n", 100 * median(loads));
  std::printf(
      "event loop latency  median %.2f ms, 99th percentile %.2f ms, max %.2f ms over %zu "
      "events  (target <= 20 ms)\n",
      median(delays), percentile(delays, 0.99), percentile(delays, 1.0), delays.size());
  return 0;
}
