#include "panes/layers/layer_tree_view.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "app/shell/tree_edits.h"
#include "panes/layers/layer_tree_model.h"

namespace orvane {

LayerTreeView::LayerTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  // Names are shown whole; a narrow pane scrolls sideways rather than cutting them short. Only
  // the entries in view are measured, so long trees stay cheap to lay out.
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setResizeContentsPrecision(0);
  setUniformRowHeights(true);  // keeps long trees cheap to lay out and scroll
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);  // renaming is the pane's F2
  setMouseTracking(true);                              // the entry under the pointer is drawn hot
  setAnimated(false);
  setDragEnabled(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);  // drags arrive at the viewport
  setDragDropMode(QAbstractItemView::DragDrop);
  setDropIndicatorShown(false);  // the drop target is drawn here, entry by entry
  expandTimer_.setSingleShot(true);
  expandTimer_.setInterval(700);
  connect(&expandTimer_, &QTimer::timeout, this, [this] {
    if (expandCandidate_.isValid()) expand(expandCandidate_);
  });
}

void LayerTreeView::setLayerModel(LayerTreeModel* model) {
  layers_ = model;
  setModel(model);
}

void LayerTreeView::mousePressEvent(QMouseEvent* event) {
  // A right click opens the menu for the selection as it is; it does not select.
  if (event->button() == Qt::RightButton) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

void LayerTreeView::startDrag(Qt::DropActions) {
  const QModelIndex index = currentIndex();
  if (!layers_ || !(layers_->flags(index) & Qt::ItemIsDragEnabled)) return;
  QMimeData* data = layers_->mimeData({index});
  if (!data) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->exec(Qt::MoveAction, Qt::MoveAction);
  endDragging();
}

EmblemNode* LayerTreeView::acceptingTargetAt(const QPoint& position, const QMimeData* data,
                                             EmblemNode** dragged) const {
  EmblemNode* node = layers_ ? layers_->draggedNode(data) : nullptr;
  if (dragged) *dragged = node;
  EmblemNode* target = LayerTreeModel::nodeAt(indexAt(position));
  return dropPlacement(node, target) == DropPlacement::Refused ? nullptr : target;
}

void LayerTreeView::dragEnterEvent(QDragEnterEvent* event) {
  if (!layers_ || !layers_->draggedNode(event->mimeData())) {
    event->ignore();
    return;
  }
  setState(DraggingState);
  dragMoveEvent(event);
  // Taken even where it cannot be dropped yet, so that the moves over the tree keep coming.
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void LayerTreeView::dragMoveEvent(QDragMoveEvent* event) {
  const QPoint position = event->position().toPoint();
  EmblemNode* target = acceptingTargetAt(position, event->mimeData());
  showDropTarget(target ? layers_->indexOf(target) : QModelIndex());

  const QModelIndex under = indexAt(position);
  if (under != expandCandidate_) {
    expandCandidate_ = under;
    if (under.isValid() && !isExpanded(under) && model()->hasChildren(under)) {
      expandTimer_.start();
    } else {
      expandTimer_.stop();
    }
  }
  // Near the top or bottom edge the tree scrolls towards the entries beyond it.
  const QRect area = viewport()->rect();
  const int margin = autoScrollMargin();
  if (position.y() < area.top() + margin || position.y() > area.bottom() - margin) {
    startAutoScroll();
  }

  if (target) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void LayerTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
  endDragging();
  event->accept();
}

void LayerTreeView::dropEvent(QDropEvent* event) {
  EmblemNode* dragged = nullptr;
  EmblemNode* target = acceptingTargetAt(event->position().toPoint(), event->mimeData(), &dragged);
  endDragging();
  if (!target) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
  emit nodeDropped(dragged, target);
}

void LayerTreeView::endDragging() {
  expandTimer_.stop();
  expandCandidate_ = QModelIndex();
  stopAutoScroll();
  setState(NoState);
  showDropTarget({});
}

void LayerTreeView::showDropTarget(const QModelIndex& index) {
  if (index == dropTarget_) return;
  auto rowRect = [this](const QModelIndex& i) {
    const QRect item = visualRect(i);
    return QRect(0, item.top(), viewport()->width(), item.height());
  };
  if (dropTarget_.isValid()) viewport()->update(rowRect(dropTarget_));
  dropTarget_ = index;
  if (dropTarget_.isValid()) viewport()->update(rowRect(dropTarget_));
}

void LayerTreeView::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (!dropTarget_.isValid()) return;
  const QRect item = visualRect(dropTarget_);
  if (item.isEmpty()) return;
  QPainter painter(viewport());
  QColor fill = palette().color(QPalette::Highlight);
  painter.setPen(QPen(fill, 2));
  fill.setAlpha(70);
  painter.setBrush(fill);
  painter.drawRoundedRect(QRectF(item.left() + 1, item.top() + 1,
                                 viewport()->width() - item.left() - 2, item.height() - 2),
                          3, 3);
}

}  // namespace orvane
