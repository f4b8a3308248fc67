#include "cli/randomart_progress.h"

#include <algorithm>

#include "base/numbers.h"
#include "tools/randomart/elapsed_time.h"

namespace orvane::cli {
namespace {

std::string twoDigits(std::uint32_t value) {
  return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

}  // namespace

std::string englishElapsedTime(std::uint32_t ms) {
  const std::uint32_t days = ms / 86'400'000;
  const std::uint32_t hours = ms % 86'400'000 / 3'600'000;
  const std::uint32_t minutes = ms % 3'600'000 / 60'000;
  const std::uint32_t seconds = ms % 60'000 / 1000;
  if (days > 0) {
    return formatInt(days) + "d " + twoDigits(hours) + "h " + twoDigits(minutes) + "m " +
           twoDigits(seconds) + "s";
  }
  if (hours > 0) {
    return formatInt(hours) + "h " + twoDigits(minutes) + "m " + twoDigits(seconds) + "s";
  }
  if (minutes > 0) return formatInt(minutes) + "m " + twoDigits(seconds) + "s";
  return formatInt(seconds) + "s";
}

std::string progressLine(const EvolutionCounters& counters, const EvolutionStatus& status,
                         std::int32_t layerCount) {
  const EvolutionProgress p = progressOf(counters, status.elapsedMilliseconds(), layerCount);
  const double seconds = status.elapsedSeconds();
  const double perSecond = seconds > 0 ? double(status.iterations) / seconds : 0.0;
  return "fit " + formatTwoDecimals(p.fitRatio) + "%  relative " +
         formatTwoDecimals(p.relativeFitRatio) + "%  best updates " + formatInt(p.bestUpdateCount) +
         "  simulations " + formatInt(p.simulationCount) + "  layers " + formatInt(p.bestCount) +
         "  elapsed " + englishElapsedTime(p.elapsedMilliseconds) + "  " +
         formatTwoDecimals(perSecond) + " iterations/s";
}

namespace {

std::string fitFigures(int layers, double rms, double fitRatio, std::uint64_t candidates,
                       double seconds) {
  return "layers " + formatInt(layers) + "  rms " + formatTwoDecimals(rms) + "  fit " +
         formatTwoDecimals(fitRatio) + "%  candidates " + formatInt(candidates) + "  elapsed " +
         englishElapsedTime(std::uint32_t(std::clamp(seconds * 1000.0, 0.0, 4294967295.0)));
}

}  // namespace

std::string fitProgressLine(const FitProgress& p) {
  const std::string phase =
      p.phase == FitPhase::Adding ? "adding" : "polishing round " + formatInt(p.polishRound + 1);
  return phase + "  " + fitFigures(p.layers, p.rmsError, p.fitRatio, p.candidates, p.seconds);
}

std::string fitResultLine(const FitResult& r) {
  std::string line =
      "done  " + fitFigures(r.genome.count, r.rmsError, r.fitRatio, r.candidates, r.seconds);
  line += "  polish rounds " + formatInt(r.polishRounds);
  if (r.cutShort) line += " (stopped early)";
  return line;
}

void ProgressPrinter::everySecond(const EvolutionCounters& counters, const EvolutionStatus& status,
                                  std::int32_t layerCount) {
  if (status.elapsed - printedAt_ >= std::chrono::seconds(1)) print(counters, status, layerCount);
}

void ProgressPrinter::print(const EvolutionCounters& counters, const EvolutionStatus& status,
                            std::int32_t layerCount) {
  out_ << progressLine(counters, status, layerCount) << '\n';
  printedAt_ = status.elapsed;
}

}  // namespace orvane::cli
