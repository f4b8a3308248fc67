#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

constexpr Vec2 O{0, 0};

Polygon flipY(const Polygon& polygon) {
  Polygon out;
  for (const Vec2 v : polygon) out.push_back({v.x, -v.y});
  return out;
}

// A teardrop: a disc and the two tangents from its apex.
float teardrop(Vec2 p, Vec2 apex, Vec2 centre, float radius) {
  const Vec2 toApex = apex - centre;
  const float d = length(toApex);
  const float beta = std::acos(radius / d);
  const Vec2 dir = toApex * (1 / d);
  const Polygon cone{apex, centre + rotate(dir, beta) * radius,
                     centre + rotate(dir, -beta) * radius};
  return sdUnion(sdCircle(p, centre, radius), sdPolygon(p, cone));
}

Polygon flame(float scale, Vec2 offset) {
  Polygon f{{0, -1}};
  appendCubic(f, {0.25f, -0.55f}, {0.75f, -0.25f}, {0.62f, 0.35f});
  appendCubic(f, {0.52f, 0.8f}, {0.2f, 0.95f}, {0, 0.95f});
  appendCubic(f, {-0.2f, 0.95f}, {-0.55f, 0.8f}, {-0.62f, 0.35f});
  appendCubic(f, {-0.68f, -0.05f}, {-0.35f, -0.3f}, {-0.3f, -0.62f});
  appendCubic(f, {-0.1f, -0.45f}, {-0.05f, -0.7f}, {0, -1});
  return transformed(f, offset, scale);
}

float diamondSuit(Vec2 p) {
  // Four circular arcs bulging inwards between the points.
  const Vec2 q{std::abs(p.x), std::abs(p.y)};
  const Polygon quarter{{0, 0}, {0, 0.9f}, {0.66f, 0}};
  return sdCut(sdPolygon(q, quarter), sdCircle(q, {1.0f, 0.95f}, 1.02f));
}

float snowflakeArm(Vec2 q) {
  float d = sdCapsule(q, O, {0, -0.84f}, 0.055f);
  for (const float at : {0.36f, 0.6f}) {
    const float len = at < 0.5f ? 0.26f : 0.2f;
    d = sdUnion(d, sdCapsule(q, {0, -at}, Vec2{0, -at} + polar(len, -kPi / 2 + 0.8f), 0.045f));
    d = sdUnion(d, sdCapsule(q, {0, -at}, Vec2{0, -at} + polar(len, -kPi / 2 - 0.8f), 0.045f));
  }
  return d;
}

float astroid(Vec2 p, float r) {
  const float v = std::pow(std::abs(p.x), 2.0f / 3) + std::pow(std::abs(p.y), 2.0f / 3);
  return v - std::pow(r, 2.0f / 3);
}

}  // namespace

