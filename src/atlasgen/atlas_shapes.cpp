#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

constexpr float R = 0.86f;  // half the extent of a shape: about four texels of margin
constexpr float W = 0.2f;   // width of outlined shapes
constexpr Vec2 O{0, 0};

Polygon triangleUp() { return regularPolygon({0, R * 0.29f}, R * 1.15f, 3); }

Polygon arrowRight() {
  return {{-R, -0.22f},  {0.1f, -0.22f}, {0.1f, -0.62f}, {R, 0},
          {0.1f, 0.62f}, {0.1f, 0.22f},  {-R, 0.22f}};
}

float plus(Vec2 p, float arm) { return sdUnion(sdBox(p, O, {R, arm}), sdBox(p, O, {arm, R})); }

Polygon shield() {
  Polygon s{{-0.78f, -R}, {0.78f, -R}, {0.78f, -0.1f}};
  appendCubic(s, {0.78f, 0.45f}, {0.35f, 0.7f}, {0, 0.9f});
  appendCubic(s, {-0.35f, 0.7f}, {-0.78f, 0.45f}, {-0.78f, -0.1f});
  return s;
}

float reuleaux(Vec2 p) {
  const Polygon t = regularPolygon({0, 0.12f}, 0.92f, 3);
  const float side = length(t[0] - t[1]);
  float d = -1e9f;
  for (const Vec2 v : t) d = sdIntersect(d, sdCircle(p, v, side));
  return d;
}

float gear(Vec2 p) {
  float d = sdCircle(p, O, 0.66f);
  for (int i = 0; i < 8; ++i) {
    const Vec2 q = rotate(p, -2 * kPi * i / 8);
    d = sdUnion(d, sdBox(q, {0.72f, 0}, {0.16f, 0.14f}, 0.03f));
  }
  return sdCut(d, sdCircle(p, O, 0.26f));
}

}  // namespace

