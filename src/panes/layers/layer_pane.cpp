#include "panes/layers/layer_pane.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

#include "app/shell/application.h"
#include "app/shell/layer_menus.h"
#include "app/shell/tree_edits.h"
#include "editing/node_path.h"
#include "panes/layers/layer_clipboard.h"
#include "panes/layers/layer_tree_model.h"
#include "panes/layers/layer_tree_view.h"
#include "panes/layers/name_delegate.h"

namespace orvane {
namespace {

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LayerPane::LayerPane(Application& application, QWidget* parent)
    : QWidget(parent), application_(application) {
  model_ = new LayerTreeModel(application_.document(), this);
  tree_ = new LayerTreeView(this);
  tree_->setItemDelegate(new NameDelegate(tree_));
  // Connected before the view takes the model, so this runs before the view and its selection
  // model pick a neighbour of a removed entry on their own.
  connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &LayerPane::rowsGoing);
  tree_->setLayerModel(model_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_);

  // A new or opened emblem shows its top level.
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
    if (!parent.isValid()) tree_->expand(model_->index(0, 0));
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (model_->rowCount() > 0) tree_->expand(model_->index(0, 0));
  });
  if (model_->rowCount() > 0) tree_->expand(model_->index(0, 0));

  connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &LayerPane::treeSelectionChanged);
  selectionRegistration_ = application_.registerSelectionChanged(
      [this](EmblemNode* node, std::uint32_t) { followSelection(node); });
  followSelection(application_.currentSelection());

  connect(model_, &LayerTreeModel::renameRequested, this, &LayerPane::rename);
  connect(model_, &LayerTreeModel::visibilityRequested, this, &LayerPane::setVisible);
  connect(tree_, &LayerTreeView::nodeDropped, this, &LayerPane::moveByDropOn);

  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QWidget::customContextMenuRequested, this, &LayerPane::showContextMenu);
  addKeyAction(QKeySequence(Qt::CTRL | Qt::Key_D), "duplicateNode", &LayerPane::duplicateSelection);
  addKeyAction(QKeySequence(Qt::Key_Delete), "deleteNode", &LayerPane::deleteSelection);
  addKeyAction(QKeySequence(Qt::Key_F2), "renameNode", &LayerPane::renameSelection);
  addKeyAction(QKeySequence(Qt::CTRL | Qt::Key_C), "copyNode", &LayerPane::copySelection);
  addKeyAction(QKeySequence(Qt::CTRL | Qt::Key_X), "cutNode", &LayerPane::cutSelection);
  addKeyAction(QKeySequence(Qt::CTRL | Qt::Key_V), "pasteNodes", &LayerPane::pasteAtSelection);
}

LayerPane::~LayerPane() {
  application_.unregisterSelectionChanged(selectionRegistration_);
  // The tree and the model go before this object stops being a LayerPane, and tell it nothing
  // on their way.
  tree_->selectionModel()->disconnect(this);
  model_->disconnect(this);
  delete tree_;
  delete model_;
}

void LayerPane::addKeyAction(const QKeySequence& key, const char* name, void (LayerPane::*edit)()) {
  auto* action = new QAction(this);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(key);
  action->setShortcutContext(Qt::WidgetShortcut);  // only while the tree itself has the focus
  connect(action, &QAction::triggered, this, edit);
  tree_->addAction(action);
}

// --- selection ---

void LayerPane::treeSelectionChanged() {
  if (followingSelection_) return;
  const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
  EmblemNode* node = selected.isEmpty() ? nullptr : LayerTreeModel::nodeAt(selected.first());
  if (node == application_.currentSelection()) return;
  reportingSelection_ = true;
  application_.SetSelection(node);
  reportingSelection_ = false;
}

void LayerPane::followSelection(EmblemNode* node) {
  if (reportingSelection_) return;
  // During a clear or a removal the application hears of it before the tree does; the tree's
  // entries of the gone nodes must not be touched until the model has let them go, which it
  // does next (and which takes their highlight with them).
  if (!model_->showsCurrentTree()) return;
  QItemSelectionModel* selection = tree_->selectionModel();
  if (const EmblemNode* current = LayerTreeModel::nodeAt(selection->currentIndex());
      current && !model_->shows(current)) {
    return;
  }
  // The root selected by a command (New, Open, a tool) stands for the emblem as a whole: the
  // details pane shows it, the tree highlights nothing.
  const bool highlighted = node && node->parent();
  const QModelIndex target = highlighted ? model_->indexOf(node) : QModelIndex();
  if (target == selection->currentIndex() && selection->isSelected(target)) return;
  if (!target.isValid() && !selection->currentIndex().isValid() && !selection->hasSelection()) {
    return;
  }
  followingSelection_ = true;
  if (target.isValid()) {
    selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    tree_->scrollTo(target);
  } else {
    selection->clear();
  }
  followingSelection_ = false;
}

void LayerPane::rowsGoing(const QModelIndex& parent, int first, int last) {
  QItemSelectionModel* selection = tree_->selectionModel();
  if (!selection) return;
  const EmblemNode* current = LayerTreeModel::nodeAt(selection->currentIndex());
  const QModelIndexList selected = selection->selectedIndexes();
  const EmblemNode* chosen =
      selected.isEmpty() ? nullptr : LayerTreeModel::nodeAt(selected.first());
  for (int row = first; row <= last; ++row) {
    const EmblemNode* going = LayerTreeModel::nodeAt(model_->index(row, 0, parent));
    if (going && (going->contains(current) || going->contains(chosen))) {
      followingSelection_ = true;
      selection->clear();
      followingSelection_ = false;
      return;
    }
  }
}

