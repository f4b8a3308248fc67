#pragma once

#include <cstdint>
#include <vector>

#include "render/texture.h"
#include "tools/randomart/fit_parts.h"
#include "tools/randomart/fit_random.h"
#include "tools/randomart/fit_raster.h"
#include "tools/randomart/fit_scene.h"
#include "tools/randomart/gene.h"

namespace orvane {

// How hard one thread looks for one layer.
struct FitEffort {
  int randomCandidates = 150;  // random quads tried
  int climbers = 3;            // the best of them refined by hill climbing
  int climbSteps = 150;        // moves tried per climber
  int largestExtent = 48;      // half the side of the largest random quad, in emblem units
};

// A layer found by a search: its gene (quad, part, solved colour and alpha) and the change of
// the squared error the colour model predicts for it (negative: it helps).
struct FitCandidate {
  Gene gene{};
  double delta = 0;
  bool found = false;
};

// One thread's search for a layer in a scene: random quads of the fitting's parts, placed
// where the error is, each with its best colour; the best few then climb by moving one vertex
// (or shifting, scaling or turning the whole quad) at a time with shrinking steps. Keeps its own
// scratch, so once made it allocates nothing per candidate.
class FitSearch {
 public:
  // Reads the shared atlas texture (RegionPainter::makeAtlasTexture); false for none or no
  // parts.
  bool create(TexturePtr atlasTexture, std::vector<FitPart> parts);

  // The best layer found. `start`, when given, climbs too (a layer being polished), so the
  // result is never worse than it in the model.
  FitCandidate search(const FitScene& scene, const FitEffort& effort, FitRandom& random,
                      const Gene* start = nullptr);
  // Solves the gene's colour in the scene, writes it into the gene and returns the model's
  // change of the squared error (0 for a quad that covers nothing).
  double evaluate(const FitScene& scene, Gene& gene);
  // The rasteriser and the last raster made, for the caller's exact checks.
  FitRasteriser& rasteriser() { return rasteriser_; }
  // Whether a part's texels are all opaque (parts outside the list count as not).
  bool isSolid(std::uint32_t part) const;

  std::uint64_t evaluations() const { return evaluations_; }

 private:
  Gene randomQuad(const FitScene& scene, const FitEffort& effort, FitRandom& random) const;
  // One climbing move of at most `step` units; false when it gives no usable quad.
  bool move(Gene& gene, int step, FitRandom& random) const;
  // Keeps the `keep` lowest deltas in best_, lowest first.
  void offer(const FitCandidate& candidate, int keep);

  FitRasteriser rasteriser_;
  FitRaster raster_;
  std::vector<FitPart> parts_;
  std::vector<FitCandidate> best_;
  std::uint64_t evaluations_ = 0;
};

}  // namespace orvane
