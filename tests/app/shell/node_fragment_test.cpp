#include "app/shell/node_fragment.h"

#include <gtest/gtest.h>

#include "app/shell/tree_edits.h"
#include "base/utf.h"
#include "editing/edit_history.h"
#include "editing/layer_transforms.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

class NodeFragment : public ::testing::Test {
 protected:
  void SetUp() override {
    source.newDocument(u"紋章", 32, 32);
    EmblemDocument::setInfo(source.root(), EmblemInfo{77, 32, 32, 5});
    group =
        attach(source.root(), EmblemDocument::makeNode(&source, NodeKind::Group, u"<輪> & \"縁\""));
    LayerRecord record = EmblemDocument::defaultLayerRecord();
    record.color = 0x9F123456;
    record.partId = 512;
    inner = attach(group, EmblemDocument::makeNode(&source, NodeKind::Layer, u"内側", false));
    EmblemDocument::setLayerRecord(inner, record);
    record.moveX = 5;  // a move still being dragged
    outer = attach(group, EmblemDocument::makeNode(&source, NodeKind::Layer, u"外側"));
    EmblemDocument::setLayerRecord(outer, record);
    attach(source.root(), source.makeNewLayer());
  }
  EmblemNode* attach(EmblemNode* parent, NodePtr node) {
    EmblemNode* raw = node.get();
    source.appendChild(parent, std::move(node));
    return raw;
  }

  EmblemDocument source;
  EmblemNode* group;
  EmblemNode* inner;
  EmblemNode* outer;
};

TEST_F(NodeFragment, AGroupComesBackWithNamesVisibilityAndRecords) {
  const std::string text = nodeFragmentText(*group);
  std::vector<NodePtr> nodes = nodesOfFragment(text);
  ASSERT_EQ(nodes.size(), 1u);
  const EmblemNode* copy = nodes[0].get();
  EXPECT_EQ(copy->owner(), nullptr);
  EXPECT_EQ(copy->kind(), NodeKind::Group);
  EXPECT_EQ(copy->name(), group->name());
  ASSERT_EQ(copy->childCount(), 2u);
  const EmblemNode* innerCopy = copy->firstChild();
  EXPECT_FALSE(innerCopy->visible());
  EXPECT_EQ(innerCopy->name(), u"内側");
  EXPECT_EQ(innerCopy->layer(), inner->layer());
  // A pending move arrives applied, as a saved file keeps it.
  const EmblemNode* outerCopy = copy->lastChild();
  EXPECT_EQ(effectiveVertices(outerCopy->layer()), effectiveVertices(outer->layer()));
  EXPECT_EQ(outerCopy->layer().moveX, 0);
  EXPECT_EQ(outerCopy->layer().color, outer->layer().color);
}

TEST_F(NodeFragment, TheTextIsAWholeEmblemOfTheSourcesSize) {
  EmblemDocument pasted;
  ASSERT_TRUE(readXmlEmblemFromMemory(pasted, nodeFragmentText(*inner)));
  EXPECT_EQ(pasted.root()->name(), u"紋章");
  EXPECT_EQ(pasted.root()->info(), (EmblemInfo{77, 32, 32, 5}));
  ASSERT_EQ(pasted.root()->childCount(), 1u);
  EXPECT_EQ(pasted.root()->firstChild()->name(), u"内側");
}

TEST_F(NodeFragment, TheRootStandsForEverythingBelowIt) {
  LayerRecord settled = outer->layer();
  settled.moveX = 0;
  EmblemDocument::setLayerRecord(outer, settled);
  std::vector<NodePtr> nodes = nodesOfFragment(nodeFragmentText(*source.root()));
  ASSERT_EQ(nodes.size(), 2u);
  // Pasted into an empty emblem, the copies rebuild the source's tree exactly.
  EmblemDocument target;
  target.newDocument(u"紋章", 32, 32);
  EmblemDocument::setInfo(target.root(), source.root()->info());
  const auto attached = insertAtPlace(target, *placeForNewNode(target.root()), std::move(nodes));
  ASSERT_EQ(attached.size(), 2u);
  EXPECT_EQ(attached[0]->owner(), &target);
  EXPECT_EQ(attached[1]->firstChild(), nullptr);
  EXPECT_TRUE(sameTree(target.root(), source.root()));
}

TEST_F(NodeFragment, TextThatHoldsNoLayerOrGroupGivesNothing) {
  EXPECT_TRUE(nodesOfFragment("").empty());
  EXPECT_TRUE(nodesOfFragment("just some words").empty());
  EXPECT_TRUE(nodesOfFragment("<?xml version=\"1.0\"?><svg><g/></svg>").empty());
  EXPECT_TRUE(nodesOfFragment("<ov name=\"x\"><layer name=\"cut").empty());
  EXPECT_TRUE(nodesOfFragment("<ov name=\"empty\"></ov>").empty());
  EXPECT_EQ(nodesOfFragment("<ov><layer name=\"a\"/><g name=\"b\"/></ov>").size(), 2u);
}

}  // namespace
}  // namespace orvane
