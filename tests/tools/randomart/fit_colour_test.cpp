// The shape fitting's colour solver: the best colour and alpha level in the model, and how
// close that comes to the best stored colour under the renderer's exact arithmetic.
#include "tools/randomart/fit_colour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "render/pixel_blend.h"

namespace orvane {
namespace {

// One covered pixel: coverage w (0 ... 1), the colour below d and the residual r per channel.
struct ModelPixel {
  double w;
  double d[3], r[3];
};

ColourSums sumsOf(const std::vector<ModelPixel>& pixels) {
  ColourSums sums;
  for (const ModelPixel& p : pixels) sums.add(p.w, p.d, p.r);
  return sums;
}

// The model's change of the squared error of one channel, pixel by pixel.
double directDelta(const std::vector<ModelPixel>& pixels, int c, double colour, double alpha) {
  double delta = 0;
  for (const ModelPixel& p : pixels) {
    const double moved = p.r[c] + alpha * p.w * (colour - p.d[c]);
    delta += moved * moved - p.r[c] * p.r[c];
  }
  return delta;
}

std::vector<ModelPixel> randomPixels(std::mt19937& rng, int count) {
  std::uniform_real_distribution<double> unit(0, 1), byte(0, 255), signedByte(-255, 255);
  std::vector<ModelPixel> pixels(static_cast<std::size_t>(count));
  for (ModelPixel& p : pixels) {
    // Some pixels fully covered, as solid parts give, the others soft.
    p.w = unit(rng) < 0.3 ? 1.0 : unit(rng);
    for (int c = 0; c < 3; ++c) p.d[c] = byte(rng), p.r[c] = signedByte(rng);
  }
  return pixels;
}

TEST(FitColour, NearestChannelIsTheClosestStoredByte) {
  for (double value = -10; value <= 265; value += 0.25) {
    const std::uint32_t q = nearestChannel(value);
    ASSERT_LE(q, 63u);
    const double clamped = std::clamp(value, 0.0, 255.0);
    for (std::uint32_t other = 0; other < 64; ++other) {
      ASSERT_LE(std::abs(channelByte(q) - clamped), std::abs(channelByte(other) - clamped))
          << "value " << value;
    }
  }
  EXPECT_EQ(channelByte(0), 0u);
  EXPECT_EQ(channelByte(63), 255u);
  EXPECT_EQ(channelByte(0b101101), 0b10110110u);  // the low two bits repeat the top two
}

TEST(FitColour, SolverFindsTheBruteForceBestInTheModel) {
  std::mt19937 rng(17);
  for (int round = 0; round < 60; ++round) {
    const std::vector<ModelPixel> pixels = randomPixels(rng, 1 + round % 25);
    const FittedColour solved = solveColour(sumsOf(pixels));
    // Every level and every stored value of each channel; the channels are independent in the
    // model, so the best colour of a level is the best value of each channel.
    double best = 0;
    for (int level = 0; level < kAlphaLevels; ++level) {
      const double alpha = double(levelAlpha(level)) / 255.0;
      double total = 0;
      for (int c = 0; c < 3; ++c) {
        double channelBest = directDelta(pixels, c, 0, alpha);
        for (std::uint32_t q = 1; q < 64; ++q) {
          channelBest = std::min(channelBest, directDelta(pixels, c, channelByte(q), alpha));
        }
        total += channelBest;
      }
      if (level == 0 || total < best) best = total;
    }
    double own = 0;
    const double alpha = double(levelAlpha(solved.level)) / 255.0;
    for (int c = 0; c < 3; ++c)
      own += directDelta(pixels, c, channelByte(solved.channel[c]), alpha);
    const double tolerance = 1e-7 * (1 + std::abs(best));
    EXPECT_NEAR(solved.delta, own, tolerance) << "round " << round;
    EXPECT_NEAR(solved.delta, best, tolerance) << "round " << round;
    EXPECT_NEAR(modelDelta(sumsOf(pixels), solved.channel, solved.level), own, tolerance);
  }
}

TEST(FitColour, NothingCoveredChangesNothing) {
  const FittedColour solved = solveColour(ColourSums{});
  EXPECT_EQ(solved.delta, 0.0);
}

// The renderer's result for one channel: the white texel of alpha t under the layer's colour
// and alpha, blended over d.
int drawnChannel(std::uint32_t t, std::uint32_t alphaByte, std::uint32_t colour, int d) {
  const std::uint32_t a = div255(t * alphaByte);
  return int(div255(colour * a + std::uint32_t(d) * (255 - a)));
}

TEST(FitColour, SolvedColourIsNearlyTheBestUnderExactRounding) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 20; ++round) {
    // A small layer with soft coverage over a picture, against a target.
    const int count = 40;
    std::vector<std::uint32_t> texel(count);
    std::vector<int> below(3 * count), target(3 * count);
    std::vector<ModelPixel> pixels(count);
    for (int i = 0; i < count; ++i) {
      texel[std::size_t(i)] = std::uint32_t(i % 3 == 0 ? 255 : byte(rng));
      pixels[std::size_t(i)].w = texel[std::size_t(i)] / 255.0;
      for (int c = 0; c < 3; ++c) {
        below[std::size_t(3 * i + c)] = byte(rng);
        target[std::size_t(3 * i + c)] = byte(rng) / 2 + (round % 2 ? 128 : 0);
        pixels[std::size_t(i)].d[c] = below[std::size_t(3 * i + c)];
        pixels[std::size_t(i)].r[c] =
            below[std::size_t(3 * i + c)] - target[std::size_t(3 * i + c)];
      }
    }
    auto exactError = [&](int level, int c, std::uint32_t q) {
      std::int64_t sum = 0;
      for (int i = 0; i < count; ++i) {
        const int e = drawnChannel(texel[std::size_t(i)], levelAlpha(level), channelByte(q),
                                   below[std::size_t(3 * i + c)]) -
                      target[std::size_t(3 * i + c)];
        sum += e * e;
      }
      return sum;
    };
    std::int64_t best = -1;
    for (int level = 0; level < kAlphaLevels; ++level) {
      std::int64_t total = 0;
      for (int c = 0; c < 3; ++c) {
        std::int64_t channelBest = exactError(level, c, 0);
        for (std::uint32_t q = 1; q < 64; ++q)
          channelBest = std::min(channelBest, exactError(level, c, q));
        total += channelBest;
      }
      if (best < 0 || total < best) best = total;
    }
    const FittedColour solved = solveColour(sumsOf(pixels));
    std::int64_t own = 0;
    for (int c = 0; c < 3; ++c) own += exactError(solved.level, c, solved.channel[c]);
    // Rounding moves each channel of each pixel by at most half a step.
    EXPECT_LE(own, best + best / 50 + 3 * count) << "round " << round;
  }
}

}  // namespace
}  // namespace orvane
