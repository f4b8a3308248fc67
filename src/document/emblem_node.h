#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/emblem_types.h"

namespace orvane {

class EmblemDocument;
class EmblemNode;

// Frees an apart node and its subtree without firing anything.
struct NodeDeleter {
  void operator()(EmblemNode* node) const;
};
// Ownership of a node that is not (or not yet) in a document's tree.
using NodePtr = std::unique_ptr<EmblemNode, NodeDeleter>;

// One node of the emblem tree. The tree links and the record are changed only through
// EmblemDocument, which fires the notifications; everything here is read access.
class EmblemNode {
 public:
  EmblemNode(const EmblemNode&) = delete;
  EmblemNode& operator=(const EmblemNode&) = delete;

  NodeKind kind() const { return kind_; }
  EmblemDocument* owner() const { return owner_; }
  EmblemNode* parent() const { return parent_; }
  EmblemNode* prev() const { return prev_; }
  EmblemNode* next() const { return next_; }
  EmblemNode* firstChild() const { return firstChild_; }
  EmblemNode* lastChild() const { return lastChild_; }
  bool visible() const { return visible_; }
  const std::u16string& name() const { return name_; }

  // The record for the node's kind; all-zero records for the other kinds.
  const EmblemInfo& info() const { return info_; }
  const LayerRecord& layer() const { return layer_; }
  const ImageRecord& image() const { return image_; }

  // The layer pane's handle for this node (0 when it has none); the document never reads it.
  std::uintptr_t treeItem() const { return treeItem_; }
  void setTreeItem(std::uintptr_t item) { treeItem_ = item; }

  // True when `node` is this node or lies anywhere below it.
  bool contains(const EmblemNode* node) const;

  // Rows, for views that address children by position. Each is O(1) while the child list only
  // grows or shrinks at its ends; any other change costs one walk of the list at the next query.
  std::size_t childCount() const { return childCount_; }
  // The child at `row` (0 is the first child), or nullptr when there is none.
  EmblemNode* childAt(std::size_t row) const;
  // The node's position among its siblings; 0 for a node without parent.
  std::size_t indexInParent() const;

 private:
  friend class EmblemDocument;
  friend struct NodeDeleter;
  EmblemNode(EmblemDocument* owner, NodeKind kind, std::u16string_view name);
  ~EmblemNode();

  // Child list edits; each keeps the child count and the row cache true.
  void linkFirst(EmblemNode* child);
  void linkLast(EmblemNode* child);
  void linkAfter(EmblemNode* anchor, EmblemNode* child);
  void unlinkChild(EmblemNode* child);
  void rebuildRows() const;

  EmblemDocument* owner_ = nullptr;
  EmblemNode* prev_ = nullptr;
  EmblemNode* next_ = nullptr;
  EmblemNode* parent_ = nullptr;
  EmblemNode* firstChild_ = nullptr;
  EmblemNode* lastChild_ = nullptr;
  bool visible_ = true;
  std::u16string name_;
  NodeKind kind_;
  EmblemInfo info_;
  LayerRecord layer_;
  ImageRecord image_;
  std::uintptr_t treeItem_ = 0;

  // Row cache: while rowsValid_, rows_[rowsFront_ ...] are the children in order and each
  // child's slot_ is its index in rows_, so a child's row is slot_ - rowsFront_.
  std::size_t childCount_ = 0;
  mutable std::vector<EmblemNode*> rows_;
  mutable std::size_t rowsFront_ = 0;
  mutable bool rowsValid_ = true;
  mutable std::size_t slot_ = 0;
};

// Calls visit(n) for `node` and every node below it, in pre-order (a parent before its children,
// children first to last), without recursion so that deep trees cannot exhaust the stack. The
// visit may change records but not the tree's links.
template <typename Node, typename Visit>
void forEachInSubtree(Node* node, Visit&& visit) {
  for (Node* n = node; n;) {
    visit(n);
    if (n->firstChild()) {
      n = n->firstChild();
      continue;
    }
    while (n != node && !n->next()) n = n->parent();
    n = n == node ? nullptr : n->next();
  }
}

}  // namespace orvane
