#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "document/emblem_document.h"
#include "event_log.h"

namespace orvane {
namespace {

// The rows the links give, the slow and obvious way.
std::vector<EmblemNode*> childrenByLinks(const EmblemNode* parent) {
  std::vector<EmblemNode*> children;
  for (EmblemNode* n = parent->firstChild(); n; n = n->next()) children.push_back(n);
  return children;
}

void expectRowsMatchLinks(const EmblemNode* root) {
  forEachInSubtree(root, [](const EmblemNode* parent) {
    const std::vector<EmblemNode*> children = childrenByLinks(parent);
    ASSERT_EQ(parent->childCount(), children.size());
    for (std::size_t row = 0; row < children.size(); ++row) {
      ASSERT_EQ(parent->childAt(row), children[row]) << "row " << row;
      ASSERT_EQ(children[row]->indexInParent(), row);
    }
    EXPECT_EQ(parent->childAt(children.size()), nullptr);
  });
}

// Random edits of every kind, with the rows checked against the links after each one.
TEST(TreeRows, RowQueriesAgreeWithTheLinksThroughRandomEdits) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    EmblemDocument doc;
    doc.newDocument(u"e", 192, 96);
    std::vector<EmblemNode*> nodes{doc.root()};
    auto pick = [&] { return nodes[random() % nodes.size()]; };
    for (int step = 0; step < 400; ++step) {
      EmblemNode* anchor = pick();
      switch (random() % 10) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
          NodePtr node = random() % 2 ? doc.makeNewLayer() : doc.makeNewGroup();
          EmblemNode* raw = node.get();
          const bool ok = anchor->kind() == NodeKind::Layer || random() % 3 == 0
                              ? doc.insertAfter(anchor, std::move(node))
                          : random() % 2 ? doc.prependChild(anchor, std::move(node))
                                         : doc.appendChild(anchor, std::move(node));
          if (ok) nodes.push_back(raw);
          break;
        }
        case 6:  // moves inside the tree (refused ones change nothing)
          doc.appendChild(anchor, pick());
          break;
        case 7:
          doc.prependChild(anchor, pick());
          break;
        case 8:
          doc.insertAfter(anchor, pick());
          break;
        case 9:
          if (anchor != doc.root()) {
            doc.destroy(anchor);
            nodes.clear();
            forEachInSubtree(doc.root(), [&](EmblemNode* n) { nodes.push_back(n); });
          }
          break;
      }
      // Query some rows between edits, as a view does, so the cache is both used and refreshed.
      if (step % 7 == 0) pick()->indexInParent();
      expectRowsMatchLinks(doc.root());
      if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(nodes.size(), 20u) << "the edits should have grown a real tree";
  }
}

TEST(TreeRows, TenThousandChildrenKeepTheirRowsAtBothEnds) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EmblemNode* group = doc.makeNewGroup().release();
  doc.appendChild(doc.root(), NodePtr(group));
  std::vector<EmblemNode*> children;
  for (int i = 0; i < 10000; ++i) {
    NodePtr layer = doc.makeNewLayer();
    children.push_back(layer.get());
    if (i % 2)
      doc.appendChild(group, std::move(layer));
    else
      doc.prependChild(group, std::move(layer));
  }
  expectRowsMatchLinks(doc.root());
  // Taking children off the front one by one, as destroying the group does, keeps every row.
  for (int i = 0; i < 5000; ++i) doc.destroy(group->firstChild());
  expectRowsMatchLinks(doc.root());
  EXPECT_EQ(group->childCount(), 5000u);
}

TEST(TreeRows, NodeRemovedTellsTheFormerParentAndRow) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  std::vector<EmblemNode*> layers;
  for (int i = 0; i < 4; ++i) {
    layers.push_back(doc.makeNewLayer().release());
    doc.appendChild(doc.root(), NodePtr(layers.back()));
  }
  EmblemNode* group = doc.makeNewGroup().release();
  doc.appendChild(doc.root(), NodePtr(group));
  EmblemNode* only = doc.makeNewLayer().release();
  doc.appendChild(group, NodePtr(only));

  std::vector<std::pair<EmblemNode*, std::size_t>> heard;
  doc.registerCallback(DocumentEvent::NodeRemoved, [&](const DocumentEventArgs& args, auto) {
    EXPECT_EQ(args.node->parent(), nullptr);  // already unlinked
    heard.emplace_back(args.formerParent, args.formerRow);
  });
  doc.destroy(layers[2]);  // middle
  doc.destroy(layers[0]);  // first
  doc.destroy(group);      // last, holding an only child
  doc.detach(layers[3]).reset();
  using Heard = std::vector<std::pair<EmblemNode*, std::size_t>>;
  EXPECT_EQ(
      heard,
      (Heard{{doc.root(), 2}, {doc.root(), 0}, {group, 0}, {doc.root(), 2}, {doc.root(), 1}}));
  // A move reports the place it left before the place it takes.
  heard.clear();
  NodePtr fresh = doc.makeNewLayer();
  EmblemNode* second = fresh.get();
  doc.appendChild(doc.root(), std::move(fresh));
  doc.prependChild(doc.root(), second);
  EXPECT_EQ(heard, (Heard{{doc.root(), 1}}));
  EXPECT_EQ(second->indexInParent(), 0u);
}

