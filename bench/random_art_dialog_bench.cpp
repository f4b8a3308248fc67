// The random-art worker's speed with its dialog open, running and showing the pictures being
// processed, against the worker alone, and how fast the dialog's event loop answers meanwhile.
// Targets: at least 90 % of the lone worker's iterations per second, and input answered within
// 20 ms.
//
//   QT_QPA_PLATFORM=offscreen build/bench/random_art_dialog_bench [seconds per run] [genes]
//   [rounds]
//
// Both runs start from the same genome, grown once from a fixed seed on the committed target
// picture and then held at its size (layerCountMin = layerCountMax), and use the same seed, so
// they do the same kind of work. Runs alternate (alone, dialog, alone, dialog, ...) so a busy
// machine affects both alike; the medians are reported, after one dialog run that is not
// counted (the first dialog loads its fonts). Each rate is given per second and per second of
// the worker's own processor time, which shows what the dialog costs the worker when the machine
// is shared. The latency is measured by posting an event to the dialog's thread every 20 ms and
// timing its delivery, as a key press would wait.
#include <sys/resource.h>

#include <QApplication>
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

// Processor seconds of the calling thread (RUSAGE_THREAD) or the whole process (RUSAGE_SELF).
double processorSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Measures a stretch of a run driven from the main thread: the wall-clock time, and the
// processor time of the main thread and of the rest of the process (the worker).
class Stopwatch {
 public:
  Stopwatch()
      : start_(Clock::now()),
        process_(processorSeconds(RUSAGE_SELF)),
        main_(processorSeconds(RUSAGE_THREAD)) {}
  double elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
  double mainProcessor() const { return processorSeconds(RUSAGE_THREAD) - main_; }
  double otherProcessor() const {
    return processorSeconds(RUSAGE_SELF) - process_ - mainProcessor();
  }

 private:
  Clock::time_point start_;
  double process_, main_;
};

// Measured candidates a second of wall-clock time, and a second of the worker's processor time
// (which a busy machine changes far less).
struct Rate {
  double perSecond = 0;
  double perWorkerSecond = 0;
};

// The worker with no dialog (its progress only counted).
Rate aloneRate(const Setup& setup, double seconds) {
  RandomArtState state;
  fill(state, setup);
  RandomGenerator random(99);
  std::atomic<std::uint32_t> simulations{0};
  WorkerCallbacks callbacks;
  callbacks.progress = [&](const EvolutionProgress& p) { simulations.store(p.simulationCount); };
  RandomArtWorker worker(state, setup.atlas, random, callbacks);
  worker.launch();
  worker.removePause();
  const Stopwatch watch;
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  worker.addPause();
  const double count = simulations.load();
  return {count / watch.elapsed(), count / watch.otherProcessor()};
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
  Rate rate;
  double interfaceLoad = 0;  // processor time of the dialog's thread per second of the run
  std::vector<double> delays;
};

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
  poster.start(20);
  dialog.startSimulation();
  const Stopwatch watch;
  QEventLoop loop;
  QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  dialog.pauseSimulation();  // shows the newest count
  const double elapsed = watch.elapsed();
  const double interface = watch.mainProcessor(), worker = watch.otherProcessor();
  poster.stop();
  QCoreApplication::processEvents();
  const QString text = dialog.findChild<QLabel*>("simulations")->text();
  DialogRun run;
  const double count = text.left(text.size() - 1).toDouble();
  run.rate = {count / elapsed, count / worker};
  run.delays = probe.delays;
  run.interfaceLoad = interface / elapsed;
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
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  Setup setup;
  prepare(setup, genes);
  // The first dialog loads the fonts and lays itself out: not counted.
  dialogRate(setup, 0.5);
  std::vector<double> alone, withDialog, aloneCpu, withDialogCpu, delays, loads;
  for (int round = 0; round < rounds; ++round) {
    const Rate lone = aloneRate(setup, seconds);
    const DialogRun run = dialogRate(setup, seconds);
    alone.push_back(lone.perSecond);
    aloneCpu.push_back(lone.perWorkerSecond);
    withDialog.push_back(run.rate.perSecond);
    withDialogCpu.push_back(run.rate.perWorkerSecond);
    loads.push_back(run.interfaceLoad);
    delays.insert(delays.end(), run.delays.begin(), run.delays.end());
    std::printf("round %d: alone %.0f/s (%.0f per worker second), with the dialog %.0f/s (%.0f)\n",
                round + 1, lone.perSecond, lone.perWorkerSecond, run.rate.perSecond,
                run.rate.perWorkerSecond);
  }
  std::printf("genes %d, %.1f s a run, %d rounds; medians:\n", genes, seconds, rounds);
  std::printf("worker alone        %8.0f iterations/s, %8.0f per second of worker time\n",
              median(alone), median(aloneCpu));
  std::printf("dialog open, shown  %8.0f iterations/s, %8.0f per second of worker time\n",
              median(withDialog), median(withDialogCpu));
  std::printf(
      "ratio               %7.1f %% of wall-clock rate, %5.1f %% per worker second "
      "(target >= 90 %%)\n",
      100 * median(withDialog) / median(alone), 100 * median(withDialogCpu) / median(aloneCpu));
  std::printf("interface thread    %7.1f %% of one core\n", 100 * median(loads));
  std::printf(
      "event loop latency  median %.2f ms, 99th percentile %.2f ms, max %.2f ms over %zu "
      "events (target <= 20 ms)\n",
      median(delays), percentile(delays, 0.99), percentile(delays, 1.0), delays.size());
  return 0;
}
