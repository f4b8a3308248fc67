#include <complex>

#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

constexpr float R = 0.86f;

// The editor's background tile. It is stretched over 26 x 26 units and placed every 24 units, so
// neighbours overlap by 2 units and the pattern must repeat every 64 * 24 / 26 = 59.08 texels:
// checker squares of 12 units are texels 0-29 and 30-58, and texels 59-63 (the 2-unit overlap)
// repeat the first square. Its squares are either opaque (the tile colour) or clear (the grey
// cleared behind the tiles): drawing either twice where tiles overlap changes nothing, so the
// overlaps cannot show as stripes.
// Whether p lies in a pattern cut from the square (-R, -R) ... (R, R) four levels deep: at each
// level the square is split three by three and the cells `cut(column, row)` names are removed.
template <typename Cut>
bool inTernaryPattern(Vec2 p, Cut cut) {
  float x = (p.x + R) / (2 * R), y = (p.y + R) / (2 * R);
  if (x < 0 || y < 0 || x >= 1 || y >= 1) return false;
  for (int level = 0; level < 4; ++level) {
    x *= 3;
    y *= 3;
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (cut(ix, iy)) return false;
    x -= ix;
    y -= iy;
  }
  return true;
}

void backgroundChecker(Mask& m) {
  const auto band = [](int i) { return i >= 30 && i < 59 ? 1 : 0; };
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) m.at(x, y) = (band(x) + band(y)) % 2 == 0 ? 1.0f : 0.0f;
  }
}

// Scales and centres a curve into the cell, keeping its proportions.
Polygon fitted(const Polygon& points, float extent = R) {
  Vec2 lo{1e9f, 1e9f}, hi{-1e9f, -1e9f};
  for (const Vec2 v : points) {
    lo = {std::min(lo.x, v.x), std::min(lo.y, v.y)};
    hi = {std::max(hi.x, v.x), std::max(hi.y, v.y)};
  }
  const float scale = 2 * extent / std::max(hi.x - lo.x, hi.y - lo.y);
  const Vec2 centre = (lo + hi) * 0.5f;
  Polygon out;
  for (const Vec2 v : points) out.push_back((v - centre) * scale);
  return out;
}

// Each fold replaces a segment by two at right angles; the sign alternates along the curve.
void dragon(Polygon& out, Vec2 a, Vec2 b, int depth, float sign) {
  if (depth == 0) {
    out.push_back(b);
    return;
  }
  const Vec2 mid = a + rotate(b - a, sign * kPi / 4) * (1 / std::sqrt(2.0f));
  dragon(out, a, mid, depth - 1, 1);
  dragon(out, mid, b, depth - 1, -1);
}

void levy(Polygon& out, Vec2 a, Vec2 b, int depth) {
  if (depth == 0) {
    out.push_back(b);
    return;
  }
  const Vec2 mid = a + rotate(b - a, -kPi / 4) * (1 / std::sqrt(2.0f));
  levy(out, a, mid, depth - 1);
  levy(out, mid, b, depth - 1);
}

void koch(Polygon& out, Vec2 a, Vec2 b, int depth) {
  if (depth == 0) {
    out.push_back(b);
    return;
  }
  const Vec2 d = (b - a) * (1.0f / 3);
  const Vec2 p1 = a + d, p3 = a + d * 2;
  const Vec2 peak = p1 + rotate(d, -kPi / 3);
  koch(out, a, p1, depth - 1);
  koch(out, p1, peak, depth - 1);
  koch(out, peak, p3, depth - 1);
  koch(out, p3, b, depth - 1);
}

Polygon hilbert(int order) {
  const int n = 1 << order;
  Polygon points;
  for (int d = 0; d < n * n; ++d) {
    int x = 0, y = 0, t = d;
    for (int s = 1; s < n; s *= 2) {
      const int rx = 1 & (t / 2), ry = 1 & (t ^ rx);
      if (ry == 0) {
        if (rx == 1) {
          x = s - 1 - x;
          y = s - 1 - y;
        }
        std::swap(x, y);
      }
      x += s * rx;
      y += s * ry;
      t /= 4;
    }
    points.push_back({static_cast<float>(x), static_cast<float>(y)});
  }
  return fitted(points, 0.8f);
}

