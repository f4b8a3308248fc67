#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "base/utf.h"
#include "editor_fixture.h"
#include "formats/xml_emblem_file.h"
#include "layer_pane_fixture.h"
#include "qt_test_registry.h"

namespace orvane::test {
namespace {

// The tree as text: names, with a container's children in brackets.
std::string shapeOf(const EmblemNode* node) {
  std::string text = utf16ToUtf8(node->name());
  if (node->kind() != NodeKind::Info && node->kind() != NodeKind::Group) return text;
  text += '(';
  for (const EmblemNode* child = node->firstChild(); child; child = child->next()) {
    text += (child == node->firstChild() ? "" : ",") + shapeOf(child);
  }
  return text + ')';
}

QStringList menuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* action : menu->actions()) texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

// A drag of `dragged` from `source` brought over `target` and released there. Returns whether
// the view would take it; `highlighted` gets the entry it highlighted meanwhile.
bool dragOnto(PaneUnderTest& source, EmblemNode* dragged, PaneUnderTest& t, EmblemNode* target,
              EmblemNode** highlighted = nullptr) {
  std::unique_ptr<QMimeData> data(source.model().mimeData({source.model().indexOf(dragged)}));
  if (!data) return false;
  QWidget* viewport = t.tree().viewport();
  const QPoint point = t.tree().visualRect(t.model().indexOf(target)).center();
  QDragEnterEvent enter(point, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &enter);
  QDragMoveEvent move(point, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &move);
  if (highlighted) *highlighted = LayerTreeModel::nodeAt(t.tree().dropTarget());
  QDropEvent drop(QPointF(point), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(viewport, &drop);
  return move.isAccepted() && drop.isAccepted();
}

void focusTree(PaneUnderTest& t) {
  t.pane.show();
  QVERIFY(QTest::qWaitForWindowExposed(&t.pane));
  t.pane.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&t.pane));
  t.tree().setFocus();
}

}  // namespace

class LayerPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void contextMenusPlaceNewNodesAndSelectThem() {
    PaneUnderTest t;
    // Nothing selected, or an image node: no menu.
    t.application.SetSelection(nullptr);
    QVERIFY(!t.pane.makeContextMenu());
    EmblemNode* image = t.add(t.root(), NodeKind::Image, u"image");
    t.application.SetSelection(image);
    QVERIFY(!t.pane.makeContextMenu());
    t.document().destroy(image);

    t.application.SetSelection(t.root());
    auto menu = t.pane.makeContextMenu();
    QCOMPARE(menuTexts(menu.get()), (QStringList{"レイヤーを追加", "グループを追加"}));
    menu->findChild<QAction*>("command40032")->trigger();
    t.application.SetSelection(t.root());
    t.pane.runCommand(40032);
    EmblemNode* second = t.root()->firstChild();
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(新規レイヤー,新規レイヤー)"));
    QCOMPARE(t.application.currentSelection(), second);  // the newest is on top and selected
    QCOMPARE(t.highlighted(), second);
    QCOMPARE(second->layer(), EmblemDocument::defaultLayerRecord());
    QCOMPARE(t.application.history().undoName(), std::string("レイヤーを追加"));

    // On a layer: a new group directly below it, in the same parent, selected.
    EmblemDocument::setName(second, u"a");
    t.pane.runCommand(40048);  // the root's command does nothing with a layer selected
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(a,新規レイヤー)"));
    menu = t.pane.makeContextMenu();
    QCOMPARE(menuTexts(menu.get()),
             (QStringList{"レイヤーを追加", "グループを追加", "複製", "-", "削除"}));
    t.pane.runCommand(40062);
    EmblemNode* group = second->next();
    QCOMPARE(group->kind(), NodeKind::Group);
    QCOMPARE(t.highlighted(), group);
    QCOMPARE(t.application.history().undoName(), std::string("グループを追加"));

    // On a group: a layer as its first child, then the group duplicated right after itself.
    t.pane.runCommand(40063);
    t.pane.runCommand(40035);
    QCOMPARE(shapeOf(t.root()),
             std::string("名称未設定(a,新規グループ(新規レイヤー,新規レイヤー),新規レイヤー)"));
    t.application.SetSelection(group);
    t.pane.runCommand(40072);
    EmblemNode* copy = group->next();
    QCOMPARE(t.highlighted(), copy);
    QVERIFY(t.tree().isExpanded(t.model().indexOf(group)));
    QCOMPARE(shapeOf(copy), shapeOf(group));
    QCOMPARE(t.application.history().undoName(), std::string("複製"));

    // Deleting the copy gives the selection to the entry below it.
    t.pane.runCommand(40060);
    QCOMPARE(t.highlighted(), t.root()->lastChild());
    QCOMPARE(t.application.history().undoName(), std::string("削除"));
    QCOMPARE(shapeOf(t.root()),
             std::string("名称未設定(a,新規グループ(新規レイヤー,新規レイヤー),新規レイヤー)"));

