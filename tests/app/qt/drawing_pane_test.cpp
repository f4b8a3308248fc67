#include "panes/drawing/drawing_pane.h"

#include <QTest>
#include <cmath>

#include "editing/layer_transforms.h"
#include "editor_fixture.h"
#include "panes/drawing/editor_host.h"
#include "qt_test_registry.h"
#include "render/editor_picture.h"

namespace orvane::test {

// The drawing pane wired to the real window: pixel positions, drags, keys and its picture.
class DrawingPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    editor_ = std::make_unique<EditorUnderTest>(folder_->path());
    MainWindow& window = editor_->start();
    window.resize(1200, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    EmblemDocument& document = editor_->application().document();
    NodePtr fresh = document.makeNewLayer();  // (-16, -16) ... (16, 16)
    layer_ = fresh.get();
    document.prependChild(document.root(), std::move(fresh));
    editor_->application().recordEdit("レイヤーを追加");
    editor_->application().SetSelection(layer_);
    pane_ = editor_->window().drawingPane();
  }
  void cleanup() {
    editor_->dialogs.saveChoice = FileDialogs::SaveChoice::Discard;
    editor_.reset();
    folder_.reset();
  }

  void aMoveDragIsPendingUntilTheRelease() {
    QTest::mousePress(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(0, 0));
    QTest::mouseMove(pane_, pixelOf(5, 3));
    QCOMPARE(layer_->layer().ltx, -16);
    QCOMPARE(effectiveVertices(layer_->layer()).lt, (Point{-11, -13}));
    QTest::mouseRelease(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(5, 3));
    QCOMPARE(layer_->layer().ltx, -11);
    QCOMPARE(layer_->layer().lty, -13);
    QCOMPARE(layer_->layer().moveX, 0);
  }

  void aShiftScaleAndARightRotateEndWhereTheyShould() {
    // Scale about the centre from (8, 4) to (16, 8): every vertex twice as far out.
    QTest::mousePress(pane_, Qt::LeftButton, Qt::ShiftModifier, pixelOf(8, 4));
    moveHolding(pixelOf(16, 8), Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseRelease(pane_, Qt::LeftButton, Qt::ShiftModifier, pixelOf(16, 8));
    QCOMPARE(effectiveVertices(layer_->layer()).rb, (Point{32, 32}));
    // A quarter turn clockwise on screen: the right-bottom vertex goes to the left-bottom.
    QTest::mousePress(pane_, Qt::RightButton, Qt::NoModifier, pixelOf(10, 0));
    QTest::mouseMove(pane_, pixelOf(0, 10));
    QTest::mouseRelease(pane_, Qt::RightButton, Qt::NoModifier, pixelOf(0, 10));
    const Quad turned = effectiveVertices(layer_->layer());
    QVERIFY(std::abs(turned.rb.x + 32) <= 1 && std::abs(turned.rb.y - 32) <= 1);
    QCOMPARE(editor_->application().history().undoName(), std::string("回転"));
  }

  void arrowKeysNudgeByOneAndShiftByEight() {
    pane_->setFocus();
    QTest::keyClick(pane_, Qt::Key_Right);
    QCOMPARE(layer_->layer().ltx, -15);
    QTest::keyClick(pane_, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(layer_->layer().lty, -24);
    // Nudges of one node join one step.
    QCOMPARE(editor_->application().history().stepCount(), std::size_t{2});
  }

  void aDragEndedOverTheHostStillApplies() {
    QWidget* host = editor_->window().findChild<EditorHost*>();
    QVERIFY(host);
    QTest::mousePress(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(0, 0));
    // Beyond the pane's bottom-right corner: the pane keeps the pointer during the press.
    QTest::mouseMove(pane_, QPoint(kEditorPaneWidth + 20, kEditorPaneHeight + 8));
    QTest::mouseRelease(pane_, Qt::LeftButton, Qt::NoModifier,
                        QPoint(kEditorPaneWidth + 20, kEditorPaneHeight + 8));
    QCOMPARE(layer_->layer().ltx, -16 + (kEditorPaneWidth / 2 + 20) / 4);
  }

  void viewerModeTakesNoInput() {
    editor_->window().action(Command::ViewerMode)->trigger();
    QTest::mousePress(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(0, 0));
    QTest::mouseMove(pane_, pixelOf(5, 5));
    QTest::mouseRelease(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(5, 5));
    QTest::keyClick(pane_, Qt::Key_Down);
    QCOMPARE(layer_->layer().ltx, -16);
    QCOMPARE(layer_->layer().lty, -16);
  }

  void thePictureIsTheDocumentsPictureAndOneIsDrawnPerMove() {
    QTest::mousePress(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(0, 0));
    const long before = pane_->pictureCount();
    for (int i = 1; i <= 6; ++i) QTest::mouseMove(pane_, pixelOf(i, 0));
    QCOMPARE(pane_->pictureCount() - before, 6L);
    QTest::mouseRelease(pane_, Qt::LeftButton, Qt::NoModifier, pixelOf(6, 0));
    Renderer reference;
    QVERIFY(setUpEditorRenderer(reference, editor_->application().atlas().pixels(),
                                pane_->picture().devicePixelRatio() > 1.5 ? 2 : 1));
    EditorPictureSettings settings;
    settings.pixelRatio = static_cast<int>(pane_->picture().devicePixelRatio());
    drawEditorPicture(reference, editor_->application().document(), layer_, settings);
    const PixelView view = reference.backBuffer();
    const QImage& shown = pane_->picture();
    QCOMPARE(shown.width(), view.width);
    for (int y = 0; y < view.height; y += 3) {
      for (int x = 0; x < view.width; x += 3) {
        if (shown.pixel(x, y) != view.at(x, y))
          QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
      }
    }
  }

  void onAHighDensityScreenThePictureIsSharp() {
    // Run by the high-density ctest entry (QT_SCALE_FACTOR=2); plain runs check scale 1.
    const qreal ratio = pane_->devicePixelRatioF();
    QCOMPARE(pane_->size(), QSize(kEditorPaneWidth, kEditorPaneHeight));
    QCOMPARE(pane_->picture().width(), static_cast<int>(std::ceil(ratio)) * kEditorPaneWidth);
  }

 private:
  // A pointer move with buttons and keys held, as the window system reports one during a drag.
  void moveHolding(QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QMouseEvent move(QEvent::MouseMove, at, pane_->mapToGlobal(at), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(pane_, &move);
  }

  // The pane pixel at the middle of an emblem point's cell (4 pixels per unit from the centre).
  static QPoint pixelOf(int x, int y) {
    return QPoint(kEditorPaneWidth / 2 + 4 * x, kEditorPaneHeight / 2 + 4 * y);
  }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
  EmblemNode* layer_ = nullptr;
  DrawingPane* pane_ = nullptr;
};

static RegisterQtTest<DrawingPaneTest> registration;

}  // namespace orvane::test

#include "drawing_pane_test.moc"
