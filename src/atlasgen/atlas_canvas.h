#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

// Drawing helpers of the atlas generator. A cell is drawn in cell units: (-1, -1) is the top left
// corner of the 64 x 64-texel cell, (1, 1) the bottom right, y grows downwards, and one texel is
// 1/32 unit. Shapes are signed distance functions in those units (negative inside); a texel's
// coverage is its distance turned into a one-texel-wide ramp, which anti-aliases every edge.
namespace orvane::art {

inline constexpr int kCell = 64;
inline constexpr float kTexel = 2.0f / kCell;
inline constexpr float kPi = 3.14159265358979f;

struct Vec2 {
  float x = 0;
  float y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }
inline Vec2 rotate(Vec2 p, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return {c * p.x - s * p.y, s * p.x + c * p.y};
}
inline Vec2 polar(float radius, float angle) {
  return {radius * std::cos(angle), radius * std::sin(angle)};
}
inline float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float smoothstep(float e0, float e1, float v) {
  const float t = clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

using Polygon = std::vector<Vec2>;

// A shape as its signed distance function, for tables of shapes.
using Field = std::function<float(Vec2)>;

// Signed distance functions. Each returns the distance from p to the shape's edge, negative inside.
float sdCircle(Vec2 p, Vec2 centre, float radius);
float sdBox(Vec2 p, Vec2 centre, Vec2 half, float cornerRadius = 0);
float sdEllipse(Vec2 p, Vec2 centre, Vec2 radii);
float sdSegment(Vec2 p, Vec2 a, Vec2 b);  // unsigned distance to the segment
float sdCapsule(Vec2 p, Vec2 a, Vec2 b, float radius);
float sdPolygon(Vec2 p, const Polygon& polygon);                       // even-odd inside rule
float sdPolyline(Vec2 p, const Polygon& points, bool closed = false);  // unsigned
float sdArc(Vec2 p, Vec2 centre, float radius, float from, float to);  // unsigned, angles in rad
inline float sdRing(float d, float halfWidth) { return std::abs(d) - halfWidth; }
// The band of width w just inside a shape's edge.
inline float sdOutline(float d, float w) { return std::max(d, -d - w); }
inline float sdUnion(float a, float b) { return std::min(a, b); }
inline float sdCut(float a, float b) { return std::max(a, -b); }
inline float sdIntersect(float a, float b) { return std::max(a, b); }

// Vertices of shapes, built as polygons.
Polygon regularPolygon(Vec2 centre, float radius, int sides, float rotation = -kPi / 2);
Polygon starPolygon(Vec2 centre, float outer, float inner, int points, float rotation = -kPi / 2);
Polygon heartPolygon(Vec2 centre, float size);
// Appends the points of a quadratic or cubic curve (without its first point).
void appendQuadratic(Polygon& points, Vec2 control, Vec2 end, int steps = 12);
void appendCubic(Polygon& points, Vec2 c1, Vec2 c2, Vec2 end, int steps = 16);
Polygon transformed(const Polygon& polygon, Vec2 offset, float scale, float rotation = 0);

// A deterministic random sequence (SplitMix64), so the atlas is the same on every run.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  float uniform(float lo = 0, float hi = 1);
  float normal();

 private:
  std::uint64_t state_;
};

// Smooth value noise in about -1 ... 1 and its sum over octaves.
float valueNoise(Vec2 p, std::uint32_t seed);
float fractalNoise(Vec2 p, std::uint32_t seed, int octaves);

// The coverage of one cell, 0 ... 1 per texel.
class Mask {
 public:
  Mask() { a_.fill(0); }
  float& at(int x, int y) { return a_[y * kCell + x]; }
  float at(int x, int y) const { return a_[y * kCell + x]; }
  static Vec2 centreOf(int x, int y) { return {(x + 0.5f) * kTexel - 1, (y + 0.5f) * kTexel - 1}; }
  bool empty() const;

  // Adds the shape (union).
  template <class F>
  void fill(F&& sdf) {
    apply([&](float& a, Vec2 p) { a = std::max(a, coverage(sdf(p))); });
  }
  // Removes the shape.
  template <class F>
  void cut(F&& sdf) {
    apply([&](float& a, Vec2 p) { a = std::min(a, 1 - coverage(sdf(p))); });
  }
  // Sets every texel to a value given by position (gradients).
  template <class F>
  void shade(F&& value) {
    apply([&](float& a, Vec2 p) { a = clamp01(value(p)); });
  }
  // Adds a shape given as an inside test, sampled n x n times per texel.
  template <class F>
  void sample(F&& inside, int n = 4) {
    apply([&](float& a, Vec2 p) {
      int hits = 0;
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
          const Vec2 q{p.x + ((i + 0.5f) / n - 0.5f) * kTexel,
                       p.y + ((j + 0.5f) / n - 0.5f) * kTexel};
          hits += inside(q) ? 1 : 0;
        }
      }
      a = std::max(a, static_cast<float>(hits) / (n * n));
    });
  }
  // Coverage of a texel at signed distance d (cell units) from an edge.
  static float coverage(float d) { return clamp01(0.5f - d / kTexel); }
  // Calls f(alpha, centre) for every texel, alpha by reference.
  template <class F>
  void apply(F&& f) {
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) f(at(x, y), centreOf(x, y));
    }
  }

 private:
  std::array<float, kCell * kCell> a_;
};

// A full-colour cell: straight (not premultiplied) colour and alpha, 0 ... 1 each.
struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};
Rgba rgb(std::uint32_t rrggbb, float alpha = 1);

class ColourCell {
 public:
  Rgba& at(int x, int y) { return c_[y * kCell + x]; }
  const Rgba& at(int x, int y) const { return c_[y * kCell + x]; }
  // Paints colour over the cell through a shape's coverage.
  template <class F>
  void fill(F&& sdf, Rgba colour) {
    paint([&](Vec2 p) { return Mask::coverage(sdf(p)); }, [&](Vec2) { return colour; });
  }
  // Paints a colour that varies with position through a coverage that varies with position.
  template <class C, class F>
  void paint(C&& coverage, F&& colour) {
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        const Vec2 p = Mask::centreOf(x, y);
        const float k = coverage(p);
        if (k > 0) over(at(x, y), colour(p), k);
      }
    }
  }

 private:
  static void over(Rgba& dst, Rgba src, float k);
  std::array<Rgba, kCell * kCell> c_{};
};

}  // namespace orvane::art
