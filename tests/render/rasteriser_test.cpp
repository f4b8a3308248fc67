// Triangle coverage against the top-left rule tested pixel by pixel, over random triangles of
// every size and shape, snapped and unsnapped, in both windings and partly off the target.
#include "render/rasteriser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace orvane {
namespace {

// Whether the centre of pixel (i, j) lies inside the triangle by the coverage rule: each edge
// function of the snapped vertices, in subpixels, above 0, or 0 on a top or left edge.
bool covers(const PixelPoint (&p)[3], int i, int j) {
  std::int64_t x[3], y[3];
  for (int k = 0; k < 3; ++k) {
    x[k] = std::llround(p[k].x * kSubpixelSteps);
    y[k] = std::llround(p[k].y * kSubpixelSteps);
  }
  const std::int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
  if (area == 0) return false;
  if (area < 0) std::swap(x[1], x[2]), std::swap(y[1], y[2]);
  const std::int64_t px = std::int64_t(i) * 256 + 128, py = std::int64_t(j) * 256 + 128;
  for (int k = 0; k < 3; ++k) {
    const int l = (k + 1) % 3;
    const std::int64_t dx = x[l] - x[k], dy = y[l] - y[k];
    const std::int64_t e = dx * (py - y[k]) - dy * (px - x[k]);
    const bool topLeft = (dy == 0 && dx > 0) || dy < 0;
    if (e < 0 || (e == 0 && !topLeft)) return false;
  }
  return true;
}

TEST(Rasteriser, SpansAreThePixelsWhoseCentresTheTopLeftRuleCovers) {
  constexpr int kWidth = 90, kHeight = 70;
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> place(-20.0, 110.0);
  int coveredTotal = 0;
  for (int round = 0; round < 3000; ++round) {
    PixelPoint p[3];
    for (PixelPoint& q : p) {
      q = {place(rng), place(rng)};
      // Often on whole or half pixels, where centres fall exactly on edges.
      if (round % 3 == 0) q = {std::round(q.x * 2) / 2, std::round(q.y * 2) / 2};
      if (round % 5 == 0) q = snapToSubpixel(q);
    }
    // Thin and flat triangles too.
    if (round % 7 == 0) p[2] = {p[1].x + 0.01 * (round % 11), p[1].y};
    if (round % 13 == 0) p[2].y = p[0].y;
    std::vector<Span> spans;
    coverTriangle(p, kWidth, kHeight, spans);
    // Walked in two bands of rows, as two shading threads do, it gives the same spans.
    const int middle = int(rng() % (kHeight + 1));
    std::vector<Span> banded;
    const TriangleRows rows(p, kWidth, kHeight);
    for (const auto& [y0, y1] : {std::pair{0, middle}, std::pair{middle, kHeight}}) {
      rows.walk(y0, y1, [&](int y, int x0, int x1) { banded.push_back({y, x0, x1}); });
    }
    ASSERT_EQ(banded.size(), spans.size()) << "round " << round;
    for (std::size_t k = 0; k < spans.size(); ++k) {
      ASSERT_TRUE(banded[k].y == spans[k].y && banded[k].x0 == spans[k].x0 &&
                  banded[k].x1 == spans[k].x1)
          << "round " << round;
    }
    std::vector<int> lit(kWidth * kHeight, 0);
    for (const Span& s : spans) {
      ASSERT_TRUE(s.y >= 0 && s.y < kHeight && s.x0 >= 0 && s.x0 < s.x1 && s.x1 <= kWidth);
      for (int x = s.x0; x < s.x1; ++x) ++lit[s.y * kWidth + x];
    }
    for (int j = 0; j < kHeight; ++j) {
      for (int i = 0; i < kWidth; ++i) {
        ASSERT_EQ(lit[j * kWidth + i], covers(p, i, j) ? 1 : 0)
            << "round " << round << " pixel " << i << "," << j;
      }
    }
    coveredTotal += int(spans.size());
  }
  EXPECT_GT(coveredTotal, 10000);
}

}  // namespace
}  // namespace orvane
