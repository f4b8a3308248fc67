#pragma once

#include <QIcon>

#include "document/emblem_node.h"

namespace orvane {

// The small picture before a tree entry: a folder for a group, a swatch of its colour for a
// layer, a picture for an image node, nothing for the root.
QIcon iconOf(const EmblemNode& node);

}  // namespace orvane
