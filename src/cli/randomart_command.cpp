#include <iostream>

#include "base/failure.h"
#include "base/numbers.h"
#include "cli/commands.h"
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

// Applies "NAME=VALUE" to the parameters; false with a reason for an unknown name or a value
// outside the parameter's range.
bool applySetting(const std::string& setting, EvolutionParameters& parameters,
                  std::string* problem) {
  const auto equals = setting.find('=');
  const auto index = parameterIndex(setting.substr(0, equals));
  const auto value =
      equals == std::string::npos ? std::nullopt : scanInt(setting.substr(equals + 1));
  if (!index || !value) {
    return fail(problem, "--set expects NAME=VALUE with a parameter name, got '" + setting + "'");
  }
  if (clampParameter(*index, *value) != *value) {
    const ParameterInfo& info = kParameterTable[std::size_t(*index)];
    return fail(problem, std::string(info.name) + " must lie in " + formatInt(info.min) + " ... " +
                             formatInt(info.max));
  }
  parameters[*index] = *value;
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
    const auto n = scanInt(*v);
    if (!n || *n < 0) return reportUsageError("--iterations needs a count of 0 or more");
    length.iterations = std::uint64_t(*n);
  }
  if (const std::string* v = parsed.value("--seconds")) {
    const auto s = scanDouble(*v);
    if (!s || !(*s >= 0)) return reportUsageError("--seconds needs a number of 0 or more");
    length.seconds = *s;
  }
  std::uint64_t seed = 0;
  if (const std::string* v = parsed.value("--seed")) {
    const auto n = scanUint64(*v);
    if (!n) return reportUsageError("--seed needs a whole number 0 ... 18446744073709551615");
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
  hooks.stopWhen = [&](const EvolutionStatus& status) { return length.reached(status); };
  hooks.measured = [&](EvolutionStep, const EvolutionStatus& status, EvolutionEngine&) {
    printer.everySecond(engine.counters(), status, state.best.count);
  };
  const EvolutionOutcome outcome = runEvolution(engine, state, hooks);
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