TEST(SeparateLoading, TakingContentOverFiresClearedThenOneNodeAdded) {
  EmblemDocument app;
  app.newDocument(u"mine", 192, 96);
  app.appendChild(app.root(), app.makeNewLayer());
  EmblemDocument loaded;
  loaded.newDocument(u"theirs", 32, 32);
  EmblemNode* group = loaded.makeNewGroup().release();
  loaded.appendChild(loaded.root(), NodePtr(group));
  loaded.appendChild(group, loaded.makeNewLayer());

  testing::EventLog log(app);
  testing::EventLog loadedLog(loaded);
  ASSERT_TRUE(app.takeContentFrom(loaded));
  EXPECT_EQ(log.entries, (std::vector<std::string>{"UpdateBegins=0", "Cleared=0",
                                                   "NodeAdded:theirs", "UpdateEnds=1"}));
  EXPECT_TRUE(loadedLog.entries.empty());
  EXPECT_EQ(loaded.root(), nullptr);
  // Every node now belongs to the application's document, so its setters are heard there.
  forEachInSubtree(app.root(), [&](const EmblemNode* n) { EXPECT_EQ(n->owner(), &app); });
  log.entries.clear();
  EmblemDocument::setName(group->firstChild(), u"deep");
  EXPECT_EQ(log.entries, (std::vector<std::string>{"NameChanged:deep"}));
}

TEST(SeparateLoading, NothingToTakeLeavesTheDocumentAndItsObserversAlone) {
  EmblemDocument app;
  app.newDocument(u"mine", 192, 96);
  app.appendChild(app.root(), app.makeNewLayer());
  EmblemDocument failed;  // a reader that failed leaves its document empty
  testing::EventLog log(app);
  EXPECT_FALSE(app.takeContentFrom(failed));
  EXPECT_FALSE(app.takeContentFrom(app));
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(app.root()->name(), u"mine");
  EXPECT_EQ(app.root()->childCount(), 1u);
}

TEST(Visibility, EachKindFiresItsOwnChangeNotification) {
  EmblemDocument doc;
  doc.newDocument(u"root", 192, 96);
  NodePtr group = doc.makeNewGroup();
  EmblemNode* g = group.get();
  doc.appendChild(doc.root(), std::move(group));
  NodePtr layer = doc.makeNewLayer();
  EmblemNode* l = layer.get();
  doc.appendChild(g, std::move(layer));
  testing::EventLog log(doc);
  EXPECT_TRUE(EmblemDocument::setVisible(l, false));
  EXPECT_TRUE(EmblemDocument::setVisible(g, false));
  EXPECT_TRUE(EmblemDocument::setVisible(doc.root(), true));
  EXPECT_FALSE(EmblemDocument::setVisible(nullptr, true));
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"LayerChanged:新規レイヤー", "GroupChanged:新規グループ",
                                      "InfoChanged:root"}));
  EXPECT_FALSE(l->visible());
  EXPECT_FALSE(g->visible());
}

// A helper that leaves early from inside a muted block, by return or by exception.
bool renameMuted(EmblemDocument& doc, bool leaveEarly) {
  MutedEvents quiet(
      &doc, {DocumentEvent::NameChanged, DocumentEvent::LayerChanged, DocumentEvent::NameChanged});
  if (leaveEarly) return false;
  EmblemDocument::setName(doc.root(), u"quiet");
  if (doc.root()->name() == u"quiet") throw 1;
  return true;
}

TEST(MutedEvents, EveryChannelComesBackOnEveryWayOut) {
  EmblemDocument doc;
  doc.newDocument(u"e", 192, 96);
  EXPECT_FALSE(renameMuted(doc, true));
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::NameChanged));
  EXPECT_THROW(renameMuted(doc, false), int);
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::NameChanged));
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::LayerChanged));
  {
    // Nested guards: the inner one must not switch back on what the outer one holds off.
    MutedEvents outer(&doc, {DocumentEvent::LayerChanged});
    { MutedEvents inner(&doc, {DocumentEvent::LayerChanged, DocumentEvent::GroupChanged}); }
    EXPECT_FALSE(doc.isEnabled(DocumentEvent::LayerChanged));
    EXPECT_TRUE(doc.isEnabled(DocumentEvent::GroupChanged));
  }
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::LayerChanged));
  MutedEvents none(nullptr, {DocumentEvent::Cleared});  // a node without owner mutes nothing
}

}  // namespace
}  // namespace orvane
