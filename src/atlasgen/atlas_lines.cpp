#include <vector>

#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

// Stroke widths in cell units: 2, 4, 8 and 16 texels. Straight bars and periodic lines run edge
// to edge so that neighbouring layers join into one longer line.
constexpr float kThin = 0.0625f, kMedium = 0.125f, kThick = 0.25f, kHeavy = 0.5f;
constexpr Vec2 O{0, 0};

float horizontalBar(Vec2 p, float width) { return std::abs(p.y) - width / 2; }
float verticalBar(Vec2 p, float width) { return std::abs(p.x) - width / 2; }
float diagonal(Vec2 p, float width, float direction) {
  return std::abs(p.x + direction * p.y) / std::sqrt(2.0f) - width / 2;
}

// A curve y = f(x) across the whole cell, sampled finely enough for its distance.
template <class F>
Polygon curveAcross(F&& f) {
  Polygon points;
  for (int i = 0; i <= 160; ++i) {
    const float x = -1.1f + 2.2f * i / 160;
    points.push_back({x, f(x)});
  }
  return points;
}

Polygon zigzag(float amplitude, int teeth) {
  Polygon points;
  for (int i = -1; i <= 2 * teeth + 1; ++i) {
    points.push_back({-1 + static_cast<float>(i) / teeth, i % 2 == 0 ? amplitude : -amplitude});
  }
  return points;
}

Polygon spiral() {
  Polygon points;
  for (int i = 0; i <= 400; ++i) {
    const float t = 3.25f * 2 * kPi * i / 400;
    points.push_back(polar(0.06f + 0.8f * t / (3.25f * 2 * kPi), t));
  }
  return points;
}

