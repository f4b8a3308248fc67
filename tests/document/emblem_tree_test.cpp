#include <gtest/gtest.h>

#include "document/emblem_document.h"
#include "event_log.h"

namespace orvane {
namespace {

using Entries = std::vector<std::string>;

EmblemNode* addGroup(EmblemDocument& doc, EmblemNode* parent, std::u16string_view name) {
  NodePtr group = EmblemDocument::makeNode(&doc, NodeKind::Group, name);
  EmblemNode* raw = group.get();
  EXPECT_TRUE(doc.appendChild(parent, std::move(group)));
  return raw;
}

EmblemNode* addLayer(EmblemDocument& doc, EmblemNode* parent, std::u16string_view name) {
  NodePtr layer = EmblemDocument::makeNode(&doc, NodeKind::Layer, name);
  EmblemNode* raw = layer.get();
  EXPECT_TRUE(doc.appendChild(parent, std::move(layer)));
  return raw;
}

std::vector<std::u16string> childNames(const EmblemNode* parent) {
  std::vector<std::u16string> names;
  for (const EmblemNode* n = parent->firstChild(); n; n = n->next()) names.push_back(n->name());
  return names;
}

// Checks every link of a subtree against its neighbours.
void expectConsistent(const EmblemNode* parent) {
  const EmblemNode* previous = nullptr;
  for (const EmblemNode* n = parent->firstChild(); n; n = n->next()) {
    EXPECT_EQ(n->parent(), parent);
    EXPECT_EQ(n->prev(), previous);
    EXPECT_EQ(n->owner(), parent->owner());
    expectConsistent(n);
    previous = n;
  }
  EXPECT_EQ(parent->lastChild(), previous);
}

TEST(EmblemDocumentNew, MakesAnUntitledInfoRootAndAnnouncesIt) {
  EmblemDocument doc;
  testing::EventLog log(doc);
  ASSERT_TRUE(doc.newDocument(u"", 192, 96));
  ASSERT_NE(doc.root(), nullptr);
  EXPECT_EQ(doc.root()->kind(), NodeKind::Info);
  EXPECT_EQ(doc.root()->name(), u"名称未設定");
  EXPECT_TRUE(doc.root()->visible());
  EXPECT_EQ(doc.root()->info(), (EmblemInfo{0, 192, 96, 0}));
  EXPECT_EQ(log.entries, (Entries{"Cleared=0", "InfoChanged:名称未設定", "NodeAdded:名称未設定"}));
}

TEST(EmblemDocumentNotifications, NewestRegistrationIsCalledFirstAndCanBeRemoved) {
  std::vector<std::uint32_t> calls;  // outlives `doc`, which fires Cleared as it goes
  EmblemDocument doc;
  auto record = [&](const DocumentEventArgs&, std::uint32_t user) { calls.push_back(user); };
  const RegistrationId first = doc.registerCallback(DocumentEvent::Cleared, record, 1);
  doc.registerCallback(DocumentEvent::Cleared, record, 2);
  doc.registerCallback(DocumentEvent::Cleared, record, 3);
  doc.clear();
  EXPECT_EQ(calls, (std::vector<std::uint32_t>{3, 2, 1}));

  EXPECT_TRUE(doc.unregisterCallback(first));
  EXPECT_FALSE(doc.unregisterCallback(first));
  calls.clear();
  doc.clear();
  EXPECT_EQ(calls, (std::vector<std::uint32_t>{3, 2}));
  EXPECT_EQ(doc.registerCallback(DocumentEvent::Cleared, nullptr), 0u);
}

TEST(EmblemDocumentNotifications, CallbacksMayUnregisterThemselvesWhileFiring) {
  int calls = 0;
  RegistrationId self = 0;
  EmblemDocument doc;
  self = doc.registerCallback(DocumentEvent::Cleared, [&](const DocumentEventArgs&, std::uint32_t) {
    ++calls;
    doc.unregisterCallback(self);
    doc.registerCallback(DocumentEvent::Cleared,
                         [&](const DocumentEventArgs&, std::uint32_t) { calls += 100; });
  });
  doc.clear();
  EXPECT_EQ(calls, 1);  // the one added while firing waits for the next event
  doc.clear();
  EXPECT_EQ(calls, 101);
}

TEST(EmblemDocumentNotifications, DisabledChannelsAndOwnerlessNodesStaySilent) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  testing::EventLog log(doc);
  {
    MutedEvents quiet(&doc, {DocumentEvent::NameChanged});
    EXPECT_FALSE(doc.isEnabled(DocumentEvent::NameChanged));
    EmblemDocument::setName(doc.root(), u"renamed");
  }
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::NameChanged));
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(doc.root()->name(), u"renamed");

  NodePtr apart = EmblemDocument::makeNode(nullptr, NodeKind::Layer, u"apart");
  EXPECT_TRUE(EmblemDocument::setLayerRecord(apart.get(), EmblemDocument::defaultLayerRecord()));
  EXPECT_TRUE(log.entries.empty());
}

