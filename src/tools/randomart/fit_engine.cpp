#include "tools/randomart/fit_engine.h"

#include <algorithm>
#include <chrono>
#include <climits>

#include "base/failure.h"
#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"
#include "tools/randomart/fit_paint.h"
#include "tools/randomart/fit_workers.h"
#include "tools/randomart/region_painter.h"

namespace orvane {
namespace {

// Searches in a row that may find nothing better before the adding of layers gives up.
constexpr int kMaxFruitlessSearches = 8;
// The colours of all layers are refitted together after every this many layers added, and
// before every polish round.
constexpr int kColourRefitInterval = 8;
// Candidates one thread evaluates per second on a typical picture (measured on the benchmark
// pictures), for planning a timed run without looking at the clock, so that a run repeats
// exactly for its seed. Adding the layers is planned to take 40 % of a short run but no more
// than 3 s + 5 % of a long one: measured, polishing gains more from further time than
// searching harder for each new layer does.
constexpr double kNominalCandidatesPerSecond = 90000;
double addingSeconds(double seconds) { return std::min(0.4 * seconds, 3.0 + 0.05 * seconds); }
// Of the candidates for a new layer, a quarter are random quads and the rest climbing steps;
// a polished layer climbs from where it is, so it tries a quarter as many random quads.
constexpr double kRandomShare = 0.25;
constexpr int kClimbers = 3;
constexpr int kPolishRandomDivisor = 4;

// The whole coordinate square in the target's mean colour, opaque.
Gene backdropOf(const TargetPixels& target) {
  double sums[3] = {0, 0, 0};
  for (const std::uint32_t pixel : target) {
    for (int c = 0; c < 3; ++c) sums[c] += double((pixel >> (16 - 8 * c)) & 0xFF);
  }
  Gene gene{};
  const std::int8_t square[8] = {-128, -128, -128, 127, 127, -128, 127, 127};
  std::copy(square, square + 8, gene.xy);
  gene.setField(kPartShift, kPartBits, kBlockArtPart);
  FittedColour colour;
  for (int c = 0; c < 3; ++c) {
    colour.channel[c] = std::uint8_t(nearestChannel(sums[c] / double(target.size())));
  }
  setGeneColour(gene, colour);
  return gene;
}

double fitRatioOf(std::int32_t distance) {
  return (1.0 - double(distance) / double(kMaxFieldError)) * 100.0;
}

}  // namespace

FitEffort plannedEffort(double seconds, int layerBudget) {
  FitEffort effort;
  if (!(seconds > 0) || layerBudget <= 0) return effort;
  const double perLayer = addingSeconds(seconds) * kNominalCandidatesPerSecond / layerBudget;
  effort.climbers = kClimbers;
  effort.randomCandidates = std::clamp(int(perLayer * kRandomShare), 30, 20000);
  effort.climbSteps = std::clamp(int(perLayer * (1 - kRandomShare) / kClimbers), 20, 5000);
  return effort;
}

FitEffort polishingEffort(const FitEffort& adding) {
  FitEffort effort = adding;
  effort.randomCandidates = std::max(1, adding.randomCandidates / kPolishRandomDivisor);
  return effort;
}

// One run: the settings, the clock, the threads and the counters.
class FitEngine::Run {
 public:
  Run(FitEngine& engine, const TargetPixels& target, const FitSettings& settings,
      const FitProgressCallback& progress, const std::atomic<bool>* stop)
      : engine_(engine),
        target_(target),
        settings_(settings),
        progress_(progress),
        stop_(stop),
        workers_(int(engine.searches_.size())),
        found_(engine.searches_.size()),
        job_([this](int t) {
          FitRandom random = FitRandom::streamOf(settings_.seed, serial_, std::uint64_t(t));
          found_[std::size_t(t)] =
              engine_.searches_[std::size_t(t)]->search(*scene_, effort_, random, start_);
        }) {
    startedAt_ = now();
  }

