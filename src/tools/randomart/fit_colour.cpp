#include "tools/randomart/fit_colour.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

// Below this total weight a candidate covers nothing worth solving for.
constexpr double kNegligibleWeight = 1e-9;

double channelDelta(const ColourSums& s, int c, double colour, double alpha) {
  const double drawn = colour * colour * s.ww - 2 * colour * s.wwd[c] + s.wwdd[c];
  return alpha * alpha * drawn + 2 * alpha * (colour * s.wr[c] - s.wdr[c]);
}

}  // namespace

std::uint32_t nearestChannel(double value) {
  value = std::clamp(value, 0.0, 255.0);
  const auto guess = std::uint32_t(std::lround(value * 63.0 / 255.0));
  std::uint32_t best = guess;
  for (std::uint32_t q = guess > 0 ? guess - 1 : 0; q <= std::min(guess + 1, 63u); ++q) {
    if (std::abs(double(channelByte(q)) - value) < std::abs(double(channelByte(best)) - value)) {
      best = q;
    }
  }
  return best;
}

double modelDelta(const ColourSums& sums, const std::uint8_t (&channel)[3], int level) {
  const double alpha = double(levelAlpha(level)) / 255.0;
  double delta = 0;
  for (int c = 0; c < 3; ++c) delta += channelDelta(sums, c, channelByte(channel[c]), alpha);
  return delta;
}

FittedColour solveColour(const ColourSums& sums) {
  FittedColour best;
  if (!(sums.ww > kNegligibleWeight)) return best;
  bool first = true;
  for (int level = kAlphaLevels - 1; level >= 0; --level) {
    const double alpha = double(levelAlpha(level)) / 255.0;
    FittedColour option;
    option.level = level;
    for (int c = 0; c < 3; ++c) {
      // The parabola's lowest point: d(delta)/dc = 0.
      const double ideal = sums.wwd[c] / sums.ww - sums.wr[c] / (alpha * sums.ww);
      option.channel[c] = std::uint8_t(nearestChannel(ideal));
      option.delta += channelDelta(sums, c, channelByte(option.channel[c]), alpha);
    }
    if (first || option.delta < best.delta) best = option;
    first = false;
  }
  return best;
}

void setGeneColour(Gene& gene, const FittedColour& colour) {
  gene.setField(kRedShift, kChannelBits, colour.channel[0]);
  gene.setField(kGreenShift, kChannelBits, colour.channel[1]);
  gene.setField(kBlueShift, kChannelBits, colour.channel[2]);
  gene.setField(kAlphaShift, kAlphaBits, std::uint32_t(colour.level));
}

}  // namespace orvane