void tree(Mask& m, Vec2 from, float angle, float len, float width, int depth) {
  const Vec2 to = from + polar(len, angle);
  m.fill([&](Vec2 p) { return sdCapsule(p, from, to, width / 2); });
  if (depth == 0) return;
  tree(m, to, angle - 0.45f, len * 0.72f, width * 0.7f, depth - 1);
  tree(m, to, angle + 0.38f, len * 0.76f, width * 0.7f, depth - 1);
}

void pythagoras(std::vector<Polygon>& squares, Vec2 a, Vec2 b, int depth) {
  const Vec2 side = b - a, up = rotate(side, -kPi / 2);
  const Vec2 c = b + up, d = a + up;
  squares.push_back({a, b, c, d});
  if (depth == 0) return;
  const Vec2 apex = d + rotate(side, -kPi / 4) * (1 / std::sqrt(2.0f));
  pythagoras(squares, d, apex, depth - 1);
  pythagoras(squares, apex, c, depth - 1);
}

template <class F>
void escapeTime(Mask& m, Vec2 centre, float halfSize, F&& iterate) {
  m.sample(
      [&](Vec2 p) {
        return iterate(std::complex<float>(centre.x + p.x * halfSize, centre.y + p.y * halfSize));
      },
      3);
}

bool mandelbrot(std::complex<float> c) {
  std::complex<float> z = 0;
  for (int i = 0; i < 200; ++i) {
    z = z * z + c;
    if (std::norm(z) > 4) return false;
  }
  return true;
}

bool julia(std::complex<float> z, std::complex<float> c, int limit) {
  for (int i = 0; i < limit; ++i) {
    z = z * z + c;
    if (std::norm(z) > 4) return false;
  }
  return true;
}

void hexaflake(Mask& m, Vec2 centre, float radius, int depth) {
  if (depth == 0) {
    const Polygon hex = regularPolygon(centre, radius, 6, 0);
    m.fill([&](Vec2 p) { return sdPolygon(p, hex); });
    return;
  }
  const float r = radius / 3;
  hexaflake(m, centre, r, depth - 1);
  for (int i = 0; i < 6; ++i) hexaflake(m, centre + polar(2 * r, kPi * i / 3), r, depth - 1);
}

void hTree(Polygon& segments, Vec2 c, float half, bool horizontal, int depth) {
  const Vec2 d = horizontal ? Vec2{half, 0} : Vec2{0, half};
  segments.push_back(c - d);
  segments.push_back(c + d);
  if (depth == 0) return;
  hTree(segments, c - d, half / std::sqrt(2.0f), !horizontal, depth - 1);
  hTree(segments, c + d, half / std::sqrt(2.0f), !horizontal, depth - 1);
}

// Every circle holds two touching circles of half its size, across its horizontal or vertical
// diameter by turns.
void circles(Mask& m, Vec2 c, float r, bool across, int depth) {
  m.fill([&](Vec2 p) { return sdRing(sdCircle(p, c, r), 0.02f); });
  if (depth == 0) return;
  const Vec2 d = across ? Vec2{r / 2, 0} : Vec2{0, r / 2};
  circles(m, c - d, r / 2, !across, depth - 1);
  circles(m, c + d, r / 2, !across, depth - 1);
}

void tSquare(Mask& m, Vec2 c, float half, int depth) {
  m.fill([&](Vec2 p) { return sdBox(p, c, {half, half}); });
  if (depth == 0) return;
  for (const Vec2 corner : {Vec2{-1, -1}, Vec2{1, -1}, Vec2{1, 1}, Vec2{-1, 1}}) {
    tSquare(m, c + corner * half, half / 2, depth - 1);
  }
}

}  // namespace

