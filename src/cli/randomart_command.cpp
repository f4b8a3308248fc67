#include <iostream>
#include <limits>

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
#include "tools/randomart/target_picture.h"

namespace orvane::cli {
namespace {

constexpr std::uint64_t kDefaultIterations = 20000;
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

}  // namespace

// orvane randomart PICTURE OUT.ovml [options]: evolves layers towards the picture without a
// window, then writes them as a new emblem (or into --into's emblem) in the way the editor's
// tool adds them.
int runRandomArt(const Arguments& arguments) {
  const ParsedArguments parsed = parseArguments(
      arguments, {},
      {"--seed", "--iterations", "--seconds", "--set", "--dna-in", "--dna-out", "--into"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) {
    return reportUsageError("randomart takes a picture and an output emblem");
  }
  if (parsed.has("--iterations") && parsed.has("--seconds")) {
    return reportUsageError("give --iterations or --seconds, not both");
  }
  const std::string& picture = parsed.positional[0];
  const std::string& output = parsed.positional[1];
  if (!emblemFileTypeOf(output)) {
    return reportFailure(output, "unknown output type (expected .ovml or .ovr)");
  }
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
  std::uint64_t seed = 0;
  if (const std::string* v = parsed.value("--seed")) {
    const auto n = scanUint64(*v);
    if (!n) {
      return reportUsageError(
          optionProblem("--seed", "a whole number 0 ... 18446744073709551615", *v));
    }
    seed = *n;
  } else {
    seed = RandomGenerator::clockSeed();
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
  if (!loadTargetPictureFile(picture, state.targetPixels, &error)) {
    return reportFailure(picture, error);
  }
  EmblemDocument document;
  if (const std::string* into = parsed.value("--into")) {
    if (!readEmblemFile(document, *into, &error)) return reportFailure(*into, error);
  } else if (!document.newDocument(u"", state.width, state.height)) {
    return reportFailure(output, "cannot make a new emblem");
  }
  PartsAtlasBuffer atlas;
  if (!loadEmbeddedPartsAtlas(atlas)) return reportFailure("parts atlas", "cannot be unpacked");

  IncrementalEvaluator evaluator;
  if (!evaluator.create(atlas)) return reportFailure("parts atlas", "cannot be drawn");
  RandomGenerator random(seed);
  EvolutionEngine engine(evaluator, random);
  if (!engine.start(state.best, state.targetPixels)) {
    return reportFailure(picture, "cannot be measured");
  }
  std::cerr << "seed " << seed << '\n';
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
  if (outcome.end == EvolutionEnd::Failed) return reportFailure(picture, "cannot be measured");
  printer.print(engine.counters(), outcome.status, state.best.count);

  if (const std::string* dnaOut = parsed.value("--dna-out")) {
    if (!exportDnaFile(*dnaOut, state, nullptr, &error)) return reportFailure(*dnaOut, error);
  }
  if (!AppendGenomeAsLayers(document, state.best)) {
    return reportFailure(output, "the layers cannot be added");
  }
  if (!writeEmblemFile(document, output, {}, &error)) return reportFailure(output, error);
  return kExitSuccess;
}

}  // namespace orvane::cli
