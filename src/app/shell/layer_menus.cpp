#include "app/shell/layer_menus.h"

#include <array>

namespace orvane {
namespace {

constexpr std::array<TreeMenuEntry, 2> kInfoMenu{{
    {40032, "レイヤーを追加", TreeAction::AddLayer},
    {40048, "グループを追加", TreeAction::AddGroup},
}};

constexpr std::array<TreeMenuEntry, 4> kGroupMenu{{
    {40063, "レイヤーを追加", TreeAction::AddLayer},
    {40064, "グループを追加", TreeAction::AddGroup},
    {40072, "複製", TreeAction::Duplicate},
    {40060, "削除", TreeAction::Delete, true},
}};

constexpr std::array<TreeMenuEntry, 4> kLayerMenu{{
    {40035, "レイヤーを追加", TreeAction::AddLayer},
    {40062, "グループを追加", TreeAction::AddGroup},
    {40036, "複製", TreeAction::Duplicate},
    {40037, "削除", TreeAction::Delete, true},
}};

}  // namespace

std::span<const TreeMenuEntry> treeMenuOf(NodeKind kind) {
  switch (kind) {
    case NodeKind::Info:
      return kInfoMenu;
    case NodeKind::Group:
      return kGroupMenu;
    case NodeKind::Layer:
      return kLayerMenu;
    case NodeKind::Image:
      break;
  }
  return {};
}

std::optional<TreeAction> treeActionOf(int command, NodeKind selectionKind) {
  for (const TreeMenuEntry& entry : treeMenuOf(selectionKind)) {
    if (entry.command == command) return entry.action;
  }
  return std::nullopt;
}

}  // namespace orvane
