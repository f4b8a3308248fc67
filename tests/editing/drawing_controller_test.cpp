#include "editing/drawing_controller.h"

#include <gtest/gtest.h>

#include <numbers>

#include "emblem_builder.h"

namespace orvane {
namespace {

struct DrawingControllerTest : ::testing::Test {
  // Left-button drags; Shift as given, held through the move.
  bool leftPress(Point p, bool shift = false) {
    return pane.press(PointerButton::Left, p, shift, selection);
  }
  bool leftMove(Point p, bool shift = false) { return pane.move(p, true, false, shift, selection); }

  EmblemBuilder emblem;
  EmblemNode* square = emblem.addLayer(emblem.root(), rect(-16, -16, 16, 16));
  EmblemNode* selection = square;
  DrawingController pane;
};

TEST_F(DrawingControllerTest, ACornerIsGrabbedOnlyWithinTwoUnitsAndStrictlyNearest) {
  EXPECT_TRUE(leftPress({-14, -16}));  // distance 2 from lt
  EXPECT_EQ(pane.mode(), DragMode::VertexLt);
  EXPECT_TRUE(leftMove({-13, -14}));
  EXPECT_TRUE(leftMove({-12, -14}));  // each move applies the step since the previous one
  EXPECT_EQ(storedVertices(square), (Quad{{-14, -14}, {-16, 16}, {16, -16}, {16, 16}}));
  EXPECT_EQ(pane.last(), (Point{-12, -14}));
  EXPECT_TRUE(pane.release(selection));
  EXPECT_EQ(pane.mode(), DragMode::None);

  EXPECT_TRUE(leftPress({-12, -13}));  // distance sqrt(5) from the moved lt: inside instead
  EXPECT_EQ(pane.mode(), DragMode::Move);

  // lt and lb both 1 away: neither is grabbed, and the press is on the left edge.
  selection = emblem.addLayer(emblem.root(), rect(40, 0, 60, 2));
  EXPECT_TRUE(leftPress({40, 1}));
  EXPECT_EQ(pane.mode(), DragMode::Move);
  EXPECT_FALSE(leftPress({39, 1}));  // the same tie, outside
  EXPECT_EQ(pane.mode(), DragMode::None);
}

TEST_F(DrawingControllerTest, AGroupHandleMovesThatVertexOfEveryLayer) {
  EmblemNode* group = emblem.add(emblem.root(), NodeKind::Group);
  EmblemNode* a = emblem.addLayer(group, rect(-10, -5, 0, 5));
  EmblemNode* b = emblem.addLayer(group, rect(5, -3, 20, 4));
  selection = group;
  EXPECT_TRUE(leftPress({-9, -5}));
  EXPECT_EQ(pane.mode(), DragMode::VertexLt);
  leftMove({-6, -3});
  EXPECT_EQ(storedVertices(a), (Quad{{-7, -3}, {-10, 5}, {0, -5}, {0, 5}}));
  EXPECT_EQ(storedVertices(b), (Quad{{8, -1}, {5, 4}, {20, -3}, {20, 4}}));
  EXPECT_EQ(storedVertices(square), rect(-16, -16, 16, 16));
}

TEST_F(DrawingControllerTest, AMoveIsPendingFromThePressPointUntilItsButtonIsGone) {
  EXPECT_TRUE(leftPress({0, 0}));
  leftMove({3, 1});
  leftMove({5, 2});
  EXPECT_EQ(square->layer().moveX - square->layer().moveOriginX, 5);
  EXPECT_EQ(square->layer().moveY - square->layer().moveOriginY, 2);
  EXPECT_EQ(storedVertices(square), rect(-16, -16, 16, 16));

  // The button came up outside the pane: the next move ends the drag with the last offset.
  EXPECT_TRUE(pane.move({30, 30}, false, false, false, selection));
  EXPECT_EQ(pane.mode(), DragMode::None);
  EXPECT_EQ(storedVertices(square), rect(-11, -14, 21, 18));
  EXPECT_EQ(square->layer().moveX, 0);
  EXPECT_FALSE(pane.move({0, 0}, false, false, false, selection));  // no drag, nothing done
}

TEST_F(DrawingControllerTest, ScaleFactorsAreTheRatiosOfDistancesFromTheCentre) {
  EXPECT_TRUE(leftPress({10, 4}, true));
  EXPECT_EQ(pane.mode(), DragMode::Scale);
  EXPECT_EQ(pane.centre(), std::make_pair(0.0f, 0.0f));
  EXPECT_TRUE(leftMove({20, 8}, true));
  EXPECT_EQ(square->layer().scaleX, 1.0f);  // stored as factor - 1
  EXPECT_EQ(square->layer().scaleY, 1.0f);

  // Shift let go: the next move applies the scale and ends the drag.
  EXPECT_TRUE(leftMove({25, 25}, false));
  EXPECT_EQ(pane.mode(), DragMode::None);
  EXPECT_EQ(storedVertices(square), rect(-32, -32, 32, 32));
  EXPECT_EQ(square->layer().scaleX, 0.0f);
}

TEST_F(DrawingControllerTest, AScalePressedOnACentreLineNeverChangesAnything) {
  const LayerRecord before = square->layer();
  for (const Point pressed : {Point{10, 0}, Point{0, -7}}) {
    leftPress(pressed, true);
    ASSERT_EQ(pane.mode(), DragMode::Scale);
    for (int i = -30; i <= 30; i += 5) EXPECT_FALSE(leftMove({i, i + 3}, true));
    EXPECT_EQ(square->layer(), before);
    pane.release(selection);
  }
}

TEST_F(DrawingControllerTest, ARightDragTurnsTheLayerWithThePointer) {
  selection = emblem.addLayer(emblem.root(), Quad{{-10, 0}, {0, 10}, {0, -10}, {10, 0}});
  EXPECT_TRUE(pane.press(PointerButton::Right, {10, 0}, false, selection));  // on rb: no grab
  EXPECT_EQ(pane.mode(), DragMode::Rotate);
  EXPECT_EQ(pane.centre(), std::make_pair(0.0f, 0.0f));
  EXPECT_TRUE(pane.move({0, 10}, false, true, false, selection));
  EXPECT_FLOAT_EQ(selection->layer().rotation, -std::numbers::pi_v<float> / 2);
  EXPECT_TRUE(pane.move({0, 10}, true, false, false, selection));  // right button gone
  EXPECT_EQ(pane.mode(), DragMode::None);
  EXPECT_EQ(storedVertices(selection).rb, (Point{0, 10}));  // right of the centre -> below

  EXPECT_FALSE(pane.press(PointerButton::Right, {20, 0}, false, selection));
  EXPECT_EQ(pane.mode(), DragMode::None);
}

TEST_F(DrawingControllerTest, ArrowKeysMoveOneUnitOrEightWithShiftAndSettle) {
  EXPECT_TRUE(pane.key(ArrowKey::Right, false, selection));
  EXPECT_TRUE(pane.key(ArrowKey::Up, true, selection));
  EXPECT_TRUE(pane.key(ArrowKey::Down, false, selection));
  EXPECT_TRUE(pane.key(ArrowKey::Left, true, selection));
  EXPECT_EQ(storedVertices(square), rect(-23, -23, 9, 9));
  EXPECT_EQ(square->layer().moveX, 0);

  EXPECT_FALSE(pane.key(ArrowKey::Left, false, nullptr));
  EXPECT_FALSE(pane.key(ArrowKey::Left, false, emblem.add(emblem.root(), NodeKind::Image)));
}

TEST_F(DrawingControllerTest, ViewerModeEndsADragAndThenIgnoresInput) {
  leftPress({0, 0});
  leftMove({2, 0});
  pane.setViewerMode(true, selection);
  EXPECT_TRUE(pane.viewerMode());
  EXPECT_EQ(pane.mode(), DragMode::None);
  EXPECT_EQ(storedVertices(square), rect(-14, -16, 18, 16));

  EXPECT_FALSE(leftPress({5, 5}));
  EXPECT_EQ(pane.last(), (Point{0, 0}));
  EXPECT_FALSE(pane.key(ArrowKey::Right, false, selection));
  EXPECT_FALSE(pane.release(selection));
  EXPECT_EQ(storedVertices(square), rect(-14, -16, 18, 16));

  pane.setViewerMode(false, selection);
  EXPECT_TRUE(leftPress({5, 5}));
}

TEST_F(DrawingControllerTest, PressesWithNothingToHitStartNoDrag) {
  selection = nullptr;
  EXPECT_FALSE(leftPress({3, 4}));
  EXPECT_EQ(pane.last(), (Point{3, 4}));  // the press point is kept regardless
  for (NodeKind kind : {NodeKind::Image, NodeKind::Group}) {
    selection = emblem.add(emblem.root(), kind);
    EXPECT_FALSE(leftPress({0, 0}));
    EXPECT_FALSE(pane.press(PointerButton::Right, {0, 0}, false, selection));
    EXPECT_EQ(pane.mode(), DragMode::None);
  }
  selection = square;
  EXPECT_FALSE(leftPress({17, 0}));
}

TEST_F(DrawingControllerTest, OddShapesAndAVanishedSelectionAreSafe) {
  selection = emblem.addLayer(emblem.root(), rect(-100000, -100000, 100000, 100000));
  EXPECT_TRUE(leftPress({99999, 99999}));
  EXPECT_EQ(pane.mode(), DragMode::VertexRb);
  EXPECT_TRUE(leftPress({-50000, 50000}, true));
  leftMove({-100000, 100000}, true);
  EXPECT_EQ(selection->layer().scaleX, 1.0f);

  // A layer shrunk to a point is hit everywhere, and its corners always tie.
  selection = emblem.addLayer(emblem.root(), rect(4, 4, 4, 4));
  EXPECT_TRUE(leftPress({4, 4}));
  EXPECT_EQ(pane.mode(), DragMode::Move);
  EXPECT_TRUE(pane.press(PointerButton::Right, {-50, 30}, false, selection));
  EXPECT_TRUE(pane.move({-50, 31}, false, true, false, selection));

  // The selection goes away mid-drag: moves do nothing, the release just ends the drag.
  leftPress({4, 4});
  EXPECT_FALSE(pane.move({9, 9}, true, false, false, nullptr));
  EXPECT_EQ(pane.mode(), DragMode::Move);
  EXPECT_TRUE(pane.release(nullptr));
  EXPECT_EQ(pane.mode(), DragMode::None);
}

}  // namespace
}  // namespace orvane
