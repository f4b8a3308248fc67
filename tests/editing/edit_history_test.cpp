#include "editing/edit_history.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "editing/layer_transforms.h"

namespace orvane {
namespace {

// Every field of every node, in tree order: two documents with the same dump are the same.
std::string dump(const EmblemDocument& document) {
  std::ostringstream out;
  if (!document.root()) return "empty";
  forEachInSubtree(document.root(), [&](const EmblemNode* n) {
    out << int(n->kind()) << ' ' << n->visible() << ' ' << n->childCount() << ' '
        << std::string(n->name().begin(), n->name().end()) << ' ' << n->info().authorId << ' '
        << n->info().width << ' ' << n->info().height << ' ' << n->info().sound;
    const LayerRecord& r = n->layer();
    out << ' ' << r.ltx << ' ' << r.lty << ' ' << r.lbx << ' ' << r.lby << ' ' << r.rtx << ' '
        << r.rty << ' ' << r.rbx << ' ' << r.rby << ' ' << r.color << ' ' << r.partId << ' '
        << r.moveX << ' ' << r.scaleX << ' ' << r.rotation << '\n';
  });
  return out.str();
}

std::vector<EmblemNode*> allNodes(EmblemDocument& document) {
  std::vector<EmblemNode*> nodes;
  forEachInSubtree(document.root(), [&](EmblemNode* n) { nodes.push_back(n); });
  return nodes;
}

// One random edit of any kind the editor makes; false when it happened to change nothing.
void randomEdit(EmblemDocument& document, std::mt19937& random) {
  std::vector<EmblemNode*> nodes = allNodes(document);
  EmblemNode* node = nodes[random() % nodes.size()];
  EmblemNode* other = nodes[random() % nodes.size()];
  switch (random() % 10) {
    case 0:
      if (node->kind() == NodeKind::Layer)
        document.insertAfter(node, document.makeNewLayer());
      else
        document.prependChild(node,
                              random() % 2 ? document.makeNewLayer() : document.makeNewGroup());
      break;
    case 1:
      if (node != document.root()) document.destroy(node);
      break;
    case 2:
      if (node->kind() != NodeKind::Layer)
        document.prependChild(node, other);
      else
        document.insertAfter(node, other);
      break;
    case 3:
      EmblemDocument::setName(node, random() % 2 ? u"名前" : u"x");
      break;
    case 4:
      EmblemDocument::setVisible(node, !node->visible());
      break;
    case 5:
      setPendingMove(node, int(random() % 9) - 4, int(random() % 9) - 4, 0, 0);
      applyPending(node);
      break;
    case 6:
      setPendingRotation(node, float(random() % 7) / 3.0f, 0, 0);
      applyPending(node);
      break;
    case 7:
      if (node->kind() == NodeKind::Layer) {
        LayerRecord record = node->layer();
        record.color = random();
        record.partId = int(random() % 1024);
        EmblemDocument::setLayerRecord(node, record);
      }
      break;
    case 8:
      if (node != document.root() && node->kind() != NodeKind::Layer) {
        NodePtr copy = EmblemDocument::duplicate(node);
        document.insertAfter(node, std::move(copy));
      }
      break;
    case 9: {
      EmblemInfo info = document.root()->info();
      info.sound = int(random() % 32);
      EmblemDocument::setInfo(document.root(), info);
      break;
    }
  }
}

TEST(EditHistory, UndoAndRedoRetraceEveryRandomSequenceExactly) {
  for (unsigned seed = 1; seed <= 50; ++seed) {
    std::mt19937 random(seed);
    EmblemDocument document;
    document.newDocument(u"e", 192, 96);
    EditHistory history(document);
    std::vector<std::string> points{dump(document)};
    for (int i = 0; i < 200; ++i) {
      randomEdit(document, random);
      if (history.record("edit")) points.push_back(dump(document));
      ASSERT_EQ(points.back(), dump(document));
    }
    ASSERT_EQ(history.stepCount() + 1, points.size());
    // Undo everything, checking each point on the way, then redo everything.
    for (std::size_t i = points.size() - 1; i > 0; --i) {
      ASSERT_TRUE(history.undo().done);
      ASSERT_EQ(dump(document), points[i - 1]) << "seed " << seed << " point " << i - 1;
    }
    EXPECT_FALSE(history.undo().done);
    for (std::size_t i = 1; i < points.size(); ++i) {
      ASSERT_TRUE(history.redo().done);
      ASSERT_EQ(dump(document), points[i]) << "seed " << seed << " point " << i;
    }
    EXPECT_FALSE(history.redo().done);
    // Wander back and forth at random.
    std::size_t at = points.size() - 1;
    for (int i = 0; i < 100; ++i) {
      if (random() % 2 && history.canUndo()) {
        history.undo();
        --at;
      } else if (history.canRedo()) {
        history.redo();
        ++at;
      }
      ASSERT_EQ(dump(document), points[at]);
    }
  }
}

class HistorySteps : public testing::Test {
 protected:
  void SetUp() override {
    document_.newDocument(u"e", 192, 96);
    layer_ = document_.makeNewLayer().release();
    document_.appendChild(document_.root(), NodePtr(layer_));
    history_ = std::make_unique<EditHistory>(document_);
  }
  EmblemDocument document_;
  EmblemNode* layer_ = nullptr;
  std::unique_ptr<EditHistory> history_;
};

TEST_F(HistorySteps, ADragIsOneStepAndAClickWithoutAMoveIsNone) {
  for (int x = 1; x <= 30; ++x) setPendingMove(layer_, x, 0, 0, 0);  // the pointer moves
  applyPending(layer_);
  EXPECT_TRUE(history_->record("移動"));
  EXPECT_FALSE(history_->record("移動"));  // a click without a move
  EXPECT_EQ(history_->stepCount(), 1u);
  EXPECT_EQ(history_->undoName(), "移動");
  history_->undo();
  EXPECT_EQ(layer_->layer().ltx, -16);
  // Dragging back to where it began changes nothing either.
  history_->redo();
  setPendingMove(layer_, -30, 0, 0, 0);
  applyPending(layer_);
  setPendingMove(layer_, 30, 0, 0, 0);
  applyPending(layer_);
  EXPECT_FALSE(history_->record("移動"));
}

TEST_F(HistorySteps, TypingInOneFieldMergesUntilTheFocusLeavesOrTheSaveMark) {
  for (char16_t c : std::u16string(u"abc")) {
    EmblemDocument::setName(layer_, layer_->name() + c);
    history_->record("名前の変更", "field:name:0");
  }
  EXPECT_EQ(history_->stepCount(), 1u);
  history_->closeMerging();  // the focus left the field
  EmblemDocument::setName(layer_, u"x");
  history_->record("名前の変更", "field:name:0");
  EXPECT_EQ(history_->stepCount(), 2u);
  // Another field breaks the run, and so does a save.
  EmblemDocument::setName(layer_, u"xy");
  history_->record("名前の変更", "field:name:0");
  EXPECT_EQ(history_->stepCount(), 2u);
  history_->markSaved();
  EXPECT_FALSE(history_->isModified());
  EmblemDocument::setName(layer_, u"xyz");
  history_->record("名前の変更", "field:name:0");
  EXPECT_EQ(history_->stepCount(), 3u);
  EXPECT_TRUE(history_->isModified());
  history_->undo();
  EXPECT_FALSE(history_->isModified()) << "back at the saved point";
  EXPECT_EQ(layer_->name(), u"xy");
}

TEST_F(HistorySteps, UnrecordedChangesBecomeAStepBeforeUndo) {
  EmblemDocument::setName(layer_, u"typed");
  EXPECT_TRUE(history_->undo().done);  // takes back the unrecorded change
  EXPECT_EQ(layer_->name(), u"新規レイヤー");
  EXPECT_TRUE(history_->redo().done);
  EXPECT_EQ(layer_->name(), u"typed");
}

TEST_F(HistorySteps, UndoSelectsWhatWasSelectedAndKeepsNodesInPlaceWhenTheShapeIsTheSame) {
  history_->noteSelection(NodePath{0});
  EmblemDocument::setName(layer_, u"renamed");
  history_->record("名前の変更");
  history_->noteSelection(std::nullopt);
  const auto back = history_->undo();
  ASSERT_TRUE(back.done);
  EXPECT_EQ(back.selection, SelectionPath(NodePath{0}));
  EXPECT_EQ(document_.root()->firstChild(), layer_) << "the same node, changed in place";
  // A structural step puts back a copy, and the selection still names the right place.
  document_.destroy(layer_);
  history_->record("削除");
  const auto restored = history_->undo();
  ASSERT_TRUE(restored.selection);
  EXPECT_EQ(nodeAt(document_.root(), *restored.selection)->kind(), NodeKind::Layer);
}

TEST(EditHistoryMemory, OldStepsGoWhenTheBudgetIsSpent) {
  EmblemDocument document;
  document.newDocument(u"e", 192, 96);
  for (int i = 0; i < 50; ++i) document.appendChild(document.root(), document.makeNewLayer());
  EditHistory history(document, 64 * 1024);
  for (int i = 0; i < 100; ++i) {
    EmblemDocument::setName(document.root(), std::u16string(1, char16_t(u'a' + i % 26)));
    history.record("名前の変更");
  }
  EXPECT_LE(history.memoryUsed(), 64u * 1024);
  EXPECT_GT(history.stepCount(), 0u);
  EXPECT_LT(history.stepCount(), 100u);
  EXPECT_TRUE(history.isModified()) << "the saved point was trimmed away";
  while (history.canUndo()) history.undo();
  EXPECT_TRUE(history.isModified());
}

}  // namespace
}  // namespace orvane
