#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "tools/randomart/append_genome.h"
#include "tools/randomart/evolution_parameters.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/genome_rendering.h"
#include "tools/randomart/random_art_mode.h"

namespace orvane {

// The parameters as the worker reads them while the dialog may change them: each one a relaxed
// atomic, so a change shows from the worker's next iteration on.
class LiveParameters {
 public:
  explicit LiveParameters(const EvolutionParameters& initial = {}) { assign(initial); }
  void assign(const EvolutionParameters& parameters) {
    for (int i = 0; i < kParameterCount; ++i) set(i, parameters[i]);
  }
  void set(int index, std::int32_t value) {
    values_.at(std::size_t(index)).store(value, std::memory_order_relaxed);
  }
  std::int32_t get(int index) const {
    return values_.at(std::size_t(index)).load(std::memory_order_relaxed);
  }
  EvolutionParameters snapshot() const {
    EvolutionParameters p;
    for (int i = 0; i < kParameterCount; ++i) p[i] = get(i);
    return p;
  }

 private:
  std::array<std::atomic<std::int32_t>, kParameterCount> values_{};
};

// The state of one random-art session, shared by the dialog, the worker and the DNA files.
// The genomes, their counts and the target picture belong to the worker while it runs; any
// other thread touches them only while it holds a pause (RandomArtWorker::addPause). The
// parameters and the two flags may be changed at any time.
struct RandomArtState {
  std::string dnaPath;  // the last DNA file imported or exported
  // The output size the user chose. The analysis always runs on the 192 x 96 field; this size
  // only travels with the state and its DNA files (and sizes a new emblem on the command line).
  std::int32_t width = 192;
  std::int32_t height = 96;
  std::atomic<bool> autoExport{true};
  std::atomic<bool> showProcessing{true};
  TargetPixels targetPixels;  // the analysed target, 192 x 96, or empty
  Genome candidate;
  Genome best;
  // What the best genome needs behind it in an emblem: the evolution's white ground, or nothing
  // for a fitted genome, whose first gene is its own backdrop. Goes with `best`.
  GenomeBackdrop bestBackdrop = GenomeBackdrop::White;
  LiveParameters parameters;
  // How the worker builds the best genome; read once, when the worker first runs.
  std::atomic<RandomArtMode> mode{RandomArtMode::Evolve};
  std::atomic<bool> stop{false};
};

}  // namespace orvane
