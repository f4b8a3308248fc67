#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <limits>
#include <thread>
#include <vector>

#include "base/failure.h"
#include "base/numbers.h"
#include "cli/commands.h"
#include "cli/interruption.h"
#include "cli/randomart_progress.h"
#include "formats/emblem_file.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/randomart/append_genome.h"
#include "tools/randomart/dna_file.h"
#include "tools/randomart/evolution_loop.h"
#include "tools/randomart/fit_engine.h"
#include "tools/randomart/random_art_mode.h"
#include "tools/randomart/target_picture.h"

namespace orvane::cli {
namespace {

constexpr std::uint64_t kDefaultIterations = 20000;
// The shape fitting's time budget when none is given.
constexpr double kDefaultFitSeconds = 10;
// A year: longer runs are surely typing mistakes.
constexpr double kMaxSeconds = 365.0 * 24 * 3600;

// Applies "NAME=VALUE" to the parameters; false with a reason for an unknown name or a value
// outside the parameter's range.
bool applySetting(const std::string& setting, EvolutionParameters& parameters,
                  std::string* problem) {
  const auto equals = setting.find('=');
  const auto index = parameterIndex(setting.substr(0, equals));
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  const auto value =
      equals == std::string::npos
          ? std::nullopt
          : wholeNumberWithin(std::string_view(setting).substr(equals + 1), kMin, kMax);
  if (!index || !value) {
    return fail(
        problem,
        optionProblem("--set", "NAME=VALUE with a parameter name and a whole number", setting));
  }
  const std::int32_t number = std::int32_t(*value);
  if (clampParameter(*index, number) != number) {
    const ParameterInfo& info = kParameterTable[std::size_t(*index)];
    return fail(problem, "--set: " + std::string(info.name) + " must lie in " +
                             formatInt(info.min) + " ... " + formatInt(info.max));
  }
  parameters[*index] = number;
  return true;
}

// One search per core, as many as the fitting engine runs side by side.
int fitThreads() { return std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxFitThreads); }

// The options each mode refuses: they belong to the other one.
std::vector<const char*> optionsRefusedBy(RandomArtMode mode) {
  if (mode == RandomArtMode::Fit) return {"--iterations", "--set", "--dna-in"};
  return {"--layers"};
}

// What to use instead of a refused option, where there is something.
std::string refusalHint(RandomArtMode mode, std::string_view option) {
  if (mode == RandomArtMode::Evolve && option == "--layers") {
    return " (the evolution's layer limit is --set layerCountMax=N)";
  }
  if (mode == RandomArtMode::Fit && option == "--iterations") {
    return " (the fitting runs for --seconds)";
  }
  if (mode == RandomArtMode::Fit && option == "--dna-in") {
    return " (the fitting starts from the picture alone)";
  }
  return "";
}

// When the run ends: after a number of iterations, or once a time is up.
struct RunLength {
  std::uint64_t iterations = kDefaultIterations;
  std::optional<double> seconds;
  bool reached(const EvolutionStatus& status) const {
    if (!seconds) return status.iterations >= iterations;
    // The clock is read anyway; checking it every 64 iterations keeps the limit's cost nil.
    return status.iterations % 64 == 0 && status.elapsedSeconds() >= *seconds;
  }
};

// The picture, the output and where the layers go, as both modes share them.
struct RandomArtJob {
  std::string picture;
  std::string output;
  const std::string* into = nullptr;
  std::uint64_t seed = 0;
};

// Reads the target and the emblem the layers go into (--into's, or a new one of the state's
// size); a failure has been reported when it returns false.
bool prepareJob(const RandomArtJob& job, RandomArtState& state, EmblemDocument& document,
                PartsAtlasBuffer& atlas, int& status) {
  std::string error;
  if (!loadTargetPictureFile(job.picture, state.targetPixels, &error)) {
    status = reportFailure(job.picture, error);
    return false;
  }
  if (job.into) {
    if (!readEmblemFile(document, *job.into, &error)) {
      status = reportFailure(*job.into, error);
      return false;
    }
  } else if (!document.newDocument(u"", state.width, state.height)) {
    status = reportFailure(job.output, "cannot make a new emblem");
    return false;
  }
  if (!loadEmbeddedPartsAtlas(atlas)) {
    status = reportFailure("parts atlas", "cannot be unpacked");
    return false;
  }
  return true;
}

// Adds the genome to the document as one group and writes the emblem.
int writeResult(const RandomArtJob& job, EmblemDocument& document, const Genome& genome,
                GenomeBackdrop backdrop) {
  if (!AppendGenomeAsLayers(document, genome, backdrop)) {
    return reportFailure(job.output, "the layers cannot be added");
  }
  std::string error;
  if (!writeEmblemFile(document, job.output, {}, &error)) return reportFailure(job.output, error);
  return kExitSuccess;
}

int runEvolveMode(const ParsedArguments& parsed, const RandomArtJob& job) {
  RunLength length;
  if (const std::string* v = parsed.value("--iterations")) {
    const auto n = wholeNumberWithin(*v, 0, std::numeric_limits<std::int64_t>::max());
    if (!n) {
      return reportUsageError(
          optionProblem("--iterations", "a whole number 0 ... 9223372036854775807", *v));
    }
    length.iterations = std::uint64_t(*n);
  }
  if (const std::string* v = parsed.value("--seconds")) {
    const auto s = parseDecimalNumber(*v);
    if (!s || !(*s >= 0) || *s > kMaxSeconds) {
      return reportUsageError(optionProblem("--seconds", "a number 0 ... 31536000 (a year)", *v));
    }
    length.seconds = *s;
  }

  RandomArtState state;
  std::string error;
  if (const std::string* dnaIn = parsed.value("--dna-in")) {
    if (!importDnaFile(*dnaIn, state, nullptr, &error)) return reportFailure(*dnaIn, error);
  }
  EvolutionParameters parameters = state.parameters.snapshot();
  for (const auto& [name, value] : parsed.options) {
    std::string problem;
    if (name == "--set" && !applySetting(value, parameters, &problem)) {
      return reportUsageError(problem);
    }
  }
  state.parameters.assign(parameters);
  EmblemDocument document;
  PartsAtlasBuffer atlas;
  int status = kExitSuccess;
  if (!prepareJob(job, state, document, atlas, status)) return status;

  IncrementalEvaluator evaluator;
  if (!evaluator.create(atlas)) return reportFailure("parts atlas", "cannot be drawn");
  RandomGenerator random(job.seed);
  EvolutionEngine engine(evaluator, random);
  if (!engine.start(state.best, state.targetPixels)) {
    return reportFailure(job.picture, "cannot be measured");
  }
  std::cerr << "seed " << job.seed << '\n';
  ProgressPrinter printer(std::cerr);
  EvolutionHooks hooks;
  hooks.stopWhen = [&](const EvolutionStatus& status) {
    return interrupted() || length.reached(status);
  };
  hooks.measured = [&](EvolutionStep, const EvolutionStatus& status, EvolutionEngine&) {
    printer.everySecond(engine.counters(), status, state.best.count);
  };
  const EvolutionOutcome outcome = runEvolution(engine, state, hooks);
  if (interrupted()) return reportInterrupted();  // nothing is written
  if (outcome.end == EvolutionEnd::Failed) {
    return reportFailure(job.picture, "cannot be measured");
  }
  printer.print(engine.counters(), outcome.status, state.best.count);

  if (const std::string* dnaOut = parsed.value("--dna-out")) {
    if (!exportDnaFile(*dnaOut, state, nullptr, &error)) return reportFailure(*dnaOut, error);
  }
  return writeResult(job, document, state.best, GenomeBackdrop::White);
}

int runFitMode(const ParsedArguments& parsed, const RandomArtJob& job) {
  FitSettings settings;
  settings.seconds = kDefaultFitSeconds;
  settings.seed = job.seed;
  settings.threads = fitThreads();
  if (const std::string* v = parsed.value("--seconds")) {
    const auto s = parseDecimalNumber(*v);
    if (!s || !(*s > 0) || *s > kMaxSeconds) {
      return reportUsageError(
          optionProblem("--seconds", "a number above 0, at most 31536000 (a year)", *v));
    }
    settings.seconds = *s;
  }
  if (const std::string* v = parsed.value("--layers")) {
    const auto n = wholeNumberWithin(*v, 1, kMaxGeneCount - 1);
    if (!n) {
      return reportUsageError(optionProblem(
          "--layers", "a whole number 1 ... 511 (the backdrop and the layers on it)", *v));
    }
    settings.layerBudget = int(*n) - 1;
  }

  RandomArtState state;
  EmblemDocument document;
  PartsAtlasBuffer atlas;
  int status = kExitSuccess;
  if (!prepareJob(job, state, document, atlas, status)) return status;

  std::cerr << "seed " << job.seed << '\n';
  // The engine looks at its stop flag between layers; Ctrl+C reaches it there.
  std::atomic<bool> stop{false};
  double printedAt = 0;  // the run's seconds at the last line
  FitResult result;
  std::string error;
  const bool fitted = fitPicture(
      atlas, state.targetPixels, settings, result,
      [&](const FitProgress& progress) {
        if (interrupted()) stop.store(true);
        if (progress.seconds - printedAt >= 1) {
          std::cerr << fitProgressLine(progress) << '\n';
          printedAt = progress.seconds;
        }
      },
      &stop, &error);
  if (interrupted()) return reportInterrupted();  // nothing is written
  if (!fitted) return reportFailure(job.picture, error);
  std::cerr << fitResultLine(result) << '\n';

  if (const std::string* dnaOut = parsed.value("--dna-out")) {
    state.best = result.genome;
    if (!exportDnaFile(*dnaOut, state, nullptr, &error)) return reportFailure(*dnaOut, error);
  }
  return writeResult(job, document, result.genome, GenomeBackdrop::None);
}

}  // namespace

