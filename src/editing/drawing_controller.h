#pragma once

#include <utility>

#include "editing/drag_mode.h"
#include "editing/layer_transforms.h"

namespace orvane {

enum class PointerButton { Left, Right };
enum class ArrowKey { Left, Up, Right, Down };

// Everything the drawing pane decides about input, without any widget: which drag a press
// starts, which tree operation each pointer move runs with which numbers, when a drag ends, and
// what the arrow keys do. The pane converts its events to emblem points (panePixelToEmblem) and
// passes the current selection with each call; the controller never keeps a node.
class DrawingController {
 public:
  // A press at an emblem point. Returns true when a drag started.
  bool press(PointerButton button, Point point, bool shift, EmblemNode* selection);
  // A pointer move to an emblem point with the buttons and Shift as they are now. Ends the drag
  // when its button (or Shift, for Scale) is gone, making the pending transform permanent;
  // otherwise runs the drag's tree operation. Returns true when it changed the document.
  bool move(Point point, bool leftDown, bool rightDown, bool shiftDown, EmblemNode* selection);
  // A button released anywhere: no drag, and the selection's pending transform made permanent.
  // Returns true when a drag was open.
  bool release(EmblemNode* selection);
  // Moves the selection by one unit, or kBigStep units with Shift, and settles it at once.
  // False (nothing done) without a selection, in viewer mode, or for an image node.
  bool key(ArrowKey key, bool shift, EmblemNode* selection);
  // Viewer mode takes no input; switching it on ends any drag and settles the selection.
  void setViewerMode(bool on, EmblemNode* selection);

  bool viewerMode() const { return viewerMode_; }
  DragMode mode() const { return mode_; }
  // Where the drag began; for vertex drags, the point last applied.
  Point last() const { return last_; }
  // The centre of the scale or rotation in progress.
  std::pair<float, float> centre() const { return centre_; }

  static constexpr int kBigStep = 8;  // Shift + arrow

 private:
  void pressLeft(Point point, bool shift, const Quad& corners);
  void pressRight(Point point, const Quad& corners);
  // Sets the centre of a scale or rotation: lt first, kept when the midpoint lines are parallel.
  void startTransformAbout(const Quad& corners);
  bool dragGone(bool leftDown, bool rightDown, bool shiftDown) const;
  // No drag, and the selection (if any) settled; true when that changed the document.
  bool endDrag(EmblemNode* selection);
  bool continueDrag(Point point, EmblemNode* selection);
  bool dragVertex(Point point, EmblemNode* selection);
  bool dragScale(Point point, EmblemNode* selection) const;
  bool dragRotation(Point point, EmblemNode* selection) const;

  DragMode mode_ = DragMode::None;
  Point last_;
  std::pair<float, float> centre_{0.0f, 0.0f};
  bool viewerMode_ = false;
};

}  // namespace orvane
