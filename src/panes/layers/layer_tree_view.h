#pragma once

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

namespace orvane {

class EmblemNode;
class LayerTreeModel;

// The tree view of the layer pane. A right click leaves the selection alone (the context menu
// acts on the node selected before it), and dragging an entry onto another moves its node by
// the drop-target rules: the entry that would take the node is highlighted while the pointer is
// over it, and entries that refuse it are not.
class LayerTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit LayerTreeView(QWidget* parent = nullptr);

  void setLayerModel(LayerTreeModel* model);
  // The entry a drop would go to now (invalid when none), as highlighted.
  QModelIndex dropTarget() const { return dropTarget_; }

 signals:
  // A drag of `dragged` was released over `target`, which takes it.
  void nodeDropped(EmblemNode* dragged, EmblemNode* target);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The target under `position` for the dragged node of `event`, or nullptr when it refuses it.
  EmblemNode* acceptingTargetAt(const QPoint& position, const QMimeData* data,
                                EmblemNode** dragged = nullptr) const;
  void showDropTarget(const QModelIndex& index);
  void endDragging();

  LayerTreeModel* layers_ = nullptr;
  QPersistentModelIndex dropTarget_;
  // A collapsed group under a dragged entry opens after a moment, so deeper entries can be
  // reached.
  QTimer expandTimer_;
  QPersistentModelIndex expandCandidate_;
};

}  // namespace orvane
