#include "panes/layers/layer_tree_model.h"

#include <QCoreApplication>
#include <QMimeData>

#include "editing/node_path.h"
#include "panes/layers/node_icons.h"

namespace orvane {
namespace {

constexpr char kDragMimeType[] = "application/x-orvane-layer-drag";

QString nameOf(const EmblemNode* node) {
  const std::u16string& name = node->name();
  return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

LayerTreeModel::LayerTreeModel(EmblemDocument& document, QObject* parent)
    : QAbstractItemModel(parent),
      document_(document),
      dragSource_(QByteArray::number(QCoreApplication::applicationPid()) + ':' +
                  QByteArray::number(reinterpret_cast<quintptr>(this))) {
  watchDocument();
  // A pane made while a tree is already there shows it at once.
  if (EmblemNode* root = document_.root()) nodeAdded(root);
}

LayerTreeModel::~LayerTreeModel() {
  for (RegistrationId id : registrations_) document_.unregisterCallback(id);
}

void LayerTreeModel::watchDocument() {
  auto on = [this](DocumentEvent event, auto reaction) {
    registrations_.push_back(document_.registerCallback(
        event, [reaction](const DocumentEventArgs& args, std::uint32_t) { reaction(args); }));
  };
  on(DocumentEvent::Cleared, [this](const DocumentEventArgs&) { cleared(); });
  on(DocumentEvent::NodeAdded, [this](const DocumentEventArgs& args) { nodeAdded(args.node); });
  on(DocumentEvent::NodeRemoved, [this](const DocumentEventArgs& args) {
    nodeRemoved(args.node, args.formerParent, static_cast<int>(args.formerRow));
  });
  on(DocumentEvent::NameChanged, [this](const DocumentEventArgs& args) {
    nodeChanged(args.node, {Qt::DisplayRole, Qt::EditRole});
  });
  // Visibility and a layer's colour live in the records.
  for (DocumentEvent event :
       {DocumentEvent::InfoChanged, DocumentEvent::GroupChanged, DocumentEvent::LayerChanged}) {
    on(event, [this](const DocumentEventArgs& args) {
      nodeChanged(args.node, {Qt::CheckStateRole, Qt::DecorationRole});
    });
  }
}

// --- following the document ---

void LayerTreeModel::nodeAdded(EmblemNode* node) {
  if (!node) return;
  if (!node->parent()) {
    if (node != document_.root()) return;  // a node that is not in this tree
    if (shownRoot_) {
      // A new root without the old one going first: nothing of the old tree is left to show.
      beginResetModel();
      shownRoot_ = node;
      endResetModel();
      return;
    }
    beginInsertRows({}, 0, 0);
    shownRoot_ = node;
    endInsertRows();
    return;
  }
  EmblemNode* parent = node->parent();
  if (!shows(parent)) return;
  // The node's descendants come with it: they are reached through its rows once it is in.
  const int row = static_cast<int>(node->indexInParent());
  announcing_ = {Announcing::Change::Added, parent, row, node};
  beginInsertRows(indexOfShown(parent), row, row);
  announcing_ = {};
  endInsertRows();
}

void LayerTreeModel::nodeRemoved(EmblemNode* node, EmblemNode* formerParent, int formerRow) {
  if (!node) return;
  if (node == shownRoot_) {
    beginRemoveRows({}, 0, 0);
    shownRoot_ = nullptr;
    endRemoveRows();
    return;
  }
  if (!formerParent || !shows(formerParent)) return;
  announcing_ = {Announcing::Change::Removed, formerParent, formerRow, node};
  beginRemoveRows(indexOfShown(formerParent), formerRow, formerRow);
  announcing_ = {};
  endRemoveRows();
}

void LayerTreeModel::cleared() {
  // The tree is gone already; nothing may look at its nodes any more.
  if (!shownRoot_) return;
  beginResetModel();
  shownRoot_ = nullptr;
  endResetModel();
}

void LayerTreeModel::nodeChanged(EmblemNode* node, const QList<int>& roles) {
  if (!shows(node)) return;  // e.g. a fresh node whose record is set before it is attached
  const QModelIndex index = indexOfShown(node);
  emit dataChanged(index, index, roles);
}

// --- the tree as the views know it ---

int LayerTreeModel::shownChildCount(const EmblemNode* node) const {
  const int count = static_cast<int>(node->childCount());
  if (announcing_.change == Announcing::Change::None || announcing_.parent != node) return count;
  return announcing_.change == Announcing::Change::Added ? count - 1 : count + 1;
}

EmblemNode* LayerTreeModel::shownChildAt(const EmblemNode* node, int row) const {
  if (announcing_.change == Announcing::Change::None || announcing_.parent != node ||
      row < announcing_.row) {
    return node->childAt(static_cast<std::size_t>(row));
  }
  if (announcing_.change == Announcing::Change::Added) {
    return node->childAt(static_cast<std::size_t>(row) + 1);
  }
  if (row == announcing_.row) return announcing_.node;
  return node->childAt(static_cast<std::size_t>(row) - 1);
}

EmblemNode* LayerTreeModel::shownParentOf(const EmblemNode* node) const {
  if (announcing_.change == Announcing::Change::Removed && node == announcing_.node) {
    return const_cast<EmblemNode*>(announcing_.parent);
  }
  return node->parent();
}

int LayerTreeModel::shownRowOf(const EmblemNode* node) const {
  if (node == shownRoot_) return 0;
  if (announcing_.change == Announcing::Change::Removed && node == announcing_.node) {
    return announcing_.row;
  }
  const int row = static_cast<int>(node->indexInParent());
  if (announcing_.change == Announcing::Change::None || announcing_.parent != node->parent()) {
    return row;
  }
  if (announcing_.change == Announcing::Change::Added) {
    return row > announcing_.row ? row - 1 : row;
  }
  return row >= announcing_.row ? row + 1 : row;
}

bool LayerTreeModel::shows(const EmblemNode* node) const {
  for (const EmblemNode* n = node; n; n = shownParentOf(n)) {
    if (announcing_.change == Announcing::Change::Added && n == announcing_.node) return false;
    if (n == shownRoot_) return true;
  }
  return false;
}

QModelIndex LayerTreeModel::indexOfShown(const EmblemNode* node) const {
  return createIndex(shownRowOf(node), 0, const_cast<EmblemNode*>(node));
}

QModelIndex LayerTreeModel::indexOf(const EmblemNode* node) const {
  return node && shows(node) ? indexOfShown(node) : QModelIndex();
}

EmblemNode* LayerTreeModel::nodeAt(const QModelIndex& index) {
  return index.isValid() ? static_cast<EmblemNode*>(index.internalPointer()) : nullptr;
}

// --- QAbstractItemModel ---

QModelIndex LayerTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  if (!parent.isValid()) return createIndex(row, column, shownRoot_);
  return createIndex(row, column, shownChildAt(nodeAt(parent), row));
}

QModelIndex LayerTreeModel::parent(const QModelIndex& child) const {
  const EmblemNode* node = nodeAt(child);
  if (!node || node == shownRoot_) return {};
  const EmblemNode* parent = shownParentOf(node);
  return parent ? indexOfShown(parent) : QModelIndex();
}

int LayerTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return shownRoot_ ? 1 : 0;
  if (parent.column() != 0) return 0;
  return shownChildCount(nodeAt(parent));
}

int LayerTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant LayerTreeModel::data(const QModelIndex& index, int role) const {
  const EmblemNode* node = nodeAt(index);
  if (!node) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return nameOf(node);
    case Qt::CheckStateRole:
      return node->visible() ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
      return iconOf(*node);
    default:
      return {};
  }
}

