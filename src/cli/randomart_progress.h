#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "tools/randomart/evolution.h"
#include "tools/randomart/evolution_loop.h"
#include "tools/randomart/fit_engine.h"

namespace orvane::cli {

// A time in English as the progress line shows it: "7s", "3m 05s", "2h 03m 05s" or
// "1d 02h 03m 05s".
std::string englishElapsedTime(std::uint32_t milliseconds);

// The random-art progress line on the command line, in English:
// "fit 12.34%  relative 5.67%  best updates 10  simulations 300  layers 40  elapsed 1m 05s
//  123.45 iterations/s".
std::string progressLine(const EvolutionCounters& counters, const EvolutionStatus& status,
                         std::int32_t layerCount);

// The shape fitting's progress line: "adding  layers 120  rms 14.32  fit 95.12%  candidates
// 123456  elapsed 3s", with "polishing round 3" in place of "adding" once the layers are all
// there.
std::string fitProgressLine(const FitProgress& progress);
// Its closing line: "done  layers 225  rms 11.90  fit 96.51%  candidates 2345678  elapsed 10s
// polish rounds 2", with "(stopped early)" when the time ran out before all layers were added.
std::string fitResultLine(const FitResult& result);

// Writes progress lines, at most one a second unless asked for one.
class ProgressPrinter {
 public:
  explicit ProgressPrinter(std::ostream& out) : out_(out) {}
  void everySecond(const EvolutionCounters& counters, const EvolutionStatus& status,
                   std::int32_t layerCount);
  void print(const EvolutionCounters& counters, const EvolutionStatus& status,
             std::int32_t layerCount);

 private:
  std::ostream& out_;
  std::chrono::steady_clock::duration printedAt_{};
};

}  // namespace orvane::cli
