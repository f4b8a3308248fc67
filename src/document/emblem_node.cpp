#include "document/emblem_node.h"

#include "base/utf.h"

namespace orvane {

EmblemNode::EmblemNode(EmblemDocument* owner, NodeKind kind, std::u16string_view name)
    : owner_(owner), name_(cutUtf16(name, kMaxNameUnits)), kind_(kind) {}

EmblemNode::~EmblemNode() {
  // Free the subtree iteratively so a very deep tree cannot exhaust the stack: each child is
  // unlinked from its parent before it is freed, and a child with children of its own is
  // descended into first.
  EmblemNode* node = this;
  while (node) {
    if (EmblemNode* child = node->firstChild_) {
      node = child;
      continue;
    }
    if (node == this) break;
    EmblemNode* parent = node->parent_;
    parent->firstChild_ = node->next_;
    if (parent->firstChild_)
      parent->firstChild_->prev_ = nullptr;
    else
      parent->lastChild_ = nullptr;
    node->parent_ = nullptr;
    node->next_ = nullptr;
    delete node;  // has no children left, so this recursion stops at once
    node = parent;
  }
}

bool EmblemNode::contains(const EmblemNode* node) const {
  // A leaf contains only itself; this keeps building deep trees linear.
  if (!firstChild_) return node == this;
  for (const EmblemNode* n = node; n; n = n->parent_) {
    if (n == this) return true;
  }
  return false;
}

void NodeDeleter::operator()(EmblemNode* node) const { delete node; }

}  // namespace orvane