  void addLayers(FitResult& result);
  void polish(FitResult& result);
  double elapsed() const { return now() - startedAt_; }
  std::uint64_t candidates() const {
    std::uint64_t sum = 0;
    for (const auto& search : engine_.searches_) sum += search->evaluations();
    return sum;
  }

 private:
  double now() const {
    if (settings_.clock) return settings_.clock();
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  bool shouldEnd() const {
    return (stop_ && stop_->load(std::memory_order_relaxed)) ||
           (settings_.seconds > 0 && elapsed() >= settings_.seconds);
  }
  // All threads search the scene; the best result, the lowest thread winning ties.
  FitCandidate searchAll(const FitScene& scene, const FitEffort& effort, const Gene* start);
  void report(FitPhase phase, int round);

  FitEngine& engine_;
  const TargetPixels& target_;
  const FitSettings& settings_;
  const FitProgressCallback& progress_;
  const std::atomic<bool>* stop_;
  FitWorkers workers_;
  std::vector<FitCandidate> found_;
  std::function<void(int)> job_;
  const FitScene* scene_ = nullptr;
  FitEffort effort_;
  const Gene* start_ = nullptr;
  std::uint64_t serial_ = 0;  // one per search, so every search has streams of its own
  double startedAt_ = 0;
};

FitCandidate FitEngine::Run::searchAll(const FitScene& scene, const FitEffort& effort,
                                       const Gene* start) {
  scene_ = &scene;
  effort_ = effort;
  start_ = start;
  workers_.run(job_);
  ++serial_;
  FitCandidate best;
  for (const FitCandidate& candidate : found_) {
    if (candidate.found && (!best.found || candidate.delta < best.delta)) best = candidate;
  }
  return best;
}

void FitEngine::Run::report(FitPhase phase, int round) {
  if (!progress_) return;
  const FitStack& stack = engine_.stack_;
  FitProgress p;
  p.phase = phase;
  p.layers = stack.size();
  p.rmsError = rmsOf(stack.squaredError());
  p.fitRatio = fitRatioOf(MeasureError(target_, stack.view()));
  p.candidates = candidates();
  p.seconds = elapsed();
  p.polishRound = round;
  p.picture = stack.view();
  p.stack = &stack;
  progress_(p);
}

void FitEngine::Run::addLayers(FitResult& result) {
  FitStack& stack = engine_.stack_;
  FitRaster& raster = engine_.raster_;
  const FitEffort effort = settings_.effort
                               ? *settings_.effort
                               : plannedEffort(settings_.seconds, settings_.layerBudget);
  const int layers = std::clamp(settings_.layerBudget, 0, kMaxGeneCount - 1) + 1;
  engine_.scene_.setPicture(stack.picture(), target_);
  int fruitless = 0;
  while (stack.size() < layers) {
    if (shouldEnd()) {
      result.cutShort = true;
      return;
    }
    const FitCandidate best = searchAll(engine_.scene_, effort, nullptr);
    if (best.found && best.delta < 0) {
      FitSearch& search = *engine_.searches_.front();
      search.rasteriser().rasterise(best.gene, search.isSolid(best.gene.part()), raster);
      const std::int64_t change =
          squaredErrorChange(raster, geneColour(best.gene), stack.picture(), target_.data());
      if (change < 0) {
        stack.add(best.gene, raster, change);
        if (stack.size() % kColourRefitInterval == 0 && engine_.colourRefit_.run(stack, target_)) {
          engine_.scene_.setPicture(stack.picture(), target_);
        } else {
          engine_.scene_.updateRows(stack.picture(), target_, raster.rowBegin(), raster.rowEnd());
        }
        fruitless = 0;
        report(FitPhase::Adding, 0);
        continue;
      }
    }
    if (++fruitless >= kMaxFruitlessSearches) return;
  }
}

void FitEngine::Run::polish(FitResult& result) {
  FitStack& stack = engine_.stack_;
  FitPolisher& polisher = engine_.polisher_;
  FitSearch& rasterising = *engine_.searches_.front();
  const FitEffort effort =
      polishingEffort(settings_.effort ? *settings_.effort
                                       : plannedEffort(settings_.seconds, settings_.layerBudget));
  const int rounds =
      settings_.polishRounds > 0 ? settings_.polishRounds : (settings_.seconds > 0 ? INT_MAX : 0);
  for (int round = 0; round < rounds && stack.size() > 1; ++round) {
    if (shouldEnd()) return;
    engine_.colourRefit_.run(stack, target_);
    polisher.beginRound(stack);
    for (int i = 1; i < stack.size(); ++i) {
      if (shouldEnd()) return;
      polisher.prepare(stack, i, target_, engine_.scene_);
      const Gene current = stack.gene(i);
      const FitCandidate refit = searchAll(engine_.scene_, effort, &current);
      if (refit.found && !(refit.gene == current)) {
        rasterising.rasteriser().rasterise(refit.gene, rasterising.isSolid(refit.gene.part()),
                                           engine_.raster_);
        const std::int64_t error =
            polisher.errorWithReplacement(stack, i, refit.gene, engine_.raster_, target_);
        if (error < stack.squaredError()) {
          polisher.replace(stack, i, refit.gene, engine_.raster_, error);
        }
      }
      polisher.finish(stack, i);
      report(FitPhase::Polishing, round);
    }
    result.polishRounds = round + 1;
  }
}

FitEngine::FitEngine() = default;
FitEngine::~FitEngine() = default;

bool FitEngine::create(const PartsAtlasBuffer& atlas) {
  atlasTexture_ = RegionPainter::makeAtlasTexture(atlas);
  atlas_ = &atlas;
  searches_.clear();
  return atlasTexture_ != nullptr;
}

bool FitEngine::run(const TargetPixels& target, const FitSettings& settings, FitResult& result,
                    const FitProgressCallback& progress, const std::atomic<bool>* stop,
                    std::string* error) {
  result = {};
  if (!atlasTexture_ || !atlas_) return fail(error, "the fitting engine has no parts atlas");
  if (target.size() != std::size_t(kFieldPixels)) return fail(error, "there is no target picture");
  std::vector<FitPart> parts = settings.parts.empty() ? usableFitParts(*atlas_, kDefaultFitParts)
                                                      : usableFitParts(*atlas_, settings.parts);
  if (parts.empty()) return fail(error, "none of the parts can be fitted");
  const int threads = std::clamp(settings.threads, 1, kMaxFitThreads);
  searches_.clear();
  for (int t = 0; t < threads; ++t) {
    auto search = std::make_unique<FitSearch>();
    if (!search->create(atlasTexture_, parts)) return fail(error, "the search cannot be made");
    searches_.push_back(std::move(search));
  }

  const Gene backdrop = backdropOf(target);
  const std::uint32_t backdropPart[] = {backdrop.part()};
  const std::vector<FitPart> backdropParts = usableFitParts(*atlas_, backdropPart);
  searches_.front()->rasteriser().rasterise(
      backdrop, !backdropParts.empty() && backdropParts.front().solid, raster_);
  stack_.reset(backdrop, raster_, target);

  Run run(*this, target, settings, progress, stop);
  run.addLayers(result);
  if (!result.cutShort) run.polish(result);

  stack_.toGenome(result.genome);
  result.squaredError = stack_.squaredError();
  result.distance = MeasureError(target, stack_.view());
  result.rmsError = rmsOf(result.squaredError);
  result.fitRatio = fitRatioOf(result.distance);
  result.candidates = run.candidates();
  result.seconds = run.elapsed();
  return true;
}

bool fitPicture(const PartsAtlasBuffer& atlas, const TargetPixels& target,
                const FitSettings& settings, FitResult& result, const FitProgressCallback& progress,
                const std::atomic<bool>* stop, std::string* error) {
  FitEngine engine;
  if (!engine.create(atlas)) return fail(error, "the parts atlas is empty");
  return engine.run(target, settings, result, progress, stop, error);
}

}  // namespace orvane
