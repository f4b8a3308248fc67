#include "editing/pane_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "emblem_builder.h"

namespace orvane {
namespace {

TEST(PanePixelToEmblem, DividesByFourTowardZeroFromThePaneCentre) {
  EXPECT_EQ(panePixelToEmblem(384, 192), (Point{0, 0}));
  EXPECT_EQ(panePixelToEmblem(383, 191).x, 0);
  EXPECT_EQ(panePixelToEmblem(381, 192).x, 0);
  EXPECT_EQ(panePixelToEmblem(387, 192).x, 0);
  EXPECT_EQ(panePixelToEmblem(379, 192).x, -1);
  EXPECT_EQ(panePixelToEmblem(380, 192).x, -1);
  EXPECT_EQ(panePixelToEmblem(388, 192).x, 1);
  EXPECT_EQ(panePixelToEmblem(384, 187), (Point{0, -1}));
  EXPECT_EQ(panePixelToEmblem(384, 196), (Point{0, 1}));
  EXPECT_EQ(panePixelToEmblem(0, 383), (Point{-96, 47}));
  EXPECT_EQ(panePixelToEmblem(1, 1, 20, 20), (Point{-2, -2}));
}

TEST(PointInTriangle, InsideOnTheBoundaryOrOutsideInEitherWinding) {
  const Point a{0, 0}, b{10, 0}, c{0, 10};
  EXPECT_EQ(pointInTriangle({2, 2}, a, b, c), 1);
  EXPECT_EQ(pointInTriangle({2, 2}, a, c, b), 1);
  EXPECT_EQ(pointInTriangle({5, 0}, a, b, c), 0);
  EXPECT_EQ(pointInTriangle({0, 0}, a, c, b), 0);
  EXPECT_EQ(pointInTriangle({5, 5}, a, b, c), 0);
  EXPECT_EQ(pointInTriangle({10, 10}, a, b, c), -1);
  EXPECT_EQ(pointInTriangle({-1, 3}, a, c, b), -1);
  // A triangle shrunk to a point has every cross product zero, wherever the point is.
  EXPECT_EQ(pointInTriangle({40, -7}, a, a, a), 0);
  // Far coordinates whose cross products do not fit in 32 bits.
  EXPECT_EQ(
      pointInTriangle({-50000, 50000}, {-100000, -100000}, {-100000, 100000}, {100000, 100000}), 1);
}

TEST(HitQuad, EdgesAndInsideHitOutsideAndTheOverlapOfACrossedQuadMiss) {
  const Quad square = rect(-10, -10, 10, 10);
  EXPECT_EQ(hitQuad({-5, 5}, square), 1);   // inside one triangle, outside the other
  EXPECT_EQ(hitQuad({0, 0}, square), 0);    // on the shared diagonal
  EXPECT_EQ(hitQuad({-10, 3}, square), 0);  // on an outer edge
  EXPECT_EQ(hitQuad({10, 10}, square), 0);  // on a corner
  EXPECT_EQ(hitQuad({11, 0}, square), -1);
  EXPECT_EQ(hitQuad({0, -30}, square), -1);

  // lb and rt on the same side of lt-rb: the triangle (rb, rt, lt) lies inside (lt, lb, rb).
  const Quad crossed{{0, 0}, {5, 10}, {5, 5}, {10, 0}};
  EXPECT_EQ(hitQuad({5, 2}, crossed), -1);
  EXPECT_EQ(hitQuad({5, 8}, crossed), 1);
  EXPECT_EQ(hitQuad({5, 12}, crossed), -1);
}

TEST(TransformCentre, CrossesTheMidpointLinesOrKeepsTheFallback) {
  EXPECT_EQ(transformCentre(rect(-16, -16, 16, 16), {-16, -16}), std::make_pair(0.0f, 0.0f));
  // Midpoints truncate toward the first point: mid(3, 0) is 2, mid(0, 3) is 1. Halving the sums
  // instead would give (1, 1).
  EXPECT_EQ(transformCentre(rect(0, 0, 3, 3), {0, 0}), std::make_pair(1.5f, 1.5f));
  const Quad trapezoid{{-4, -4}, {-8, 4}, {4, -4}, {8, 4}};
  EXPECT_EQ(transformCentre(trapezoid, {-4, -4}), std::make_pair(0.0f, 0.0f));

  const Quad point = rect(7, 7, 7, 7);
  EXPECT_EQ(transformCentre(point, {7, 7}), std::make_pair(7.0f, 7.0f));
  const Quad line{{0, 0}, {2, 0}, {4, 0}, {6, 0}};
  EXPECT_EQ(transformCentre(line, {0, 0}), std::make_pair(0.0f, 0.0f));
}

TEST(GrabbedCorner, OnlyAStrictlyNearestCornerWithinTwoUnits) {
  const Quad square = rect(-10, -10, 10, 10);
  EXPECT_EQ(grabbedCorner({-8, -10}, square), DragMode::VertexLt);  // distance 2
  EXPECT_EQ(grabbedCorner({-8, -9}, square), DragMode::None);       // distance sqrt(5)
  EXPECT_EQ(grabbedCorner({-9, 10}, square), DragMode::VertexLb);
  EXPECT_EQ(grabbedCorner({11, -11}, square), DragMode::VertexRt);  // outside counts too
  EXPECT_EQ(grabbedCorner({10, 8}, square), DragMode::VertexRb);

  const Quad thin = rect(0, 0, 20, 2);
  EXPECT_EQ(grabbedCorner({0, 1}, thin), DragMode::None);  // lt and lb tie at 1
  EXPECT_EQ(grabbedCorner({0, 0}, thin), DragMode::VertexLt);
  EXPECT_EQ(grabbedCorner({3, 3}, rect(3, 3, 3, 3)), DragMode::None);
}

TEST(TruncateToInt, TowardZeroAndSaturating) {
  EXPECT_EQ(truncateToInt(7.9f), 7);
  EXPECT_EQ(truncateToInt(-7.9f), -7);
  EXPECT_EQ(truncateToInt(3e9f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(truncateToInt(-3e9f), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(truncateToInt(std::nanf("")), 0);
}

TEST(SelectionCorners, LayersUseEffectiveVerticesGroupsTheirBoundingBox) {
  EmblemBuilder emblem;
  EXPECT_FALSE(selectionCorners(emblem.root()));  // no layer yet
  EmblemNode* group = emblem.add(emblem.root(), NodeKind::Group);
  EXPECT_FALSE(selectionCorners(group));
  EmblemNode* layer = emblem.addLayer(group, rect(-10, -5, 0, 5));
  emblem.addLayer(group, rect(5, -3, 20, 4));
  setPendingMove(layer, 1, 0, 0, 0);

  EXPECT_EQ(selectionCorners(layer), rect(-9, -5, 1, 5));
  EXPECT_EQ(selectionCorners(group), rect(-9, -5, 20, 5));
  EXPECT_EQ(selectionCorners(emblem.root()), rect(-9, -5, 20, 5));
  EXPECT_FALSE(selectionCorners(emblem.add(group, NodeKind::Image)));
  EXPECT_FALSE(selectionCorners(nullptr));
}

}  // namespace
}  // namespace orvane
