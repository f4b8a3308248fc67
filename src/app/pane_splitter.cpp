#include "app/pane_splitter.h"

#include <QMouseEvent>

namespace orvane {

PaneSplitter::PaneSplitter(SplitOrientation orientation, int size, int border, QWidget* parent)
    : QWidget(parent), orientation_(orientation), size_(size), border_(border) {
  // The splitter itself is seen only through the gap, so its own cursor is the sizing arrow;
  // the panes set the ordinary arrow for themselves.
  setCursor(sizingCursorOf(orientation) == SizingCursor::WestEast ? Qt::SplitHCursor
                                                                  : Qt::SplitVCursor);
}

void PaneSplitter::setPanes(QWidget* pane1, QWidget* pane2) {
  pane1_ = pane1;
  pane2_ = pane2;
  for (QWidget* pane : {pane1_, pane2_}) {
    pane->setParent(this);
    pane->setCursor(Qt::ArrowCursor);
    pane->show();
  }
  relayout();
}

SplitterGeometry PaneSplitter::geometry() const {
  return {orientation_, width(), height(), size_, border_};
}

void PaneSplitter::setSize(int size) {
  if (size == size_) return;
  size_ = size;
  relayout();
  emit sizeChanged(size_);
}

void PaneSplitter::setPaneShown(int pane, bool shown) {
  (pane == 1 ? pane1Shown_ : pane2Shown_) = shown;
  QWidget* widget = pane == 1 ? pane1_ : pane2_;
  if (widget) widget->setVisible(shown);
  relayout();
}

void PaneSplitter::relayout() {
  if (!pane1_ || !pane2_) return;
  const SplitterLayout layout = layoutSplitter(geometry(), pane1Shown_, pane2Shown_);
  if (layout.pane1)
    pane1_->setGeometry(layout.pane1->x, layout.pane1->y, layout.pane1->width,
                        layout.pane1->height);
  if (layout.pane2)
    pane2_->setGeometry(layout.pane2->x, layout.pane2->y, layout.pane2->width,
                        layout.pane2->height);
}

void PaneSplitter::resizeEvent(QResizeEvent*) { relayout(); }

void PaneSplitter::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton ||
      !isOnSplitterGap(geometry(), at.x(), at.y(), pane1Shown_, pane2Shown_)) {
    return;
  }
  drag_ = beginSplitterDrag(geometry(), at.x(), at.y());
  size_ = drag_.size;
  dragging_ = true;  // Qt keeps the pointer with this widget until the button is released
}

void PaneSplitter::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  setSize(draggedSplitterSize(geometry(), drag_, at.x(), at.y()));
}

void PaneSplitter::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

}  // namespace orvane
