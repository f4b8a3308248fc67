#include "render/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvane {
namespace {

constexpr double kGuard = 1048576.0;  // 2^20 pixels
constexpr std::int64_t kSub = 256;    // subpixel steps as an integer

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); }

bool isFinite(const PixelPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool insideGuard(const PixelPoint& p) { return std::abs(p.x) <= kGuard && std::abs(p.y) <= kGuard; }

// Sutherland-Hodgman against one side of the guard band.
template <typename Inside, typename Cross>
std::vector<PixelPoint> clipSide(const std::vector<PixelPoint>& in, Inside inside, Cross cross) {
  std::vector<PixelPoint> out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const PixelPoint& a = in[i];
    const PixelPoint& b = in[(i + 1) % in.size()];
    if (inside(a)) out.push_back(a);
    if (inside(a) != inside(b)) out.push_back(cross(a, b));
  }
  return out;
}

std::vector<PixelPoint> clipToGuard(std::vector<PixelPoint> poly) {
  auto atX = [](double limit) {
    return [limit](PixelPoint a, PixelPoint b) {
      const double t = (limit - a.x) / (b.x - a.x);
      return PixelPoint{limit, a.y + t * (b.y - a.y)};
    };
  };
  auto atY = [](double limit) {
    return [limit](PixelPoint a, PixelPoint b) {
      const double t = (limit - a.y) / (b.y - a.y);
      return PixelPoint{a.x + t * (b.x - a.x), limit};
    };
  };
  poly = clipSide(
      poly, [](PixelPoint p) { return p.x >= -kGuard; }, atX(-kGuard));
  poly = clipSide(
      poly, [](PixelPoint p) { return p.x <= kGuard; }, atX(kGuard));
  poly = clipSide(
      poly, [](PixelPoint p) { return p.y >= -kGuard; }, atY(-kGuard));
  poly = clipSide(
      poly, [](PixelPoint p) { return p.y <= kGuard; }, atY(kGuard));
  return poly;
}

}  // namespace

PixelPoint snapToSubpixel(PixelPoint p) {
  return {std::round(p.x * kSubpixelSteps) / kSubpixelSteps,
          std::round(p.y * kSubpixelSteps) / kSubpixelSteps};
}

TriangleRows::TriangleRows(const PixelPoint (&p)[3], int width, int height) : width_(width) {
  if (width <= 0 || height <= 0) return;
  std::int64_t x[3], y[3];
  for (int i = 0; i < 3; ++i) {
    x[i] = std::llround(p[i].x * kSubpixelSteps);
    y[i] = std::llround(p[i].y * kSubpixelSteps);
  }
  const std::int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
  if (area == 0) return;
  if (area < 0) std::swap(x[1], x[2]), std::swap(y[1], y[2]);
  const std::int64_t minY = std::min({y[0], y[1], y[2]});
  const std::int64_t maxY = std::max({y[0], y[1], y[2]});
  const std::int64_t rowFirst = std::max<std::int64_t>(0, ceilDiv(minY - kSub / 2, kSub));
  const std::int64_t rowLast = std::min<std::int64_t>(height - 1, floorDiv(maxY - kSub / 2, kSub));
  if (rowFirst > rowLast) return;
  firstRow_ = int(rowFirst), lastRow_ = int(rowLast);
  // Edge a -> b, for this winding: E(p) = dx * (py - ay) - dy * (px - ax) > 0 inside, or
  // E(p) = 0 on a top edge (horizontal, the triangle below) or a left one. At the centre of
  // column i (px = 256 i + 128) of the row with centre cy that is a * px + k >= threshold,
  // a = -dy and k = dx * (cy - ay) + dy * ax growing by dx * 256 a row. For a != 0 that bounds
  // i by x / (|a| * 256), x = k + a * 128 - threshold: from below when a > 0, from above when
  // a < 0; for a = 0 it asks k - threshold >= 0.
  const std::int64_t cy = rowFirst * kSub + kSub / 2;
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3;
    const std::int64_t dx = x[j] - x[i], dy = y[j] - y[i];
    const std::int64_t threshold = (dy == 0 && dx > 0) || dy < 0 ? 0 : 1;
    const std::int64_t a = -dy;
    const std::int64_t k = dx * (cy - y[i]) + dy * x[i];
    if (a == 0) {
      edges_[i] = {Edge::Flat, k - threshold, dx * kSub, 1};
    } else {
      edges_[i] = {a > 0 ? Edge::Lower : Edge::Upper, k + a * (kSub / 2) - threshold, dx * kSub,
                   (a < 0 ? -a : a) * kSub};
    }
  }
}

