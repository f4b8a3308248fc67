// The shape fitting against the evolution on the benchmark pictures (bench/fit_*.jpg, made by
// make_fit_pictures, and the cartoon randomart_target.png), at equal processor time. Prints a
// table of picture x time x mode -> RMS error (0 ... 255), layers and candidates per second,
// and the fit's error as a share of the evolution's at the same time (the target: at most
// 0.55). The fit runs on one thread and on two; with two, "seconds" are processor seconds
// halved, the time two free cores would take. A third column of runs plans for 3 s on one
// thread and reports when the fit first reaches the evolution's error at the longest time
// (the target: within 3 s).
//
//   build/bench/randomart_fit_bench                      # short: 1 s and 3 s
//   build/bench/randomart_fit_bench --seconds 10,60 --sheet docs/randomart-fit.png
//   build/bench/randomart_fit_bench --memory             # peak memory and allocations
//
// Options: --seconds A,B,... (processor seconds; the evolution runs once to the last and is
// read at each), --pictures NAME,... (portrait, animal, table, night, cartoon), --seed N, and
// --sheet PATH for a contact sheet: one row per picture of the target, the evolution at the
// last time, and the one-thread fit at each time.
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "bench_atlas.h"
#include "formats/parts_atlas.h"
#include "render/picture_file.h"
#include "tools/randomart/evolution.h"
#include "tools/randomart/fit_engine.h"
#include "tools/randomart/fit_paint.h"
#include "tools/randomart/target_picture.h"

namespace orvane::bench {
namespace {

double processorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TargetPixels loadPicture(const std::string& name) {
  const std::string file = name == "cartoon" ? "randomart_target.png" : "fit_" + name + ".jpg";
  TargetPixels target;
  std::string error;
  if (!loadTargetPictureFile(std::string(ORVANE_BENCH_DIR) + "/" + file, target, &error)) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
    std::exit(1);
  }
  return target;
}

using Picture192 = std::vector<std::uint32_t>;

struct Measure {
  double rms = 0;
  int layers = 0;
  double candidatesPerSecond = 0;
  Picture192 picture;
};

// The evolution with the dialog's default parameters, read at each checkpoint.
std::vector<Measure> evolve(const TargetPixels& target, const std::vector<double>& checkpoints,
                            std::uint32_t seed) {
  IncrementalEvaluator evaluator;
  if (!evaluator.create(orvane::bench::benchAtlas())) std::abort();
  RandomGenerator random(seed);
  EvolutionEngine engine(evaluator, random);
  Genome best, candidate;
  if (!engine.start(best, target)) std::abort();
  const EvolutionParameters parameters;
  std::vector<Measure> measures;
  const double start = processorSeconds();
  for (std::size_t next = 0; next < checkpoints.size();) {
    for (int i = 0; i < 64; ++i) engine.step(best, candidate, parameters);
    const double seconds = processorSeconds() - start;
    if (seconds < checkpoints[next]) continue;
    const PixelView view = evaluator.bestPicture();
    Measure m;
    m.rms = rmsOf(squaredDistance(view.pixels, target.data(), kFieldPixels));
    m.layers = best.count;
    m.candidatesPerSecond = engine.counters().simulationCount / seconds;
    m.picture.assign(view.pixels, view.pixels + kFieldPixels);
    measures.push_back(std::move(m));
    ++next;
  }
  return measures;
}

struct FitMeasure : Measure {
  double reachedAt = -1;  // when the error first fell to `reach`, or -1
};

// One fit of `seconds` on `threads` threads; the clock counts processor time per thread.
FitMeasure fit(FitEngine& engine, const TargetPixels& target, double seconds, int threads,
               std::uint32_t seed, double reach = 0) {
  FitSettings settings;
  settings.seconds = seconds;
  settings.threads = threads;
  settings.seed = seed;
  const double start = processorSeconds();
  settings.clock = [&] { return (processorSeconds() - start) / threads; };
  FitMeasure m;
  FitResult result;
  const bool ok = engine.run(target, settings, result, [&](const FitProgress& p) {
    if (m.reachedAt < 0 && p.rmsError <= reach) m.reachedAt = p.seconds;
  });
  if (!ok) std::abort();
  m.rms = result.rmsError;
  m.layers = result.genome.count;
  m.candidatesPerSecond = double(result.candidates) / (result.seconds * threads);
  m.picture.assign(engine.picture().pixels, engine.picture().pixels + kFieldPixels);
  return m;
}

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
  return items;
}

