#include "app/shell/tree_edits.h"

#include <utility>

namespace orvane {

std::optional<NewNodePlace> placeForNewNode(EmblemNode* selection) {
  if (!selection) return std::nullopt;
  switch (selection->kind()) {
    case NodeKind::Info:
    case NodeKind::Group:
      return NewNodePlace{NewNodePlace::Relation::FirstChildOf, selection};
    case NodeKind::Layer:
      return NewNodePlace{NewNodePlace::Relation::After, selection};
    case NodeKind::Image:
      break;
  }
  return std::nullopt;
}

std::vector<EmblemNode*> insertAtPlace(EmblemDocument& document, const NewNodePlace& place,
                                       std::vector<NodePtr> nodes) {
  std::vector<EmblemNode*> attached;
  attached.reserve(nodes.size());
  EmblemNode* previous = nullptr;
  for (NodePtr& node : nodes) {
    EmblemNode* raw = node.get();
    bool done = false;
    if (previous) {
      done = document.insertAfter(previous, std::move(node));
    } else if (place.relation == NewNodePlace::Relation::FirstChildOf) {
      done = document.prependChild(place.anchor, std::move(node));
    } else {
      done = document.insertAfter(place.anchor, std::move(node));
    }
    if (!done) continue;
    attached.push_back(raw);
    previous = raw;
  }
  return attached;
}

bool canDuplicateOrDelete(const EmblemNode* node) {
  return node && node->parent() &&
         (node->kind() == NodeKind::Group || node->kind() == NodeKind::Layer);
}

EmblemNode* duplicateAfter(EmblemDocument& document, EmblemNode* node) {
  if (!canDuplicateOrDelete(node) || node->owner() != &document) return nullptr;
  NodePtr copy = EmblemDocument::duplicate(node);
  EmblemNode* raw = copy.get();
  return document.insertAfter(node, std::move(copy)) ? raw : nullptr;
}

bool deleteNode(EmblemDocument& document, EmblemNode* node) {
  if (!canDuplicateOrDelete(node) || node->owner() != &document) return false;
  if (node->kind() == NodeKind::Group) {
    document.fire(DocumentEvent::UpdateBegins, 0);
    document.destroy(node);
    document.fire(DocumentEvent::UpdateEnds, 1);
  } else {
    document.destroy(node);
  }
  return true;
}

EmblemNode* neighbourAfterRemoving(const EmblemNode* node) {
  if (!node) return nullptr;
  if (node->next()) return node->next();
  if (node->prev()) return node->prev();
  return node->parent();
}

DropPlacement dropPlacement(const EmblemNode* dragged, const EmblemNode* target) {
  if (!dragged || !target || !dragged->parent() || dragged->kind() == NodeKind::Info) {
    return DropPlacement::Refused;
  }
  if (!dragged->owner() || dragged->owner() != target->owner()) return DropPlacement::Refused;
  // Dropping onto itself or anywhere inside its own subtree would cut the subtree loose.
  if (dragged->contains(target)) return DropPlacement::Refused;
  switch (target->kind()) {
    case NodeKind::Info:
    case NodeKind::Group:
      return DropPlacement::FirstChildOfTarget;
    case NodeKind::Layer:
    case NodeKind::Image:
      return DropPlacement::AfterTarget;
  }
  return DropPlacement::Refused;
}

bool moveByDrop(EmblemDocument& document, EmblemNode* dragged, EmblemNode* target) {
  if (!dragged || dragged->owner() != &document) return false;
  switch (dropPlacement(dragged, target)) {
    case DropPlacement::FirstChildOfTarget:
      return document.prependChild(target, dragged);
    case DropPlacement::AfterTarget:
      return document.insertAfter(target, dragged);
    case DropPlacement::Refused:
      break;
  }
  return false;
}

}  // namespace orvane
