#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

constexpr Vec2 O{0, 0};

float face(Vec2 p, float mouth) {
  float d = sdCircle(p, O, 0.86f);
  d = sdCut(d, sdEllipse(p, {-0.3f, -0.22f}, {0.1f, 0.16f}));
  d = sdCut(d, sdEllipse(p, {0.3f, -0.22f}, {0.1f, 0.16f}));
  // A smile bends down into the face, a frown up; both are arcs of the same circle size.
  const float arc = mouth > 0 ? sdArc(p, {0, 0.02f}, 0.5f, 0.5f, kPi - 0.5f)
                              : sdArc(p, {0, 0.82f}, 0.5f, kPi + 0.6f, 2 * kPi - 0.6f);
  return sdCut(d, arc - 0.07f);
}

float bell(Vec2 p) {
  Polygon b{{-0.78f, 0.52f}};
  appendCubic(b, {-0.5f, 0.3f}, {-0.62f, -0.2f}, {-0.5f, -0.45f});
  appendCubic(b, {-0.35f, -0.75f}, {0.35f, -0.75f}, {0.5f, -0.45f});
  appendCubic(b, {0.62f, -0.2f}, {0.5f, 0.3f}, {0.78f, 0.52f});
  float d = sdUnion(sdPolygon(p, b), sdBox(p, {0, 0.56f}, {0.82f, 0.08f}, 0.04f));
  d = sdUnion(d, sdCircle(p, {0, 0.74f}, 0.13f));
  return sdUnion(d, sdRing(sdCircle(p, {0, -0.76f}, 0.08f), 0.04f));
}

float yinYang(Vec2 p) {
  // The dark half: the left half disc, plus the upper small disc, minus the lower small disc,
  // with the two opposite-coloured dots and an outer ring so the light half stays visible.
  const float r = 0.84f;
  float dark = sdIntersect(sdCircle(p, O, r), p.x);
  dark = sdUnion(dark, sdCircle(p, {0, -r / 2}, r / 2));
  dark = sdCut(dark, sdCircle(p, {0, r / 2}, r / 2));
  dark = sdCut(dark, sdCircle(p, {0, -r / 2}, 0.12f));
  dark = sdUnion(dark, sdCircle(p, {0, r / 2}, 0.12f));
  return sdUnion(dark, sdRing(sdCircle(p, O, r), 0.03f));
}

float trefoil(Vec2 p) {
  float d = sdCircle(p, O, 0.14f);
  const float angle = std::atan2(p.y, p.x) + kPi / 2;
  const float sector = std::fmod(angle + 4 * kPi, 2 * kPi / 3) - kPi / 3;
  const float blade = sdCut(sdCircle(p, O, 0.84f), sdCircle(p, O, 0.26f));
  const float wedge = (std::abs(sector) - kPi / 6) * length(p);
  return sdUnion(d, sdIntersect(blade, wedge));
}

Polygon butterflyWing(float sx) {
  Polygon w{{0, -0.05f}};
  appendCubic(w, {sx * 0.3f, -0.9f}, {sx * 1.05f, -0.85f}, {sx * 0.8f, -0.25f});
  appendCubic(w, {sx * 0.7f, 0.0f}, {sx * 0.3f, 0.05f}, {sx * 0.25f, 0.08f});
  appendCubic(w, {sx * 0.75f, 0.3f}, {sx * 0.6f, 0.85f}, {sx * 0.2f, 0.62f});
  appendCubic(w, {sx * 0.05f, 0.5f}, {0, 0.3f}, {0, 0.1f});
  return w;
}

}  // namespace

