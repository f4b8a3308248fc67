#pragma once

#include <optional>
#include <vector>

#include "document/emblem_document.h"

namespace orvane {

// The structural edits of the layer pane, without widgets: where new nodes go, what may be
// duplicated, deleted or dragged, and where a drop puts the dragged node.

// Where a node added with `anchor` selected goes.
struct NewNodePlace {
  enum class Relation { FirstChildOf, After };
  Relation relation;
  EmblemNode* anchor;
};

// The root and groups take a new node as their first child (listed on top); a layer takes it
// directly after itself, in its own group. Nothing for an image node or no selection.
std::optional<NewNodePlace> placeForNewNode(EmblemNode* selection);

// Attaches apart nodes at `place`, the first there and each further one after the one before,
// so they keep their order. Returns the attached nodes; nodes that could not be attached are
// dropped (freed).
std::vector<EmblemNode*> insertAtPlace(EmblemDocument& document, const NewNodePlace& place,
                                       std::vector<NodePtr> nodes);

// Layers and groups can be duplicated, deleted, copied and cut; the root and image nodes cannot.
bool canDuplicateOrDelete(const EmblemNode* node);

// Puts a copy of `node` (with its whole subtree) directly after it. Returns the copy, or nullptr
// when the node cannot be duplicated.
EmblemNode* duplicateAfter(EmblemDocument& document, EmblemNode* node);

// Destroys a layer or a group of `document`. A group's destruction is bracketed by UpdateBegins
// and UpdateEnds(1), so that observers can hold back their work until the whole subtree is
// gone. False, with nothing changed, for anything else.
bool deleteNode(EmblemDocument& document, EmblemNode* node);

// The node that takes over the selection when `node` goes: its next sibling, else its previous
// sibling, else its parent (nullptr for the root).
EmblemNode* neighbourAfterRemoving(const EmblemNode* node);

// What dropping a dragged node onto a target does.
enum class DropPlacement {
  Refused,             // the root, the node itself or its own subtree, or nodes of other trees
  FirstChildOfTarget,  // the target is the root or a group
  AfterTarget,         // the target is a layer or an image
};
DropPlacement dropPlacement(const EmblemNode* dragged, const EmblemNode* target);

// Moves `dragged` as dropPlacement says; false when the drop is refused.
bool moveByDrop(EmblemDocument& document, EmblemNode* dragged, EmblemNode* target);

}  // namespace orvane
