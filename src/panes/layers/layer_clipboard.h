#pragma once

#include <vector>

#include "document/emblem_node.h"

namespace orvane {

// The system clipboard's side of copying layers and groups: the emblem text of the copied nodes
// goes there under its own type and as plain text, so another editor (or a text editor) can
// take it.

// Puts a copy of `node` and its subtree on the clipboard.
void putOnClipboard(const EmblemNode& node);
// Apart copies of the layers and groups on the clipboard, in order; empty when it holds none.
// Plain text is taken too when it is an emblem file's text.
std::vector<NodePtr> nodesOnClipboard();

}  // namespace orvane
