#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

// The pictures' red channel is also the alpha of the masks Other 177 ... 186, so every picture
// keeps its subject in colours with a strong red part (white, yellow, orange, red, pink) and its
// surroundings in colours without one (blue, green, cyan, black): each mask is the silhouette of
// its picture's subject.

constexpr Vec2 O{0, 0};

Rgba mixed(Rgba a, Rgba b, float t) {
  t = clamp01(t);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

void landscape(ColourCell& c) {
  c.paint([](Vec2) { return 1.0f; },
          [](Vec2 p) { return mixed(rgb(0x0058C8), rgb(0x00B8F0), (p.y + 1) / 1.2f); });
  c.fill([](Vec2 p) { return sdCircle(p, {0.52f, -0.56f}, 0.22f); }, rgb(0xFFE040));
  const Polygon range{{-1.1f, 0.5f},  {-0.55f, -0.35f}, {-0.3f, -0.05f},
                      {0.05f, -0.5f}, {0.55f, 0.2f},    {0.75f, 0.0f},
                      {1.1f, 0.4f},   {1.1f, 0.7f},     {-1.1f, 0.7f}};
  c.fill([&](Vec2 p) { return sdPolygon(p, range); }, rgb(0xD08458));
  c.fill(
      [&](Vec2 p) {
        return sdIntersect(sdPolygon(p, range), sdUnion(p.y + 0.2f + 0.05f * std::sin(p.x * 20),
                                                        sdCircle(p, {-0.55f, -0.35f}, 0.22f)));
      },
      rgb(0xFFFFFF));
  c.paint([](Vec2 p) { return Mask::coverage(0.45f + 0.06f * std::sin(p.x * 4) - p.y); },
          [](Vec2 p) { return mixed(rgb(0x00B040), rgb(0x00803A), (p.y - 0.4f) * 2); });
}

void planet(ColourCell& c) {
  Random random(2);
  for (int i = 0; i < 9; ++i) {
    const Vec2 at{random.uniform(-0.9f, 0.9f), random.uniform(-0.9f, 0.9f)};
    if (length(at) < 0.75f) continue;
    c.fill([&](Vec2 p) { return sdCircle(p, at, 0.035f); }, rgb(0xFFFFFF));
  }
  const auto tilt = [](Vec2 p) { return rotate(p, -0.4f); };
  c.fill(
      [&](Vec2 p) {
        const Vec2 q = tilt(p);
        return q.y < 0 ? sdRing(sdEllipse(q, O, {0.9f, 0.28f}), 0.06f) : 1.0f;
      },
      rgb(0xFFE0A0));
  c.paint([](Vec2 p) { return Mask::coverage(sdCircle(p, O, 0.5f)); },
          [&](Vec2 p) {
            const float band = std::sin(tilt(p).y * 22);
            return mixed(rgb(0xFF9A30), band > 0 ? rgb(0xFF6A20) : rgb(0xFFC070),
                         std::abs(band) * 0.8f);
          });
  c.fill(
      [&](Vec2 p) {
        const Vec2 q = tilt(p);
        return q.y >= 0 ? sdRing(sdEllipse(q, O, {0.9f, 0.28f}), 0.06f) : 1.0f;
      },
      rgb(0xFFE0A0));
}

void flower(ColourCell& c) {
  Polygon stem{{0, 0.1f}};
  appendQuadratic(stem, {0.1f, 0.5f}, {-0.05f, 0.92f});
  c.fill([&](Vec2 p) { return sdPolyline(p, stem) - 0.05f; }, rgb(0x00A040));
  c.fill(
      [](Vec2 p) {
        return sdEllipse(rotate(p - Vec2{0.3f, 0.62f}, -0.6f), O, {0.26f, 0.1f});
      },
      rgb(0x00B848));
  c.fill(
      [](Vec2 p) {
        return sdEllipse(rotate(p - Vec2{-0.3f, 0.52f}, 0.6f), O, {0.26f, 0.1f});
      },
      rgb(0x00B848));
  for (int i = 0; i < 8; ++i) {
    const float a = kPi * i / 4;
    c.fill(
        [&](Vec2 p) {
          return sdEllipse(rotate(p - Vec2{0, -0.3f} - polar(0.34f, a), -a), O, {0.26f, 0.14f});
        },
        i % 2 ? rgb(0xFF3C80) : rgb(0xFF5C98));
  }
  c.fill([](Vec2 p) { return sdCircle(p, {0, -0.3f}, 0.19f); }, rgb(0xFFD020));
}

void fish(ColourCell& c) {
  for (const Vec2 b : {Vec2{-0.62f, -0.55f}, Vec2{-0.78f, -0.25f}, Vec2{-0.5f, -0.8f}}) {
    c.fill([&](Vec2 p) { return sdRing(sdCircle(p, b, 0.07f + 0.03f * b.y * -1), 0.02f); },
           rgb(0x00C8FF));
  }
  c.fill(
      [](Vec2 p) {
        return sdPolygon(p, {{0.45f, 0.05f}, {0.9f, -0.4f}, {0.8f, 0.05f}, {0.9f, 0.5f}});
      },
      rgb(0xFFE0C0));
  c.fill(
      [](Vec2 p) {
        return sdPolygon(p, {{-0.2f, -0.2f}, {0.0f, -0.6f}, {0.3f, -0.25f}});
      },
      rgb(0xFFE0C0));
  c.paint(
      [](Vec2 p) {
        return Mask::coverage(sdEllipse(p, {-0.05f, 0.05f}, {0.6f, 0.38f}));
      },
      [](Vec2 p) { return mixed(rgb(0xFF7A20), rgb(0xFFC080), (p.y + 0.1f) * 2); });
  c.fill(
      [](Vec2 p) {
        return sdArc(p, {-0.2f, 0.05f}, 0.3f, -0.9f, 0.9f) - 0.025f;
      },
      rgb(0xFF5A10));
  c.fill([](Vec2 p) { return sdCircle(p, {-0.4f, -0.05f}, 0.09f); }, rgb(0x000000));
}

void apple(ColourCell& c) {
  c.fill([](Vec2 p) { return sdCapsule(p, {0, -0.4f}, {0.08f, -0.82f}, 0.05f); }, rgb(0x804020));
  c.fill(
      [](Vec2 p) {
        return sdEllipse(rotate(p - Vec2{0.32f, -0.66f}, -0.5f), O, {0.26f, 0.12f});
      },
      rgb(0x00A040));
  c.paint(
      [](Vec2 p) {
        return Mask::coverage(
            sdUnion(sdCircle(p, {-0.26f, 0.12f}, 0.6f), sdCircle(p, {0.26f, 0.12f}, 0.6f)));
      },
      [](Vec2 p) { return mixed(rgb(0xF02828), rgb(0xB01010), (p.x + 0.5f)); });
  c.fill(
      [](Vec2 p) {
        return sdEllipse(rotate(p - Vec2{-0.4f, -0.1f}, 0.5f), O, {0.08f, 0.18f});
      },
      rgb(0xFFFFFF, 0.8f));
}

void balloon(ColourCell& c) {
  c.fill(
      [](Vec2 p) {
        return std::min(sdSegment(p, {-0.38f, 0.36f}, {-0.16f, 0.66f}),
                        sdSegment(p, {0.38f, 0.36f}, {0.16f, 0.66f})) -
               0.015f;
      },
      rgb(0x703010));
  c.fill([](Vec2 p) { return sdBox(p, {0, 0.76f}, {0.18f, 0.12f}, 0.03f); }, rgb(0xB06A30));
  const Polygon envelope = [] {
    Polygon e{{0, -0.9f}};
    appendCubic(e, {0.5f, -0.9f}, {0.75f, -0.5f}, {0.6f, -0.05f});
    appendCubic(e, {0.5f, 0.2f}, {0.25f, 0.35f}, {0.2f, 0.48f});
    e.push_back({-0.2f, 0.48f});
    appendCubic(e, {-0.25f, 0.35f}, {-0.5f, 0.2f}, {-0.6f, -0.05f});
    appendCubic(e, {-0.75f, -0.5f}, {-0.5f, -0.9f}, {0, -0.9f});
    return e;
  }();
  c.paint([&](Vec2 p) { return Mask::coverage(sdPolygon(p, envelope)); },
          [](Vec2 p) {
            const int stripe = static_cast<int>(
                std::floor((p.x / (1 - std::min(0.9f, p.y * p.y * 0.6f)) + 1) * 3));
            return stripe % 2 ? rgb(0xFFD21E) : rgb(0xFF2A2A);
          });
}

void campfire(ColourCell& c) {
  c.fill([](Vec2 p) { return sdCapsule(p, {-0.7f, 0.78f}, {0.6f, 0.5f}, 0.1f); }, rgb(0x80441C));
  c.fill([](Vec2 p) { return sdCapsule(p, {0.7f, 0.78f}, {-0.6f, 0.5f}, 0.1f); }, rgb(0x6A3614));
  const auto tongue = [](Vec2 p, float h, float w, float lean) {
    const float t = clamp01((0.55f - p.y) / h);
    const float x = p.x - lean * t * t;
    return std::abs(x) - w * std::sqrt(t) * (1 - t) * 1.6f + (p.y > 0.55f ? (p.y - 0.55f) : 0);
  };
  c.fill([&](Vec2 p) { return tongue(p, 1.4f, 0.6f, 0.2f); }, rgb(0xFF3A00));
  c.fill([&](Vec2 p) { return tongue(p, 1.05f, 0.42f, -0.15f); }, rgb(0xFF9000));
  c.fill([&](Vec2 p) { return tongue(p, 0.65f, 0.26f, 0.05f); }, rgb(0xFFE840));
}

void butterfly(ColourCell& c) {
  for (const float s : {-1.0f, 1.0f}) {
    const Vec2 upper{s * 0.42f, -0.3f}, lower{s * 0.32f, 0.38f};
    c.fill(
        [&](Vec2 p) {
          return sdEllipse(rotate(p - upper, s * 0.5f), O, {0.44f, 0.36f});
        },
        rgb(0x200000));
    c.fill(
        [&](Vec2 p) {
          return sdEllipse(rotate(p - lower, -s * 0.4f), O, {0.3f, 0.26f});
        },
        rgb(0x200000));
    c.fill(
        [&](Vec2 p) {
          const float wing = sdEllipse(rotate(p - upper, s * 0.5f), O, {0.36f, 0.28f});
          return sdCut(wing,
                       std::abs(rotate(p - Vec2{0, 0}, s * 0.7f).x) - 0.02f < 0 ? -1.0f : 1.0f);
        },
        rgb(0xFF8C00));
    c.fill(
        [&](Vec2 p) {
          return sdEllipse(rotate(p - lower, -s * 0.4f), O, {0.22f, 0.18f});
        },
        rgb(0xFFA830));
    c.fill(
        [&](Vec2 p) {
          return sdCircle(p, upper + Vec2{s * 0.22f, -0.12f}, 0.06f);
        },
        rgb(0xFFFFFF));
  }
  c.fill([](Vec2 p) { return sdCapsule(p, {0, -0.5f}, {0, 0.55f}, 0.07f); }, rgb(0x201008));
  c.fill(
      [](Vec2 p) {
        return sdPolyline(p, {{-0.25f, -0.86f}, {0, -0.5f}, {0.25f, -0.86f}}) - 0.02f;
      },
      rgb(0x201008));
}

void rocket(ColourCell& c) {
  const auto q = [](Vec2 p) { return rotate(p, -kPi / 4) * 0.8f + Vec2{0, 0.25f}; };
  c.fill(
      [&](Vec2 p) {
        return sdPolygon(q(p), {{-0.14f, 0.58f}, {0.14f, 0.58f}, {0, 1.02f}});
      },
      rgb(0xFFB000));
  c.fill(
      [&](Vec2 p) {
        return sdPolygon(q(p), {{-0.2f, 0.1f}, {-0.46f, 0.68f}, {-0.18f, 0.56f}});
      },
      rgb(0xF02020));
  c.fill(
      [&](Vec2 p) {
        return sdPolygon(q(p), {{0.2f, 0.1f}, {0.46f, 0.68f}, {0.18f, 0.56f}});
      },
      rgb(0xF02020));
  c.fill(
      [&](Vec2 p) {
        const Vec2 r = q(p);
        return sdIntersect(
            sdIntersect(sdCircle(r, {0.6f, 0.3f}, 0.9f), sdCircle(r, {-0.6f, 0.3f}, 0.9f)),
            r.y - 0.6f);
      },
      rgb(0xF4F4FF));
  c.fill(
      [&](Vec2 p) {
        const Vec2 r = q(p);
        return sdIntersect(
            sdIntersect(sdCircle(r, {0.6f, 0.3f}, 0.9f), sdCircle(r, {-0.6f, 0.3f}, 0.9f)),
            -0.45f - r.y);
      },
      rgb(0xF02020));
  c.fill([&](Vec2 p) { return sdCircle(q(p), {0, -0.08f}, 0.13f); }, rgb(0x2060FF));
}

void strawberry(ColourCell& c) {
  const Polygon body = [] {
    Polygon b{{0, 0.9f}};
    appendCubic(b, {-0.5f, 0.7f}, {-0.8f, 0.0f}, {-0.6f, -0.35f});
    appendCubic(b, {-0.4f, -0.6f}, {0.4f, -0.6f}, {0.6f, -0.35f});
    appendCubic(b, {0.8f, 0.0f}, {0.5f, 0.7f}, {0, 0.9f});
    return b;
  }();
  c.fill([&](Vec2 p) { return sdPolygon(p, body); }, rgb(0xF01830));
  for (int j = 0; j < 5; ++j) {
    for (int i = -3; i <= 3; ++i) {
      const Vec2 seed{i * 0.2f + (j % 2) * 0.1f, -0.25f + j * 0.22f};
      c.paint(
          [&](Vec2 p) {
            return Mask::coverage(
                sdIntersect(sdEllipse(p, seed, {0.03f, 0.045f}), sdPolygon(p, body) + 0.06f));
          },
          [](Vec2) { return rgb(0xFFE070); });
    }
  }
  c.fill([s = starPolygon({0, -0.52f}, 0.46f, 0.16f, 6, -kPi / 2)](
             Vec2 p) { return sdIntersect(sdPolygon(p, s), p.y + 0.3f); },
         rgb(0x00A040));
  c.fill([](Vec2 p) { return sdCapsule(p, {0, -0.55f}, {0.1f, -0.86f}, 0.05f); }, rgb(0x008030));
}

}  // namespace

void drawPicture(int number, ColourCell& c) {
  switch (number) {
    case 1:
      landscape(c);
      break;
    case 2:
      planet(c);
      break;
    case 3:
      flower(c);
      break;
    case 4:
      fish(c);
      break;
    case 5:
      apple(c);
      break;
    case 6:
      balloon(c);
      break;
    case 7:
      campfire(c);
      break;
    case 8:
      butterfly(c);
      break;
    case 9:
      rocket(c);
      break;
    case 10:
      strawberry(c);
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
