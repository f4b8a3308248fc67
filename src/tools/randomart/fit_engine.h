#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "render/texture.h"
#include "tools/randomart/fit_colour_refit.h"
#include "tools/randomart/fit_polish.h"
#include "tools/randomart/fit_scene.h"
#include "tools/randomart/fit_search.h"
#include "tools/randomart/fit_stack.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {

class PartsAtlasBuffer;

// Random art by fitting shapes one at a time, the fast counterpart of the evolution: the
// picture starts as one backdrop layer in the target's mean colour, and each further layer is
// the best one found on top of the frozen picture below it (random quads of a few plain and
// soft parts, the best refined by hill climbing, every colour and alpha solved by least
// squares; every few layers the colours of all of them are refitted together). When the layer
// budget is spent and time remains, the layers are polished: each refitted in turn with the
// others fixed. Every layer is one an emblem can hold, and the picture scored is exactly what
// RenderGenome draws for the genes.
//
// A timed run plans its search effort from the seconds it is given, not from the clock, so it
// repeats for a seed; the clock only decides how many layers get polished (or, on a machine
// far slower than planned for, added).

inline constexpr int kDefaultFitLayers = 224;  // on top of the backdrop: 225 in all
inline constexpr int kMaxFitThreads = 8;

// How to fit.
struct FitSettings {
  int layerBudget = kDefaultFitLayers;  // layers on top of the backdrop (0 ... 510)
  double seconds = 10;                  // time limit; 0 for none
  std::uint64_t seed = 1;
  int threads = 2;  // searches run side by side, each with its own random stream
  // The search effort per layer and thread; planned from `seconds` when absent.
  std::optional<FitEffort> effort;
  // Polish rounds at most; 0: as many as the time limit allows (none without one).
  int polishRounds = 0;
  std::vector<std::uint32_t> parts;  // the parts to draw with; empty: kDefaultFitParts
  // Seconds from any fixed start, read between layers; the steady clock when empty. A caller
  // may count processor time instead.
  std::function<double()> clock;
};

enum class FitPhase { Adding, Polishing };

// What the engine reports after each layer added or polished.
struct FitProgress {
  FitPhase phase = FitPhase::Adding;
  int layers = 0;       // the backdrop included
  double rmsError = 0;  // root mean square of the channel differences, 0 ... 255
  double fitRatio = 0;  // (1 - distance / largest distance) x 100, as the evolution reports
  std::uint64_t candidates = 0;     // layers tried, over all threads
  double seconds = 0;               // since the run began
  int polishRound = 0;              // rounds finished
  PixelView picture;                // the picture so far, valid during the call
  const FitStack* stack = nullptr;  // its layers (FitStack::toGenome), valid during the call
};
using FitProgressCallback = std::function<void(const FitProgress&)>;

struct FitResult {
  // The backdrop first, then the layers from back to front. It covers the field itself:
  // AppendGenomeAsLayers(document, genome, GenomeBackdrop::None) adds it to an emblem.
  Genome genome;
  std::int64_t squaredError = 0;
  std::int32_t distance = 0;  // MeasureError's distance of the picture
  double rmsError = 0;
  double fitRatio = 0;
  std::uint64_t candidates = 0;
  double seconds = 0;
  int polishRounds = 0;
  bool cutShort = false;  // the stop flag or the time limit ended the adding of layers
};

// The effort per new layer that a run of that many seconds plans for on each thread (the
// defaults of FitEffort without a time limit), and the effort per polished layer that goes
// with an effort per new layer.
FitEffort plannedEffort(double seconds, int layerBudget);
FitEffort polishingEffort(const FitEffort& adding);

// The engine keeps its buffers between runs. One run at a time; its threads are its own.
class FitEngine {
 public:
  FitEngine();
  ~FitEngine();
  // Makes the atlas texture the searches share; false when the atlas is empty. The atlas must
  // outlive the engine (each run checks the parts it is asked to use in it).
  bool create(const PartsAtlasBuffer& atlas);

  // Fits the target (192 x 96, as loadTargetPicture makes it). The stop flag is read between
  // layers; a stopped run still returns the layers so far. For one seed, thread count and
  // settings the result is always the same, up to where a time limit or the stop flag ends it.
  // False with a reason for a missing target, no usable part or an engine not made.
  bool run(const TargetPixels& target, const FitSettings& settings, FitResult& result,
           const FitProgressCallback& progress = {}, const std::atomic<bool>* stop = nullptr,
           std::string* error = nullptr);

  // The picture of the last run.
  PixelView picture() const { return stack_.view(); }

 private:
  class Run;
  TexturePtr atlasTexture_;
  const PartsAtlasBuffer* atlas_ = nullptr;
  std::vector<std::unique_ptr<FitSearch>> searches_;
  FitScene scene_;
  FitStack stack_;
  FitPolisher polisher_;
  FitColourRefit colourRefit_;
  FitRaster raster_;
};

// One run on a fresh engine.
bool fitPicture(const PartsAtlasBuffer& atlas, const TargetPixels& target,
                const FitSettings& settings, FitResult& result,
                const FitProgressCallback& progress = {}, const std::atomic<bool>* stop = nullptr,
                std::string* error = nullptr);

}  // namespace orvane
