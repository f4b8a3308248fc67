#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

// Ink is drawn procedurally from a seed per part: a brush stroke is a path whose width swells and
// tapers, whose edge wobbles with noise and whose end breaks into dry bristle streaks; a blot is
// a disc with a noisy radius; splatters and drips add seeded droplets and runs.

struct PathPoint {
  float along;   // 0 at the start of the path, 1 at its end
  float offset;  // signed distance across the path
  float distance;
};

PathPoint nearestOnPath(Vec2 p, const Polygon& path) {
  float total = 0;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) total += length(path[i + 1] - path[i]);
  PathPoint best{0, 0, 1e9f};
  float walked = 0;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const Vec2 a = path[i], ab = path[i + 1] - a;
    const float len = length(ab);
    const float t = len > 0 ? clamp01(dot(p - a, ab) / (len * len)) : 0;
    const float d = length(p - (a + ab * t));
    if (d < best.distance) best = {(walked + t * len) / total, cross(ab, p - a) / len, d};
    walked += len;
  }
  return best;
}

struct Brush {
  float width = 0.3f;        // widest part, cell units
  float dryFrom = 0.65f;     // where bristle gaps begin
  float roughness = 0.025f;  // edge wobble
};

void brushStroke(Mask& m, const Polygon& path, Brush brush, std::uint32_t seed) {
  m.apply([&](float& a, Vec2 p) {
    const PathPoint q = nearestOnPath(p, path);
    // A quick press at the start, a long fade to a point at the end.
    const float t = q.along;
    const float swell = std::min(1.0f, t / 0.08f + 0.55f) * std::min(1.0f, (1 - t) / 0.35f + 0.15f);
    const float half = brush.width / 2 * swell;
    const float wobble = brush.roughness * fractalNoise({t * 9, q.offset * 3}, seed, 3);
    float cover = Mask::coverage(std::abs(q.offset) - half - wobble);
    if (t >= 1 || t <= 0) cover = Mask::coverage(q.distance - half - wobble);
    if (t > brush.dryFrom && half > 0) {
      const float across = q.offset / half;
      const float streak = valueNoise({across * 7, 0.5f + t * 1.5f}, seed + 7) * 0.5f + 0.5f;
      const float dryness = (t - brush.dryFrom) / (1 - brush.dryFrom);
      cover *= smoothstep(dryness * 0.9f - 0.05f, dryness * 0.9f + 0.05f, streak);
    }
    a = std::max(a, cover);
  });
}

float blotDistance(Vec2 p, Vec2 centre, float radius, std::uint32_t seed, float lumpiness) {
  const Vec2 q = p - centre;
  const float angle = std::atan2(q.y, q.x);
  Random random(seed);
  float r = radius;
  for (int k = 2; k <= 7; ++k) {
    r += radius * lumpiness / k * std::sin(k * angle + random.uniform(0, 2 * kPi));
  }
  r += radius * 0.05f * fractalNoise(Vec2{std::cos(angle), std::sin(angle)} * 4, seed, 3);
  return length(q) - r;
}

void blot(Mask& m, Vec2 centre, float radius, std::uint32_t seed, float lumpiness = 0.25f) {
  m.fill([&](Vec2 p) { return blotDistance(p, centre, radius, seed, lumpiness); });
}

// Droplets flung from a centre: round drops farther out, streaks pointing away from the centre.
void splatter(Mask& m, Vec2 centre, float radius, int drops, std::uint32_t seed) {
  blot(m, centre, radius, seed, 0.35f);
  Random random(seed * 31 + 5);
  for (int i = 0; i < drops; ++i) {
    const float angle = random.uniform(0, 2 * kPi);
    const float reach = radius * random.uniform(1.3f, 2.6f);
    const Vec2 at = centre + polar(reach, angle);
    const float size = random.uniform(0.02f, 0.07f) * (2.8f - reach / radius) / 1.5f;
    if (std::abs(at.x) > 0.9f || std::abs(at.y) > 0.9f) continue;
    if (random.uniform() < 0.4f) {
      const Vec2 from = centre + polar(radius * 0.8f, angle);
      m.fill([&](Vec2 p) {
        const Vec2 ab = at - from;
        const float t = clamp01(dot(p - from, ab) / dot(ab, ab));
        return length(p - (from + ab * t)) - size * (0.3f + 0.7f * t);
      });
    } else {
      m.fill([&](Vec2 p) { return sdCircle(p, at, size); });
    }
  }
}

// Runs hanging from a band of ink, each ending in a round bead.
void drips(Mask& m, float top, int count, float maxLength, std::uint32_t seed, bool band) {
  Random random(seed);
  if (band) {
    m.fill([&](Vec2 p) { return p.y - top - 0.04f * fractalNoise({p.x * 4, 0}, seed, 3) - 0.02f; });
  }
  for (int i = 0; i < count; ++i) {
    const float x = -0.8f + 1.6f * (i + random.uniform(0.2f, 0.8f)) / count;
    const float width = random.uniform(0.035f, 0.07f);
    const float bottom = std::min(0.88f - width, top + random.uniform(0.2f, 1.0f) * maxLength);
    m.fill([&](Vec2 p) {
      const float wave = 0.012f * std::sin(p.y * 17 + static_cast<float>(i));
      return sdUnion(sdCapsule({p.x + wave, p.y}, {x, top - 0.1f}, {x, bottom}, width),
                     sdCircle(p, {x, bottom}, width * 1.35f));
    });
  }
}

Polygon arcPath(Vec2 centre, float radius, float from, float to, int steps = 40) {
  Polygon path;
  for (int i = 0; i <= steps; ++i)
    path.push_back(centre + polar(radius, from + (to - from) * i / steps));
  return path;
}

