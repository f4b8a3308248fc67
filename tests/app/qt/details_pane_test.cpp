#include "panes/details/details_pane.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "editor_fixture.h"
#include "panes/details/group_page.h"
#include "panes/details/image_page.h"
#include "panes/details/info_page.h"
#include "panes/details/layer_page.h"
#include "panes/details/property_field.h"
#include "panes/drawing/drawing_pane.h"
#include "qt_test_registry.h"

namespace orvane::test {

class DetailsPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    editor_ = std::make_unique<EditorUnderTest>(folder_->path());
    window_ = &editor_->start();
    window_->resize(1200, 500);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    pane_ = window_->detailsPane();
  }
  void cleanup() {
    editor_.reset();
    folder_.reset();
  }

  void pagesFollowTheSelectionAndItsNotifications() {
    Application& app = editor_->application();
    EmblemDocument& document = app.document();
    QCOMPARE(pane_->shownPage(), pane_->infoPage());
    QCOMPARE(pane_->infoPage()->layerCountLabel()->text(), QStringLiteral("0 / 225"));
    // A layer added while the header shows is counted at once.
    EmblemNode* layer = addLayer();
    QCOMPARE(pane_->infoPage()->layerCountLabel()->text(), QStringLiteral("1 / 225"));

    QVERIFY(document.prependChild(document.root(), document.makeNewGroup()));
    app.recordEdit("新規グループ");
    EmblemNode* group = document.root()->firstChild();
    app.SetSelection(group);
    QCOMPARE(pane_->shownPage(), pane_->groupPage());
    QCOMPARE(pane_->groupPage()->nameField()->text(), QStringLiteral("新規グループ"));
    pane_->groupPage()->nameField()->setText(QStringLiteral("盾"));
    QCOMPARE(group->name(), u"盾");
    // Undo renames the group back, and the page follows.
    QVERIFY(app.undo());
    QCOMPARE(pane_->groupPage()->nameField()->text(), QStringLiteral("新規グループ"));

    NodePtr image = EmblemDocument::makeNode(&document, NodeKind::Image, u"写真");
    QVERIFY(document.appendChild(document.root(), std::move(image)));
    app.SetSelection(document.root()->lastChild());
    QCOMPARE(pane_->shownPage(), pane_->imagePage());
    QVERIFY(pane_->imagePage()->nameField()->text().isEmpty());

    app.SetSelection(layer);
    QCOMPARE(pane_->shownPage(), pane_->layerPage());
    QCOMPARE(pane_->layerPage()->nameField()->text(), QStringLiteral("新規レイヤー"));
    app.SetSelection(nullptr);
    QCOMPARE(pane_->shownPage(), nullptr);
  }

  void sizePresetsSetAndFollowTheSize() {
    Application& app = editor_->application();
    InfoPage* page = pane_->infoPage();
    EmblemNode* root = app.document().root();
    QCOMPARE(page->sizeList()->currentText(), QStringLiteral("標準サイズ"));
    QVERIFY(!page->widthField()->isEnabled() && !page->heightField()->isEnabled());

    const std::size_t steps = app.history().stepCount();
    page->sizeList()->setCurrentIndex(1);
    QCOMPARE(root->info().width, 32);
    QCOMPARE(root->info().height, 32);
    QCOMPARE(page->widthField()->text(), QStringLiteral("32"));
    QVERIFY(!page->widthField()->isEnabled() && !page->heightField()->isEnabled());
    QCOMPARE(app.history().stepCount(), steps + 1);

    // Direct entry opens the fields. Typing 320 passes through 32 x 32, the small preset's
    // size, without closing the field under the keys; the list follows when typing ends.
    page->sizeList()->setCurrentIndex(2);
    QVERIFY(page->widthField()->isEnabled() && page->heightField()->isEnabled());
    retype(page->widthField(), "320");
    QCOMPARE(root->info().width, 320);
    QCOMPARE(page->sizeList()->currentIndex(), 2);
    // Letters do not go into a digits-only field; a cleared field stores 0 and then shows it.
    retype(page->heightField(), "ab");
    QCOMPARE(page->heightField()->text(), QString());
    QCOMPARE(root->info().height, 0);
    finishTyping(page->heightField());
    QCOMPARE(page->heightField()->text(), QStringLiteral("0"));

    // The standard size typed by hand selects its preset once typing ends.
    retype(page->widthField(), "192");
    retype(page->heightField(), "96");
    QVERIFY(page->heightField()->isEnabled());
    finishTyping(page->heightField());
    QCOMPARE(page->sizeList()->currentText(), QStringLiteral("標準サイズ"));
    QVERIFY(!page->widthField()->isEnabled());

    page->soundList()->setCurrentIndex(9);
    QCOMPARE(root->info().sound, 9);
    QCOMPARE(page->soundList()->currentText(), QStringLiteral("HELP"));
  }

  void vertexFieldsShowTheDragInTheDrawingPane() {
    EmblemNode* layer = addLayer();
    editor_->application().SetSelection(layer);
    LayerPage* page = pane_->layerPage();
    DrawingPane* drawing = window_->drawingPane();
    // The pane's centre is the emblem's (0, 0), 4 pixels per unit: grab the layer's middle.
    const QPoint centre(drawing->width() / 2, drawing->height() / 2);
    QTest::mousePress(drawing, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseMove(drawing, centre + QPoint(40, 20));
    // Mid-drag the move is pending; the fields show the vertices as drawn.
    QCOMPARE(layer->layer().ltx, -16);
    QCOMPARE(page->vertexField(VertexField::LtX)->text(), QStringLiteral("-6"));
    QCOMPARE(page->vertexField(VertexField::LtY)->text(), QStringLiteral("-11"));
    QTest::mouseRelease(drawing, Qt::LeftButton, Qt::NoModifier, centre + QPoint(40, 20));
    QCOMPARE(layer->layer().ltx, -6);
    QCOMPARE(page->vertexField(VertexField::RbX)->text(), QStringLiteral("26"));
    QCOMPARE(page->vertexField(VertexField::RbY)->text(), QStringLiteral("21"));
  }

  void typedTextStaysWhileEachChangeIsStored() {
    Application& app = editor_->application();
    EmblemNode* layer = addLayer();
    app.SetSelection(layer);
    LayerPage* page = pane_->layerPage();
    const std::size_t steps = app.history().stepCount();

    PropertyField* ltx = page->vertexField(VertexField::LtX);
    retype(ltx, "-");
    QCOMPARE(layer->layer().ltx, 0);
    QCOMPARE(ltx->text(), QStringLiteral("-"));
    QTest::keyClicks(ltx, "12");
    QCOMPARE(layer->layer().ltx, -12);

    PropertyField* colour = page->colourField();
    retype(colour, "2");
    // Each change is stored at once: "2" alone is black at opacity level 2.
    QCOMPARE(layer->layer().color, 0x5F000000u);
    QCOMPARE(colour->text(), QStringLiteral("2"));
    QTest::keyClicks(colour, "55,128,0,7");
    QCOMPARE(layer->layer().color, 0xFFFF8200u);
    QCOMPARE(colour->text(), QStringLiteral("255,128,0,7"));
    QCOMPARE(page->opacitySlider()->value(), 7);
    // Enter shows what was stored.
    QTest::keyClick(colour, Qt::Key_Return);
    QCOMPARE(colour->text(), QStringLiteral("255,130,0,7"));

    // One step per field typed in, undone as a whole.
    QCOMPARE(app.history().stepCount(), steps + 2);
    QVERIFY(app.undo());
    QCOMPARE(layer->layer().color, 0xFFFCFCFCu);
    QCOMPARE(colour->text(), QStringLiteral("252,252,252,7"));
    QCOMPARE(layer->layer().ltx, -12);
    QVERIFY(app.undo());
    QCOMPARE(ltx->text(), QStringLiteral("-16"));

    // Text that is no number, or a number beyond 32 bits, stores what it reads as.
    ltx->setText(QStringLiteral("x1"));
    QCOMPARE(layer->layer().ltx, 0);
    ltx->setText(QStringLiteral("99999999999999999999"));
    QCOMPARE(layer->layer().ltx, 2147483647);
    ltx->setText(QStringLiteral("7\n8"));
    QCOMPARE(layer->layer().ltx, 7);
  }

  void partListAndOpacitySlider() {
    Application& app = editor_->application();
    EmblemNode* layer = addLayer();
    app.SetSelection(layer);
    LayerPage* page = pane_->layerPage();
    QComboBox* parts = page->partList();
    QCOMPARE(parts->count(), 1024);
    QCOMPARE(parts->currentIndex(), 240);
    QCOMPARE(parts->itemText(0), QStringLiteral("0001:文字001 A"));
    QVERIFY(!parts->itemIcon(0).isNull());
    // Typing the start of a label chooses that part.
    parts->setFocus();
    QTest::keyClicks(parts, "0518");
    QCOMPARE(layer->layer().partId, 517);
    parts->setCurrentIndex(3);
    QCOMPARE(layer->layer().partId, 3);

    page->opacitySlider()->setValue(0);
    QCOMPARE(layer->layer().color >> 24, 31u);
    QCOMPARE(page->colourField()->text(), QStringLiteral("252,252,252,0"));
    QCOMPARE(layer->layer().color & 0xFFFFFF, 0xFCFCFCu);
  }

  void colourChooserStartsAtTheLayerColourAndKeepsCustomColours() {
    Application& app = editor_->application();
    EmblemNode* layer = addLayer();
    app.SetSelection(layer);
    LayerPage* page = pane_->layerPage();
    page->opacitySlider()->setValue(3);
    const std::size_t steps = app.history().stepCount();

    QColor offered;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      offered = dialog->currentColor();
      QColorDialog::setCustomColor(5, QColor(1, 2, 3));  // the user's new custom colour
      dialog->setCurrentColor(QColor(200, 100, 50));
      dialog->accept();
    });
    QTest::mouseClick(page->colourButton(), Qt::LeftButton);
    QCOMPARE(offered, QColor(252, 252, 252));
    QCOMPARE(layer->layer().color, 0x7FCB6530u);
    QCOMPARE(page->colourField()->text(), QStringLiteral("203,101,48,3"));
    QCOMPARE(app.history().stepCount(), steps + 1);
    QCOMPARE(editor_->settings().colorPalette[5], (PaletteColour{1, 2, 3}));
    QCOMPARE(editor_->settings().colorPalette[4], kDefaultPalette[4]);

    // Cancelling stores nothing.
    QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
    QTest::mouseClick(page->colourButton(), Qt::LeftButton);
    QCOMPARE(layer->layer().color, 0x7FCB6530u);
  }

 private:
  EmblemNode* addLayer() {
    EmblemDocument& document = editor_->application().document();
    document.prependChild(document.root(), document.makeNewLayer());
    editor_->application().recordEdit("新規レイヤー");
    return document.root()->firstChild();
  }

  // Gives the field the keyboard focus, selects its text and types over it key by key.
  static void retype(PropertyField* field, const char* keys) {
    field->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(field->hasFocus());
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, keys);
  }

  // Moves the focus on, as Tab would.
  void finishTyping(PropertyField* field) {
    QVERIFY(field->hasFocus());
    window_->drawingPane()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!field->hasFocus());
  }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
  MainWindow* window_ = nullptr;
  DetailsPane* pane_ = nullptr;
};

static RegisterQtTest<DetailsPaneTest> registration;

}  // namespace orvane::test

#include "details_pane_test.moc"