void drawMarkSecondHalf(int number, Mask& m) {
  switch (number) {
    case 30:  // cat face
      m.fill([](Vec2 p) {
        float d = sdEllipse(p, {0, 0.16f}, {0.78f, 0.64f});
        d = sdUnion(d, sdPolygon(p, {{-0.74f, -0.2f}, {-0.66f, -0.86f}, {-0.2f, -0.42f}}));
        d = sdUnion(d, sdPolygon(p, {{0.74f, -0.2f}, {0.66f, -0.86f}, {0.2f, -0.42f}}));
        d = sdCut(d, sdEllipse(p, {-0.3f, 0.02f}, {0.1f, 0.15f}));
        d = sdCut(d, sdEllipse(p, {0.3f, 0.02f}, {0.1f, 0.15f}));
        return sdCut(d, sdPolygon(p, {{-0.1f, 0.3f}, {0.1f, 0.3f}, {0, 0.42f}}));
      });
      break;
    case 31:
      m.fill([](Vec2 p) { return face(p, 1); });
      break;
    case 32:
      m.fill([](Vec2 p) { return face(p, -1); });
      break;
    case 33:
      m.fill(bell);
      break;
    case 34:  // umbrella
      m.fill([](Vec2 p) {
        float d = sdIntersect(sdCircle(p, {0, -0.05f}, 0.86f), p.y + 0.05f);
        for (int i = 0; i < 4; ++i)
          d = sdCut(d, sdCircle(p, {-0.645f + 0.43f * i, -0.05f}, 0.215f));
        d = sdUnion(d, sdBox(p, {0, 0.32f}, {0.05f, 0.38f}));
        return sdUnion(d, sdArc(p, {-0.16f, 0.7f}, 0.16f, 0, kPi) - 0.05f);
      });
      break;
    case 35:  // padlock
      m.fill([](Vec2 p) {
        float d = sdBox(p, {0, 0.32f}, {0.62f, 0.52f}, 0.1f);
        d = sdUnion(d, sdArc(p, {0, -0.3f}, 0.38f, kPi, 2 * kPi) - 0.1f);
        d = sdUnion(d, sdBox(p, {-0.38f, -0.2f}, {0.1f, 0.12f}));
        d = sdUnion(d, sdBox(p, {0.38f, -0.2f}, {0.1f, 0.12f}));
        d = sdCut(d, sdCircle(p, {0, 0.22f}, 0.12f));
        return sdCut(d, sdBox(p, {0, 0.42f}, {0.05f, 0.16f}));
      });
      break;
    case 36:  // magnifying glass
      m.fill([](Vec2 p) {
        return sdUnion(sdRing(sdCircle(p, {-0.2f, -0.2f}, 0.5f), 0.1f),
                       sdCapsule(p, {0.22f, 0.22f}, {0.72f, 0.72f}, 0.13f));
      });
      break;
    case 37:  // four-leaf clover
      m.fill([h = heartPolygon(O, 0.28f)](Vec2 p) {
        float d = 1e9f;
        for (int i = 0; i < 4; ++i) {
          const Vec2 q = rotate(p - Vec2{0, -0.06f}, -kPi / 4 - kPi / 2 * i);
          d = sdUnion(d, sdPolygon(q - Vec2{0, -0.38f}, h));
        }
        Polygon stem{{0, 0}};
        appendQuadratic(stem, {0.15f, 0.55f}, {0.5f, 0.85f});
        return sdUnion(d, sdPolyline(p, stem) - 0.05f);
      });
      break;
    case 38:  // mushroom
      m.fill([](Vec2 p) {
        float cap = sdIntersect(sdEllipse(p, {0, 0.05f}, {0.86f, 0.8f}), p.y - 0.05f);
        cap = sdCut(cap, sdCircle(p, {-0.4f, -0.3f}, 0.12f));
        cap = sdCut(cap, sdCircle(p, {0.1f, -0.52f}, 0.13f));
        cap = sdCut(cap, sdCircle(p, {0.45f, -0.2f}, 0.1f));
        return sdUnion(cap, sdBox(p, {0, 0.5f}, {0.24f, 0.38f}, 0.12f));
      });
      break;
    case 39:  // sword
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, -kPi / 4);
        float d = sdPolygon(
            q, {{0, -0.98f}, {0.1f, -0.84f}, {0.1f, 0.38f}, {-0.1f, 0.38f}, {-0.1f, -0.84f}});
        d = sdUnion(d, sdBox(q, {0, 0.44f}, {0.34f, 0.06f}, 0.03f));
        d = sdUnion(d, sdBox(q, {0, 0.66f}, {0.06f, 0.18f}));
        return sdUnion(d, sdCircle(q, {0, 0.9f}, 0.1f));
      });
      break;
    case 40:  // medal on a ribbon
      m.fill([s = starPolygon({0, 0.38f}, 0.3f, 0.13f, 5)](Vec2 p) {
        float d = sdPolygon(p, {{-0.5f, -0.88f}, {-0.18f, -0.88f}, {0.12f, -0.1f}, {-0.2f, -0.1f}});
        d = sdUnion(
            d, sdPolygon(p, {{0.5f, -0.88f}, {0.18f, -0.88f}, {-0.12f, -0.1f}, {0.2f, -0.1f}}));
        d = sdUnion(d, sdCircle(p, {0, 0.36f}, 0.5f));
        return sdCut(d, sdPolygon(p, s));
      });
      break;
    case 41:  // wing: long flight feathers fanned out from the joint, coverts over their roots
      m.fill([](Vec2 p) {
        const Vec2 joint{0.62f, 0.5f};
        float d = sdEllipse(rotate(p - Vec2{0.22f, 0.1f}, 0.75f), O, {0.5f, 0.24f});
        for (int i = 0; i < 8; ++i) {
          const float angle = -1.45f - 0.21f * i;
          const float reach = 0.9f + 0.06f * i;
          const Vec2 tip = joint + polar(reach, angle);
          d = sdUnion(d,
                      sdEllipse(rotate(p - (joint + tip) * 0.5f, -angle), O, {reach / 2, 0.085f}));
        }
        return d;
      });
      break;
    case 42:  // feather
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        float vane =
            sdIntersect(sdCircle(q, {1.0f, -0.15f}, 1.22f), sdCircle(q, {-1.0f, -0.15f}, 1.22f));
        vane = sdCut(vane, sdSegment(q, {0, -0.7f}, {0, 0.6f}) - 0.02f);
        for (const float y : {-0.3f, 0.1f})
          vane = sdCut(vane, sdSegment(q, {-0.1f, y}, {-0.5f, y - 0.25f}) - 0.025f);
        vane = sdCut(vane, sdSegment(q, {0.1f, -0.1f}, {0.5f, -0.35f}) - 0.025f);
        return sdUnion(vane, sdCapsule(q, {0, 0.4f}, {0, 0.95f}, 0.04f));
      });
      break;
    case 43:  // bone
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        float d = sdBox(q, O, {0.6f, 0.12f});
        for (const Vec2 c :
             {Vec2{-0.64f, -0.14f}, Vec2{-0.64f, 0.14f}, Vec2{0.64f, -0.14f}, Vec2{0.64f, 0.14f}}) {
          d = sdUnion(d, sdCircle(q, c, 0.18f));
        }
        return d;
      });
      break;
    case 44:  // fish skeleton
      m.fill([](Vec2 p) {
        float d = sdRing(sdPolygon(p, {{-0.88f, 0}, {-0.45f, -0.32f}, {-0.45f, 0.32f}}), 0.035f);
        d = sdUnion(d, sdCapsule(p, {-0.45f, 0}, {0.5f, 0}, 0.045f));
        for (int i = 0; i < 5; ++i) {
          const float x = -0.3f + 0.16f * i, h = 0.34f - 0.03f * i;
          d = sdUnion(d, sdCapsule(p, {x, -h}, {x, h}, 0.035f));
        }
        return sdUnion(d,
                       sdRing(sdPolygon(p, {{0.5f, 0}, {0.88f, -0.34f}, {0.88f, 0.34f}}), 0.035f));
      });
      break;
    case 45:  // ringed planet
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, -0.35f);
        const float orbit = sdEllipse(q, O, {0.88f, 0.26f});
        const float planet = sdCircle(p, O, 0.48f);
        // The ring passes in front of the planet below its centre, with a gap around it.
        const float body = q.y > 0 ? sdCut(planet, sdRing(orbit, 0.1f)) : planet;
        return sdUnion(body, sdRing(orbit, 0.05f));
      });
      break;
    case 46:  // rocket
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, -kPi / 4) * 0.8f + Vec2{0, 0.25f};
        float d =
            sdIntersect(sdCircle(q, {0.62f, 0.3f}, 0.92f), sdCircle(q, {-0.62f, 0.3f}, 0.92f));
        d = sdIntersect(d, q.y - 0.55f);
        d = sdUnion(d, sdPolygon(q, {{-0.22f, 0.1f}, {-0.48f, 0.7f}, {-0.2f, 0.55f}}));
        d = sdUnion(d, sdPolygon(q, {{0.22f, 0.1f}, {0.48f, 0.7f}, {0.2f, 0.55f}}));
        d = sdUnion(d, sdPolygon(q, {{-0.14f, 0.6f}, {0.14f, 0.6f}, {0, 0.95f}}));
        return sdCut(d, sdCircle(q, {0, -0.1f}, 0.1f));
      });
      break;
    case 47:  // hourglass
      m.fill([](Vec2 p) {
        float d = sdUnion(sdBox(p, {0, -0.8f}, {0.6f, 0.07f}), sdBox(p, {0, 0.8f}, {0.6f, 0.07f}));
        d = sdUnion(d, sdRing(sdPolygon(p, {{-0.48f, -0.72f},
                                            {0.48f, -0.72f},
                                            {0.05f, 0},
                                            {0.48f, 0.72f},
                                            {-0.48f, 0.72f},
                                            {-0.05f, 0}}),
                              0.04f));
        d = sdUnion(d, sdPolygon(p, {{-0.3f, -0.5f}, {0.3f, -0.5f}, {0, -0.1f}}));
        return sdUnion(d, sdPolygon(p, {{0, 0.35f}, {0.36f, 0.68f}, {-0.36f, 0.68f}}));
      });
      break;
    case 48:  // infinity
      m.fill([](Vec2 p) {
        Polygon curve;
        for (int i = 0; i < 200; ++i) {
          const float t = 2 * kPi * i / 200, s = std::sin(t), c = std::cos(t);
          curve.push_back(Vec2{c, s * c} * (0.82f / (1 + s * s)) * 1.0f);
        }
        return sdPolyline(p, curve, true) - 0.09f;
      });
      break;
    case 49:
      m.fill(yinYang);
      break;
    case 50:  // peace sign
      m.fill([](Vec2 p) {
        float d = sdRing(sdCircle(p, O, 0.76f), 0.09f);
        d = sdUnion(d, sdBox(p, O, {0.08f, 0.8f}));
        d = sdUnion(d, sdCapsule(p, O, polar(0.76f, kPi / 4), 0.08f));
        return sdUnion(d, sdCapsule(p, O, polar(0.76f, 3 * kPi / 4), 0.08f));
      });
      break;
    case 51:
      m.fill(trefoil);
      break;
    case 52:  // warning sign
      m.fill([t = regularPolygon({0, 0.2f}, 0.82f, 3)](Vec2 p) {
        float d = sdPolygon(p, t) - 0.08f;
        d = sdCut(d, sdCapsule(p, {0, -0.26f}, {0, 0.2f}, 0.08f));
        return sdCut(d, sdCircle(p, {0, 0.44f}, 0.09f));
      });
      break;
    case 53:  // no entry
      m.fill([](Vec2 p) { return sdCut(sdCircle(p, O, 0.86f), sdBox(p, O, {0.6f, 0.15f})); });
      break;
    case 54:  // envelope
      m.fill([](Vec2 p) {
        float d = sdBox(p, O, {0.86f, 0.58f}, 0.06f);
        d = sdCut(d, sdPolyline(p, {{-0.76f, -0.48f}, {0, 0.1f}, {0.76f, -0.48f}}) - 0.05f);
        d = sdCut(d, sdSegment(p, {-0.76f, 0.5f}, {-0.28f, -0.05f}) - 0.04f);
        return sdCut(d, sdSegment(p, {0.76f, 0.5f}, {0.28f, -0.05f}) - 0.04f);
      });
      break;
    case 55:  // aeroplane
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        float d = sdCapsule(q, {0, -0.8f}, {0, 0.66f}, 0.11f);
        d = sdUnion(d, sdPolygon(q, {{0, -0.3f},
                                     {0.86f, 0.12f},
                                     {0.86f, 0.26f},
                                     {0, 0.08f},
                                     {-0.86f, 0.26f},
                                     {-0.86f, 0.12f}}));
        return sdUnion(d, sdPolygon(q, {{0, 0.5f},
                                        {0.36f, 0.78f},
                                        {0.36f, 0.88f},
                                        {0, 0.78f},
                                        {-0.36f, 0.88f},
                                        {-0.36f, 0.78f}}));
      });
      break;
    case 56:  // butterfly
      m.fill([l = butterflyWing(-1), r = butterflyWing(1)](Vec2 p) {
        float d = sdUnion(sdPolygon(p, l), sdPolygon(p, r));
        d = sdCut(d, sdCapsule(p, {0, -0.6f}, {0, 0.7f}, 0.1f));
        d = sdUnion(d, sdCapsule(p, {0, -0.45f}, {0, 0.55f}, 0.06f));
        d = sdUnion(d, sdPolyline(p, {{-0.25f, -0.85f}, {0, -0.45f}, {0.25f, -0.85f}}) - 0.025f);
        return d;
      });
      break;
    case 57:  // ghost
      m.fill([](Vec2 p) {
        float d = sdUnion(sdCircle(p, {0, -0.22f}, 0.64f), sdBox(p, {0, 0.3f}, {0.64f, 0.5f}));
        for (int i = 0; i < 3; ++i) d = sdCut(d, sdCircle(p, {-0.43f + 0.43f * i, 0.86f}, 0.15f));
        d = sdCut(d, sdEllipse(p, {-0.24f, -0.25f}, {0.1f, 0.15f}));
        return sdCut(d, sdEllipse(p, {0.24f, -0.25f}, {0.1f, 0.15f}));
      });
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
