#pragma once

#include <cstdint>
#include <vector>

#include "document/emblem_document.h"

namespace orvane {

// Where a node sits: the rows from the root down to it (empty for the root itself). Names a node
// across snapshots of the tree, where pointers do not survive.
using NodePath = std::vector<std::uint32_t>;

// The path of a node in its tree; empty for the root or a node without parent.
NodePath pathOf(const EmblemNode* node);
// The node at the path below `root`, or nullptr when the tree has no such place.
EmblemNode* nodeAt(EmblemNode* root, const NodePath& path);

}  // namespace orvane