int trianglePieces(const PixelPoint (&p)[3], int width, int height,
                   TriangleRows (&pieces)[kMaxTrianglePieces]) {
  if (width <= 0 || height <= 0) return 0;
  if (!isFinite(p[0]) || !isFinite(p[1]) || !isFinite(p[2])) return 0;
  if (insideGuard(p[0]) && insideGuard(p[1]) && insideGuard(p[2])) {
    pieces[0] = TriangleRows(p, width, height);
    return 1;
  }
  // Clipping a triangle to four sides leaves at most seven corners, so at most five triangles.
  const std::vector<PixelPoint> poly = clipToGuard({p[0], p[1], p[2]});
  int count = 0;
  for (std::size_t i = 1; i + 1 < poly.size() && count < kMaxTrianglePieces; ++i) {
    const PixelPoint piece[3] = {poly[0], poly[i], poly[i + 1]};
    pieces[count++] = TriangleRows(piece, width, height);
  }
  return count;
}

void coverTriangle(const PixelPoint (&p)[3], int width, int height, std::vector<Span>& spans) {
  TriangleRows pieces[kMaxTrianglePieces];
  const int count = trianglePieces(p, width, height, pieces);
  for (int i = 0; i < count; ++i) {
    pieces[i].walk(0, height, [&](int y, int x0, int x1) { spans.push_back({y, x0, x1}); });
  }
}

void coverLine(PixelPoint a, PixelPoint b, int width, int height, std::vector<Span>& spans) {
  if (width <= 0 || height <= 0 || !isFinite(a) || !isFinite(b)) return;
  // Centre-index coordinates: the centre of pixel i sits at i.
  const double ax = a.x - 0.5, ay = a.y - 0.5, bx = b.x - 0.5, by = b.y - 0.5;
  const bool alongX = std::abs(bx - ax) >= std::abs(by - ay);
  const double a0 = alongX ? ax : ay, b0 = alongX ? bx : by;  // major axis
  const double a1 = alongX ? ay : ax, b1 = alongX ? by : bx;  // minor axis
  const double limit = 4.0 * kGuard;
  const double first = std::clamp(std::floor(a0 + 0.5), -limit, limit);
  const double last = std::clamp(std::floor(b0 + 0.5), -limit, limit);
  if (first == last) return;
  const int majorSize = alongX ? width : height, minorSize = alongX ? height : width;
  const double slope = (b1 - a1) / (b0 - a0);
  // The visited steps first, first + step, ... (last excluded), limited to the target.
  const double begin = last > first ? std::max(first, 0.0) : std::min(first, majorSize - 1.0);
  const double end = last > first ? std::min(last - 1, majorSize - 1.0) : std::max(last + 1, 0.0);
  const double step = last > first ? 1.0 : -1.0;
  if ((end - begin) * step < 0) return;
  for (double m = begin;; m += step) {
    const double minor = std::floor(a1 + (m - a0) * slope + 0.5);
    if (minor >= 0 && minor < minorSize) {
      const int i = alongX ? int(m) : int(minor);
      const int j = alongX ? int(minor) : int(m);
      spans.push_back({j, i, i + 1});
    }
    if (m == end) break;
  }
}

bool affineMapOf(const PixelPoint (&p)[3], const double (&values)[3], AffineMap& map) {
  const double x1 = p[1].x - p[0].x, y1 = p[1].y - p[0].y;
  const double x2 = p[2].x - p[0].x, y2 = p[2].y - p[0].y;
  const double det = x1 * y2 - x2 * y1;
  if (det == 0 || !std::isfinite(det)) return false;
  const double v1 = values[1] - values[0], v2 = values[2] - values[0];
  map.dx = (v1 * y2 - v2 * y1) / det;
  map.dy = (v2 * x1 - v1 * x2) / det;
  map.value0 = values[0] - map.dx * p[0].x - map.dy * p[0].y;
  return true;
}

}  // namespace orvane
