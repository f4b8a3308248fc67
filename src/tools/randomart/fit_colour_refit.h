#pragma once

#include <cstdint>
#include <vector>

#include "tools/randomart/fit_stack.h"

namespace orvane {

// Refits the colours of all layers at once, their quads, parts and alpha levels fixed. With
// those fixed, the picture is linear in the layers' colours (pixel = sum over layers of colour
// x alpha x what the layers above let through), so the best colours are a least-squares
// problem over the whole picture; it is solved with each colour kept within 0 ... 255
// (projected Gauss-Seidel), then each channel taken to its nearest 6-bit value. The stack
// takes the colours only when the picture drawn again exactly has a lower error.
class FitColourRefit {
 public:
  // True when the stack took new colours.
  bool run(FitStack& stack, const TargetPixels& target);

 private:
  struct Entry {
    std::int32_t layer;
    float weight;
  };
  void collectWeights(const FitStack& stack);
  void solve(int layers, const TargetPixels& target);

  std::vector<std::int32_t> firstEntry_;  // per pixel, into entries_ (kFieldPixels + 1)
  std::vector<Entry> entries_;            // per pixel, the layers over it and their weights
  std::vector<float> through_;            // scratch: per pixel, what the layers above let through
  std::vector<std::int32_t> fill_;        // scratch: entries written per pixel so far
  std::vector<double> normal_;            // layers x layers
  std::vector<double> right_;             // layers x 3
  std::vector<double> colour_;            // layers x 3
  std::vector<Gene> before_;
};

}  // namespace orvane
