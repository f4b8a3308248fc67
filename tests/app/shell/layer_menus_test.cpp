#include "app/shell/layer_menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

// "<command> <text>" per entry, with "-" for a separator.
std::vector<std::string> entriesOf(NodeKind kind) {
  std::vector<std::string> lines;
  for (const TreeMenuEntry& entry : treeMenuOf(kind)) {
    if (entry.separatorBefore) lines.push_back("-");
    lines.push_back(std::to_string(entry.command) + " " + std::string(entry.text));
  }
  return lines;
}

TEST(LayerMenus, EachKindHasItsOwnEntriesAndNumbers) {
  EXPECT_EQ(entriesOf(NodeKind::Info),
            (std::vector<std::string>{"40032 レイヤーを追加", "40048 グループを追加"}));
  EXPECT_EQ(entriesOf(NodeKind::Group),
            (std::vector<std::string>{"40063 レイヤーを追加", "40064 グループを追加", "40072 複製",
                                      "-", "40060 削除"}));
  EXPECT_EQ(entriesOf(NodeKind::Layer),
            (std::vector<std::string>{"40035 レイヤーを追加", "40062 グループを追加", "40036 複製",
                                      "-", "40037 削除"}));
  EXPECT_TRUE(entriesOf(NodeKind::Image).empty());
}

TEST(LayerMenus, ACommandActsOnlyWithItsOwnKindSelected) {
  EXPECT_EQ(treeActionOf(40032, NodeKind::Info), TreeAction::AddLayer);
  EXPECT_EQ(treeActionOf(40048, NodeKind::Info), TreeAction::AddGroup);
  EXPECT_EQ(treeActionOf(40063, NodeKind::Group), TreeAction::AddLayer);
  EXPECT_EQ(treeActionOf(40064, NodeKind::Group), TreeAction::AddGroup);
  EXPECT_EQ(treeActionOf(40072, NodeKind::Group), TreeAction::Duplicate);
  EXPECT_EQ(treeActionOf(40060, NodeKind::Group), TreeAction::Delete);
  EXPECT_EQ(treeActionOf(40035, NodeKind::Layer), TreeAction::AddLayer);
  EXPECT_EQ(treeActionOf(40062, NodeKind::Layer), TreeAction::AddGroup);
  EXPECT_EQ(treeActionOf(40036, NodeKind::Layer), TreeAction::Duplicate);
  EXPECT_EQ(treeActionOf(40037, NodeKind::Layer), TreeAction::Delete);

  EXPECT_FALSE(treeActionOf(40032, NodeKind::Group));  // the root's "add layer" with a group
  EXPECT_FALSE(treeActionOf(40060, NodeKind::Layer));  // a group's delete with a layer
  EXPECT_FALSE(treeActionOf(40037, NodeKind::Info));
  EXPECT_FALSE(treeActionOf(40036, NodeKind::Image));
  EXPECT_FALSE(treeActionOf(40011, NodeKind::Info));  // not a menu command at all
}

}  // namespace
}  // namespace orvane