    // Undo brings the group back, selected as it was before the step.
    QVERIFY(t.application.undo());
    QCOMPARE(t.root()->childCount(), std::size_t{4});
    QCOMPARE(t.highlighted(), t.root()->childAt(2));
    QVERIFY(differenceFromDocument(t.model(), t.document()).isEmpty());
  }

  void dragAndDropMovesByTheTargetRules() {
    PaneUnderTest t;
    EmblemNode* a = t.add(t.root(), NodeKind::Layer, u"a");
    EmblemNode* g = t.add(t.root(), NodeKind::Group, u"g");
    EmblemNode* b = t.add(g, NodeKind::Layer, u"b");
    EmblemNode* h = t.add(g, NodeKind::Group, u"h");
    EmblemNode* c = t.add(h, NodeKind::Layer, u"c");
    t.pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.pane));
    t.tree().expandAll();
    QAbstractItemModelTester tester(&t.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    // The root cannot be dragged; a group cannot go onto itself or into its own subtree.
    QVERIFY(!(t.model().flags(t.model().indexOf(t.root())) & Qt::ItemIsDragEnabled));
    QVERIFY(!t.model().mimeData({t.model().indexOf(t.root())}));
    EmblemNode* shown = a;
    for (EmblemNode* target : {g, h, c}) {
      QVERIFY(!dragOnto(t, g, t, target, &shown));
      QCOMPARE(shown, nullptr);  // no highlight where it would be refused
    }
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(a,g(b,h(c)))"));
    QCOMPARE(t.application.history().stepCount(), std::size_t{0});

    // Onto a group: its first child; onto a layer: right after it, in that layer's group.
    QVERIFY(dragOnto(t, a, t, h, &shown));
    QCOMPARE(shown, h);
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(g(b,h(a,c)))"));
    QCOMPARE(t.highlighted(), a);
    QCOMPARE(t.application.history().undoName(), std::string("移動"));
    QVERIFY(dragOnto(t, c, t, b));
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(g(b,c,h(a)))"));
    // A moved group keeps its open entries open. (Pressing on an entry to drag it selects it.)
    t.application.SetSelection(h);
    QVERIFY(dragOnto(t, h, t, t.root()));
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(h(a),g(b,c))"));
    QVERIFY(t.tree().isExpanded(t.model().indexOf(h)));
    QVERIFY(!t.tree().dropTarget().isValid());

    // A drag from another editor's tree is not taken here.
    PaneUnderTest other;
    EmblemNode* stranger = other.add(other.root(), NodeKind::Layer, u"x");
    QVERIFY(!dragOnto(other, stranger, t, g));
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(h(a),g(b,c))"));

    // Undoing the move selects the group at its old place again.
    QVERIFY(t.application.undo());
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(g(b,c,h(a)))"));
    QCOMPARE(t.highlighted(), t.root()->firstChild()->lastChild());
  }

  void selectionIsReportedAndFollowedWithoutEchoes() {
    PaneUnderTest t;
    EmblemNode* a = t.add(t.root(), NodeKind::Layer, u"a");
    EmblemNode* b = t.add(t.root(), NodeKind::Layer, u"b");
    int fired = 0;
    t.application.registerSelectionChanged([&](EmblemNode*, std::uint32_t) { ++fired; });

    t.tree().setCurrentIndex(t.model().indexOf(b));  // the user picks an entry
    QCOMPARE(t.application.currentSelection(), b);
    QCOMPARE(fired, 1);
    t.application.SetSelection(a);  // chosen elsewhere: highlighted, not reported back
    QCOMPARE(t.highlighted(), a);
    QCOMPARE(fired, 2);
    t.application.SetSelection(t.root());  // a command's root: nothing highlighted
    QCOMPARE(t.highlighted(), nullptr);
    QCOMPARE(fired, 3);

    // A right click neither selects nor reports.
    t.application.SetSelection(a);
    t.pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.pane));
    const QPoint onB = t.tree().visualRect(t.model().indexOf(b)).center();
    QTest::mousePress(t.tree().viewport(), Qt::RightButton, {}, onB);
    QTest::mouseRelease(t.tree().viewport(), Qt::RightButton, {}, onB);
    QCOMPARE(t.application.currentSelection(), a);
    QCOMPARE(fired, 4);
    QTest::mouseClick(t.tree().viewport(), Qt::LeftButton, {}, onB);
    QCOMPARE(t.application.currentSelection(), b);

    // Removing the selected node takes the highlight with it, without a word from the tree.
    fired = 0;
    t.document().destroy(b);
    QCOMPARE(t.application.currentSelection(), nullptr);
    QCOMPARE(t.highlighted(), nullptr);
    QCOMPARE(fired, 1);  // the application's own rule, once
  }

  void newAndOpenHighlightNothingAndEscapeOnlyEndsRenaming() {
    QTemporaryDir folder;
    EditorUnderTest editor(folder.path());
    MainWindow& window = editor.start();
    LayerPane& pane = *window.layerPane();
    auto highlighted = [&] { return pane.tree()->selectionModel()->selectedIndexes(); };
    QVERIFY(highlighted().isEmpty());
    QCOMPARE(editor.application().currentSelection(), editor.application().document().root());

    const QString crest = copyExample(folder.path(), "crest.ovml", "crest.ovml");
    QVERIFY(window.files().openEmblemFile(crest));
    QVERIFY(highlighted().isEmpty());
    QVERIFY(differenceFromDocument(*pane.model(), editor.application().document()).isEmpty());

    // Esc while renaming ends the renaming, not the program.
    EmblemNode* first = editor.application().document().root()->firstChild();
    editor.application().SetSelection(first);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    pane.renameSelection();
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(field);
    QTest::keyClicks(field, "x");
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(first->name(), u"文字");
  }

  void keysRenameDuplicateDeleteAndShowOrHide() {
    PaneUnderTest t;
    EmblemNode* a = t.add(t.root(), NodeKind::Layer, u"a");
    EmblemNode* g = t.add(t.root(), NodeKind::Group, u"g");
    focusTree(t);

    t.application.SetSelection(a);
    QTest::keyClick(&t.tree(), Qt::Key_F2);
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(field);
    QCOMPARE(field->maxLength(), 255);
    field->setText(QStringLiteral("星"));
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_COMPARE(a->name(), u"星");  // the field hands its text over once the key is through
    QCOMPARE(t.model().indexOf(a).data().toString(), QStringLiteral("星"));
    QCOMPARE(t.application.history().undoName(), std::string("名前の変更"));

    t.tree().setFocus();
    t.application.SetSelection(g);
    QTest::keyClick(&t.tree(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(星,g(),g())"));
    QCOMPARE(t.highlighted(), g->next());
    QTest::keyClick(&t.tree(), Qt::Key_Delete);
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(星,g())"));
    QCOMPARE(t.highlighted(), g);

    // The root is neither duplicated nor deleted.
    t.application.SetSelection(t.root());
    QTest::keyClick(&t.tree(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(&t.tree(), Qt::Key_Delete);
    QCOMPARE(shapeOf(t.root()), std::string("名称未設定(星,g())"));

    // The check box hides and shows; undo puts the box back through the document.
    QVERIFY(t.model().setData(t.model().indexOf(a), Qt::Unchecked, Qt::CheckStateRole));
    QVERIFY(!a->visible());
    QCOMPARE(t.application.history().undoName(), std::string("表示の切り替え"));
    QCOMPARE(t.model().indexOf(a).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(t.application.undo());
    QCOMPARE(t.model().indexOf(a).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
  }

  void clipboardCarriesSubtreesBetweenEditors() {
    PaneUnderTest source;
    EmblemNode* g = source.add(source.root(), NodeKind::Group, u"g");
    source.add(g, NodeKind::Layer, u"b");
    EmblemNode* hidden = source.add(g, NodeKind::Layer, u"hidden");
    EmblemDocument::setVisible(hidden, false);
    source.application.recordEdit("準備");
    source.application.SetSelection(g);
    focusTree(source);
    QTest::keyClick(&source.tree(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat("application/x-orvane-emblem-nodes"));
    QVERIFY(data->text().contains("<g name=\"g\""));

    PaneUnderTest target;
    EmblemNode* x = target.add(target.root(), NodeKind::Layer, u"x");
    target.add(target.root(), NodeKind::Layer, u"y");
    target.application.SetSelection(x);
    target.pane.pasteAtSelection();  // where a new node would go: right after the layer
    QCOMPARE(shapeOf(target.root()), std::string("名称未設定(x,g(b,hidden),y)"));
    QVERIFY(!x->next()->lastChild()->visible());
    QCOMPARE(target.highlighted(), x->next());
    QCOMPARE(target.application.history().undoName(), std::string("貼り付け"));

    // Cut takes the node away; its text also pastes from plain text alone.
    source.application.SetSelection(g);
    source.pane.cutSelection();
    QCOMPARE(shapeOf(source.root()), std::string("名称未設定()"));
    QCOMPARE(source.application.history().undoName(), std::string("切り取り"));
    const QString text = QGuiApplication::clipboard()->mimeData()->text();
    QGuiApplication::clipboard()->setText(text);
    target.application.SetSelection(target.root());
    target.pane.pasteAtSelection();
    QCOMPARE(shapeOf(target.root()), std::string("名称未設定(g(b,hidden),x,g(b,hidden),y)"));

    // Text that is no emblem pastes nothing.
    QGuiApplication::clipboard()->setText("hello");
    target.pane.pasteAtSelection();
    QCOMPARE(target.root()->childCount(), std::size_t{4});
  }
};

static RegisterQtTest<LayerPaneTest> registration;

}  // namespace orvane::test

#include "layer_pane_test.moc"
