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

}  // namespace

void drawGradation(int number, Mask& m) {
  switch (number) {
    case 1:
      smooth(m, [](Vec2 p) { return u(p); });
      break;
    case 2:
      smooth(m, [](Vec2 p) { return 1 - u(p); });
      break;
    case 3:
      smooth(m, [](Vec2 p) { return v(p); });
      break;
    case 4:
      smooth(m, [](Vec2 p) { return 1 - v(p); });
      break;
    case 5:
      smooth(m, [](Vec2 p) { return (u(p) + v(p)) / 2; });
      break;
    case 6:
      smooth(m, [](Vec2 p) { return (1 - u(p) + v(p)) / 2; });
      break;
    case 7:
      smooth(m, [](Vec2 p) { return (u(p) + 1 - v(p)) / 2; });
      break;
    case 8:
      smooth(m, [](Vec2 p) { return (2 - u(p) - v(p)) / 2; });
      break;
    case 9:
      smooth(m, [](Vec2 p) { return 1 - std::abs(p.x); });
      break;
    case 10:
      smooth(m, [](Vec2 p) { return 1 - std::abs(p.y); });
      break;
    case 11:
      smooth(m, [](Vec2 p) { return 1 - length(p); });
      break;
    case 12:
      smooth(m, [](Vec2 p) { return length(p); });
      break;
    case 13:
      smooth(m, [](Vec2 p) { return 1 - std::abs(length(p) - 0.6f) / 0.35f; });
      break;
    case 14:
      smooth(m, [](Vec2 p) { return angle01(p); });
      break;
    case 15:
      smooth(m, [](Vec2 p) {
        const float a = angle01(p) * 2;
        return a - std::floor(a);
      });
      break;
    case 16:
      smooth(m, [](Vec2 p) { return 1 - std::abs(p.x) - std::abs(p.y); });
      break;
    case 17:
      smooth(m, [](Vec2 p) { return std::abs(p.x) + std::abs(p.y); });
      break;
    case 18:
      m.shade([](Vec2 p) { return steps(u(p), 4); });
      break;
    case 19:
      m.shade([](Vec2 p) { return steps(v(p), 8); });
      break;
    case 20:
      m.shade([](Vec2 p) { return steps(1 - length(p), 5); });
      break;
    case 21:
      m.shade([](Vec2 p) { return steps(1 - std::abs(p.x) - std::abs(p.y), 4); });
      break;
    case 22:
      smooth(m, [](Vec2 p) { return std::exp(-dot(p, p) / 0.09f); });
      break;
    case 23:
      smooth(m, [](Vec2 p) { return std::exp(-dot(p, p) / 0.36f); });
      break;
    case 24:
      smooth(m, [](Vec2 p) { return std::exp(-(p.x * p.x / 0.5f + p.y * p.y / 0.07f)); });
      break;
    case 25:
      smooth(m, [](Vec2 p) { return std::exp(-(p.x * p.x / 0.07f + p.y * p.y / 0.5f)); });
      break;
    case 26:
      smooth(m, [](Vec2 p) {
        return 1 - smoothstep(-0.3f, 0.3f, sdBox(p, {0, 0}, {0.5f, 0.5f}, 0.2f));
      });
      break;
    case 27:
      smooth(m, [](Vec2 p) { return 1 - length(p - Vec2{-1, -1}) / 2; });
      break;
    case 28:
      smooth(m, [](Vec2 p) { return 1 - length(p - Vec2{1, 1}) / 2; });
      break;
    case 29:
      smooth(m, [](Vec2 p) {
        return smoothstep(0.35f, 1.0f, std::max(std::abs(p.x), std::abs(p.y)));
      });
      break;
    case 30:
      smooth(m, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * v(p)); });
      break;
    case 31:
      smooth(m, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * u(p)); });
      break;
    case 32:
      smooth(m, [](Vec2 p) { return 0.5f + 0.5f * std::cos(2 * kPi * (u(p) + v(p))); });
      break;
    case 33:
      smooth(m, [](Vec2 p) { return 0.5f + 0.5f * std::cos(4 * kPi * length(p)); });
      break;
    case 34:
      smooth(m, [](Vec2 p) { return 1 - smoothstep(0.45f, 0.9f, length(p)); });
      break;
    case 35:
      smooth(m, [](Vec2 p) {
        const float core = std::exp(-dot(p, p) / 0.04f);
        const float rays = std::max(std::exp(-p.x * p.x / 0.004f - p.y * p.y / 0.5f),
                                    std::exp(-p.y * p.y / 0.004f - p.x * p.x / 0.5f));
        return core + rays;
      });
      break;
    case 36:
      smooth(m, [](Vec2 p) {
        const float spread = std::abs(std::atan2(p.x, p.y + 1.05f));
        return (1 - smoothstep(0.3f, 0.5f, spread)) * (1 - 0.75f * v(p));
      });
      break;
    case 37:
      smooth(m, [](Vec2 p) {
        return 0.5f + 0.5f * std::cos(2 * kPi * u(p) * 2) * std::cos(2 * kPi * v(p) * 2);
      });
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
