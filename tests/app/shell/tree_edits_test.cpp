#include "app/shell/tree_edits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf.h"

namespace orvane {
namespace {

// The tree as text: names, with a group's children in brackets.
std::string shapeOf(const EmblemNode* node) {
  std::string text = utf16ToUtf8(node->name());
  if (node->kind() == NodeKind::Layer || node->kind() == NodeKind::Image) return text;
  text += '(';
  for (const EmblemNode* child = node->firstChild(); child; child = child->next()) {
    if (child != node->firstChild()) text += ',';
    text += shapeOf(child);
  }
  return text + ')';
}

// root( a, g( b, h( c ) ), i ) where i is an image node.
class TreeEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    document.newDocument(u"root", 192, 96);
    root = document.root();
    a = add(root, NodeKind::Layer, u"a");
    g = add(root, NodeKind::Group, u"g");
    b = add(g, NodeKind::Layer, u"b");
    h = add(g, NodeKind::Group, u"h");
    c = add(h, NodeKind::Layer, u"c");
    i = add(root, NodeKind::Image, u"i");
  }
  EmblemNode* add(EmblemNode* parent, NodeKind kind, std::u16string_view name) {
    NodePtr node = EmblemDocument::makeNode(&document, kind, name);
    EmblemNode* raw = node.get();
    document.appendChild(parent, std::move(node));
    return raw;
  }
  std::vector<NodePtr> layersNamed(std::initializer_list<std::u16string_view> names) {
    std::vector<NodePtr> nodes;
    for (auto name : names)
      nodes.push_back(EmblemDocument::makeNode(&document, NodeKind::Layer, name));
    return nodes;
  }
  std::string shape() { return shapeOf(root); }

  EmblemDocument document;
  EmblemNode *root, *a, *g, *b, *h, *c, *i;
};

TEST_F(TreeEdits, NewNodesGoOnTopOfTheRootOrAGroupAndRightAfterALayer) {
  ASSERT_EQ(shape(), "root(a,g(b,h(c)),i)");
  EXPECT_FALSE(placeForNewNode(nullptr));
  EXPECT_FALSE(placeForNewNode(i));

  insertAtPlace(document, *placeForNewNode(root), layersNamed({u"n1"}));
  insertAtPlace(document, *placeForNewNode(root), layersNamed({u"n2"}));
  EXPECT_EQ(shape(), "root(n2,n1,a,g(b,h(c)),i)");  // the second new layer is listed above

  insertAtPlace(document, *placeForNewNode(g), layersNamed({u"n3"}));
  insertAtPlace(document, *placeForNewNode(b), layersNamed({u"n4"}));
  insertAtPlace(document, *placeForNewNode(c), layersNamed({u"n5"}));
  EXPECT_EQ(shape(), "root(n2,n1,a,g(n3,b,n4,h(c,n5)),i)");
}

TEST_F(TreeEdits, SeveralNodesKeepTheirOrderAtThePlace) {
  const auto attached =
      insertAtPlace(document, *placeForNewNode(a), layersNamed({u"x", u"y", u"z"}));
  ASSERT_EQ(attached.size(), 3u);
  EXPECT_EQ(utf16ToUtf8(attached[0]->name()), "x");
  EXPECT_EQ(utf16ToUtf8(attached[2]->name()), "z");
  EXPECT_EQ(shape(), "root(a,x,y,z,g(b,h(c)),i)");
  insertAtPlace(document, *placeForNewNode(h), layersNamed({u"p", u"q"}));
  EXPECT_EQ(shape(), "root(a,x,y,z,g(b,h(p,q,c)),i)");
}

TEST_F(TreeEdits, DeletingAGroupIsOneBracketedUpdate) {
  std::vector<std::string> events;
  for (DocumentEvent event :
       {DocumentEvent::UpdateBegins, DocumentEvent::UpdateEnds, DocumentEvent::NodeRemoved}) {
    document.registerCallback(event, [&](const DocumentEventArgs& args, std::uint32_t) {
      if (args.event == DocumentEvent::NodeRemoved) {
        events.push_back(utf16ToUtf8(args.node->name()));
      } else {
        events.push_back(args.event == DocumentEvent::UpdateBegins
                             ? "begins"
                             : "ends" + std::to_string(args.value));
      }
    });
  }
  EXPECT_TRUE(deleteNode(document, g));
  EXPECT_EQ(events, (std::vector<std::string>{"begins", "b", "c", "h", "g", "ends1"}));
  EXPECT_EQ(shape(), "root(a,i)");

  events.clear();
  EXPECT_TRUE(deleteNode(document, a));
  EXPECT_EQ(events, (std::vector<std::string>{"a"}));  // a layer needs no bracket

  EXPECT_FALSE(deleteNode(document, root));
  EXPECT_FALSE(deleteNode(document, i));
  EXPECT_EQ(shape(), "root(i)");
  EXPECT_EQ(duplicateAfter(document, root), nullptr);
  EXPECT_EQ(duplicateAfter(document, i), nullptr);
}

TEST_F(TreeEdits, TheSelectionPassesToTheNextSiblingThenThePreviousThenTheParent) {
  EXPECT_EQ(neighbourAfterRemoving(a), g);
  EXPECT_EQ(neighbourAfterRemoving(h), b);
  EXPECT_EQ(neighbourAfterRemoving(c), h);
  EXPECT_EQ(neighbourAfterRemoving(root), nullptr);
}

TEST_F(TreeEdits, DropsOntoTheRootOrAGroupGoFirstAndOntoALayerOrImageGoAfter) {
  EXPECT_EQ(dropPlacement(c, root), DropPlacement::FirstChildOfTarget);
  EXPECT_EQ(dropPlacement(a, h), DropPlacement::FirstChildOfTarget);
  EXPECT_EQ(dropPlacement(a, b), DropPlacement::AfterTarget);
  EXPECT_EQ(dropPlacement(h, i), DropPlacement::AfterTarget);

  EXPECT_TRUE(moveByDrop(document, a, h));
  EXPECT_EQ(shape(), "root(g(b,h(a,c)),i)");
  EXPECT_TRUE(moveByDrop(document, c, b));
  EXPECT_EQ(shape(), "root(g(b,c,h(a)),i)");
  EXPECT_TRUE(moveByDrop(document, h, root));
  EXPECT_EQ(shape(), "root(h(a),g(b,c),i)");
  EXPECT_TRUE(moveByDrop(document, b, i));
  EXPECT_EQ(shape(), "root(h(a),g(c),i,b)");
}

TEST_F(TreeEdits, RefusedDropsLeaveTheTreeAsItWas) {
  EmblemDocument other;
  other.newDocument(u"other", 32, 32);
  const std::vector<std::pair<EmblemNode*, EmblemNode*>> refused{
      {root, a},                        // the root is never dragged
      {g, g},                           // onto itself
      {g, c},                           // into its own subtree
      {g, h},                           //
      {a, nullptr},                     // onto empty space
      {nullptr, a}, {a, other.root()},  // onto another emblem
  };
  for (const auto& [dragged, target] : refused) {
    EXPECT_EQ(dropPlacement(dragged, target), DropPlacement::Refused);
    EXPECT_FALSE(moveByDrop(document, dragged, target));
    EXPECT_EQ(shape(), "root(a,g(b,h(c)),i)");
  }
  EXPECT_EQ(shapeOf(other.root()), "other()");
}

}  // namespace
}  // namespace orvane
