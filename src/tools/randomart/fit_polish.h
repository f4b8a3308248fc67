#pragma once

#include <cstdint>
#include <vector>

#include "tools/randomart/fit_scene.h"
#include "tools/randomart/fit_stack.h"

namespace orvane {

// Refits the layers of a finished stack one at a time with all the others fixed. For layer i
// it makes the scene the layer sits in (the picture below it, the picture without it, and how
// much of it the layers above let through), and a refitted layer is taken only when the
// picture drawn again exactly has a lower error. Layers are visited back to front in a round, so
// the picture below each one is carried forward instead of drawn again.
class FitPolisher {
 public:
  FitPolisher();

  // Starts a round: below layer 1 lies the backdrop alone.
  void beginRound(const FitStack& stack);
  // The scene of layer i (1 ... size - 1, in increasing order within a round).
  void prepare(const FitStack& stack, int i, const TargetPixels& target, FitScene& scene);

  // The error of the picture with layer i replaced in its place; the picture is kept for
  // replace().
  std::int64_t errorWithReplacement(const FitStack& stack, int i, const Gene& gene,
                                    const FitRaster& raster, const TargetPixels& target);
  // Hands the stack the replacement measured last.
  void replace(FitStack& stack, int i, const Gene& gene, const FitRaster& raster,
               std::int64_t error);
  // Moves past layer i: its present version joins the picture below.
  void finish(const FitStack& stack, int i);

 private:
  std::vector<std::uint32_t> below_;
  std::vector<std::uint32_t> without_;
  std::vector<std::uint32_t> trial_;
  std::vector<float> through_;
};

}  // namespace orvane