// Rows of 192 x 96 pictures side by side, 4 pixels apart, on dark grey.
void writeSheet(const std::string& path, const std::vector<std::vector<Picture192>>& rows) {
  constexpr int kGap = 4;
  const int columns = rows.empty() ? 0 : int(rows.front().size());
  Picture sheet;
  sheet.width = kGap + columns * (kFieldWidth + kGap);
  sheet.height = kGap + int(rows.size()) * (kFieldHeight + kGap);
  sheet.rgba.assign(std::size_t(sheet.width) * sheet.height * 4, 48);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const int x0 = kGap + int(c) * (kFieldWidth + kGap),
                y0 = kGap + int(r) * (kFieldHeight + kGap);
      for (int i = 0; i < kFieldPixels; ++i) {
        const std::uint32_t argb = rows[r][c][std::size_t(i)];
        std::uint8_t* out =
            &sheet.rgba[(std::size_t(y0 + i / kFieldWidth) * sheet.width + x0 + i % kFieldWidth) *
                        4];
        out[0] = std::uint8_t(argb >> 16), out[1] = std::uint8_t(argb >> 8),
        out[2] = std::uint8_t(argb);
      }
    }
  }
  for (std::size_t i = 3; i < sheet.rgba.size(); i += 4) sheet.rgba[i] = 255;
  std::string error;
  if (!writePictureFile(path, sheet, ImageFormat::Png, false, &error)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
  }
}

// Peak memory of a process that only fits, and what the engine allocates once warm.
int reportMemory(std::uint32_t seed) {
  const TargetPixels target = loadPicture("portrait");
  const long before = peakKilobytes();
  FitEngine engine;
  if (!engine.create(orvane::bench::benchAtlas())) return 1;
  fit(engine, target, 3, 2, seed);
  const long allocationsBefore = orvane::bench::allocations.load();
  FitResult result;
  FitSettings settings;
  settings.seconds = 3;
  if (!engine.run(target, settings, result)) return 1;
  const long made = orvane::bench::allocations.load() - allocationsBefore;
  std::printf("peak resident memory: %.1f MB (%.1f MB before the engine: atlas and picture)\n",
              peakKilobytes() / 1024.0, before / 1024.0);
  std::printf(
      "a second 3-s run on the warm engine: %ld allocations for %llu candidates "
      "(%.5f per candidate: the layers kept, the threads, the colour refits)\n",
      made, static_cast<unsigned long long>(result.candidates),
      double(made) / double(result.candidates));
  return 0;
}

int run(int argc, char** argv) {
  std::vector<double> checkpoints = {1, 3};
  std::vector<std::string> pictures = {"portrait", "animal", "table", "night", "cartoon"};
  std::uint32_t seed = 1;
  std::string sheetPath;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--memory") return reportMemory(seed);
    if (option == "--seconds" && hasValue) {
      checkpoints.clear();
      for (const std::string& s : splitList(argv[++i])) checkpoints.push_back(std::atof(s.c_str()));
      std::sort(checkpoints.begin(), checkpoints.end());
    } else if (option == "--pictures" && hasValue) {
      pictures = splitList(argv[++i]);
    } else if (option == "--seed" && hasValue) {
      seed = std::uint32_t(std::atol(argv[++i]));
    } else if (option == "--sheet" && hasValue) {
      sheetPath = argv[++i];
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  std::printf("| picture | seconds | mode | RMS error | layers | candidates/s | fit / evolve |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  std::vector<std::vector<Picture192>> sheet;
  FitEngine engine;
  if (!engine.create(orvane::bench::benchAtlas())) return 1;
  std::vector<std::string> reachLines;
  for (const std::string& name : pictures) {
    const TargetPixels target = loadPicture(name);
    const std::vector<Measure> evolution = evolve(target, checkpoints, seed);
    std::vector<Picture192> row = {Picture192(target.begin(), target.end()),
                                   evolution.back().picture};
    for (std::size_t k = 0; k < checkpoints.size(); ++k) {
      const double seconds = checkpoints[k];
      const Measure& e = evolution[k];
      std::printf("| %s | %g | evolve | %.2f | %d | %.0f | |\n", name.c_str(), seconds, e.rms,
                  e.layers, e.candidatesPerSecond);
      for (const int threads : {1, 2}) {
        const FitMeasure f = fit(engine, target, seconds, threads, seed);
        std::printf("| %s | %g | fit, %d thread%s | %.2f | %d | %.0f | %.2f |\n", name.c_str(),
                    seconds, threads, threads > 1 ? "s" : "", f.rms, f.layers,
                    f.candidatesPerSecond, f.rms / e.rms);
        if (threads == 1) row.push_back(f.picture);
      }
      std::fflush(stdout);
    }
    const double goal = evolution.back().rms;
    const FitMeasure quick = fit(engine, target, 3, 1, seed, goal);
    char line[200];
    std::snprintf(line, sizeof line,
                  "%s: evolve at %g s: %.2f; a 3-s fit on one thread reaches it at %.2f s "
                  "(%.2f at 3 s)",
                  name.c_str(), checkpoints.back(), goal, quick.reachedAt, quick.rms);
    reachLines.push_back(line);
    sheet.push_back(std::move(row));
  }
  std::printf("\n");
  for (const std::string& line : reachLines) std::printf("%s\n", line.c_str());
  if (!sheetPath.empty()) writeSheet(sheetPath, sheet);
  return 0;
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) { return orvane::bench::run(argc, argv); }