TEST(EmblemDocumentSetters, RefuseNodesOfTheWrongKind) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = addGroup(doc, doc.root(), u"g");
  EmblemNode* layer = addLayer(doc, doc.root(), u"l");
  testing::EventLog log(doc);
  EmblemInfo info;
  EXPECT_FALSE(EmblemDocument::getInfo(group, info));
  EXPECT_FALSE(EmblemDocument::setInfo(layer, {1, 2, 3, 4}));
  EXPECT_FALSE(EmblemDocument::setGroupData(layer));
  EXPECT_FALSE(EmblemDocument::setLayerRecord(group, {}));
  EXPECT_FALSE(EmblemDocument::setImageRecord(layer, {}));
  EXPECT_FALSE(EmblemDocument::setName(nullptr, u"x"));
  EXPECT_TRUE(log.entries.empty());
  EXPECT_TRUE(EmblemDocument::setInfo(doc.root(), {7, 32, 32, 3}));
  EXPECT_TRUE(EmblemDocument::getInfo(doc.root(), info));
  EXPECT_EQ(info, (EmblemInfo{7, 32, 32, 3}));
}

TEST(EmblemDocumentNames, AreCutTo255UnitsWithoutSplittingASurrogatePair) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  std::u16string longName(254, u'a');
  longName += u"\U0001F600";  // units 255 and 256
  EmblemDocument::setName(doc.root(), longName);
  EXPECT_EQ(doc.root()->name(), std::u16string(254, u'a'));

  NodePtr node = EmblemDocument::makeNode(nullptr, NodeKind::Group, std::u16string(300, u'b'));
  EXPECT_EQ(node->name().size(), 255u);
}

TEST(EmblemDocumentCount, CountsDescendantsOfAKind) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  addLayer(doc, doc.root(), u"l1");
  EmblemNode* group = addGroup(doc, doc.root(), u"g");
  addLayer(doc, group, u"l2");
  addLayer(doc, group, u"l3");
  addGroup(doc, group, u"empty");
  EXPECT_EQ(EmblemDocument::countKind(doc.root(), NodeKind::Layer), 3u);
  EXPECT_EQ(EmblemDocument::countKind(doc.root(), NodeKind::Group), 2u);
  EXPECT_EQ(EmblemDocument::countKind(group, NodeKind::Layer), 2u);
  EXPECT_EQ(EmblemDocument::countKind(nullptr, NodeKind::Layer), 0u);
}

TEST(EmblemDocumentAttach, LinksAtTheRightPlaceAndAnnouncesTheNodeOnly) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  testing::EventLog log(doc);
  EmblemNode* b = addLayer(doc, doc.root(), u"b");
  NodePtr a = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"a");
  EXPECT_TRUE(doc.prependChild(doc.root(), std::move(a)));
  NodePtr c = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"c");
  EXPECT_TRUE(doc.insertAfter(b, std::move(c)));
  NodePtr ab = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"ab");
  EXPECT_TRUE(doc.insertAfter(doc.root()->firstChild(), std::move(ab)));
  EXPECT_EQ(childNames(doc.root()), (std::vector<std::u16string>{u"a", u"ab", u"b", u"c"}));
  expectConsistent(doc.root());
  EXPECT_EQ(log.entries, (Entries{"NodeAdded:b", "NodeAdded:a", "NodeAdded:c", "NodeAdded:ab"}));
}

