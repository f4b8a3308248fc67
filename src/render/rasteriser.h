#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// Target pixel space: x to the right, y downwards, in pixels. Pixel (i, j) is the unit square
// [i, i + 1) x [j, j + 1) and is sampled at its centre (i + 0.5, j + 0.5).
struct PixelPoint {
  double x = 0;
  double y = 0;
};

// Pixels [x0, x1) of row y.
struct Span {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
};

// Pixel positions are snapped to 1/256 of a pixel before coverage is decided, so that two
// triangles sharing an edge decide every pixel centre on that edge the same way.
inline constexpr double kSubpixelSteps = 256.0;
PixelPoint snapToSubpixel(PixelPoint p);

// Appends the spans of pixels whose centres the triangle covers, within [0, width) x [0, height).
//
// Coverage rule (top-left): a centre strictly inside is covered; a centre exactly on an edge is
// covered only when that edge is a top edge (horizontal, with the triangle below it) or a left
// edge (the triangle to its right). So two triangles sharing an edge neither overlap nor leave a
// gap along it, and degenerate triangles cover nothing. Triangles are accepted in either
// winding. Parts beyond 2^20 pixels from the origin are clipped away first; a vertex that is
// not a finite number makes the triangle cover nothing.
void coverTriangle(const PixelPoint (&p)[3], int width, int height, std::vector<Span>& spans);

// The rows of a triangle prepared once, to be walked a band of rows at a time (each band by
// another thread, say), with the spans of coverTriangle. Its vertices are snapped here and must
// lie within 2^20 pixels of the origin; coverTriangle clips a triangle that does not into such
// pieces.
class TriangleRows {
 public:
  TriangleRows() = default;
  TriangleRows(const PixelPoint (&p)[3], int width, int height);
  // Rows [firstRow, lastRow] hold every covered pixel; first > last when none is covered.
  int firstRow() const { return firstRow_; }
  int lastRow() const { return lastRow_; }
  // span(y, x0, x1) for each row y in [y0, y1) that holds covered pixels [x0, x1), in order.
  template <typename SpanOut>
  void walk(int y0, int y1, SpanOut&& span) const;

 private:
  // Column i of a row is inside an edge with a != 0 when i >= -floor(x / d) (lower bound) or
  // i <= floor(x / d) (upper bound), x growing by `step` a row; inside an edge with a == 0 when
  // x >= 0.
  struct Edge {
    enum Kind { Lower, Upper, Flat } kind;
    std::int64_t x, step, d;  // x at firstRow
  };
  Edge edges_[3];
  int firstRow_ = 0, lastRow_ = -1;
  int width_ = 0;
};

// The pieces of a triangle to walk within [0, width) x [0, height): the triangle itself, or the
// triangles of its part within 2^20 pixels of the origin when it reaches further; none when a
// vertex is not a finite number. Returns how many.
inline constexpr int kMaxTrianglePieces = 5;
int trianglePieces(const PixelPoint (&p)[3], int width, int height,
                   TriangleRows (&pieces)[kMaxTrianglePieces]);

// Appends the pixels of a one-pixel line from a to b, within [0, width) x [0, height), as
// single-pixel spans.
//
// Line rule: along the major axis (x when |dx| >= |dy|) the line visits the pixel columns (rows)
// from the one whose centre is nearest a to the one whose centre is nearest b, that last one
// excluded, so a closed outline lights each corner once; in each, the pixel whose centre is
// nearest the exact line (halves rounding down on screen, i.e. towards +x / +y). A line whose
// ends round to the same pixel lights nothing.
void coverLine(PixelPoint a, PixelPoint b, int width, int height, std::vector<Span>& spans);

template <typename SpanOut>
void TriangleRows::walk(int y0, int y1, SpanOut&& span) const {
  const int from = y0 > firstRow_ ? y0 : firstRow_, to = y1 - 1 < lastRow_ ? y1 - 1 : lastRow_;
  if (from > to) return;
  // The quotient and remainder of x / d are stepped from row to row, so no row divides.
  struct Bound {
    std::int64_t quotient, remainder, d, stepQuotient, stepRemainder;
  };
  Bound lower[3], upper[3];
  std::int64_t flat[3], flatStep[3];
  int lowers = 0, uppers = 0, flats = 0;
  auto floorDiv = [](std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
  };
  for (const Edge& e : edges_) {
    const std::int64_t x = e.x + std::int64_t(from - firstRow_) * e.step;
    if (e.kind == Edge::Flat) {
      flat[flats] = x, flatStep[flats++] = e.step;
      continue;
    }
    Bound b{floorDiv(x, e.d), 0, e.d, floorDiv(e.step, e.d), 0};
    b.remainder = x - b.quotient * e.d;
    b.stepRemainder = e.step - b.stepQuotient * e.d;
    (e.kind == Edge::Lower ? lower[lowers++] : upper[uppers++]) = b;
  }
  for (int row = from; row <= to; ++row) {
    std::int64_t lo = 0, hi = std::int64_t(width_) - 1;
    for (int i = 0; i < lowers; ++i) {
      Bound& b = lower[i];
      lo = lo > -b.quotient ? lo : -b.quotient;
      b.quotient += b.stepQuotient, b.remainder += b.stepRemainder;
      if (b.remainder >= b.d) b.remainder -= b.d, ++b.quotient;
    }
    for (int i = 0; i < uppers; ++i) {
      Bound& b = upper[i];
      hi = hi < b.quotient ? hi : b.quotient;
      b.quotient += b.stepQuotient, b.remainder += b.stepRemainder;
      if (b.remainder >= b.d) b.remainder -= b.d, ++b.quotient;
    }
    for (int i = 0; i < flats; ++i) {
      if (flat[i] < 0) lo = 1, hi = 0;
      flat[i] += flatStep[i];
    }
    if (lo <= hi) span(row, int(lo), int(hi + 1));
  }
}

// value(x, y) = value0 + dx * x + dy * y, an attribute interpolated linearly over a triangle.
struct AffineMap {
  double value0 = 0;
  double dx = 0;
  double dy = 0;
  double at(double x, double y) const { return value0 + dx * x + dy * y; }
};

// The map that takes the three points to the three values; false for a degenerate triangle.
bool affineMapOf(const PixelPoint (&p)[3], const double (&values)[3], AffineMap& map);

}  // namespace orvane
