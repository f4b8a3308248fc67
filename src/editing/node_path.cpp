#include "editing/node_path.h"

#include <algorithm>

namespace orvane {

NodePath pathOf(const EmblemNode* node) {
  NodePath path;
  for (; node && node->parent(); node = node->parent()) {
    path.push_back(static_cast<std::uint32_t>(node->indexInParent()));
  }
  std::reverse(path.begin(), path.end());
  return path;
}

EmblemNode* nodeAt(EmblemNode* root, const NodePath& path) {
  EmblemNode* node = root;
  for (std::uint32_t row : path) {
    if (!node) return nullptr;
    node = node->childAt(row);
  }
  return node;
}

}  // namespace orvane