bool LayerTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  EmblemNode* node = nodeAt(index);
  if (!node) return false;
  if (role == Qt::CheckStateRole) {
    emit visibilityRequested(node, value.toInt() == Qt::Checked);
    return true;
  }
  if (role == Qt::EditRole) {
    emit renameRequested(node, value.toString());
    return true;
  }
  return false;
}

Qt::ItemFlags LayerTreeModel::flags(const QModelIndex& index) const {
  const EmblemNode* node = nodeAt(index);
  if (!node) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable |
                        Qt::ItemIsUserCheckable | Qt::ItemIsDropEnabled;
  if (node != shownRoot_) flags |= Qt::ItemIsDragEnabled;  // the root stays where it is
  return flags;
}

// --- drags ---

QStringList LayerTreeModel::mimeTypes() const { return {QString::fromLatin1(kDragMimeType)}; }

QMimeData* LayerTreeModel::mimeData(const QModelIndexList& indexes) const {
  const EmblemNode* node = indexes.isEmpty() ? nullptr : nodeAt(indexes.first());
  if (!node || node == shownRoot_) return nullptr;
  // The path, not the pointer: a payload that outlives its node finds no node rather than a
  // freed one.
  QByteArray payload = dragSource_;
  for (std::uint32_t row : pathOf(node)) payload += '/' + QByteArray::number(row);
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kDragMimeType), payload);
  return data;
}

Qt::DropActions LayerTreeModel::supportedDragActions() const { return Qt::MoveAction; }

Qt::DropActions LayerTreeModel::supportedDropActions() const { return Qt::MoveAction; }

EmblemNode* LayerTreeModel::draggedNode(const QMimeData* data) const {
  if (!data || !shownRoot_) return nullptr;
  const QList<QByteArray> parts = data->data(QString::fromLatin1(kDragMimeType)).split('/');
  if (parts.size() < 2 || parts.first() != dragSource_) return nullptr;
  NodePath path;
  for (qsizetype i = 1; i < parts.size(); ++i) {
    bool ok = false;
    const uint row = parts[i].toUInt(&ok);
    if (!ok) return nullptr;
    path.push_back(row);
  }
  EmblemNode* node = orvane::nodeAt(shownRoot_, path);
  return node && shows(node) ? node : nullptr;
}

}  // namespace orvane