// --- context menu ---

std::unique_ptr<QMenu> LayerPane::makeContextMenu() {
  const EmblemNode* selection = application_.currentSelection();
  if (!selection) return nullptr;
  const auto entries = treeMenuOf(selection->kind());
  if (entries.empty()) return nullptr;
  auto menu = std::make_unique<QMenu>(this);
  for (const TreeMenuEntry& entry : entries) {
    if (entry.separatorBefore) menu->addSeparator();
    QAction* action = menu->addAction(qt(entry.text));
    action->setData(entry.command);
    action->setObjectName(QStringLiteral("command%1").arg(entry.command));
    const int command = entry.command;
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
  }
  return menu;
}

void LayerPane::showContextMenu(const QPoint& position) {
  if (std::unique_ptr<QMenu> menu = makeContextMenu()) {
    menu->exec(tree_->viewport()->mapToGlobal(position));
  }
}

void LayerPane::runCommand(int command) {
  EmblemNode* selection = application_.currentSelection();
  if (!selection) return;
  const auto action = treeActionOf(command, selection->kind());
  if (!action) return;
  EmblemDocument& document = application_.document();
  std::vector<NodePtr> nodes;
  switch (*action) {
    case TreeAction::AddLayer:
      nodes.push_back(document.makeNewLayer());
      addNodes(std::move(nodes), "レイヤーを追加");
      break;
    case TreeAction::AddGroup:
      nodes.push_back(document.makeNewGroup());
      addNodes(std::move(nodes), "グループを追加");
      break;
    case TreeAction::Duplicate:
      duplicateSelection();
      break;
    case TreeAction::Delete:
      deleteSelection();
      break;
  }
}

// --- edits ---

void LayerPane::addNodes(std::vector<NodePtr> nodes, const std::string& step) {
  const auto place = placeForNewNode(application_.currentSelection());
  if (!place || nodes.empty()) return;
  const std::vector<EmblemNode*> added =
      insertAtPlace(application_.document(), *place, std::move(nodes));
  if (added.empty()) return;
  // Recorded before the new node is selected, so that undoing the step selects what was
  // selected before it.
  application_.recordEdit(step);
  application_.SetSelection(added.front());
}

void LayerPane::duplicateSelection() {
  EmblemNode* copy = duplicateAfter(application_.document(), application_.currentSelection());
  if (!copy) return;
  application_.recordEdit("複製");
  application_.SetSelection(copy);
}

void LayerPane::deleteSelection() { removeSelection("削除"); }

void LayerPane::removeSelection(const std::string& step) {
  EmblemNode* node = application_.currentSelection();
  if (!canDuplicateOrDelete(node)) return;
  // The entry that takes the removed one's place becomes the selection, so that Delete can be
  // pressed again and again.
  EmblemNode* next = neighbourAfterRemoving(node);
  const NodePath removed = pathOf(node);
  if (!deleteNode(application_.document(), node)) return;
  recordStep(step, removed);
  application_.SetSelection(next);
}

void LayerPane::recordStep(const std::string& step, const SelectionPath& selectionBefore) {
  // Removing the selected node clears the selection on the way; going back to before the step
  // should select the node again.
  application_.history().noteSelection(selectionBefore);
  application_.recordEdit(step);
}

void LayerPane::renameSelection() {
  const QModelIndex index = model_->indexOf(application_.currentSelection());
  if (!index.isValid()) return;
  tree_->scrollTo(index);
  tree_->edit(index);
}

void LayerPane::copySelection() {
  const EmblemNode* node = application_.currentSelection();
  // The root copies the whole emblem's content; an image node does not travel.
  if (!node || node->kind() == NodeKind::Image) return;
  putOnClipboard(*node);
}

void LayerPane::cutSelection() {
  EmblemNode* node = application_.currentSelection();
  if (!canDuplicateOrDelete(node)) return;
  putOnClipboard(*node);
  removeSelection("切り取り");
}

void LayerPane::pasteAtSelection() {
  if (!placeForNewNode(application_.currentSelection())) return;
  addNodes(nodesOnClipboard(), "貼り付け");
}

void LayerPane::moveByDropOn(EmblemNode* dragged, EmblemNode* target) {
  // The moved entries are made anew at the new place; open again what was open.
  std::vector<const EmblemNode*> open;
  forEachInSubtree(dragged, [&](const EmblemNode* node) {
    if (node->firstChild() && tree_->isExpanded(model_->indexOf(node))) open.push_back(node);
  });
  const EmblemNode* selected = application_.currentSelection();
  const SelectionPath before = selected ? SelectionPath(pathOf(selected)) : std::nullopt;
  if (!moveByDrop(application_.document(), dragged, target)) return;
  for (const EmblemNode* node : open) tree_->expand(model_->indexOf(node));
  recordStep("移動", before);
  application_.SetSelection(dragged);
}

void LayerPane::rename(EmblemNode* node, const QString& name) {
  const std::u16string text = name.toStdU16String();
  if (text.empty() || text == node->name()) return;  // an emptied field keeps the old name
  EmblemDocument::setName(node, text);
  application_.recordEdit("名前の変更");
}

void LayerPane::setVisible(EmblemNode* node, bool visible) {
  if (node->visible() == visible) return;
  EmblemDocument::setVisible(node, visible);
  application_.recordEdit("表示の切り替え");
}

}  // namespace orvane