Polygon squareSpiral() {
  Polygon points{{0, 0}};
  const Vec2 directions[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  Vec2 at{0, 0};
  for (int i = 0; i < 13; ++i) {
    at = at + directions[i % 4] * (0.13f * (i + 1));
    points.push_back(at);
  }
  return transformed(points, {-0.06f, -0.1f}, 1);
}

Polygon loops() {
  Polygon points;
  for (int i = 0; i <= 480; ++i) {
    const float t = 6 * kPi * i / 480;
    points.push_back({-0.62f + 0.066f * t - 0.28f * std::sin(t), 0.36f * std::cos(t) * -1});
  }
  return points;
}

Polygon wavyRing() {
  Polygon points;
  for (int i = 0; i < 360; ++i) {
    const float t = 2 * kPi * i / 360;
    points.push_back(polar(0.72f + 0.09f * std::sin(10 * t), t));
  }
  return points;
}

// A stroke that swells in the middle and tapers to points at both ends.
float taperedStroke(Vec2 p, Vec2 a, Vec2 b, float maxWidth) {
  const Vec2 ab = b - a;
  const float t = clamp01(dot(p - a, ab) / dot(ab, ab));
  return length(p - (a + ab * t)) - maxWidth / 2 * std::sin(kPi * t);
}

// The lines in list order, number 1 first, each as the distance field it fills.
const std::vector<Field>& lineFields() {
  static const std::vector<Field> fields = {
      // 1 thin horizontal line
      [](Vec2 p) { return horizontalBar(p, kThin); },
      // 2 medium horizontal line
      [](Vec2 p) { return horizontalBar(p, kMedium); },
      // 3 thick horizontal line
      [](Vec2 p) { return horizontalBar(p, kThick); },
      // 4 heavy horizontal line
      [](Vec2 p) { return horizontalBar(p, kHeavy); },
      // 5 thin vertical line
      [](Vec2 p) { return verticalBar(p, kThin); },
      // 6 medium vertical line
      [](Vec2 p) { return verticalBar(p, kMedium); },
      // 7 thick vertical line
      [](Vec2 p) { return verticalBar(p, kThick); },
      // 8 thin rising diagonal
      [](Vec2 p) { return diagonal(p, kThin, 1); },
      // 9 thick rising diagonal
      [](Vec2 p) { return diagonal(p, kThick, 1); },
      // 10 thin falling diagonal
      [](Vec2 p) { return diagonal(p, kThin, -1); },
      // 11 thick falling diagonal
      [](Vec2 p) { return diagonal(p, kThick, -1); },
      // 12 quarter arc
      [](Vec2 p) {
        return sdArc(p, {0.8f, 0.8f}, 1.6f, kPi, 1.5f * kPi) - kMedium / 2;
      },
      // 13 half arc
      [](Vec2 p) {
        return sdArc(p, {0, 0.4f}, 0.8f, kPi, 2 * kPi) - kThick / 2;
      },
      // 14 three-quarter arc
      [](Vec2 p) { return sdArc(p, O, 0.78f, 0, 1.5f * kPi) - kMedium / 2; },
      // 15 thin circle
      [](Vec2 p) { return sdRing(sdCircle(p, O, 0.84f), kThin / 2); },
      // 16 medium circle
      [](Vec2 p) { return sdRing(sdCircle(p, O, 0.8f), kMedium / 2); },
      // 17 thick circle
      [](Vec2 p) { return sdRing(sdCircle(p, O, 0.72f), 0.15f); },
      // 18 thin wave
      [c = curveAcross([](float x) { return 0.3f * std::sin(2 * kPi * x); })](Vec2 p) {
        return sdPolyline(p, c) - kThin / 2;
      },
      // 19 thick wave
      [c = curveAcross([](float x) { return 0.42f * std::sin(kPi * x); })](Vec2 p) {
        return sdPolyline(p, c) - kThick / 2;
      },
      // 20 upright wave
      [c = curveAcross([](float x) { return 0.3f * std::sin(2 * kPi * x); })](Vec2 p) {
        return sdPolyline({p.y, p.x}, c) - kMedium / 2;
      },
      // 21 thin zigzag
      [z = zigzag(0.3f, 4)](Vec2 p) { return sdPolyline(p, z) - kThin / 2; },
      // 22 thick zigzag
      [z = zigzag(0.4f, 2)](Vec2 p) { return sdPolyline(p, z) - kThick / 2; },
      // 23 dashed line
      [](Vec2 p) {
        const float x = p.x + 1 - std::floor((p.x + 1) / 0.5f) * 0.5f - 0.25f;  // dashes every 0.5
        return sdBox({x, p.y}, O, {0.15f, kMedium / 2});
      },
      // 24 dashed diagonal
      [](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);  // along the diagonal from top left to bottom right
        const float period = std::sqrt(2.0f) / 3;
        const float x = q.x - std::round(q.x / period) * period;
        return sdBox({x, q.y}, O, {period * 0.3f, kMedium / 2});
      },
      // 25 dotted line
      [](Vec2 p) {
        const float x = p.x - (std::floor((p.x + 1) / 0.25f) * 0.25f - 1 + 0.125f);
        return sdCircle({x, p.y}, O, 0.075f);
      },
      // 26 dotted circle
      [](Vec2 p) {
        float d = 1e9f;
        for (int i = 0; i < 16; ++i)
          d = std::min(d, sdCircle(p, polar(0.78f, kPi * i / 8), 0.085f));
        return d;
      },
      // 27 spiral
      [s = spiral()](Vec2 p) { return sdPolyline(p, s) - kMedium / 2; },
      // 28 square spiral
      [s = squareSpiral()](Vec2 p) { return sdPolyline(p, s) - kMedium / 2; },
      // 29 double line
      [](Vec2 p) {
        return sdUnion(horizontalBar({p.x, p.y - 0.2f}, 0.12f),
                       horizontalBar({p.x, p.y + 0.2f}, 0.12f));
      },
      // 30 double upright line
      [](Vec2 p) {
        return sdUnion(verticalBar({p.x - 0.2f, p.y}, 0.12f),
                       verticalBar({p.x + 0.2f, p.y}, 0.12f));
      },
      // 31 triple line
      [](Vec2 p) {
        float d = horizontalBar(p, kThin);
        d = sdUnion(d, horizontalBar({p.x, p.y - 0.3f}, kThin));
        return sdUnion(d, horizontalBar({p.x, p.y + 0.3f}, kThin));
      },
      // 32 tapered stroke
      [](Vec2 p) {
        return taperedStroke(p, {-0.82f, 0.5f}, {0.82f, -0.5f}, 0.34f);
      },
      // 33 bar with round ends
      [](Vec2 p) {
        return sdUnion(sdCapsule(p, {-0.66f, 0}, {0.66f, 0}, kMedium / 2),
                       sdUnion(sdCircle(p, {-0.7f, 0}, 0.18f), sdCircle(p, {0.7f, 0}, 0.18f)));
      },
      // 34 grid
      [](Vec2 p) {
        const auto grid = [](float v) { return std::abs(v - std::floor(v / 0.5f) * 0.5f - 0.25f); };
        return std::min(grid(p.x + 1), grid(p.y + 1)) - kThin / 2;
      },
      // 35 hatching
      [](Vec2 p) {
        const float v = p.x + p.y + 4;
        return std::abs(v - std::floor(v / 0.5f) * 0.5f - 0.25f) / std::sqrt(2.0f) - 0.045f;
      },
      // 36 concentric rings
      [](Vec2 p) {
        const float r = length(p);
        return std::min({std::abs(r - 0.2f), std::abs(r - 0.5f), std::abs(r - 0.8f)}) - 0.055f;
      },
      // 37 S curve
      [](Vec2 p) {
        Polygon s{{-0.8f, 0.62f}};
        appendCubic(s, {0.4f, 0.9f}, {-0.4f, -0.9f}, {0.8f, -0.62f}, 48);
        return sdPolyline(p, s) - kMedium / 2;
      },
      // 38 loops
      [l = loops()](Vec2 p) { return sdPolyline(p, l) - kThin / 2 - 0.01f; },
      // 39 wavy ring
      [w = wavyRing()](Vec2 p) { return sdPolyline(p, w, true) - kMedium / 2; },
  };
  return fields;
}

}  // namespace

void drawLine(int number, Mask& mask) {
  const std::vector<Field>& fields = lineFields();
  if (number >= 1 && number <= int(fields.size())) mask.fill(fields[std::size_t(number - 1)]);
}

}  // namespace orvane::art
