#include "atlasgen/atlas_canvas.h"

#include <limits>

namespace orvane::art {

float sdCircle(Vec2 p, Vec2 centre, float radius) { return length(p - centre) - radius; }

float sdBox(Vec2 p, Vec2 centre, Vec2 half, float cornerRadius) {
  const Vec2 q{std::abs(p.x - centre.x) - half.x + cornerRadius,
               std::abs(p.y - centre.y) - half.y + cornerRadius};
  const Vec2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
  return length(outside) + std::min(std::max(q.x, q.y), 0.0f) - cornerRadius;
}

float sdEllipse(Vec2 p, Vec2 centre, Vec2 radii) {
  // First-order distance estimate: the implicit function divided by its gradient's length.
  const Vec2 q = p - centre;
  const float k0 = std::sqrt(q.x * q.x / (radii.x * radii.x) + q.y * q.y / (radii.y * radii.y));
  const float k1 = std::sqrt(q.x * q.x / (radii.x * radii.x * radii.x * radii.x) +
                             q.y * q.y / (radii.y * radii.y * radii.y * radii.y));
  if (k1 < 1e-6f) return -std::min(radii.x, radii.y);
  return k0 * (k0 - 1) / k1;
}

float sdSegment(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 pa = p - a, ba = b - a;
  const float len2 = dot(ba, ba);
  const float h = len2 > 0 ? clamp01(dot(pa, ba) / len2) : 0.0f;
  return length(pa - ba * h);
}

float sdCapsule(Vec2 p, Vec2 a, Vec2 b, float radius) { return sdSegment(p, a, b) - radius; }

float sdPolyline(Vec2 p, const Polygon& points, bool closed) {
  float d = std::numeric_limits<float>::max();
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    d = std::min(d, sdSegment(p, points[i], points[i + 1]));
  }
  if (closed && points.size() > 2) d = std::min(d, sdSegment(p, points.back(), points.front()));
  return d;
}

float sdPolygon(Vec2 p, const Polygon& polygon) {
  float d = std::numeric_limits<float>::max();
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = polygon[j], b = polygon[i];
    d = std::min(d, sdSegment(p, a, b));
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside ? -d : d;
}

float sdArc(Vec2 p, Vec2 centre, float radius, float from, float to) {
  const Vec2 q = p - centre;
  float angle = std::atan2(q.y, q.x);
  while (angle < from) angle += 2 * kPi;
  while (angle > from + 2 * kPi) angle -= 2 * kPi;
  if (angle <= to) return std::abs(length(q) - radius);
  return std::min(length(q - polar(radius, from)), length(q - polar(radius, to)));
}

Polygon regularPolygon(Vec2 centre, float radius, int sides, float rotation) {
  Polygon points;
  for (int i = 0; i < sides; ++i) {
    points.push_back(centre + polar(radius, rotation + 2 * kPi * i / sides));
  }
  return points;
}

Polygon starPolygon(Vec2 centre, float outer, float inner, int points, float rotation) {
  Polygon star;
  for (int i = 0; i < 2 * points; ++i) {
    star.push_back(centre + polar(i % 2 == 0 ? outer : inner, rotation + kPi * i / points));
  }
  return star;
}

Polygon heartPolygon(Vec2 centre, float size) {
  // The classic heart curve, flipped so its point is at the bottom and centred on its height.
  Polygon heart;
  for (int i = 0; i < 96; ++i) {
    const float t = 2 * kPi * i / 96;
    const float s = std::sin(t);
    const float x = 16 * s * s * s;
    const float y =
        -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t)) - 2.5f;
    heart.push_back(centre + Vec2{x, y} * (size / 16));
  }
  return heart;
}

void appendQuadratic(Polygon& points, Vec2 control, Vec2 end, int steps) {
  const Vec2 start = points.back();
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps, u = 1 - t;
    points.push_back(start * (u * u) + control * (2 * u * t) + end * (t * t));
  }
}

void appendCubic(Polygon& points, Vec2 c1, Vec2 c2, Vec2 end, int steps) {
  const Vec2 start = points.back();
  for (int i = 1; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps, u = 1 - t;
    points.push_back(start * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) +
                     end * (t * t * t));
  }
}

Polygon transformed(const Polygon& polygon, Vec2 offset, float scale, float rotation) {
  Polygon out;
  out.reserve(polygon.size());
  for (const Vec2 v : polygon) out.push_back(offset + rotate(v, rotation) * scale);
  return out;
}

std::uint64_t Random::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float Random::uniform(float lo, float hi) {
  return lo + (hi - lo) * static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24);
}

float Random::normal() {
  // Sum of four uniforms: close enough to a bell curve for scattering drops.
  float sum = 0;
  for (int i = 0; i < 4; ++i) sum += uniform();
  return (sum - 2) * 1.7320508f;
}

namespace {

float latticeValue(int x, int y, std::uint32_t seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xFFFFFF) / 8388607.5f - 1;
}

}  // namespace

float valueNoise(Vec2 p, std::uint32_t seed) {
  const float fx = std::floor(p.x), fy = std::floor(p.y);
  const int x = static_cast<int>(fx), y = static_cast<int>(fy);
  const float tx = smoothstep(0, 1, p.x - fx), ty = smoothstep(0, 1, p.y - fy);
  const float top = latticeValue(x, y, seed) * (1 - tx) + latticeValue(x + 1, y, seed) * tx;
  const float bottom =
      latticeValue(x, y + 1, seed) * (1 - tx) + latticeValue(x + 1, y + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}

float fractalNoise(Vec2 p, std::uint32_t seed, int octaves) {
  float sum = 0, amplitude = 0.5f;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * valueNoise(p, seed + static_cast<std::uint32_t>(i) * 101u);
    p = p * 2.03f;
    amplitude *= 0.5f;
  }
  return sum;
}

bool Mask::empty() const {
  return std::all_of(a_.begin(), a_.end(), [](float v) { return v * 15 < 0.5f; });
}

Rgba rgb(std::uint32_t rrggbb, float alpha) {
  return {static_cast<float>((rrggbb >> 16) & 0xFF) / 255,
          static_cast<float>((rrggbb >> 8) & 0xFF) / 255, static_cast<float>(rrggbb & 0xFF) / 255,
          alpha};
}

void ColourCell::over(Rgba& dst, Rgba src, float k) {
  const float sa = clamp01(src.a * k);
  const float outA = sa + dst.a * (1 - sa);
  if (outA <= 0) return;
  const auto mix = [&](float s, float d) { return (s * sa + d * dst.a * (1 - sa)) / outA; };
  dst = {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), outA};
}

}  // namespace orvane::art
