#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "app/pane_splitter.h"
#include "editor_fixture.h"
#include "formats/emblem_file.h"
#include "formats/xml_emblem_file.h"
#include "panes/layers/layer_pane.h"
#include "qt_test_registry.h"

namespace orvane::test {

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    editor_ = std::make_unique<EditorUnderTest>(folder_->path());
  }
  void cleanup() {
    editor_.reset();
    folder_.reset();
  }

  void startsUntitledWithTheMenusInOrder() {
    MainWindow& window = editor_->start();
    QCOMPARE(shownTitle(window), QStringLiteral("無題 - オーヴェインエディタ"));
    QCOMPARE(editor_->application().document().root()->name(),
             QStringLiteral("名称未設定").toStdU16String());
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions()) menus << menu->text();
    QCOMPARE(menus,
             (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)", "ツール(&T)", "ヘルプ(&H)"}));
    QCOMPARE(window.action(Command::New)->text(), QStringLiteral("新規(&N)\tCtrl+N"));
    QCOMPARE(window.action(Command::Exit)->text(), QStringLiteral("終了(&X)\tEsc"));
    QCOMPARE(window.action(Command::Open)->data().toInt(), 40012);
    QVERIFY(window.findChild<QAction*>("command40105") == window.action(Command::Blur));
  }

  void openingAFileShowsItsNameAndRemembersItsFolder() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.ovml");
    MainWindow& window = editor_->start();
    QVERIFY(window.files().openEmblemFile(crest, FileCommands::Source::CommandLine));
    QCOMPARE(shownTitle(window), QStringLiteral("crest.ovml - オーヴェインエディタ"));
    QCOMPARE(QString::fromStdString(editor_->settings().currentDirectory), folder_->path());
    QCOMPARE(editor_->application().currentSelection(), editor_->application().document().root());
  }

  void aFailedOpenKeepsTheEmblemAndSaysWhy() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.ovml");
    QFile broken(editor_->path("broken.ovr"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not an emblem at all");
    broken.close();
    MainWindow& window = editor_->start();
    QVERIFY(window.files().openEmblemFile(crest));
    const std::string before = xmlEmblemText(editor_->application().document());
    EmblemNode* selected = editor_->application().document().root()->firstChild();
    editor_->application().SetSelection(selected);

    QVERIFY(!window.files().openEmblemFile(broken.fileName()));
    QCOMPARE(editor_->dialogs.told.size(), 1);
    QVERIFY(editor_->dialogs.told.first().contains("broken.ovr"));
    QCOMPARE(xmlEmblemText(editor_->application().document()), before);
    QCOMPARE(shownTitle(window), QStringLiteral("crest.ovml - オーヴェインエディタ"));
    QCOMPARE(editor_->application().currentSelection(), selected);
    QVERIFY(editor_->application().currentFilePath().string().ends_with("crest.ovml"));
    // A command-line path that is missing is named, and the untitled emblem stays.
    QVERIFY(!window.files().openEmblemFile(editor_->path("gone.ovml"),
                                           FileCommands::Source::CommandLine));
    QCOMPARE(editor_->dialogs.told.size(), 2);
    QVERIFY(editor_->dialogs.told.last().contains("gone.ovml"));
  }

  void aFailedSaveIsReportedAndChangesNothing() {
    MainWindow& window = editor_->start();
    editor_->dialogs.saves.push_back(ChosenFile{editor_->path("no/such/folder/x.ovml"), 1});
    QVERIFY(!window.files().saveEmblemFile(true));
    QCOMPARE(editor_->dialogs.told.size(), 1);
    QCOMPARE(shownTitle(window), QStringLiteral("無題 - オーヴェインエディタ"));
    QVERIFY(editor_->application().currentFilePath().empty());
    // Save As an image keeps the emblem's own file for the next Save.
    editor_->dialogs.saves.push_back(ChosenFile{editor_->path("mine"), 1});
    QVERIFY(window.files().saveEmblemFile(true));
    editor_->dialogs.saves.push_back(ChosenFile{editor_->path("picture"), 6});
    QVERIFY(window.files().saveEmblemFile(true));
    QVERIFY(QFile::exists(editor_->path("picture.png")));
    QCOMPARE(shownTitle(window), QStringLiteral("picture.png - オーヴェインエディタ"));
    QVERIFY(editor_->application().currentFilePath().string().ends_with("mine.ovml"));
  }

  void saveShortcutWorksFromAnEditField() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.ovml");
    MainWindow& window = editor_->start();
    QVERIFY(window.files().openEmblemFile(crest));
    QFile::remove(crest);
    auto* field = new QLineEdit(window.centralWidget());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile::exists(crest));
    QVERIFY(editor_->dialogs.told.isEmpty());
  }

  void escapeClosesTheWindow() {
    MainWindow& window = editor_->start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
  }

  void aDroppedTextFileChangesNothing() {
    MainWindow& window = editor_->start();
    QFile text(editor_->path("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("hello");
    text.close();
    const std::string before = xmlEmblemText(editor_->application().document());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(text.fileName())});
    drop(window, data);
    QCOMPARE(xmlEmblemText(editor_->application().document()), before);
    QCOMPARE(shownTitle(window), QStringLiteral("無題 - オーヴェインエディタ"));
    QVERIFY(editor_->dialogs.told.isEmpty());
    // A dropped emblem file opens.
    const QString crest = copyExample(folder_->path(), "crest.ovml", "dropped.ovml");
    data.setUrls({QUrl::fromLocalFile(crest), QUrl::fromLocalFile(text.fileName())});
    drop(window, data);
    QCOMPARE(shownTitle(window), QStringLiteral("dropped.ovml - オーヴェインエディタ"));
  }

  void viewerModeNarrowsAndRestoresTheWindow() {
    MainWindow& window = editor_->start();
    window.resize(1100, 430);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int width = window.width();
    window.action(Command::ViewerMode)->trigger();
    QVERIFY(editor_->settings().viewerMode);
    QCOMPARE(window.width(), width - (250 + 2 + 137 + 2));
    QVERIFY(!window.layerPane()->isVisible());
    window.action(Command::ViewerMode)->trigger();
    QCOMPARE(window.width(), width);
    QVERIFY(window.layerPane()->isVisible());
  }

  void viewerModeBrowsesTheFolderWithWrapAround() {
    for (const char* name : {"a.ovr", "b.ovr", "c.ovr"}) {
      EmblemDocument document;
      document.newDocument(QString(name).toStdU16String(), 192, 96);
      QVERIFY(writeEmblemFile(document, editor_->path(name).toStdString()));
    }
    editor_->settings().viewerMode = true;
    MainWindow& window = editor_->start();
    QVERIFY(window.files().openEmblemFile(editor_->path("b.ovr")));
    auto name = [&] { return shownTitle(window).section(' ', 0, 0); };
    QTest::keyClick(&window, Qt::Key_Right);
    QCOMPARE(name(), QStringLiteral("c.ovr"));
    QTest::keyClick(&window, Qt::Key_Right);
    QCOMPARE(name(), QStringLiteral("a.ovr"));
    QTest::keyClick(&window, Qt::Key_Left);
    QCOMPARE(name(), QStringLiteral("c.ovr"));
  }

  void settingsAndRecentFilesComeBackAtTheNextStart() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.ovml");
    const QString small = copyExample(folder_->path(), "small.ovml", "small.ovml");
    {
      MainWindow& window = editor_->start();
      window.action(Command::Blur)->trigger();
      window.action(Command::ColourCorrection)->trigger();
      window.outerSplitter()->setSize(180);
      QVERIFY(window.files().openEmblemFile(crest));
      QVERIFY(window.files().openEmblemFile(small));
      editor_->finish();
    }
    QFile::remove(crest);  // a recent file that has gone is shown disabled
    EditorUnderTest again(folder_->path());
    QVERIFY(again.settings().gaussianBlur);
    QVERIFY(!again.settings().colorConvert);
    QCOMPARE(again.settings().layerPaneSize, 180);
    QCOMPARE(again.settings().recentFiles.size(), std::size_t{2});
    QVERIFY(QString::fromStdString(again.settings().recentFiles[0]).endsWith("small.ovml"));
    MainWindow& window = again.start();
    QMenu* recent = window.findChild<QMenu*>("recentFiles");
    QVERIFY(recent);
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 2);
    QVERIFY(recent->actions()[0]->isEnabled());
    QVERIFY(!recent->actions()[1]->isEnabled());
    recent->actions()[0]->trigger();
    QCOMPARE(shownTitle(window), QStringLiteral("small.ovml - オーヴェインエディタ"));
  }

  void theGapIsDraggedWithTheSizingCursorAndTheSizeIsKept() {
    MainWindow& window = editor_->start();
    window.resize(1000, 430);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    PaneSplitter* outer = window.outerSplitter();
    QCOMPARE(outer->cursor().shape(), Qt::SplitHCursor);
    QCOMPARE(outer->pane1()->cursor().shape(), Qt::ArrowCursor);
    // The gap is 4 pixels wide around x = 137; dragging it to x = 200 keeps the offset.
    QCOMPARE(outer->pane1()->geometry().width(), 135);
    QTest::mousePress(outer, Qt::LeftButton, Qt::NoModifier, QPoint(138, 100));
    QTest::mouseMove(outer, QPoint(201, 100));
    QTest::mouseRelease(outer, Qt::LeftButton, Qt::NoModifier, QPoint(201, 100));
    QCOMPARE(outer->size(), 200);
    QCOMPARE(outer->pane2()->geometry().x(), 202);
    // Far past the left edge gives 0; the size is what the settings keep.
    QTest::mousePress(outer, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QTest::mouseMove(outer, QPoint(-500, 100));
    QTest::mouseRelease(outer, Qt::LeftButton, Qt::NoModifier, QPoint(-500, 100));
    QCOMPARE(outer->size(), 0);
    window.storePlacement();
    QCOMPARE(editor_->settings().layerPaneSize, 0);
    // A press on a pane is not a press on the gap.
    QTest::mousePress(outer, Qt::LeftButton, Qt::NoModifier, QPoint(600, 100));
    QTest::mouseMove(outer, QPoint(700, 100));
    QCOMPARE(outer->size(), 0);
  }

  void aWindowSavedFarOffTheScreensComesBackOnOne() {
    editor_->settings().windowX = 100000;
    editor_->settings().windowY = -90000;
    editor_->settings().windowWidth = 50000;
    MainWindow& window = editor_->start();
    placeWindow(window, editor_->settings());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                     .arg(window.x())
                                                                     .arg(window.y())
                                                                     .arg(window.width())
                                                                     .arg(window.height())));
  }

  void saveOfAFileOfNoEmblemTypeAsksForAName() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.xml");
    MainWindow& window = editor_->start();
    editor_->dialogs.opens.push_back(ChosenFile{crest, 4});  // "すべてのファイル": read as XML
    QVERIFY(window.files().openEmblemFile());
    editor_->dialogs.saves.push_back(ChosenFile{});  // the Save As dialog shows; cancelled
    QVERIFY(!window.files().saveEmblemFile(false));
    QVERIFY(editor_->dialogs.saves.empty());
  }

  void theVersionBoxNamesTheProgramAndItsVersion() {
    MainWindow& window = editor_->start();
    window.action(Command::Version)->trigger();
    QCOMPARE(editor_->dialogs.told.size(), 1);
    QVERIFY(editor_->dialogs.told.first().startsWith(
        QStringLiteral("オーヴェインエディタ\nバージョン")));
  }

 private:
  // What the window system delivers for a drop: the drag entering, then the drop.
  static void drop(QWidget& window, QMimeData& data) {
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
  }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
};

static RegisterQtTest<MainWindowTest> registration;

}  // namespace orvane::test

#include "main_window_test.moc"
