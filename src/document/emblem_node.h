#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

 private:
  friend class EmblemDocument;
  friend struct NodeDeleter;
  EmblemNode(EmblemDocument* owner, NodeKind kind, std::u16string_view name);
  ~EmblemNode();

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
};

}  // namespace orvane