TEST(EmblemDocumentAttach, MovingANodeFiresRemovedThenAdded) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* layer = addLayer(doc, doc.root(), u"l");
  EmblemNode* group = addGroup(doc, doc.root(), u"g");
  testing::EventLog log(doc);
  EXPECT_TRUE(doc.appendChild(group, layer));
  EXPECT_EQ(log.entries, (Entries{"NodeRemoved:l", "NodeAdded:l"}));
  EXPECT_EQ(layer->parent(), group);
  expectConsistent(doc.root());
}

TEST(EmblemDocumentAttach, RefusesMovesIntoTheNodesOwnSubtree) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* outer = addGroup(doc, doc.root(), u"outer");
  EmblemNode* inner = addGroup(doc, outer, u"inner");
  EmblemNode* layer = addLayer(doc, inner, u"l");
  testing::EventLog log(doc);
  EXPECT_FALSE(doc.appendChild(outer, outer));
  EXPECT_FALSE(doc.prependChild(inner, outer));
  EXPECT_FALSE(doc.insertAfter(layer, outer));
  EXPECT_FALSE(doc.insertAfter(outer, outer));
  EXPECT_FALSE(doc.appendChild(outer, doc.root()));
  EXPECT_FALSE(doc.insertAfter(doc.root(), layer));  // nothing sits beside the root
  EXPECT_FALSE(doc.appendChild(outer, static_cast<EmblemNode*>(nullptr)));
  EXPECT_FALSE(doc.appendChild(nullptr, layer));
  NodePtr apart = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"apart");
  EXPECT_FALSE(doc.appendChild(outer, apart.get()));  // apart nodes come by NodePtr
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(childNames(doc.root()), (std::vector<std::u16string>{u"outer"}));
  EXPECT_EQ(layer->parent(), inner);
  expectConsistent(doc.root());

  // A refused apart node stays with the caller.
  NodePtr group = EmblemDocument::makeNode(nullptr, NodeKind::Group, u"apart group");
  NodePtr child = EmblemDocument::makeNode(nullptr, NodeKind::Layer, u"child");
  EmblemNode* childRaw = child.get();
  ASSERT_TRUE(doc.appendChild(group.get(), std::move(child)));
  EXPECT_FALSE(doc.appendChild(childRaw, std::move(group)));
  EXPECT_NE(group, nullptr);
}

TEST(EmblemDocumentDestroy, FiresRemovedChildrenFirstDeepestFirst) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = addGroup(doc, doc.root(), u"group");
  addLayer(doc, group, u"layer");
  EmblemNode* inner = addGroup(doc, group, u"inner group");
  addLayer(doc, inner, u"inner layer");
  addLayer(doc, doc.root(), u"survivor");
  testing::EventLog log(doc);
  doc.destroy(group);
  EXPECT_EQ(log.entries, (Entries{"NodeRemoved:layer", "NodeRemoved:inner layer",
                                  "NodeRemoved:inner group", "NodeRemoved:group"}));
  EXPECT_EQ(childNames(doc.root()), (std::vector<std::u16string>{u"survivor"}));
  expectConsistent(doc.root());
}

TEST(EmblemDocumentClear, FiresOnlyClearedWhetherFullOrEmpty) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = addGroup(doc, doc.root(), u"g");
  addLayer(doc, group, u"l");
  testing::EventLog log(doc);
  doc.clear();
  EXPECT_EQ(log.entries, (Entries{"Cleared=0"}));
  EXPECT_EQ(doc.root(), nullptr);
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::NodeRemoved));
  doc.clear();
  EXPECT_EQ(log.entries, (Entries{"Cleared=0", "Cleared=0"}));
}

