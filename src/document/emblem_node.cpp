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

EmblemNode* EmblemNode::childAt(std::size_t row) const {
  if (row >= childCount_) return nullptr;
  if (!rowsValid_) rebuildRows();
  return rows_[rowsFront_ + row];
}

std::size_t EmblemNode::indexInParent() const {
  if (!parent_) return 0;
  if (!parent_->rowsValid_) parent_->rebuildRows();
  return slot_ - parent_->rowsFront_;
}

void EmblemNode::rebuildRows() const {
  rows_.clear();
  rows_.reserve(childCount_);
  rowsFront_ = 0;
  for (EmblemNode* child = firstChild_; child; child = child->next_) {
    child->slot_ = rows_.size();
    rows_.push_back(child);
  }
  rowsValid_ = true;
}

void EmblemNode::linkFirst(EmblemNode* child) {
  child->parent_ = this;
  child->prev_ = nullptr;
  child->next_ = firstChild_;
  if (firstChild_)
    firstChild_->prev_ = child;
  else
    lastChild_ = child;
  firstChild_ = child;
  ++childCount_;
  if (rowsValid_ && rowsFront_ > 0) {
    child->slot_ = --rowsFront_;
    rows_[rowsFront_] = child;
  } else if (rowsValid_ && childCount_ == 1) {
    rows_.assign(1, child);
    rowsFront_ = 0;
    child->slot_ = 0;
  } else {
    rowsValid_ = false;
  }
}

void EmblemNode::linkLast(EmblemNode* child) {
  child->parent_ = this;
  child->next_ = nullptr;
  child->prev_ = lastChild_;
  if (lastChild_)
    lastChild_->next_ = child;
  else
    firstChild_ = child;
  lastChild_ = child;
  ++childCount_;
  if (rowsValid_) {
    child->slot_ = rows_.size();
    rows_.push_back(child);
  }
}

void EmblemNode::linkAfter(EmblemNode* anchor, EmblemNode* child) {
  if (anchor == lastChild_) {
    linkLast(child);
    return;
  }
  child->parent_ = this;
  child->prev_ = anchor;
  child->next_ = anchor->next_;
  anchor->next_->prev_ = child;
  anchor->next_ = child;
  ++childCount_;
  rowsValid_ = false;
}

void EmblemNode::unlinkChild(EmblemNode* child) {
  if (rowsValid_) {
    if (child == firstChild_) {
      rows_[rowsFront_++] = nullptr;
    } else if (child == lastChild_) {
      rows_.pop_back();
    } else {
      rowsValid_ = false;
    }
  }
  if (child->prev_)
    child->prev_->next_ = child->next_;
  else
    firstChild_ = child->next_;
  if (child->next_)
    child->next_->prev_ = child->prev_;
  else
    lastChild_ = child->prev_;
  child->prev_ = child->next_ = child->parent_ = nullptr;
  if (--childCount_ == 0) {
    rows_.clear();
    rowsFront_ = 0;
    rowsValid_ = true;
  }
}

void NodeDeleter::operator()(EmblemNode* node) const { delete node; }

}  // namespace orvane