// orvane randomart PICTURE OUT.ovml [options]: builds layers that approximate the picture without
// a window, by evolution (the editor's simulation) or by fitting shapes one at a time, then
// writes them as a new emblem (or into --into's emblem) in the way the editor's tool adds them.
int runRandomArt(const Arguments& arguments) {
  const ParsedArguments parsed =
      parseArguments(arguments, {},
                     {"--mode", "--seed", "--iterations", "--seconds", "--layers", "--set",
                      "--dna-in", "--dna-out", "--into"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) {
    return reportUsageError("randomart takes a picture and an output emblem");
  }
  const std::string* modeName = parsed.value("--mode");
  const std::optional<RandomArtMode> mode =
      modeName ? randomArtModeNamed(*modeName) : RandomArtMode::Evolve;
  if (!mode) return reportUsageError(optionProblem("--mode", "evolve or fit", *modeName));
  for (const char* option : optionsRefusedBy(*mode)) {
    if (parsed.has(option)) {
      return reportUsageError(std::string(option) + " does not apply to --mode " +
                              std::string(randomArtModeName(*mode)) + refusalHint(*mode, option));
    }
  }
  if (parsed.has("--iterations") && parsed.has("--seconds")) {
    return reportUsageError("give --iterations or --seconds, not both");
  }
  RandomArtJob job;
  job.picture = parsed.positional[0];
  job.output = parsed.positional[1];
  job.into = parsed.value("--into");
  if (!emblemFileTypeOf(job.output)) {
    return reportFailure(job.output, "unknown output type (expected .ovml or .ovr)");
  }
  if (const std::string* v = parsed.value("--seed")) {
    const auto n = scanUint64(*v);
    if (!n) {
      return reportUsageError(
          optionProblem("--seed", "a whole number 0 ... 18446744073709551615", *v));
    }
    job.seed = *n;
  } else {
    job.seed = RandomGenerator::clockSeed();
  }
  return *mode == RandomArtMode::Fit ? runFitMode(parsed, job) : runEvolveMode(parsed, job);
}

}  // namespace orvane::cli
