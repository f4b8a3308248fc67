#include <vector>

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

// The basic shapes in list order, number 1 first, each as the distance field it fills.
const std::vector<Field>& basicShapeFields() {
  static const std::vector<Field> fields = {
      // 1 square
      [](Vec2 p) {
        return sdBox(p, O, {R, R});
      },
      // 2 disc
      [](Vec2 p) { return sdCircle(p, O, R); },
      // 3 the whole cell (edge to edge: tiles without seams)
      [](Vec2) { return -1.0f; },
      // 4 square outline
      [](Vec2 p) {
        return sdOutline(sdBox(p, O, {R, R}), W);
      },
      // 5 ring
      [](Vec2 p) { return sdOutline(sdCircle(p, O, R), W); },
      // 6 triangle
      [t = triangleUp()](Vec2 p) { return sdPolygon(p, t); },
      // 7 triangle outline
      [t = triangleUp()](Vec2 p) { return sdOutline(sdPolygon(p, t), W); },
      // 8 triangle pointing down
      [t = triangleUp()](Vec2 p) {
        return sdPolygon({p.x, -p.y}, t);
      },
      // 9 right triangle
      [](Vec2 p) {
        return sdPolygon(p, {{-R, -R}, {R, R}, {-R, R}});
      },
      // 10 diamond
      [](Vec2 p) {
        return sdPolygon(p, {{0, -R}, {0.7f, 0}, {0, R}, {-0.7f, 0}});
      },
      // 11 diamond outline
      [](Vec2 p) {
        return sdOutline(sdPolygon(p, {{0, -R}, {0.7f, 0}, {0, R}, {-0.7f, 0}}), W);
      },
      // 12 pentagon
      [t = regularPolygon({0, 0.08f}, 0.92f, 5)](Vec2 p) { return sdPolygon(p, t); },
      // 13 pentagon outline
      [t = regularPolygon({0, 0.08f}, 0.92f, 5)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); },
      // 14 hexagon
      [t = regularPolygon(O, 0.92f, 6, 0)](Vec2 p) { return sdPolygon(p, t); },
      // 15 hexagon outline

      [t = regularPolygon(O, 0.92f, 6, 0)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); },
      // 16 octagon
      [t = regularPolygon(O, 0.92f, 8, kPi / 8)](Vec2 p) { return sdPolygon(p, t); },
      // 17 octagon outline
      [t = regularPolygon(O, 0.92f, 8, kPi / 8)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); },
      // 18 five-pointed star
      [t = starPolygon({0, 0.08f}, 0.95f, 0.38f, 5)](Vec2 p) { return sdPolygon(p, t); },
      // 19 star outline
      [t = starPolygon({0, 0.08f}, 0.95f, 0.38f, 5)](Vec2 p) {
        return sdOutline(sdPolygon(p, t), 0.12f);
      },
      // 20 six-pointed star
      [t = starPolygon(O, 0.92f, 0.53f, 6)](Vec2 p) { return sdPolygon(p, t); },
      // 21 eight-pointed star
      [t = starPolygon(O, 0.92f, 0.5f, 8, 0)](Vec2 p) { return sdPolygon(p, t); },
      // 22 heart
      [t = heartPolygon(O, 0.9f)](Vec2 p) { return sdPolygon(p, t); },
      // 23 heart outline
      [t = heartPolygon(O, 0.9f)](Vec2 p) { return sdOutline(sdPolygon(p, t), W); },
      // 24 crescent
      [](Vec2 p) {
        return sdCut(sdCircle(p, {-0.06f, 0}, R), sdCircle(p, {0.34f, -0.14f}, 0.7f));
      },
      // 25 half disc
      [](Vec2 p) {
        return sdIntersect(sdCircle(p, {0, 0.43f}, R), p.y - 0.43f);
      },
      // 26 quarter disc
      [](Vec2 p) {
        return sdIntersect(sdCircle(p, {-R, R}, 2 * R), sdBox(p, O, {R, R}));
      },
      // 27 ellipse
      [](Vec2 p) {
        return sdEllipse(p, O, {0.92f, 0.55f});
      },
      // 28 ellipse outline
      [](Vec2 p) {
        return sdOutline(sdEllipse(p, O, {0.92f, 0.55f}), 0.16f);
      },
      // 29 rounded square
      [](Vec2 p) {
        return sdBox(p, O, {R, R}, 0.3f);
      },
      // 30 rounded square outline
      [](Vec2 p) {
        return sdOutline(sdBox(p, O, {R, R}, 0.3f), W);
      },
      // 31 diagonal cross
      [](Vec2 p) {
        const Vec2 q = rotate(p, kPi / 4);
        return sdUnion(sdBox(q, O, {1.1f, 0.2f}), sdBox(q, O, {0.2f, 1.1f}));
      },
      // 32 plus
      [](Vec2 p) { return plus(p, 0.28f); },
      // 33 arrow right
      [t = arrowRight()](Vec2 p) { return sdPolygon(p, t); },
      // 34 arrow up
      [t = arrowRight()](Vec2 p) { return sdPolygon(rotate(p, kPi / 2), t); },
      // 35 double arrow
      [](Vec2 p) {
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
      },
      // 36 chevron
      [](Vec2 p) {
        return sdPolygon(
            p, {{-0.6f, -R}, {-0.05f, -R}, {0.6f, 0}, {-0.05f, R}, {-0.6f, R}, {0.05f, 0}});
      },
      // 37 thick ring
      [](Vec2 p) { return sdCut(sdCircle(p, O, R), sdCircle(p, O, 0.4f)); },
      // 38 arch
      [](Vec2 p) {
        const Vec2 c{0, 0.43f};
        return sdIntersect(sdCut(sdCircle(p, c, R), sdCircle(p, c, 0.5f)), p.y - c.y);
      },
      // 39 parallelogram
      [](Vec2 p) {
        return sdPolygon(p, {{-0.45f, -0.55f}, {0.9f, -0.55f}, {0.45f, 0.55f}, {-0.9f, 0.55f}});
      },
      // 40 trapezoid
      [](Vec2 p) {
        return sdPolygon(p, {{-0.48f, -0.6f}, {0.48f, -0.6f}, {0.9f, 0.6f}, {-0.9f, 0.6f}});
      },
      // 41 bar
      [](Vec2 p) {
        return sdBox(p, O, {0.9f, 0.45f});
      },
      // 42 target
      [](Vec2 p) { return sdUnion(sdCircle(p, O, 0.3f), sdOutline(sdCircle(p, O, R), 0.18f)); },
      // 43 square with a round hole
      [](Vec2 p) {
        return sdCut(sdBox(p, O, {R, R}), sdCircle(p, O, 0.5f));
      },
      // 44 four-pointed star
      [t = starPolygon(O, 0.95f, 0.28f, 4)](Vec2 p) { return sdPolygon(p, t); },
      // 45 disc with a wedge cut out
      [](Vec2 p) {
        return sdCut(sdCircle(p, O, R), sdPolygon(p, {{0, 0}, {1.2f, -0.84f}, {1.2f, 0.84f}}));
      },
      // 46 lens
      [](Vec2 p) {
        return sdIntersect(sdCircle(p, {-0.45f, 0}, 0.95f), sdCircle(p, {0.45f, 0}, 0.95f));
      },
      // 47 plus outline
      [](Vec2 p) { return sdOutline(plus(p, 0.32f), 0.14f); },
      // 48 L
      [](Vec2 p) {
        return sdUnion(sdBox(p, {-0.64f, 0}, {0.22f, R}), sdBox(p, {0, 0.64f}, {R, 0.22f}));
      },
      // 49 kite
      [](Vec2 p) {
        return sdPolygon(p, {{0, -0.9f}, {0.62f, -0.25f}, {0, 0.9f}, {-0.62f, -0.25f}});
      },
      // 50 gear
      gear,
      // 51 shield
      [s = shield()](Vec2 p) { return sdPolygon(p, s); },
      // 52 Reuleaux triangle
      reuleaux,
  };
  return fields;
}

}  // namespace

void drawBasicShape(int number, Mask& mask) {
  const std::vector<Field>& fields = basicShapeFields();
  if (number >= 1 && number <= int(fields.size())) mask.fill(fields[std::size_t(number - 1)]);
}

}  // namespace orvane::art
