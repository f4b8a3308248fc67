#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <fstream>

#include "app/recovery_keeper.h"
#include "editor_fixture.h"
#include "formats/emblem_file.h"
#include "formats/xml_emblem_file.h"
#include "panes/drawing/drawing_pane.h"
#include "qt_test_registry.h"

namespace orvane::test {

// Undo, the modified marker, the question before edits are lost, crash recovery copies and files
// changed by other programs.
class UnsavedWorkTest : public QObject {
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

  void aDragIsOneUndoStepAndMarksTheTitle() {
    MainWindow& window = startWithALayer();
    const std::string before = xmlEmblemText(editor_->application().document());
    DrawingPane* pane = window.drawingPane();
    // Press inside the layer (at the emblem's centre) and move it by 10 units in 5 moves.
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(384, 192));
    for (int i = 1; i <= 5; ++i) QTest::mouseMove(pane, QPoint(384 + 8 * i, 192));
    QCOMPARE(layer()->layer().ltx, -16);  // still pending until the release
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(424, 192));
    QCOMPARE(layer()->layer().ltx, -6);
    QCOMPARE(editor_->application().history().stepCount(), std::size_t{2});
    QVERIFY(shownTitle(window).startsWith(QStringLiteral("無題*")));
    QCOMPARE(window.action(Command::Undo)->text(), QStringLiteral("元に戻す(&U): 移動\tCtrl+Z"));
    window.action(Command::Undo)->trigger();
    QCOMPARE(layer()->layer().ltx, -16);
    QCOMPARE(xmlEmblemText(editor_->application().document()), before);
    window.action(Command::Undo)->trigger();
    QCOMPARE(editor_->application().document().root()->childCount(), std::size_t{0});
    QVERIFY(!window.action(Command::Undo)->isEnabled());
    QVERIFY(!window.isWindowModified());
    window.action(Command::Redo)->trigger();
    window.action(Command::Redo)->trigger();
    QCOMPARE(layer()->layer().ltx, -6);
    QCOMPARE(editor_->application().currentSelection(), layer());
  }

  void everyDiscardingCommandAsksAndHonoursTheAnswer() {
    const QString crest = copyExample(folder_->path(), "crest.ovml", "crest.ovml");
    MainWindow& window = startWithALayer();
    auto& dialogs = editor_->dialogs;
    // Cancel: New does nothing.
    dialogs.saveChoice = FileDialogs::SaveChoice::Cancel;
    window.action(Command::New)->trigger();
    QCOMPARE(dialogs.saveQuestions, 1);
    QVERIFY(layer());
    // Cancel: a dropped file is not opened; closing is refused.
    QVERIFY(!window.files().openEmblemFile(crest, FileCommands::Source::Dropped));
    QVERIFY(!window.close());
    QCOMPARE(dialogs.saveQuestions, 3);
    // Save through the dialog, which is cancelled: the command is cancelled too.
    dialogs.saveChoice = FileDialogs::SaveChoice::Save;
    dialogs.saves.push_back(ChosenFile{});
    QVERIFY(!window.files().openEmblemFile(crest));
    QVERIFY(layer());
    // Save, and the save fails: cancelled again.
    dialogs.saves.push_back(ChosenFile{editor_->path("missing/folder/x.ovml"), 1});
    QVERIFY(!window.files().openEmblemFile(crest));
    QVERIFY(layer());
    QVERIFY(window.isWindowModified());
    // Save for real: then the file opens.
    dialogs.saves.push_back(ChosenFile{editor_->path("kept"), 1});
    QVERIFY(window.files().openEmblemFile(crest));
    QVERIFY(QFile::exists(editor_->path("kept.ovml")));
    // Unmodified now: nothing is asked.
    const int asked = dialogs.saveQuestions;
    window.action(Command::New)->trigger();
    QCOMPARE(dialogs.saveQuestions, asked);
    // Discard: the edits go.
    editor_->application().document().appendChild(editor_->application().document().root(),
                                                  editor_->application().document().makeNewLayer());
    editor_->application().recordEdit("レイヤーを追加");
    dialogs.saveChoice = FileDialogs::SaveChoice::Discard;
    QVERIFY(window.close());
  }

  void recoveryCopiesAreWrittenOfferedRestoredAndRemoved() {
    MainWindow& window = startWithALayer();
    auto* keeper = window.findChild<RecoveryKeeper*>();
    QVERIFY(keeper);
    keeper->writeNow();  // as the pause after the edits would
    const QString copy =
        editor_->session().recovery()->folder().c_str() + QStringLiteral("/emblem.ovml");
    QVERIFY(QFile::exists(copy));
    // A second editor running meanwhile does not take it.
    QTemporaryDir otherFolder;
    {
      EditorSession other("/nonexistent", ConfigEnvironment{}, otherFolder.path().toStdString(),
                          (folder_->path() + "/state/orvane/recovery").toStdString());
      QVERIFY(other.recovery()->orphans().empty());
    }
    // The editor is killed: its folder stays and its lock is free.
    const QString crashed = folder_->path() + "/state/orvane/recovery/run-killed";
    QVERIFY(QDir().mkpath(crashed));
    QVERIFY(QFile::copy(copy, crashed + "/emblem.ovml"));
    std::ofstream((crashed + "/original-path").toStdString())
        << editor_->path("orig.ovml").toStdString();
    editor_->application().markSaved();
    QVERIFY(!QFile::exists(copy));  // saved: the copy went

    EditorUnderTest next(folder_->path());
    MainWindow& restored = next.start();
    QVERIFY(
        offerRecoveredEdits(*next.session().recovery(), restored.files(), next.dialogs, &restored));
    QCOMPARE(next.dialogs.restoreQuestions, 1);
    QVERIFY(restored.isWindowModified());
    QCOMPARE(shownTitle(restored), QStringLiteral("orig.ovml* - オーヴェインエディタ"));
    QCOMPARE(next.application().document().root()->childCount(), std::size_t{1});
    QVERIFY(!QFileInfo::exists(crashed));
    next.dialogs.saveChoice = FileDialogs::SaveChoice::Discard;
  }

  void aFileChangedElsewhereIsReloadedOrAskedAbout() {
    const QString path = copyExample(folder_->path(), "crest.ovml", "watched.ovml");
    MainWindow& window = editor_->start();
    QVERIFY(window.files().openEmblemFile(path));
    auto replaceWith = [&](const char16_t* name) {
      EmblemDocument other;
      other.newDocument(name, 192, 96);
      QVERIFY(writeEmblemFile(other, path.toStdString()));  // an atomic replace
    };
    replaceWith(u"first");
    QTRY_COMPARE(editor_->application().document().root()->name(), std::u16string(u"first"));
    QCOMPARE(editor_->dialogs.reloadQuestions, 0);
    // Our own save is not a change from elsewhere.
    QVERIFY(window.files().saveEmblemFile(false));
    QTest::qWait(200);
    QCOMPARE(editor_->dialogs.reloadQuestions, 0);
    // With edits, the user is asked; keeping the edits keeps them.
    EmblemDocument::setName(editor_->application().document().root(), u"edited");
    editor_->application().recordEdit("名前の変更");
    editor_->dialogs.reload = false;
    replaceWith(u"second");
    QTRY_COMPARE(editor_->dialogs.reloadQuestions, 1);
    QCOMPARE(editor_->application().document().root()->name(), std::u16string(u"edited"));
    editor_->dialogs.saveChoice = FileDialogs::SaveChoice::Discard;
  }

 private:
  MainWindow& startWithALayer() {
    MainWindow& window = editor_->start();
    EmblemDocument& document = editor_->application().document();
    NodePtr fresh = document.makeNewLayer();
    EmblemNode* made = fresh.get();
    document.prependChild(document.root(), std::move(fresh));
    editor_->application().recordEdit("レイヤーを追加");
    editor_->application().SetSelection(made);
    return window;
  }
  EmblemNode* layer() { return editor_->application().document().root()->firstChild(); }

  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
};

static RegisterQtTest<UnsavedWorkTest> registration;

}  // namespace orvane::test

#include "unsaved_work_test.moc"