Polygon wobblyPath(Vec2 from, Vec2 to, float bend, std::uint32_t seed) {
  Random random(seed);
  const Vec2 normal = rotate(to - from, kPi / 2) * (1 / length(to - from));
  Polygon path{from};
  appendCubic(path, from + (to - from) * 0.33f + normal * (bend * random.uniform(0.5f, 1.5f)),
              from + (to - from) * 0.66f - normal * (bend * random.uniform(-0.5f, 1.0f)), to, 30);
  return path;
}

}  // namespace

void drawInk(int number, Mask& m) {
  const auto seed = static_cast<std::uint32_t>(number * 7919 + 13);
  if (number <= 10) {
    static const struct {
      Vec2 from, to;
      float bend, width, dry;
    } kStrokes[10] = {
        {{-0.85f, 0.05f}, {0.85f, -0.05f}, 0.05f, 0.34f, 0.6f},
        {{-0.75f, 0.7f}, {0.75f, -0.7f}, 0.15f, 0.3f, 0.55f},
        {{-0.8f, -0.3f}, {0.8f, -0.35f}, 0.8f, 0.26f, 0.7f},
        {{-0.8f, -0.4f}, {0.8f, 0.4f}, 0.7f, 0.22f, 0.65f},
        {{-0.45f, 0.25f}, {0.45f, -0.2f}, 0.1f, 0.5f, 0.45f},
        {{0.05f, -0.85f}, {-0.05f, 0.85f}, 0.12f, 0.32f, 0.6f},
        {{-0.85f, -0.6f}, {0.85f, 0.7f}, -0.5f, 0.2f, 0.5f},
        {{-0.85f, 0.3f}, {0.85f, 0.3f}, 0.3f, 0.6f, 0.7f},
        {{-0.7f, -0.75f}, {0.7f, 0.75f}, 0.0f, 0.1f, 0.8f},
        {{0.8f, -0.6f}, {-0.8f, 0.2f}, 0.4f, 0.36f, 0.35f},
    };
    const auto& s = kStrokes[number - 1];
    brushStroke(m, wobblyPath(s.from, s.to, s.bend, seed), {s.width, s.dry, 0.03f}, seed);
    return;
  }
  switch (number) {
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18: {
      const float radius = 0.45f + 0.05f * static_cast<float>((number * 3) % 7);
      blot(m, {0, 0}, std::min(radius, 0.66f), seed,
           0.12f + 0.04f * static_cast<float>(number % 5));
      if (number % 2 == 0) {
        Random random(seed + 1);
        for (int i = 0; i < 3; ++i) {
          const Vec2 at = polar(random.uniform(0.72f, 0.82f), random.uniform(0, 2 * kPi));
          m.fill([&](Vec2 p) { return sdCircle(p, at, random.uniform(0.04f, 0.08f)); });
        }
      }
      break;
    }
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28: {
      const int k = number - 19;
      const Vec2 centre{0.08f * static_cast<float>(k % 3 - 1), 0.06f * static_cast<float>(k % 2)};
      splatter(m, centre, 0.2f + 0.03f * static_cast<float>(k % 4), 14 + 5 * k, seed);
      break;
    }
    case 29:
      drips(m, -0.7f, 6, 1.4f, seed, true);
      break;
    case 30:
      drips(m, -0.6f, 4, 1.3f, seed, true);
      break;
    case 31:
      drips(m, -0.75f, 9, 1.2f, seed, true);
      break;
    case 32:
      blot(m, {0, -0.45f}, 0.34f, seed);
      drips(m, -0.3f, 3, 1.0f, seed + 3, false);
      break;
    case 33:
      drips(m, -0.8f, 1, 1.6f, seed, false);
      break;
    case 34:
      brushStroke(m, wobblyPath({-0.85f, -0.55f}, {0.85f, -0.6f}, 0.05f, seed), {0.3f, 0.9f, 0.02f},
                  seed);
      drips(m, -0.55f, 5, 1.3f, seed + 1, false);
      break;
    case 35:
      splatter(m, {0, -0.35f}, 0.28f, 18, seed);
      drips(m, -0.2f, 3, 0.9f, seed + 5, false);
      break;
    case 36:
      brushStroke(m, wobblyPath({-0.7f, -0.7f}, {0.7f, 0.7f}, 0.1f, seed), {0.28f, 0.7f, 0.03f},
                  seed);
      brushStroke(m, wobblyPath({0.7f, -0.7f}, {-0.7f, 0.7f}, 0.1f, seed + 1), {0.28f, 0.7f, 0.03f},
                  seed + 1);
      break;
    case 37: {
      Random random(seed);
      for (int i = 0; i < 70; ++i) {
        const Vec2 at{random.normal() * 0.3f, random.normal() * 0.3f};
        if (std::abs(at.x) > 0.85f || std::abs(at.y) > 0.85f) continue;
        const float r = random.uniform(0.015f, 0.06f);
        m.fill([&](Vec2 p) { return sdCircle(p, at, r); });
      }
      break;
    }
    case 38:
      brushStroke(m, arcPath({0, 0}, 0.66f, -1.7f, 3.9f), {0.24f, 0.75f, 0.03f}, seed);
      break;
    case 39: {
      Polygon path;
      for (int i = 0; i <= 90; ++i) {
        const float t = 3 * 2 * kPi * i / 90;
        path.push_back(polar(0.08f + 0.72f * i / 90, t));
      }
      brushStroke(m, path, {0.16f, 0.8f, 0.02f}, seed);
      break;
    }
    default:
      break;
  }
}

}  // namespace orvane::art
