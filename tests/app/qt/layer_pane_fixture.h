#pragma once

#include <QTreeView>
#include <QtTest>
#include <memory>

#include "app/shell/application.h"
#include "panes/layers/layer_pane.h"
#include "panes/layers/layer_tree_model.h"
#include "panes/layers/layer_tree_view.h"

namespace orvane::test {

// A layer pane over its own application, wired as the main window wires it (the window's
// selection rules registered after the pane), with a new emblem selected at the root.
struct PaneUnderTest {
  PaneUnderTest() {
    application.watchDocumentForSelection();
    application.document().newDocument(u"", 192, 96);
    application.SetSelection(root());
    application.resetHistory();
    pane.resize(320, 600);
  }
  EmblemDocument& document() { return application.document(); }
  EmblemNode* root() { return application.document().root(); }
  LayerTreeModel& model() { return *pane.model(); }
  LayerTreeView& tree() { return *pane.tree(); }
  // Adds a node at the end of `parent`'s children.
  EmblemNode* add(EmblemNode* parent, NodeKind kind, const char16_t* name) {
    NodePtr node = kind == NodeKind::Layer   ? document().makeNewLayer()
                   : kind == NodeKind::Group ? document().makeNewGroup()
                                             : EmblemDocument::makeNode(&document(), kind, name);
    EmblemDocument::setName(node.get(), name);
    EmblemNode* raw = node.get();
    document().appendChild(parent, std::move(node));
    return raw;
  }
  // The node whose entry is highlighted, or none.
  EmblemNode* highlighted() {
    const QModelIndexList selected = tree().selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : LayerTreeModel::nodeAt(selected.first());
  }

  Application application;
  LayerPane pane{application};
};

// Where the model and the document first differ (structure, node, name, check state, parent
// links), or an empty text when the model shows exactly the document.
inline QString differenceFromDocument(const LayerTreeModel& model, const EmblemDocument& document) {
  const EmblemNode* root = document.root();
  if (model.rowCount() != (root ? 1 : 0)) return QStringLiteral("top level");
  if (!root) return {};
  std::vector<std::pair<QModelIndex, const EmblemNode*>> pending{{model.index(0, 0), root}};
  while (!pending.empty()) {
    const auto [index, node] = pending.back();
    pending.pop_back();
    const QString where = QString::fromStdU16String(node->name());
    if (LayerTreeModel::nodeAt(index) != node) return "node at " + where;
    if (index.data().toString().toStdU16String() != node->name()) return "name of " + where;
    const auto check = node->visible() ? Qt::Checked : Qt::Unchecked;
    if (index.data(Qt::CheckStateRole).toInt() != check) return "check box of " + where;
    if (model.rowCount(index) != static_cast<int>(node->childCount())) return "rows of " + where;
    int row = 0;
    for (const EmblemNode* child = node->firstChild(); child; child = child->next(), ++row) {
      const QModelIndex childIndex = model.index(row, 0, index);
      if (childIndex.parent() != index) return "parent of a child of " + where;
      pending.emplace_back(childIndex, child);
    }
  }
  return {};
}

}  // namespace orvane::test
