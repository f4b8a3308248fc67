#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "document/emblem_types.h"

namespace orvane {

// The layer pane's context menus: one per node kind, each entry with its command number.

enum class TreeAction { AddLayer, AddGroup, Duplicate, Delete };

struct TreeMenuEntry {
  int command;
  std::string_view text;  // UTF-8
  TreeAction action;
  bool separatorBefore = false;
};

// The entries of the menu for a selected node of `kind`, in order; none for an image node, which
// opens no menu.
std::span<const TreeMenuEntry> treeMenuOf(NodeKind kind);

// What a command does when a node of `selectionKind` is selected. Each command belongs to the
// menu of one kind and does nothing (std::nullopt) with a node of another kind selected.
std::optional<TreeAction> treeActionOf(int command, NodeKind selectionKind);

}  // namespace orvane
