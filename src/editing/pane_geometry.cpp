#include "editing/pane_geometry.h"

#include <array>
#include <cmath>
#include <limits>

namespace orvane {
namespace {

// Differences and products in 64 bits, so that coordinates far outside the pane cannot overflow.
std::int64_t cross(std::int64_t ux, std::int64_t uy, std::int64_t vx, std::int64_t vy) {
  return ux * vy - uy * vx;
}

// cross(to - from, p - from): which side of the edge from -> to the point lies on.
std::int64_t sideOf(Point p, Point from, Point to) {
  return cross(std::int64_t{to.x} - from.x, std::int64_t{to.y} - from.y, std::int64_t{p.x} - from.x,
               std::int64_t{p.y} - from.y);
}

float distance(Point a, Point b) {
  const float dx = static_cast<float>(std::int64_t{a.x} - b.x);
  const float dy = static_cast<float>(std::int64_t{a.y} - b.y);
  return std::sqrt(dx * dx + dy * dy);
}

// a + (b - a) / 2 with the division truncated toward zero: mid(0, 3) is 1 but mid(3, 0) is 2.
std::int32_t midpoint(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(a + (std::int64_t{b} - a) / 2);
}

Point midpoint(Point a, Point b) { return {midpoint(a.x, b.x), midpoint(a.y, b.y)}; }

}  // namespace

Point panePixelToEmblem(int px, int py, int paneWidth, int paneHeight) {
  return {(px - paneWidth / 2) / kPixelsPerUnit, (py - paneHeight / 2) / kPixelsPerUnit};
}

std::optional<Quad> selectionCorners(const EmblemNode* selection) {
  if (!selection) return std::nullopt;
  switch (selection->kind()) {
    case NodeKind::Layer:
      return effectiveVertices(selection->layer());
    case NodeKind::Info:
    case NodeKind::Group: {
      Box box;
      if (!boundingBox(selection, box)) return std::nullopt;
      return Quad{
          {box.minX, box.minY}, {box.minX, box.maxY}, {box.maxX, box.minY}, {box.maxX, box.maxY}};
    }
    case NodeKind::Image:
      break;
  }
  return std::nullopt;
}

DragMode grabbedCorner(Point p, const Quad& corners) {
  const std::array<float, 4> d = {distance(p, corners.lt), distance(p, corners.lb),
                                  distance(p, corners.rt), distance(p, corners.rb)};
  for (int i = 0; i < 4; ++i) {
    bool strictlyNearest = true;
    for (int j = 0; j < 4; ++j) {
      if (j != i && !(d[i] < d[j])) strictlyNearest = false;
    }
    if (strictlyNearest && d[i] <= kCornerGrabDistance) return static_cast<DragMode>(i);
  }
  return DragMode::None;
}

int pointInTriangle(Point p, Point v1, Point v2, Point v3) {
  const std::int64_t d1 = sideOf(p, v1, v2);
  const std::int64_t d2 = sideOf(p, v2, v3);
  const std::int64_t d3 = sideOf(p, v3, v1);
  if ((d1 > 0 && d2 > 0 && d3 > 0) || (d1 < 0 && d2 < 0 && d3 < 0)) return 1;
  if ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0)) return 0;
  return -1;
}

int hitQuad(Point p, const Quad& corners) {
  const int r1 = pointInTriangle(p, corners.lt, corners.lb, corners.rb);
  const int r2 = pointInTriangle(p, corners.rb, corners.rt, corners.lt);
  if (r1 == r2 && r1 != 0) return -1;
  if (r1 * r2 == -1) return 1;
  return 0;
}

std::pair<float, float> transformCentre(const Quad& corners, std::pair<float, float> fallback) {
  const Point left = midpoint(corners.lt, corners.lb);
  const Point right = midpoint(corners.rb, corners.rt);
  const Point top = midpoint(corners.rt, corners.lt);
  const Point bottom = midpoint(corners.lb, corners.rb);
  // Line 1 is (a, b) + t (c, d) from the left midpoint to the right one; line 2 is
  // (e, f) + s (g, h) from the top midpoint to the bottom one. Every step stays in single
  // precision, in this order.
  const float a = static_cast<float>(left.x);
  const float b = static_cast<float>(left.y);
  const float c = static_cast<float>(std::int64_t{right.x} - left.x);
  const float d = static_cast<float>(std::int64_t{right.y} - left.y);
  const float e = static_cast<float>(top.x);
  const float f = static_cast<float>(top.y);
  const float g = static_cast<float>(std::int64_t{bottom.x} - top.x);
  const float h = static_cast<float>(std::int64_t{bottom.y} - top.y);
  const float det = d * g - c * h;
  if (det == 0.0f) return fallback;
  const float t = (g * (f - b) - h * (e - a)) / det;
  return {a + c * t, b + d * t};
}

std::int32_t truncateToInt(float value) {
  using Limits = std::numeric_limits<std::int32_t>;
  if (std::isnan(value)) return 0;
  // 2^31 is exact in single precision; every float below it truncates into range.
  constexpr float kTwoTo31 = 2147483648.0f;
  if (value >= kTwoTo31) return Limits::max();
  if (value <= -kTwoTo31) return Limits::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace orvane
