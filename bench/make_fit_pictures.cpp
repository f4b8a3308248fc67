// Draws the four photograph-like pictures the shape-fitting benchmark runs on, so they can be
// made again and checked: a portrait, an animal in a meadow, a mug on a wooden table and a
// street at night. Each has smooth shading, hard edges and fine texture, as photographs do,
// and grain on top. Written as 384 x 192 JPEG files (the fitting analyses them at 192 x 96).
//
//   build/bench/make_fit_pictures bench
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "render/picture_file.h"

namespace {

constexpr int kWidth = 384, kHeight = 192;
constexpr int kSupersampling = 3;

struct Colour {
  double r = 0, g = 0, b = 0;
};
Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Colour mix(Colour a, Colour b, double t) { return a * (1 - t) + b * t; }
Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
double smoothstep(double e0, double e1, double x) {
  const double t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

std::uint32_t hash(std::int64_t x, std::int64_t y, std::uint32_t seed) {
  std::uint64_t h = std::uint64_t(x) * 0x9E3779B97F4A7C15ull ^
                    std::uint64_t(y) * 0xC2B2AE3D27D4EB4Full ^ seed * 0x165667B19E3779F9ull;
  h ^= h >> 29, h *= 0xBF58476D1CE4E5B9ull, h ^= h >> 32;
  return std::uint32_t(h);
}
double lattice(std::int64_t x, std::int64_t y, std::uint32_t seed) {
  return hash(x, y, seed) / 4294967295.0;
}
// Smooth value noise in 0 ... 1.
double noise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = std::int64_t(fx), iy = std::int64_t(fy);
  const double tx = smoothstep(0, 1, x - fx), ty = smoothstep(0, 1, y - fy);
  const double top = lattice(ix, iy, seed) * (1 - tx) + lattice(ix + 1, iy, seed) * tx;
  const double bottom = lattice(ix, iy + 1, seed) * (1 - tx) + lattice(ix + 1, iy + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}
// Fractal noise in about 0 ... 1.
double fbm(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0, amplitude = 0.5, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * noise(x, y, seed + std::uint32_t(i));
    total += amplitude;
    x *= 2.03, y *= 2.03, amplitude *= 0.5;
  }
  return sum / total;
}

// 1 inside the ellipse, 0 outside, with a soft rim of width `soft` (in units of the radii).
double ellipse(double x, double y, double cx, double cy, double rx, double ry, double soft) {
  const double d = std::hypot((x - cx) / rx, (y - cy) / ry);
  return 1 - smoothstep(1 - soft, 1 + soft, d);
}
// The lighting of an ellipsoid bulging towards the viewer, lit from the upper left: 0 ... 1.
double dome(double x, double y, double cx, double cy, double rx, double ry) {
  const double u = (x - cx) / rx, v = (y - cy) / ry;
  const double z = std::sqrt(std::max(0.0, 1 - u * u - v * v));
  const double light = (-0.45 * u - 0.5 * v + 0.74 * z);
  return clamp01(0.25 + 0.75 * std::max(0.0, light));
}

using Shader = std::function<Colour(double x, double y)>;  // x in 0 ... 2, y in 0 ... 1

// A shelf of books filling [x0, x1): spines of random widths, heights and colours on boards.
Colour bookshelf(double x, double y, double x0, std::uint32_t seed) {
  static const Colour kSpines[] = {rgb(150, 40, 36), rgb(40, 60, 120),   rgb(200, 170, 90),
                                   rgb(40, 100, 70), rgb(210, 200, 180), rgb(90, 50, 90),
                                   rgb(30, 30, 34),  rgb(190, 110, 50)};
  const double shelf = 0.25;
  const int row = int(std::floor(y / shelf));
  const double inRow = y - row * shelf;
  if (inRow > shelf - 0.03) return rgb(92, 60, 36) * (0.8 + 0.3 * fbm(x * 30, y * 90, 2, seed));
  // Walk the books of this row from x0 until the one under x.
  double left = x0;
  for (int k = 0; k < 200; ++k) {
    const std::uint32_t h = hash(row, k, seed);
    const double width = 0.018 + (h % 1000) / 1000.0 * 0.035;
    if (x < left + width) {
      const double height = 0.14 + ((h >> 10) % 1000) / 1000.0 * 0.07;
      if (inRow < shelf - 0.03 - height) return rgb(40, 30, 24);
      Colour spine = kSpines[(h >> 20) % 8];
      const double u = (x - left) / width;
      spine = spine * (0.6 + 0.5 * std::sin(u * 3.14159));  // round spines
      const double label = inRow - (shelf - 0.03 - height * 0.7);
      if (label > 0 && label < 0.02) spine = mix(spine, rgb(230, 210, 150), 0.7);
      return spine;
    }
    left += width;
  }
  return rgb(40, 30, 24);
}

Colour portrait(double x, double y) {
  // Behind: books on the left, a window with half-open blinds on the right.
  Colour c = bookshelf(x, y, 0.0, 13);
  if (x > 1.35) {
    const double slat = std::fmod(y + 0.01 * std::sin(x * 9), 0.06) / 0.06;
    c = mix(rgb(235, 240, 245), rgb(120, 126, 130), smoothstep(0.55, 0.7, slat));
    c = mix(c, rgb(200, 205, 210), smoothstep(1.37, 1.35, x));
  }
  c = c * (0.55 + 0.45 * smoothstep(2.0, 0.0, std::abs(x - 1.2)));
  // Shoulders in a patterned sweater: bands of zigzags and dots.
  const double slope = y - (0.76 + 0.3 * std::pow((x - 1) / 0.6, 2));
  const double shoulders = smoothstep(-0.01, 0.01, slope);
  if (shoulders > 0) {
    Colour knit = rgb(40, 50, 90);
    const double band = std::fmod(y, 0.12) / 0.12;
    const double zig = std::abs(std::fmod(x * 18, 2.0) - 1.0);
    if (band < 0.35 && std::abs(band / 0.35 - zig) < 0.3) knit = rgb(226, 214, 190);
    if (band > 0.55 && band < 0.75 && std::fmod(x * 36, 2.0) < 0.9) knit = rgb(170, 40, 44);
    knit = knit * (0.85 + 0.15 * std::sin(x * 400)) * (0.4 + 0.7 * dome(x, y, 0.9, 1.0, 0.8, 0.4));
    c = mix(c, knit, shoulders);
  }
  // Neck, darker under the chin.
  const double neck = ellipse(x, y, 1.0, 0.82, 0.075, 0.22, 0.1);
  const Colour skin = rgb(224, 172, 138);
  c = mix(c,
          skin * (0.5 + 0.35 * smoothstep(0.7, 0.95, y)) * (1.1 - 0.6 * smoothstep(0.95, 1.07, x)),
          neck);
  // Long hair behind the head, in strands with glints.
  const double hair = ellipse(x, y, 1.0, 0.5, 0.25, 0.45, 0.03);
  const double strands = 0.45 + 0.75 * fbm(x * 70 + 3 * y, y * 5, 3, 21);
  const double glint = smoothstep(0.75, 0.9, fbm(x * 40, y * 4, 2, 23));
  Colour hairColour = rgb(70, 42, 24) * strands * (0.4 + 0.7 * dome(x, y, 0.95, 0.35, 0.26, 0.45));
  c = mix(c, mix(hairColour, rgb(190, 140, 90), 0.5 * glint), hair);
  // The face lit from the left: its right side falls into shadow.
  const double face = ellipse(x, y, 1.0, 0.47, 0.165, 0.25, 0.04);
  Colour faceColour = skin * (0.2 + 0.95 * dome(x, y, 1.0, 0.45, 0.19, 0.3));
  const double cheeks =
      ellipse(x, y, 0.92, 0.55, 0.05, 0.035, 0.9) + ellipse(x, y, 1.08, 0.55, 0.05, 0.035, 0.9);
  faceColour = mix(faceColour, rgb(214, 112, 104), 0.3 * cheeks);
  faceColour = faceColour * (0.92 + 0.16 * fbm(x * 90, y * 90, 2, 5));
  c = mix(c, faceColour, face);
  // A fringe over the forehead.
  const double fringe = ellipse(x, y, 1.03, 0.21, 0.2, 0.11, 0.08) * smoothstep(0.31, 0.26, y);
  c = mix(c, rgb(64, 38, 20) * strands, fringe);
  // Eyes: whites, irises, pupils, a catch light; brows above.
  for (const double ex : {0.935, 1.065}) {
    const double white = ellipse(x, y, ex, 0.42, 0.035, 0.014, 0.2);
    c = mix(c, rgb(236, 228, 220) * (ex > 1 ? 0.7 : 1.0), white);
    c = mix(c, rgb(70, 110, 80), ellipse(x, y, ex, 0.42, 0.012, 0.012, 0.2) * white);
    c = mix(c, rgb(10, 10, 12), ellipse(x, y, ex, 0.42, 0.005, 0.005, 0.2));
    c = mix(c, rgb(255, 255, 255), ellipse(x, y, ex + 0.004, 0.415, 0.002, 0.002, 0.3));
    c = mix(c, rgb(60, 36, 22),
            ellipse(x, y - 0.03 * std::pow((x - ex) / 0.04, 2), ex, 0.375, 0.045, 0.008, 0.3));
  }
  // Nose: a shadow on the right side and under the tip.
  c = c * (1 - 0.35 * ellipse(x, y, 1.015, 0.5, 0.012, 0.05, 0.8));
  c = c * (1 - 0.35 * ellipse(x, y, 1.0, 0.535, 0.025, 0.008, 0.8));
  // Lips, and gold earrings.
  const double lips = ellipse(x, y, 1.0, 0.6, 0.045, 0.018, 0.25);
  c = mix(c, rgb(170, 64, 70) * (0.8 + 0.3 * smoothstep(0.61, 0.59, y)), lips);
  for (const double ex : {0.835, 1.165}) {
    const double ring = std::abs(std::hypot(x - ex, y - 0.56) - 0.014);
    c = mix(c, rgb(230, 180, 60) * (ex < 1 ? 1.0 : 0.6), smoothstep(0.005, 0.002, ring));
  }
  return c;
}

Colour animal(double x, double y) {
  // The edge of a wood: bright sky between leaves, dark trunks, then a meadow with flowers.
  const double leaves = fbm(x * 9, y * 9, 4, 29);
  Colour c = mix(rgb(200, 220, 235), rgb(50, 90, 40) * (0.5 + 0.8 * fbm(x * 30, y * 30, 2, 30)),
                 smoothstep(0.42, 0.5, leaves + 0.25 * y));
  for (const double tx : {0.18, 0.95, 1.3, 1.85}) {
    const double bark = 0.6 + 0.5 * fbm(x * 200, y * 15, 2, 33);
    if (std::abs(x - tx - 0.02 * std::sin(y * 7)) < 0.035 && y < 0.6) c = rgb(60, 45, 35) * bark;
  }
  const double horizon = 0.55 + 0.03 * std::sin(x * 5);
  if (y > horizon) {
    const double blades = 0.5 + 0.5 * std::sin(x * 300 + 20 * fbm(x * 20, y * 20, 2, 37));
    c = mix(rgb(90, 140, 50), rgb(30, 70, 20), blades) * (0.7 + 0.5 * smoothstep(horizon, 1.0, y));
    const int fx = int(x * 70), fy = int(y * 70);
    const std::uint32_t h = hash(fx, fy, 39);
    const double dx = x * 70 - fx - 0.5, dy = y * 70 - fy - 0.5;
    if (h % 9 == 0 && dx * dx + dy * dy < 0.1) {
      static const Colour kFlowers[] = {rgb(250, 240, 120), rgb(250, 250, 250), rgb(180, 110, 220)};
      c = kFlowers[(h >> 8) % 3];
    }
  }
  // A fox: body, head, ears, snout and a bushy tail, with fur along the body.
  const double fur = 0.6 + 0.6 * fbm(x * 70 + 8 * y, y * 25, 3, 41);
  const Colour orange = rgb(206, 104, 40);
  const double body = ellipse(x, y, 0.95, 0.6, 0.3, 0.16, 0.08);
  const double tail = ellipse(x, y + 0.25 * (x - 1.35), 1.45, 0.6, 0.22, 0.075, 0.25);
  const double head = ellipse(x, y, 0.62, 0.42, 0.12, 0.11, 0.06);
  const double snout = ellipse(x, y, 0.5, 0.47, 0.08, 0.045, 0.15);
  const double ear1 = smoothstep(0.005, -0.005, std::abs(x - 0.58) * 1.6 - (y - 0.2)) *
                      smoothstep(0.34, 0.3, y) * smoothstep(0.19, 0.21, y);
  const double ear2 = smoothstep(0.005, -0.005, std::abs(x - 0.69) * 1.6 - (y - 0.21)) *
                      smoothstep(0.34, 0.3, y) * smoothstep(0.2, 0.22, y);
  const double legs =
      (std::abs(x - 0.78) < 0.035 || std::abs(x - 1.12) < 0.035) && y > 0.65 && y < 0.92 ? 1.0
                                                                                         : 0.0;
  auto shaded = [&](double cx, double cy, double rx, double ry) {
    return orange * fur * (0.35 + 0.85 * dome(x, y, cx, cy, rx, ry));
  };
  c = mix(c, shaded(1.45, 0.6, 0.25, 0.12) * (0.9 + 0.2 * fbm(x * 30, y * 30, 2, 43)), tail);
  c = mix(c, rgb(245, 240, 230) * fur, ellipse(x, y, 1.66, 0.52, 0.06, 0.04, 0.4) * tail);
  c = mix(c, rgb(50, 30, 20) * fur, legs);
  c = mix(c, shaded(0.95, 0.55, 0.32, 0.2), body);
  c = mix(c, rgb(240, 232, 220) * fur, ellipse(x, y, 0.7, 0.62, 0.08, 0.1, 0.4) * body);
  c = mix(c, shaded(0.63, 0.3, 0.12, 0.1) * (1 - 0.7 * smoothstep(0.27, 0.22, y)),
          std::max(ear1, ear2));
  c = mix(c, shaded(0.6, 0.4, 0.14, 0.13), head);
  c = mix(c, rgb(240, 232, 222) * fur, snout);
  c = mix(c, rgb(20, 14, 12), ellipse(x, y, 0.43, 0.46, 0.014, 0.012, 0.3));
  for (const double ex : {0.58, 0.66}) {
    c = mix(c, rgb(30, 20, 10), ellipse(x, y, ex, 0.39, 0.014, 0.01, 0.3));
    c = mix(c, rgb(255, 250, 230), ellipse(x, y, ex + 0.004, 0.387, 0.003, 0.003, 0.4));
  }
  return c;
}

Colour table(double x, double y) {
  // A tiled wall lit from the left, the table's edge at y = 0.55.
  const double tile = 0.11;
  const double gx = std::fmod(x, tile) / tile, gy = std::fmod(y, tile) / tile;
  const std::uint32_t tileHash = hash(int(x / tile), int(y / tile), 49);
  Colour c = mix(rgb(214, 222, 216), rgb(170, 196, 200), (tileHash % 100) / 100.0);
  if (gx < 0.06 || gy < 0.06) c = rgb(150, 146, 136);
  c = c * (1.05 - 0.45 * smoothstep(0.0, 2.0, x + 0.3 * y)) *
      (0.95 + 0.1 * fbm(x * 20, y * 20, 4, 51));
  if (y > 0.55) {
    // Wood: rings of a distorted distance, with fine grain and a varnish sheen.
    const double warp = 4 * fbm(x * 2, y * 6, 3, 53);
    const double ring = 0.5 + 0.5 * std::sin((y * 40 + x * 3 + warp) * 2.2);
    Colour wood = mix(rgb(100, 54, 26), rgb(176, 116, 62), ring);
    wood = wood * (0.8 + 0.35 * fbm(x * 150, y * 12, 2, 57));
    wood = wood * (0.7 + 0.4 * smoothstep(0.55, 1.0, y));
    c = wood + rgb(70, 60, 50) * (0.4 * ellipse(x, y, 0.5, 0.7, 0.4, 0.1, 0.9));
    // A checked napkin under the apple, and the soft shadows of the objects.
    if (x > 0.2 && x < 0.68 && y > 0.68 && y < 0.95) {
      const bool check = (int(x * 25) + int(y * 25)) % 2 == 0;
      c = (check ? rgb(190, 40, 40) : rgb(235, 230, 225)) *
          (0.75 + 0.25 * smoothstep(0.95, 0.7, y));
    }
    c = c * (1 - 0.55 * ellipse(x, y, 1.22, 0.79, 0.32, 0.06, 0.7));
    c = c * (1 - 0.5 * ellipse(x, y, 0.52, 0.83, 0.14, 0.04, 0.7));
  }
  // A stack of two books on the right.
  if (x > 1.45 && x < 1.9 && y > 0.6 && y < 0.78) {
    const bool upper = y < 0.69;
    const double page = std::fmod(y, 0.09) / 0.09;
    c = upper ? rgb(40, 80, 60) : rgb(140, 40, 50);
    if (x > 1.85 && page > 0.2 && page < 0.85)
      c = rgb(230, 225, 200) * (0.8 + 0.2 * std::sin(y * 900));
    c = c * (0.7 + 0.3 * smoothstep(1.9, 1.45, x));
  }
  // An apple: a red dome with streaks, a highlight and a stem.
  const double apple = ellipse(x, y, 0.45, 0.74, 0.1, 0.1, 0.06);
  Colour appleColour = mix(rgb(190, 30, 30), rgb(230, 180, 60), 0.4 * fbm(x * 60, y * 8, 2, 59));
  appleColour = appleColour * (0.3 + 0.9 * dome(x, y, 0.45, 0.74, 0.1, 0.1));
  appleColour =
      mix(appleColour, rgb(255, 240, 230), 0.8 * ellipse(x, y, 0.41, 0.69, 0.015, 0.02, 0.8));
  c = mix(c, appleColour, apple);
  if (std::abs(x - 0.455 - 0.2 * (0.66 - y)) < 0.005 && y > 0.6 && y < 0.66) c = rgb(70, 50, 20);
  // The mug: a cylinder with a highlight, a dark opening, a handle, and a blue band.
  const double left = 0.82, right = 1.18, top = 0.3, bottom = 0.8;
  if (x > left && x < right && y > top &&
      y < bottom + 0.03 * std::sqrt(std::max(0.0, 1 - std::pow((x - 1) / 0.18, 2)))) {
    const double u = (x - 1) / 0.18;
    const double light = 0.3 + 0.7 * std::max(0.0, std::cos((u + 0.35) * 1.4));
    Colour mug = rgb(236, 232, 222) * light;
    if (y > 0.5 && y < 0.56) mug = rgb(40, 70, 150) * light;
    mug = mix(mug, rgb(255, 255, 255), 0.8 * smoothstep(0.04, 0.0, std::abs(u + 0.45)));
    c = mug;
  }
  const double rim = ellipse(x, y, 1.0, 0.3, 0.18, 0.035, 0.1);
  c = mix(c, rgb(210, 205, 196), rim);
  c = mix(c, rgb(50, 30, 20), ellipse(x, y, 1.0, 0.302, 0.16, 0.026, 0.15));
  const double handle =
      ellipse(x, y, 1.21, 0.52, 0.09, 0.13, 0.1) - ellipse(x, y, 1.21, 0.52, 0.05, 0.08, 0.1);
  if (x > 1.17) c = mix(c, rgb(200, 196, 186) * (0.5 + 0.5 * (1.3 - x) / 0.13), clamp01(handle));
  return c;
}

Colour night(double x, double y) {
  // A dark sky, a little lighter at the horizon, with stars.
  Colour c = mix(rgb(6, 10, 30), rgb(40, 36, 60), smoothstep(0.0, 0.55, y));
  if (hash(std::int64_t(x * 300), std::int64_t(y * 300), 61) % 700 == 0 && y < 0.45) {
    c = rgb(220, 220, 255);
  }
  c = c + rgb(40, 40, 60) * ellipse(x, y, 1.6, 0.12, 0.06, 0.12, 1.0);  // glow of the moon
  c = mix(c, rgb(240, 236, 210), ellipse(x, y, 1.6, 0.12, 0.025, 0.05, 0.1));
  // Buildings with lit windows.
  const double buildings[][3] = {{0.0, 0.25, 0.3},   {0.25, 0.5, 0.22}, {0.5, 0.72, 0.4},
                                 {0.72, 1.05, 0.18}, {1.05, 1.3, 0.34}, {1.3, 1.62, 0.26},
                                 {1.62, 2.0, 0.2}};
  for (const auto& b : buildings) {
    if (x >= b[0] && x < b[1] && y > b[2] && y < 0.7) {
      c = rgb(18, 16, 24) * (0.8 + 0.3 * fbm(x * 40, y * 40, 2, 63));
      const int col = int((x - b[0]) * 60), row = int((y - b[2]) * 40);
      const double fx = (x - b[0]) * 60 - col, fy = (y - b[2]) * 40 - row;
      if (fx > 0.3 && fx < 0.75 && fy > 0.3 && fy < 0.75 &&
          hash(col, row, 67 + int(b[0] * 10)) % 3 == 0) {
        c = mix(rgb(255, 200, 110), rgb(180, 210, 255), hash(col, row, 71) % 4 == 0 ? 1.0 : 0.0);
      }
    }
  }
  // The wet street with reflections of the lamps.
  if (y >= 0.7) {
    c = rgb(20, 20, 28) * (0.8 + 0.4 * fbm(x * 30, y * 80, 3, 73));
    c = c + rgb(255, 190, 90) * (0.25 * fbm(x * 5, y * 60, 2, 79));
  }
  // Street lamps: poles and glowing heads with wide halos and streaks on the road.
  for (const double lx : {0.35, 1.0, 1.65}) {
    if (std::abs(x - lx) < 0.006 && y > 0.35 && y < 0.8) c = rgb(30, 30, 34);
    const double d = std::hypot((x - lx) / 2.0, y - 0.34);
    c = c + rgb(255, 180, 80) * (0.9 * std::exp(-d * 55) + 0.35 * std::exp(-d * 12));
    c = c +
        rgb(255, 170, 70) * (0.5 * std::exp(-std::abs(x - lx) * 40) * smoothstep(0.72, 0.95, y) *
                             (0.6 + 0.4 * noise(x * 40, y * 90, 83)));
  }
  return c;
}

// Renders one picture with supersampling and grain, and writes it.
bool writePicture(const std::string& path, const Shader& shader, std::uint32_t grainSeed,
                  double grain) {
  orvane::Picture picture;
  picture.width = kWidth, picture.height = kHeight;
  picture.rgba.resize(std::size_t(kWidth) * kHeight * 4);
  for (int py = 0; py < kHeight; ++py) {
    for (int px = 0; px < kWidth; ++px) {
      Colour sum;
      for (int sy = 0; sy < kSupersampling; ++sy) {
        for (int sx = 0; sx < kSupersampling; ++sx) {
          const double x = (px + (sx + 0.5) / kSupersampling) / kHeight;
          const double y = (py + (sy + 0.5) / kSupersampling) / kHeight;
          sum = sum + shader(x, y);
        }
      }
      Colour c = sum * (1.0 / (kSupersampling * kSupersampling));
      const double n = (lattice(px, py, grainSeed) - 0.5) * grain;
      std::uint8_t* out = &picture.rgba[(std::size_t(py) * kWidth + px) * 4];
      const double channels[3] = {c.r, c.g, c.b};
      for (int k = 0; k < 3; ++k)
        out[k] = std::uint8_t(std::lround(clamp01(channels[k] + n) * 255));
      out[3] = 255;
    }
  }
  std::string error;
  if (!orvane::writePictureFile(path, picture, orvane::ImageFormat::Jpeg, false, &error)) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  const bool ok = writePicture(folder + "/fit_portrait.jpg", portrait, 1, 0.05) &&
                  writePicture(folder + "/fit_animal.jpg", animal, 2, 0.06) &&
                  writePicture(folder + "/fit_table.jpg", table, 3, 0.04) &&
                  writePicture(folder + "/fit_night.jpg", night, 4, 0.07);
  return ok ? 0 : 1;
}