void drawBasicShape(int number, Mask& m) {
  switch (number) {
    case 1:
      m.fill([](Vec2 p) { return sdBox(p, O, {R, R}); });
      break;
    case 2:
      m.fill([](Vec2 p) { return sdCircle(p, O, R); });
      break;
    case 3:
      m.shade([](Vec2) { return 1.0f; });
      break;  // edge to edge: tiles without seams
    case 4:
      m.fill([](Vec2 p) { return sdOutline(sdBox(p, O, {R, R}), W); });
      break;
    case 5:
      m.fill([](Vec2 p) { return sdOutline(sdCircle(p, O, R), W); });
      break;
    case 6:
      m.fill([t = triangleUp()](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 7:
      m.fill([t = triangleUp()](Vec2 p) { return sdOutline(sdPolygon(p, t), W); });
      break;
    case 8:
      m.fill([t = triangleUp()](Vec2 p) { return sdPolygon({p.x, -p.y}, t); });
      break;
    case 9:
      m.fill([](Vec2 p) { return sdPolygon(p, {{-R, -R}, {R, R}, {-R, R}}); });
      break;
    case 10:
      m.fill([](Vec2 p) { return sdPolygon(p, {{0, -R}, {0.7f, 0}, {0, R}, {-0.7f, 0}}); });
      break;
    case 11:
      m.fill([](Vec2 p) {
        return sdOutline(sdPolygon(p, {{0, -R}, {0.7f, 0}, {0, R}, {-0.7f, 0}}), W);
      });
      break;
    case 12:
      m.fill([t = regularPolygon({0, 0.08f}, 0.92f, 5)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 13:
      m.fill([t = regularPolygon({0, 0.08f}, 0.92f, 5)](Vec2 p) {
        return sdOutline(sdPolygon(p, t), W);
      });
      break;
    case 14:
      m.fill([t = regularPolygon(O, 0.92f, 6, 0)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 15:
      m.fill(
          [t = regularPolygon(O, 0.92f, 6, 0)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); });
      break;
    case 16:
      m.fill([t = regularPolygon(O, 0.92f, 8, kPi / 8)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 17:
      m.fill([t = regularPolygon(O, 0.92f, 8, kPi / 8)](Vec2 p) {
        return sdOutline(sdPolygon(p, t), W);
      });
      break;
    case 18:
      m.fill([t = starPolygon({0, 0.08f}, 0.95f, 0.38f, 5)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 19:
      m.fill([t = starPolygon({0, 0.08f}, 0.95f, 0.38f, 5)](Vec2 p) {
        return sdOutline(sdPolygon(p, t), 0.12f);
      });
      break;
    case 20:
      m.fill([t = starPolygon(O, 0.92f, 0.53f, 6)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 21:
      m.fill([t = starPolygon(O, 0.92f, 0.5f, 8, 0)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 22:
      m.fill([t = heartPolygon(O, 0.9f)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 23:
      m.fill([t = heartPolygon(O, 0.9f)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); });
      break;
    case 24:
      m.fill([](Vec2 p) {
        return sdCut(sdCircle(p, {-0.06f, 0}, R), sdCircle(p, {0.34f, -0.14f}, 0.7f));
      });
      break;
    case 25:
      m.fill([](Vec2 p) { return sdIntersect(sdCircle(p, {0, 0.43f}, R), p.y - 0.43f); });
      break;
    case 26:
      m.fill([](Vec2 p) { return sdIntersect(sdCircle(p, {-R, R}, 2 * R), sdBox(p, O, {R, R})); });
      break;
    case 27:
      m.fill([](Vec2 p) { return sdEllipse(p, O, {0.92f, 0.55f}); });
      break;
    case 28:
      m.fill([](Vec2 p) { return sdOutline(sdEllipse(p, O, {0.92f, 0.55f}), 0.16f); });
      break;
    case 29:
      m.fill([](Vec2 p) { return sdBox(p, O, {R, R}, 0.3f); });
      break;
    case 30:
      m.fill([](Vec2 p) { return sdOutline(sdBox(p, O, {R, R}, 0.3f), W); });
      break;
    case 31:
      m.fill([](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        return sdUnion(sdBox(q, O, {1.1f, 0.2f}), sdBox(q, O, {0.2f, 1.1f}));
      });
      break;
    case 32:
      m.fill([](Vec2 p) { return plus(p, 0.28f); });
      break;
    case 33:
      m.fill([t = arrowRight()](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 34:
      m.fill([t = arrowRight()](Vec2 p) { return sdPolygon(rotate(p, kPi / 2), t); });
      break;
    case 35:
      m.fill([](Vec2 p) {
        return sdPolygon(p, {{-R, 0},
                             {-0.38f, -0.55f},
                             {-0.38f, -0.2f},
                             {0.38f, -0.2f},
                             {0.38f, -0.55f},
                             {R, 0},
                             {0.38f, 0.55f},
                             {0.38f, 0.2f},
                             {-0.38f, 0.2f},
                             {-0.38f, 0.55f}});
      });
      break;
    case 36:
      m.fill([](Vec2 p) {
        return sdPolygon(
            p, {{-0.6f, -R}, {-0.05f, -R}, {0.6f, 0}, {-0.05f, R}, {-0.6f, R}, {0.05f, 0}});
      });
      break;
    case 37:
      m.fill([](Vec2 p) { return sdCut(sdCircle(p, O, R), sdCircle(p, O, 0.4f)); });
      break;
    case 38:
      m.fill([](Vec2 p) {
        const Vec2 c{0, 0.43f};
        return sdIntersect(sdCut(sdCircle(p, c, R), sdCircle(p, c, 0.5f)), p.y - c.y);
      });
      break;
    case 39:
      m.fill([](Vec2 p) {
        return sdPolygon(p, {{-0.45f, -0.55f}, {0.9f, -0.55f}, {0.45f, 0.55f}, {-0.9f, 0.55f}});
      });
      break;
    case 40:
      m.fill([](Vec2 p) {
        return sdPolygon(p, {{-0.48f, -0.6f}, {0.48f, -0.6f}, {0.9f, 0.6f}, {-0.9f, 0.6f}});
      });
      break;
    case 41:
      m.fill([](Vec2 p) { return sdBox(p, O, {0.9f, 0.45f}); });
      break;
    case 42:
      m.fill([](Vec2 p) {
        return sdUnion(sdCircle(p, O, 0.3f), sdOutline(sdCircle(p, O, R), 0.18f));
      });
      break;
    case 43:
      m.fill([](Vec2 p) { return sdCut(sdBox(p, O, {R, R}), sdCircle(p, O, 0.5f)); });
      break;
    case 44:
      m.fill([t = starPolygon(O, 0.95f, 0.28f, 4)](Vec2 p) { return sdPolygon(p, t); });
      break;
    case 45:
      m.fill([](Vec2 p) {
        return sdCut(sdCircle(p, O, R), sdPolygon(p, {{0, 0}, {1.2f, -0.84f}, {1.2f, 0.84f}}));
      });
      break;
    case 46:
      m.fill([](Vec2 p) {
        return sdIntersect(sdCircle(p, {-0.45f, 0}, 0.95f), sdCircle(p, {0.45f, 0}, 0.95f));
      });
      break;
    case 47:
      m.fill([](Vec2 p) { return sdOutline(plus(p, 0.32f), 0.14f); });
      break;
    case 48:
      m.fill([](Vec2 p) {
        return sdUnion(sdBox(p, {-0.64f, 0}, {0.22f, R}), sdBox(p, {0, 0.64f}, {R, 0.22f}));
      });
      break;
    case 49:
      m.fill([](Vec2 p) {
        return sdPolygon(p, {{0, -0.9f}, {0.62f, -0.25f}, {0, 0.9f}, {-0.62f, -0.25f}});
      });
      break;
    case 50:
      m.fill(gear);
      break;
    case 51:
      m.fill([s = shield()](Vec2 p) { return sdPolygon(p, s); });
      break;
    case 52:
      m.fill(reuleaux);
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