TEST(EmblemDocumentDetach, HandsTheNodeOverWithoutOwnerAndKeepsItsChildren) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = addGroup(doc, doc.root(), u"g");
  EmblemNode* layer = addLayer(doc, group, u"l");
  testing::EventLog log(doc);
  NodePtr detached = doc.detach(group);
  ASSERT_EQ(detached.get(), group);
  EXPECT_EQ(log.entries, (Entries{"NodeRemoved:g"}));
  EXPECT_EQ(group->owner(), nullptr);
  EXPECT_EQ(group->parent(), nullptr);
  EXPECT_EQ(layer->parent(), group);
  EXPECT_EQ(layer->owner(), &doc);
  EXPECT_EQ(doc.root()->firstChild(), nullptr);
  EXPECT_EQ(doc.detach(doc.root()), nullptr);

  // Re-attaching gives the whole subtree the document again.
  EXPECT_TRUE(doc.appendChild(doc.root(), std::move(detached)));
  expectConsistent(doc.root());
}

TEST(EmblemDocumentDuplicate, CopiesDeeplyWithoutOwnerUntilInserted) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = addGroup(doc, doc.root(), u"group");
  EmblemNode* inner = addGroup(doc, group, u"inner");
  EmblemNode* deep = addLayer(doc, inner, u"deep");
  LayerRecord record = EmblemDocument::defaultLayerRecord();
  record.moveX = 5;
  record.rotation = 0.5f;
  EmblemDocument::setLayerRecord(deep, record);
  addLayer(doc, group, u"second");

  testing::EventLog log(doc);
  NodePtr copy = EmblemDocument::duplicate(group);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->owner(), nullptr);
  EXPECT_EQ(childNames(copy.get()), (std::vector<std::u16string>{u"inner", u"second"}));
  EmblemNode* deepCopy = copy->firstChild()->firstChild();
  ASSERT_NE(deepCopy, nullptr);
  EXPECT_EQ(deepCopy->layer(), record);
  EmblemDocument::setName(deepCopy, u"silent");
  EXPECT_TRUE(log.entries.empty());

  EXPECT_TRUE(doc.insertAfter(group, std::move(copy)));
  EXPECT_EQ(log.entries, (Entries{"NodeAdded:group"}));
  EmblemDocument::setName(deepCopy, u"loud");
  EXPECT_EQ(log.entries.back(), "NameChanged:loud");
  expectConsistent(doc.root());
  EXPECT_EQ(EmblemDocument::countKind(doc.root(), NodeKind::Layer), 4u);
}

TEST(EmblemDocumentDefaults, NewLayerAndGroupAnnounceTheirRecordBeforeBeingAdded) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  testing::EventLog log(doc);
  NodePtr layer = doc.makeNewLayer();
  EXPECT_EQ(layer->name(), u"新規レイヤー");
  EXPECT_EQ(layer->layer().partId, 240);
  EXPECT_EQ(layer->layer().color, 0xFFFCFCFCu);
  EXPECT_EQ(layer->layer().lbx, -16);
  EXPECT_EQ(layer->layer().lby, 16);
  doc.prependChild(doc.root(), std::move(layer));
  NodePtr group = doc.makeNewGroup();
  doc.prependChild(doc.root(), std::move(group));
  EXPECT_EQ(log.entries, (Entries{"LayerChanged:新規レイヤー", "NodeAdded:新規レイヤー",
                                  "GroupChanged:新規グループ", "NodeAdded:新規グループ"}));
}

TEST(EmblemDocumentDepth, DeepTreesAreBuiltCopiedAndFreedWithoutRecursion) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* parent = doc.root();
  for (int i = 0; i < 100000; ++i) {
    NodePtr group = EmblemDocument::makeNode(&doc, NodeKind::Group, u"g");
    EmblemNode* raw = group.get();
    doc.appendChild(parent, std::move(group));
    parent = raw;
  }
  EXPECT_EQ(EmblemDocument::countKind(doc.root(), NodeKind::Group), 100000u);
  NodePtr copy = EmblemDocument::duplicate(doc.root()->firstChild());
  EXPECT_EQ(EmblemDocument::countKind(copy.get(), NodeKind::Group), 99999u);
  copy.reset();
  doc.destroy(doc.root()->firstChild());
  EXPECT_EQ(doc.root()->firstChild(), nullptr);
  doc.clear();
}

}  // namespace
}  // namespace orvane
