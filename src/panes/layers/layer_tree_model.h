#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <vector>

#include "document/emblem_document.h"

namespace orvane {

// The document's tree as an item model: one column, the info root as the only top-level row,
// each index's internal pointer the EmblemNode it stands for, rows straight from the document
// (childAt, indexInParent). It keeps no copy of the tree; it follows the document's
// notifications one row at a time and never resets except on Cleared.
//
// The document announces a change after making it, while Qt wants to hear of it before (between
// beginInsertRows and endInsertRows, views and persistent indexes still see the old rows). So
// while it announces a change the model answers for the tree as it was: the one node just added
// is left out of its parent's rows, or the one node just removed is put back at its former row.
//
// Renaming and showing or hiding are asked of the owner through the request signals; the
// document's notifications then bring the new name or check state into the model.
class LayerTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit LayerTreeModel(EmblemDocument& document, QObject* parent = nullptr);
  ~LayerTreeModel() override;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Drags within the tree: the payload names the dragged node and this model.
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override;
  Qt::DropActions supportedDropActions() const override;
  // The node a drag started in this model carries; nullptr for any other payload.
  EmblemNode* draggedNode(const QMimeData* data) const;

  // The node of an index (nullptr for the invalid index).
  static EmblemNode* nodeAt(const QModelIndex& index);
  // The index of a node the model shows; the invalid index for any other node.
  QModelIndex indexOf(const EmblemNode* node) const;
  // Whether the node is in the tree the model shows.
  bool shows(const EmblemNode* node) const;
  // False while the document has a root that the model has not heard of yet, or has lost the
  // one the model shows (between a clear and its notification).
  bool showsCurrentTree() const { return shownRoot_ == document_.root(); }

 signals:
  void renameRequested(EmblemNode* node, const QString& name);
  void visibilityRequested(EmblemNode* node, bool visible);

 private:
  // The one change being announced, for which the model still answers as before it.
  struct Announcing {
    enum class Change { None, Added, Removed } change = Change::None;
    const EmblemNode* parent = nullptr;
    int row = 0;
    EmblemNode* node = nullptr;
  };

  void watchDocument();
  void nodeAdded(EmblemNode* node);
  void nodeRemoved(EmblemNode* node, EmblemNode* formerParent, int formerRow);
  void cleared();
  void nodeChanged(EmblemNode* node, const QList<int>& roles);

  int shownChildCount(const EmblemNode* node) const;
  EmblemNode* shownChildAt(const EmblemNode* node, int row) const;
  EmblemNode* shownParentOf(const EmblemNode* node) const;
  int shownRowOf(const EmblemNode* node) const;
  QModelIndex indexOfShown(const EmblemNode* node) const;

  EmblemDocument& document_;
  EmblemNode* shownRoot_ = nullptr;  // the root as the views know it
  Announcing announcing_;
  QByteArray dragSource_;  // names this model in drag payloads
  std::vector<RegistrationId> registrations_;
};

}  // namespace orvane
