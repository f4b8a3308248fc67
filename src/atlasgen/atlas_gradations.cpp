#include <iterator>

#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

// Gradations fill the whole cell so they stretch and tile without a frame. Smooth ramps are
// dithered with a 4 x 4 ordered pattern before the 16-level quantisation, so they show no bands;
// the banded ones are stepped on purpose.
constexpr float kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

template <class F>
void smooth(Mask& m, F&& value) {
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      const float v = clamp01(value(Mask::centreOf(x, y))) * 15;
      const float threshold = (kBayer[y % 4][x % 4] + 0.5f) / 16;
      m.at(x, y) = (std::floor(v) + (v - std::floor(v) > threshold ? 1 : 0)) / 15;
    }
  }
}

float steps(float v, int count) { return std::floor(clamp01(v) * count * 0.9999f) / (count - 1); }
float u(Vec2 p) { return (p.x + 1) / 2; }
float v(Vec2 p) { return (p.y + 1) / 2; }
float angle01(Vec2 p) { return (std::atan2(p.y, p.x) + kPi) / (2 * kPi); }

// How a gradation's value becomes coverage: dithered (smooth) or taken as it is (banded).
enum class Ramp { Smooth, Banded };
struct Gradation {
  Ramp ramp;
  float (*value)(Vec2 p);
};

// The gradations in list order, number 1 first.
const Gradation kGradations[] = {
    // 1 left to right
    {Ramp::Smooth, [](Vec2 p) { return u(p); }},
    // 2 right to left
    {Ramp::Smooth, [](Vec2 p) { return 1 - u(p); }},
    // 3 top to bottom
    {Ramp::Smooth, [](Vec2 p) { return v(p); }},
    // 4 bottom to top
    {Ramp::Smooth, [](Vec2 p) { return 1 - v(p); }},
    // 5 towards the bottom right
    {Ramp::Smooth, [](Vec2 p) { return (u(p) + v(p)) / 2; }},
    // 6 towards the bottom left
    {Ramp::Smooth, [](Vec2 p) { return (1 - u(p) + v(p)) / 2; }},
    // 7 towards the top right
    {Ramp::Smooth, [](Vec2 p) { return (u(p) + 1 - v(p)) / 2; }},
    // 8 towards the top left
    {Ramp::Smooth, [](Vec2 p) { return (2 - u(p) - v(p)) / 2; }},
    // 9 bright upright middle
    {Ramp::Smooth, [](Vec2 p) { return 1 - std::abs(p.x); }},
    // 10 bright level middle
    {Ramp::Smooth, [](Vec2 p) { return 1 - std::abs(p.y); }},
    // 11 radial, bright centre
    {Ramp::Smooth, [](Vec2 p) { return 1 - length(p); }},
    // 12 radial, bright edge
    {Ramp::Smooth, [](Vec2 p) { return length(p); }},
    // 13 bright ring
    {Ramp::Smooth, [](Vec2 p) { return 1 - std::abs(length(p) - 0.6f) / 0.35f; }},
    // 14 sweep around the centre
    {Ramp::Smooth, [](Vec2 p) { return angle01(p); }},
    // 15 two sweeps around the centre
    {Ramp::Smooth,
     [](Vec2 p) {
       const float a = angle01(p) * 2;
       return a - std::floor(a);
     }},
    // 16 diamond, bright centre
    {Ramp::Smooth, [](Vec2 p) { return 1 - std::abs(p.x) - std::abs(p.y); }},
    // 17 diamond, bright edge
    {Ramp::Smooth, [](Vec2 p) { return std::abs(p.x) + std::abs(p.y); }},
    // 18 four bands left to right
    {Ramp::Banded, [](Vec2 p) { return steps(u(p), 4); }},
    // 19 eight bands top to bottom
    {Ramp::Banded, [](Vec2 p) { return steps(v(p), 8); }},
    // 20 five rings
    {Ramp::Banded, [](Vec2 p) { return steps(1 - length(p), 5); }},
    // 21 four diamond bands
    {Ramp::Banded, [](Vec2 p) { return steps(1 - std::abs(p.x) - std::abs(p.y), 4); }},
    // 22 small glow
    {Ramp::Smooth, [](Vec2 p) { return std::exp(-dot(p, p) / 0.09f); }},
    // 23 large glow
    {Ramp::Smooth, [](Vec2 p) { return std::exp(-dot(p, p) / 0.36f); }},
    // 24 level glow
    {Ramp::Smooth, [](Vec2 p) { return std::exp(-(p.x * p.x / 0.5f + p.y * p.y / 0.07f)); }},
    // 25 upright glow
    {Ramp::Smooth, [](Vec2 p) { return std::exp(-(p.x * p.x / 0.07f + p.y * p.y / 0.5f)); }},
    // 26 soft square
    {Ramp::Smooth,
     [](Vec2 p) {
       return 1 - smoothstep(-0.3f, 0.3f, sdBox(p, {0, 0}, {0.5f, 0.5f}, 0.2f));
     }},
    // 27 from the top left corner
    {Ramp::Smooth,
     [](Vec2 p) {
       return 1 - length(p - Vec2{-1, -1}) / 2;
     }},
    // 28 from the bottom right corner
    {Ramp::Smooth,
     [](Vec2 p) {
       return 1 - length(p - Vec2{1, 1}) / 2;
     }},
    // 29 bright frame
    {Ramp::Smooth,
     [](Vec2 p) { return smoothstep(0.35f, 1.0f, std::max(std::abs(p.x), std::abs(p.y))); }},
    // 30 level stripes
    {Ramp::Smooth, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * v(p)); }},
    // 31 upright stripes
    {Ramp::Smooth, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * u(p)); }},
    // 32 diagonal stripes
    {Ramp::Smooth, [](Vec2 p) { return 0.5f + 0.5f * std::cos(2 * kPi * (u(p) + v(p))); }},
    // 33 rings
    {Ramp::Smooth, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * length(p)); }},
    // 34 soft disc
    {Ramp::Smooth, [](Vec2 p) { return 1 - smoothstep(0.45f, 0.9f, length(p)); }},
    // 35 sparkle
    {Ramp::Smooth,
     [](Vec2 p) {
       const float core = std::exp(-dot(p, p) / 0.04f);
       const float rays = std::max(std::exp(-p.x * p.x / 0.004f - p.y * p.y / 0.5f),
                                   std::exp(-p.y * p.y / 0.004f - p.x * p.x / 0.5f));
       return core + rays;
     }},
    // 36 spotlight from above
    {Ramp::Smooth,
     [](Vec2 p) {
       const float spread = std::abs(std::atan2(p.x, p.y + 1.05f));
       return (1 - smoothstep(0.3f, 0.5f, spread)) * (1 - 0.75f * v(p));
     }},
    // 37 soft checks
    {Ramp::Smooth,
     [](Vec2 p) {
       return 0.5f + 0.5f * std::cos(2 * kPi * u(p) * 2) * std::cos(2 * kPi * v(p) * 2);
     }},
};

}  // namespace

void drawGradation(int number, Mask& mask) {
  if (number < 1 || number > int(std::size(kGradations))) return;
  const Gradation& gradation = kGradations[number - 1];
  if (gradation.ramp == Ramp::Smooth) {
    smooth(mask, gradation.value);
  } else {
    mask.shade(gradation.value);
  }
}

}  // namespace orvane::art
