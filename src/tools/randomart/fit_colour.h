#pragma once

#include <cstdint>

#include "tools/randomart/gene.h"

namespace orvane {

// A layer's alpha is one of eight levels and each of its colour channels keeps six bits, as
// the property pages store them.
inline constexpr int kAlphaLevels = 8;
// The alpha byte of a level: 32 k + 31 (31 ... 255), the same as a gene's.
constexpr std::uint32_t levelAlpha(int level) { return 32u * std::uint32_t(level) + 31u; }
// The byte of a 6-bit channel: its low two bits repeat the top two (0 ... 255).
constexpr std::uint32_t channelByte(std::uint32_t q) { return (q << 2) | (q >> 4); }
// The 6-bit channel whose byte lies nearest to `value` (taken within 0 ... 255).
std::uint32_t nearestChannel(double value);

// What the colour solver needs of a candidate's pixels. The model: where the layer covers
// pixel p with weight w (its coverage, 0 ... 1, times what the layers above it let through),
// the picture's residual in a channel (picture minus target) moves from r to
// r + a w (c - d), d being the colour below the layer, c the layer's colour and a its alpha
// (0 ... 1). Sums over the covered pixels, per channel red, green, blue:
struct ColourSums {
  double ww = 0;                     // sum of w^2
  double wwd[3] = {}, wwdd[3] = {};  // sums of w^2 d and w^2 d^2
  double wr[3] = {}, wdr[3] = {};    // sums of w r and w d r

  // Adds one pixel.
  void add(double w, const double d[3], const double r[3]) {
    const double w2 = w * w;
    ww += w2;
    for (int c = 0; c < 3; ++c) {
      wwd[c] += w2 * d[c];
      wwdd[c] += w2 * d[c] * d[c];
      wr[c] += w * r[c];
      wdr[c] += w * d[c] * r[c];
    }
  }
};

// A solved colour: 6-bit red, green and blue, an alpha level, and the change of the squared
// error (summed over the three channels) that the model predicts for it.
struct FittedColour {
  std::uint8_t channel[3] = {0, 0, 0};
  int level = kAlphaLevels - 1;
  double delta = 0;
};

// The model's change of the squared error for a colour at a level.
double modelDelta(const ColourSums& sums, const std::uint8_t (&channel)[3], int level);

// The best colour: for each alpha level the least-squares colour of each channel, taken to
// the nearest 6-bit value (the error is a parabola in each channel, so the nearest value is
// the best one), and of the eight the level with the lowest error. With nothing covered, the
// change is 0.
FittedColour solveColour(const ColourSums& sums);

// Writes the colour and alpha into a gene's attributes, leaving its part.
void setGeneColour(Gene& gene, const FittedColour& colour);

}  // namespace orvane