void drawMark(int number, Mask& m) {
  switch (number) {
    case 1:  // spade
      m.fill([h = flipY(heartPolygon({0, 0.12f}, 0.76f))](Vec2 p) {
        const Vec2 q{p.x, p.y + 0.16f};
        return sdUnion(sdPolygon(q, h), sdPolygon(p, {{0, 0.1f}, {0.3f, 0.86f}, {-0.3f, 0.86f}}));
      });
      break;
    case 2:  // heart suit: narrower than the basic heart
      m.fill([h = heartPolygon(O, 0.86f)](Vec2 p) { return sdPolygon({p.x / 0.85f, p.y}, h); });
      break;
    case 3:
      m.fill(diamondSuit);
      break;
    case 4:  // club
      m.fill([](Vec2 p) {
        float d = sdCircle(p, {0, -0.44f}, 0.3f);
        d = sdUnion(d, sdCircle(p, {-0.4f, 0.08f}, 0.3f));
        d = sdUnion(d, sdCircle(p, {0.4f, 0.08f}, 0.3f));
        d = sdUnion(d, sdCircle(p, {0, -0.05f}, 0.2f));
        return sdUnion(d, sdPolygon(p, {{0, -0.05f}, {0.28f, 0.86f}, {-0.28f, 0.86f}}));
      });
      break;
    case 5:  // eighth note
      m.fill([](Vec2 p) {
        const float head = sdEllipse(rotate(p - Vec2{-0.22f, 0.56f}, 0.4f), O, {0.3f, 0.21f});
        const float stem = sdBox(p, {0.03f, -0.14f}, {0.055f, 0.7f});
        Polygon flag{{0.0f, -0.84f}};
        appendCubic(flag, {0.1f, -0.5f}, {0.6f, -0.45f}, {0.42f, 0.05f});
        return sdUnion(sdUnion(head, stem), sdPolyline(p, flag) - 0.07f);
      });
      break;
    case 6:  // two beamed notes
      m.fill([](Vec2 p) {
        float d = 1e9f;
        for (const Vec2 c : {Vec2{-0.5f, 0.58f}, Vec2{0.42f, 0.46f}}) {
          d = sdUnion(d, sdEllipse(rotate(p - c, 0.4f), O, {0.27f, 0.19f}));
          d = sdUnion(d, sdBox(p, {c.x + 0.2f, c.y - 0.6f}, {0.05f, 0.6f}));
        }
        return sdUnion(
            d,
            sdPolygon(p, {{-0.35f, -0.62f}, {0.67f, -0.76f}, {0.67f, -0.56f}, {-0.35f, -0.42f}}));
      });
      break;
    case 7:  // paw
      m.fill([](Vec2 p) {
        float d = sdEllipse(p, {0, 0.38f}, {0.4f, 0.34f});
        const Vec2 toes[4] = {{-0.62f, -0.12f}, {-0.24f, -0.52f}, {0.24f, -0.52f}, {0.62f, -0.12f}};
        for (const Vec2 t : toes) d = sdUnion(d, sdEllipse(p, t, {0.17f, 0.22f}));
        return d;
      });
      break;
    case 8:  // skull
      m.fill([](Vec2 p) {
        float d =
            sdUnion(sdCircle(p, {0, -0.18f}, 0.66f), sdBox(p, {0, 0.5f}, {0.36f, 0.3f}, 0.1f));
        d = sdCut(d, sdCircle(p, {-0.26f, -0.12f}, 0.18f));
        d = sdCut(d, sdCircle(p, {0.26f, -0.12f}, 0.18f));
        d = sdCut(d, sdPolygon(p, {{0, 0.1f}, {0.1f, 0.28f}, {-0.1f, 0.28f}}));
        for (const float x : {-0.18f, 0.0f, 0.18f})
          d = sdCut(d, sdBox(p, {x, 0.72f}, {0.035f, 0.14f}));
        return d;
      });
      break;
    case 9:  // crown
      m.fill([](Vec2 p) {
        float d = sdPolygon(p, {{-0.78f, 0.5f},
                                {-0.86f, -0.42f},
                                {-0.42f, 0.02f},
                                {0, -0.6f},
                                {0.42f, 0.02f},
                                {0.86f, -0.42f},
                                {0.78f, 0.5f}});
        for (const Vec2 c : {Vec2{-0.84f, -0.52f}, Vec2{0, -0.72f}, Vec2{0.84f, -0.52f}}) {
          d = sdUnion(d, sdCircle(p, c * 0.97f, 0.11f));
        }
        return sdUnion(d, sdBox(p, {0, 0.68f}, {0.8f, 0.12f}, 0.04f));
      });
      break;
    case 10:  // sun
      m.fill([](Vec2 p) {
        float d = sdCircle(p, O, 0.4f);
        for (int i = 0; i < 12; ++i) {
          const float a = 2 * kPi * i / 12;
          d = sdUnion(
              d, sdPolygon(p, {polar(0.88f, a), polar(0.52f, a + 0.16f), polar(0.52f, a - 0.16f)}));
        }
        return d;
      });
      break;
    case 11:  // moon with a star
      m.fill([s = starPolygon({0.5f, -0.45f}, 0.24f, 0.1f, 5)](Vec2 p) {
        const float moon =
            sdCut(sdCircle(p, {-0.2f, 0.08f}, 0.72f), sdCircle(p, {0.18f, -0.12f}, 0.6f));
        return sdUnion(moon, sdPolygon(p, s));
      });
      break;
    case 12:  // cloud
      m.fill([](Vec2 p) {
        float d = sdBox(p, {0, 0.3f}, {0.72f, 0.22f}, 0.22f);
        d = sdUnion(d, sdCircle(p, {-0.35f, 0.1f}, 0.34f));
        d = sdUnion(d, sdCircle(p, {0.1f, -0.12f}, 0.46f));
        return sdUnion(d, sdCircle(p, {0.5f, 0.15f}, 0.3f));
      });
      break;
    case 13:  // lightning
      m.fill([](Vec2 p) {
        return sdPolygon(p, {{0.2f, -0.9f},
                             {-0.5f, 0.12f},
                             {-0.04f, 0.12f},
                             {-0.24f, 0.9f},
                             {0.52f, -0.2f},
                             {0.06f, -0.2f},
                             {0.36f, -0.9f}});
      });
      break;
    case 14:
      m.fill([](Vec2 p) { return teardrop(p, {0, -0.88f}, {0, 0.32f}, 0.52f); });
      break;
    case 15:  // flame with a tongue of fire inside
      m.fill([o = flame(0.88f, {0, -0.02f}), i = flame(0.42f, {0, 0.4f})](Vec2 p) {
        return sdCut(sdPolygon(p, o), sdPolygon(p, i));
      });
      break;
    case 16:  // leaf with its vein and stalk
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p - Vec2{0.08f, -0.08f}, kPi / 4);
        const float blade =
            sdIntersect(sdCircle(q, {0, 0.5f}, 0.9f), sdCircle(q, {0, -0.5f}, 0.9f));
        const float vein = sdSegment(q, {-0.55f, 0}, {0.6f, 0}) - 0.03f;
        return sdUnion(sdCut(blade, vein), sdCapsule(p, {-0.3f, 0.3f}, {-0.72f, 0.72f}, 0.05f));
      });
      break;
    case 17:  // flower
      m.fill([](Vec2 p) {
        float d = 1e9f;
        for (int i = 0; i < 6; ++i)
          d = sdUnion(d, sdCircle(p, polar(0.52f, kPi * i / 3 - kPi / 2), 0.32f));
        d = sdCut(d, sdCircle(p, O, 0.3f));
        return sdUnion(d, sdCircle(p, O, 0.22f));
      });
      break;
    case 18:  // snowflake
      m.fill([](Vec2 p) {
        float d = 1e9f;
        for (int i = 0; i < 6; ++i) d = sdUnion(d, snowflakeArm(rotate(p, kPi * i / 3)));
        return d;
      });
      break;
    case 19:  // check mark
      m.fill([](Vec2 p) {
        return sdPolyline(p, {{-0.66f, 0.02f}, {-0.2f, 0.5f}, {0.7f, -0.56f}}) - 0.14f;
      });
      break;
    case 20:  // cross mark
      m.fill([](Vec2 p) {
        return sdUnion(sdCapsule(p, {-0.6f, -0.6f}, {0.6f, 0.6f}, 0.15f),
                       sdCapsule(p, {0.6f, -0.6f}, {-0.6f, 0.6f}, 0.15f));
      });
      break;
    case 21:  // speech bubble
      m.fill([](Vec2 p) {
        return sdUnion(sdEllipse(p, {0, -0.16f}, {0.88f, 0.6f}),
                       sdPolygon(p, {{-0.4f, 0.2f}, {-0.6f, 0.8f}, {0.05f, 0.35f}}));
      });
      break;
    case 22:  // sparkle: a large and a small four-pointed star with curved sides
      m.sample([](Vec2 p) {
        return astroid(p - Vec2{-0.12f, 0.1f}, 0.74f) < 0 ||
               astroid(p - Vec2{0.56f, -0.56f}, 0.3f) < 0;
      });
      break;
    case 23:  // anchor
      m.fill([](Vec2 p) {
        float d = sdRing(sdCircle(p, {0, -0.68f}, 0.14f), 0.05f);
        d = sdUnion(d, sdBox(p, {0, 0.06f}, {0.06f, 0.6f}));
        d = sdUnion(d, sdBox(p, {0, -0.32f}, {0.36f, 0.06f}, 0.03f));
        d = sdUnion(d, sdArc(p, {0, 0.06f}, 0.62f, 0.35f, kPi - 0.35f) - 0.065f);
        for (const float s : {-1.0f, 1.0f}) {
          const Vec2 tip = Vec2{0, 0.06f} + polar(0.62f, s > 0 ? 0.35f : kPi - 0.35f);
          d = sdUnion(d, sdPolygon(p, {tip + Vec2{0, -0.26f}, tip + Vec2{s * 0.16f, 0.06f},
                                       tip + Vec2{-s * 0.14f, 0.04f}}));
        }
        return d;
      });
      break;
    case 24:  // key
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        float d = sdRing(sdCircle(q, {-0.62f, 0}, 0.24f), 0.09f);
        d = sdUnion(d, sdBox(q, {0.12f, 0}, {0.5f, 0.07f}));
        d = sdUnion(d, sdBox(q, {0.52f, 0.16f}, {0.05f, 0.16f}));
        return sdUnion(d, sdBox(q, {0.32f, 0.13f}, {0.05f, 0.12f}));
      });
      break;
    case 25:  // eye
      m.fill([](Vec2 p) {
        const float outline =
            sdIntersect(sdCircle(p, {0, 0.62f}, 1.0f), sdCircle(p, {0, -0.62f}, 1.0f));
        float d = sdCut(outline,
                        sdIntersect(sdCircle(p, {0, 0.7f}, 0.98f), sdCircle(p, {0, -0.7f}, 0.98f)));
        d = sdUnion(d, sdCircle(p, O, 0.32f));
        return sdCut(d, sdCircle(p, {0.1f, -0.1f}, 0.09f));
      });
      break;
    case 26:  // rounded star
      m.fill([s = starPolygon({0, 0.07f}, 0.78f, 0.36f, 5)](Vec2 p) {
        return sdPolygon(p, s) - 0.09f;
      });
      break;
    case 27:  // house
      m.fill([](Vec2 p) {
        float d = sdUnion(sdBox(p, {0, 0.34f}, {0.6f, 0.5f}),
                          sdPolygon(p, {{0, -0.86f}, {0.88f, -0.08f}, {-0.88f, -0.08f}}));
        d = sdUnion(d, sdBox(p, {0.5f, -0.56f}, {0.1f, 0.2f}));
        return sdCut(d, sdBox(p, {0, 0.56f}, {0.16f, 0.3f}));
      });
      break;
    case 28:  // fir tree
      m.fill([](Vec2 p) {
        float d = sdBox(p, {0, 0.74f}, {0.1f, 0.14f});
        d = sdUnion(d, sdPolygon(p, {{0, -0.88f}, {0.4f, -0.3f}, {-0.4f, -0.3f}}));
        d = sdUnion(d, sdPolygon(p, {{0, -0.55f}, {0.58f, 0.2f}, {-0.58f, 0.2f}}));
        return sdUnion(d, sdPolygon(p, {{0, -0.2f}, {0.8f, 0.62f}, {-0.8f, 0.62f}}));
      });
      break;
    case 29:  // flying gull
      m.fill([](Vec2 p) {
        Polygon wing{{-0.86f, -0.05f}};
        appendQuadratic(wing, {-0.45f, -0.55f}, {0, 0.12f});
        appendQuadratic(wing, {0.45f, -0.55f}, {0.86f, -0.05f});
        return sdPolyline(p, wing) - 0.09f;
      });
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
