#pragma once

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

// Appends the pixels of a one-pixel line from a to b, within [0, width) x [0, height), as
// single-pixel spans.
//
// Line rule: along the major axis (x when |dx| >= |dy|) the line visits the pixel columns (rows)
// from the one whose centre is nearest a to the one whose centre is nearest b, that last one
// excluded, so a closed outline lights each corner once; in each, the pixel whose centre is
// nearest the exact line (halves rounding down on screen, i.e. towards +x / +y). A line whose
// ends round to the same pixel lights nothing.
void coverLine(PixelPoint a, PixelPoint b, int width, int height, std::vector<Span>& spans);

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
