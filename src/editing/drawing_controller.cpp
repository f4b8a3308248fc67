#include "editing/drawing_controller.h"

#include <cmath>

#include "editing/pane_geometry.h"

namespace orvane {
namespace {

// A drag's factor along one axis: how much farther from the centre the pointer is now than at the
// press, in single precision; 0 when the press lay on the centre's line, which makes the drag
// change nothing.
float scaleFactor(std::int32_t now, std::int32_t pressed, float centre) {
  const float from = static_cast<float>(pressed) - centre;
  if (from == 0.0f) return 0.0f;
  return (static_cast<float>(now) - centre) / from;
}

// The angle of (x - cx, y - cy) from the +x axis, in single precision.
float angleAbout(std::int32_t x, std::int32_t y, std::pair<float, float> centre) {
  return std::atan2(static_cast<float>(y) - centre.second, static_cast<float>(x) - centre.first);
}

using VertexOperation = bool (*)(EmblemNode*, std::int32_t, std::int32_t, std::int32_t,
                                 std::int32_t);

// Indexed by DragMode::VertexLt ... VertexRb.
constexpr VertexOperation kVertexOperations[] = {moveVertexLt, moveVertexLb, moveVertexRt,
                                                 moveVertexRb};

bool isVertexDrag(DragMode mode) {
  return mode >= DragMode::VertexLt && mode <= DragMode::VertexRb;
}

}  // namespace

bool DrawingController::press(PointerButton button, Point point, bool shift,
                              EmblemNode* selection) {
  if (viewerMode_) return false;
  last_ = point;  // even without a selection
  const std::optional<Quad> corners = selectionCorners(selection);
  // Nothing to hit: the mode is left as it was.
  if (!corners) return false;
  if (button == PointerButton::Left) {
    pressLeft(point, shift, *corners);
  } else {
    pressRight(point, *corners);
  }
  return mode_ != DragMode::None;
}

void DrawingController::pressLeft(Point point, bool shift, const Quad& corners) {
  const DragMode corner = grabbedCorner(point, corners);
  if (corner != DragMode::None) {
    mode_ = corner;
  } else if (hitQuad(point, corners) < 0) {
    mode_ = DragMode::None;
  } else if (!shift) {
    mode_ = DragMode::Move;
  } else {
    mode_ = DragMode::Scale;
    startTransformAbout(corners);
  }
}

// The right button grabs no corner.
void DrawingController::pressRight(Point point, const Quad& corners) {
  if (hitQuad(point, corners) < 0) {
    mode_ = DragMode::None;
    return;
  }
  mode_ = DragMode::Rotate;
  startTransformAbout(corners);
}

void DrawingController::startTransformAbout(const Quad& corners) {
  centre_ = {static_cast<float>(corners.lt.x), static_cast<float>(corners.lt.y)};
  centre_ = transformCentre(corners, centre_);
}

bool DrawingController::move(Point point, bool leftDown, bool rightDown, bool shiftDown,
                             EmblemNode* selection) {
  if (viewerMode_ || mode_ == DragMode::None) return false;
  if (dragGone(leftDown, rightDown, shiftDown)) return endDrag(selection);
  if (!selection) return false;
  return continueDrag(point, selection);
}

bool DrawingController::dragGone(bool leftDown, bool rightDown, bool shiftDown) const {
  switch (mode_) {
    case DragMode::Scale:
      return !leftDown || !shiftDown;
    case DragMode::Rotate:
      return !rightDown;
    default:
      return !leftDown;
  }
}

bool DrawingController::endDrag(EmblemNode* selection) {
  mode_ = DragMode::None;
  return selection && applyPending(selection);
}

bool DrawingController::continueDrag(Point point, EmblemNode* selection) {
  switch (mode_) {
    case DragMode::Move:
      // The press point stays the origin: the pending move is the whole offset since the press.
      return setPendingMove(selection, point.x, point.y, last_.x, last_.y);
    case DragMode::Scale:
      return dragScale(point, selection);
    case DragMode::Rotate:
      return dragRotation(point, selection);
    default:
      return isVertexDrag(mode_) && dragVertex(point, selection);
  }
}

// Vertex drags change the stored vertex at every move by the step since the last one.
bool DrawingController::dragVertex(Point point, EmblemNode* selection) {
  const VertexOperation operation = kVertexOperations[static_cast<int>(mode_)];
  const bool changed = operation(selection, point.x, point.y, last_.x, last_.y);
  last_ = point;
  return changed;
}

// A zero factor on either axis leaves the previous pending scale as it is.
bool DrawingController::dragScale(Point point, EmblemNode* selection) const {
  const float kx = scaleFactor(point.x, last_.x, centre_.first);
  const float ky = scaleFactor(point.y, last_.y, centre_.second);
  if (kx == 0.0f || ky == 0.0f) return false;
  return setPendingScale(selection, kx, ky, truncateToInt(centre_.first),
                         truncateToInt(centre_.second));
}

// The stored angle is the press angle minus the current one (the negative of the angle the
// pointer swept), so the layer turns with the pointer on a y-down screen.
bool DrawingController::dragRotation(Point point, EmblemNode* selection) const {
  const float angle = angleAbout(last_.x, last_.y, centre_) - angleAbout(point.x, point.y, centre_);
  return setPendingRotation(selection, angle, truncateToInt(centre_.first),
                            truncateToInt(centre_.second));
}

bool DrawingController::release(EmblemNode* selection) {
  if (viewerMode_) return false;
  const bool wasOpen = mode_ != DragMode::None;
  endDrag(selection);
  return wasOpen;
}

bool DrawingController::key(ArrowKey key, bool shift, EmblemNode* selection) {
  if (viewerMode_ || !selection || selection->kind() == NodeKind::Image) return false;
  const std::int32_t step = shift ? kBigStep : 1;
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  switch (key) {
    case ArrowKey::Left:
      dx = -step;
      break;
    case ArrowKey::Up:
      dy = -step;  // y grows downwards
      break;
    case ArrowKey::Right:
      dx = step;
      break;
    case ArrowKey::Down:
      dy = step;
      break;
  }
  setPendingMove(selection, dx, dy, 0, 0);
  applyPending(selection);
  return true;
}

void DrawingController::setViewerMode(bool on, EmblemNode* selection) {
  viewerMode_ = on;
  if (on) endDrag(selection);
}

}  // namespace orvane
