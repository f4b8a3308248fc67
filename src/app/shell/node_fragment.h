#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/emblem_document.h"

namespace orvane {

// Layers and groups travel through the clipboard as the text of an XML emblem file whose root
// holds copies of them, so that they move between emblems, between two running editors, and
// into any program that takes the text as an emblem file.

// The clipboard type of that text; the same text also goes on the clipboard as plain text.
inline constexpr std::string_view kNodeFragmentMimeType = "application/x-orvane-emblem-nodes";

// The text for a copy of `node` and its subtree; for the root, copies of everything below it. The
// root of the text takes the name, size and
// sound of the emblem the node comes from, so the text is a whole emblem file of its own.
std::string nodeFragmentText(const EmblemNode& node);

// Apart copies of the layers and groups below the root of an XML emblem text, in order, ready to
// be attached. Empty when the text is not an emblem or holds no layer or group.
std::vector<NodePtr> nodesOfFragment(std::string_view text);

}  // namespace orvane