void drawFractal(int number, Mask& m) {
  switch (number) {
    case 1:
      backgroundChecker(m);
      break;
    case 2: {
      const Polygon t = regularPolygon({0, R * 0.29f}, R * 1.15f, 3);
      m.sample([&](Vec2 p) {
        // Barycentric coordinates from the bottom left corner; each level doubles them and the
        // middle triangle (u + v > 1 after taking the whole parts away) is a hole.
        const Vec2 e1 = t[1] - t[2], e2 = t[0] - t[2], q = p - t[2];
        const float det = cross(e1, e2);
        float a = cross(q, e2) / det, b = cross(e1, q) / det;
        if (a < 0 || b < 0 || a + b > 1) return false;
        for (int level = 0; level < 6; ++level) {
          a *= 2;
          b *= 2;
          if (a >= 1) {
            a -= 1;
          } else if (b >= 1) {
            b -= 1;
          } else if (a + b > 1) {
            return false;
          }
        }
        return true;
      });
      break;
    }
    case 3:
      m.sample([](Vec2 p) {
        return inTernaryPattern(p, [](int ix, int iy) { return ix == 1 && iy == 1; });
      });
      break;
    case 4: {
      const Polygon t = regularPolygon({0, 0}, 1, 3);
      Polygon flake{t[0]};
      for (int i = 0; i < 3; ++i) koch(flake, t[i], t[(i + 1) % 3], 4);
      flake.pop_back();
      flake = fitted(flake, 0.9f);
      m.fill([&](Vec2 p) { return sdPolygon(p, flake); });
      break;
    }
    case 5:
      escapeTime(m, {-0.65f, 0}, 1.3f, [](std::complex<float> c) { return mandelbrot(c); });
      break;
    case 6:
      escapeTime(m, {0, 0}, 1.6f, [](std::complex<float> z) {
        return julia(z, {-1.0f, 0.0f}, 120);
      });
      break;
    case 7:
      escapeTime(m, {0, 0}, 1.35f, [](std::complex<float> z) {
        return julia(z, {-0.123f, 0.745f}, 120);
      });
      break;
    case 8: {
      Polygon curve{{0, 0}};
      dragon(curve, {0, 0}, {1, 0}, 11, 1);
      m.fill([c = fitted(curve)](Vec2 p) { return sdPolyline(p, c) - 0.012f; });
      break;
    }
    case 9:
      m.fill([c = hilbert(4)](Vec2 p) { return sdPolyline(p, c) - 0.025f; });
      break;
    case 10:
      tree(m, {0, 0.88f}, -kPi / 2, 0.42f, 0.11f, 8);
      break;
    case 11: {
      // The fern's four affine maps, chosen with their usual probabilities.
      constexpr int kHi = 4 * kCell;
      std::vector<int> hits(kHi * kHi, 0);
      Random random(11);
      float x = 0, y = 0;
      for (int i = 0; i < 400000; ++i) {
        const float r = random.uniform();
        float nx, ny;
        if (r < 0.01f) {
          nx = 0;
          ny = 0.16f * y;
        } else if (r < 0.86f) {
          nx = 0.85f * x + 0.04f * y;
          ny = -0.04f * x + 0.85f * y + 1.6f;
        } else if (r < 0.93f) {
          nx = 0.2f * x - 0.26f * y;
          ny = 0.23f * x + 0.22f * y + 1.6f;
        } else {
          nx = -0.15f * x + 0.28f * y;
          ny = 0.26f * x + 0.24f * y + 0.44f;
        }
        x = nx;
        y = ny;
        const int hx = static_cast<int>((x + 2.75f) / 10.3f * kHi + kHi * 0.25f);
        const int hy = static_cast<int>((10.1f - y) / 10.3f * kHi);
        if (hx >= 0 && hy >= 0 && hx < kHi && hy < kHi) ++hits[hy * kHi + hx];
      }
      for (int py = 0; py < kCell; ++py) {
        for (int px = 0; px < kCell; ++px) {
          int covered = 0;
          for (int j = 0; j < 4; ++j) {
            for (int i = 0; i < 4; ++i) covered += hits[(py * 4 + j) * kHi + px * 4 + i] > 0;
          }
          m.at(px, py) = std::min(1.0f, covered / 9.0f);
        }
      }
      break;
    }
    case 12:
      m.sample([](Vec2 p) {
        const int level = static_cast<int>(std::floor((p.y + R) / (2 * R) * 5));
        if (level < 0 || level > 4) return false;
        const float inBand = (p.y + R) / (2 * R) * 5 - level;
        if (inBand > 0.6f) return false;
        float x = (p.x + R) / (2 * R);
        if (x < 0 || x >= 1) return false;
        for (int i = 0; i < level; ++i) {
          x *= 3;
          if (static_cast<int>(x) == 1) return false;
          x -= std::floor(x);
        }
        return true;
      });
      break;
    case 13:
      m.sample([](Vec2 p) {
        return inTernaryPattern(p, [](int ix, int iy) { return ix != 1 && iy != 1; });
      });
      break;
    case 14: {
      Polygon curve{{0, 0}};
      levy(curve, {0, 0}, {1, 0}, 10);
      m.fill([c = fitted(curve)](Vec2 p) { return sdPolyline(p, c) - 0.014f; });
      break;
    }
    case 15: {
      std::vector<Polygon> squares;
      pythagoras(squares, {-0.14f, 0.86f}, {0.14f, 0.86f}, 7);
      Polygon all;
      for (const Polygon& s : squares) all.insert(all.end(), s.begin(), s.end());
      const Polygon box = fitted(all);
      for (std::size_t i = 0; i < squares.size(); ++i) {
        const Polygon q(box.begin() + static_cast<std::ptrdiff_t>(4 * i),
                        box.begin() + static_cast<std::ptrdiff_t>(4 * i + 4));
        m.fill([&](Vec2 p) { return sdPolygon(p, q); });
      }
      break;
    }
    case 16: {
      Polygon curve{{0, 0}};
      koch(curve, {0, 0}, {1, 0}, 5);
      m.fill([c = fitted(curve, 0.92f)](Vec2 p) { return sdPolyline(p, c) - 0.02f; });
      break;
    }
    case 17:
      hexaflake(m, {0, 0}, 0.9f, 3);
      break;
    case 18: {
      Polygon segments;
      hTree(segments, {0, 0}, 0.45f, true, 7);
      m.fill([&](Vec2 p) {
        float d = 1e9f;
        for (std::size_t i = 0; i + 1 < segments.size(); i += 2) {
          d = std::min(d, sdSegment(p, segments[i], segments[i + 1]));
        }
        return d - 0.022f;
      });
      break;
    }
    case 19:
      circles(m, {0, 0}, 0.86f, true, 5);
      break;
    case 20:
      tSquare(m, {0, 0}, 0.43f, 4);
      break;
    case 21:
      m.apply([](float& a, Vec2 centre) {
        // Newton's method on z^3 = 1, 3 x 3 samples a texel: the basins of the three roots are
        // opaque, half and clear.
        float sum = 0;
        for (int j = -1; j <= 1; ++j) {
          for (int i = -1; i <= 1; ++i) {
            std::complex<float> z((centre.x + i * kTexel / 3) * 1.6f,
                                  (centre.y + j * kTexel / 3) * 1.6f);
            for (int k = 0; k < 40 && std::norm(z) > 1e-12f; ++k) {
              z -= (z * z * z - 1.0f) / (3.0f * z * z);
            }
            sum += z.real() > 0 ? 1.0f : (z.imag() > 0 ? 0.45f : 0.0f);
          }
        }
        a = sum / 9;
      });
      break;
    default:
      break;
  }
}

}  // namespace orvane::art
