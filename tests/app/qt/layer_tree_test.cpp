#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <random>

#include "formats/emblem_file.h"
#include "layer_pane_fixture.h"
#include "qt_test_registry.h"

namespace orvane::test {

// The tree follows whatever happens to the document, one notification at a time.
class LayerTreeTest : public QObject {
  Q_OBJECT

 private slots:
  void followsRandomEditsUndoAndFileLoads() {
    QTemporaryDir folder;
    const std::string saved = (folder.path() + "/saved.ovml").toStdString();
    const std::string crest = ORVANE_SOURCE_DIR "/examples/crest.ovml";
    PaneUnderTest t;
    QAbstractItemModelTester tester(&t.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    t.pane.show();  // the view lays out and paints as it goes
    QVERIFY(QTest::qWaitForWindowExposed(&t.pane));

    std::mt19937 random(20240611);
    auto pick = [&](int count) {
      return static_cast<int>(random() % static_cast<unsigned>(count));
    };
    auto anyNode = [&]() -> EmblemNode* {
      std::vector<EmblemNode*> nodes;
      if (t.root()) forEachInSubtree(t.root(), [&](EmblemNode* n) { nodes.push_back(n); });
      return nodes.empty() ? nullptr : nodes[pick(static_cast<int>(nodes.size()))];
    };
    auto nodeCount = [&] {
      std::size_t count = 0;
      if (t.root()) forEachInSubtree(t.root(), [&](EmblemNode*) { ++count; });
      return count;
    };
    auto selectInTree = [&](EmblemNode* node) {
      t.tree().setCurrentIndex(t.model().indexOf(node));
    };
    const int menuCommands[] = {40032, 40048, 40063, 40064, 40072,
                                40060, 40035, 40062, 40036, 40037};

    for (int step = 0; step < 2000; ++step) {
      // Adds outweigh removals until the tree is big enough, then stop.
      int operation = pick(nodeCount() > 60 ? 12 : 22);
      if (operation >= 16) operation = 12;
      if (operation == 14 && pick(3) != 0) operation = 15;  // files and clears now and then
      EmblemNode* node = anyNode();
      EmblemNode* other = anyNode();
      bool recordHere = true;
      switch (operation) {
        case 0:  // the tree's own commands, on a node the user picked in the tree
        case 1:
          selectInTree(node);
          t.pane.runCommand(menuCommands[pick(10)]);
          recordHere = false;
          break;
        case 2:
          t.application.SetSelection(node);
          t.pane.deleteSelection();
          break;
        case 3:
          if (node && node->parent()) t.document().destroy(node);  // no bracket, as a tool may
          break;
        case 4:  // moves by the document's own attach calls, refused ones included
          if (node && other) {
            const int how = pick(3);
            if (how == 0) t.document().insertAfter(other, node);
            if (how == 1) t.document().prependChild(other, node);
            if (how == 2) t.document().appendChild(other, node);
          }
          break;
        case 5:
          if (node && other) emit t.tree().nodeDropped(node, other);
          recordHere = false;
          break;
        case 6:
          if (node) {
            EmblemDocument::setName(node,
                                    std::u16string(static_cast<std::size_t>(pick(300)), u'名'));
          }
          break;
        case 7:
          if (node) EmblemDocument::setVisible(node, !node->visible());
          break;
        case 8:
          t.application.undo();
          break;
        case 9:
          t.application.redo();
          break;
        case 10:
          t.application.SetSelection(node);
          t.pane.copySelection();
          t.application.SetSelection(other);
          t.pane.pasteAtSelection();
          recordHere = false;
          break;
        case 11:
          selectInTree(node);
          t.pane.duplicateSelection();
          recordHere = false;
          break;
        case 12:
        case 13:
          t.application.SetSelection(node && node->kind() != NodeKind::Layer ? node : t.root());
          t.pane.runCommand(node && node->parent() ? 40063 : 40032);
          recordHere = false;
          break;
        case 14:
          switch (pick(6)) {
            case 0:
              t.document().clear();
              break;
            case 1:
              t.document().newDocument(u"", 32, 32);
              break;
            case 2:
              QVERIFY(loadEmblemFile(t.document(), crest));
              break;
            case 3:
              if (t.root()) QVERIFY(writeEmblemFile(t.document(), saved));
              break;
            default:
              loadEmblemFile(t.document(), saved);
              break;
          }
          t.application.SetSelection(t.root());
          break;
        default:
          t.application.SetSelection(node);
          break;
      }
      if (recordHere) t.application.recordEdit("テスト");

      const QString difference = differenceFromDocument(t.model(), t.document());
      if (!difference.isEmpty()) {
        QFAIL(qPrintable(
            QStringLiteral("step %1 (operation %2): %3").arg(step).arg(operation).arg(difference)));
      }
      // The highlight is the selection, except for the root, which a command selects unseen
      // (and which stays highlighted when the user picked it in the tree).
      EmblemNode* selection = t.application.currentSelection();
      EmblemNode* expected = selection && selection->parent() ? selection : nullptr;
      if (t.highlighted() != expected && !(selection == t.root() && t.highlighted() == t.root())) {
        QFAIL(qPrintable(QStringLiteral("step %1: the highlight is not the selection").arg(step)));
      }
      if (QTest::currentTestFailed()) return;                 // the model tester complained
      if (step % 50 == 0) QCoreApplication::processEvents();  // let the view paint now and then
    }
  }

  void deepAndLongTreesStayQuick() {
    PaneUnderTest t;
    t.pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.pane));
    EmblemDocument built;
    built.newDocument(u"深い", 192, 96);
    EmblemNode* parent = built.root();
    for (int depth = 0; depth < 100; ++depth) {
      NodePtr group = built.makeNewGroup();
      EmblemNode* raw = group.get();
      built.appendChild(parent, std::move(group));
      parent = raw;
    }
    for (int i = 0; i < 10000; ++i) built.appendChild(built.root(), built.makeNewLayer());

    QElapsedTimer clock;
    clock.start();
    QVERIFY(t.document().takeContentFrom(built));
    EmblemNode* deepest = t.root()->firstChild();
    while (deepest->firstChild()) deepest = deepest->firstChild();
    t.application.SetSelection(deepest);  // opens the 100 groups above it
    QCOMPARE(t.highlighted(), deepest);
    t.tree().scrollToBottom();
    QCoreApplication::processEvents();
    t.application.SetSelection(t.root()->lastChild());
    t.pane.deleteSelection();
    QCOMPARE(t.highlighted(), t.root()->lastChild());
    QCoreApplication::processEvents();
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(differenceFromDocument(t.model(), t.document()).isEmpty());
  }
};

static RegisterQtTest<LayerTreeTest> registration;

}  // namespace orvane::test

#include "layer_tree_test.moc"
