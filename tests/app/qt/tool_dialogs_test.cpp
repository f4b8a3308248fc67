// The block-art and batch-conversion dialogs driven offscreen: the Tools menu commands, what the
// dialogs hand to the engines, and every refusal of bad input with the dialog still usable.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <chrono>

#include "app/shell/batch_run_rules.h"
#include "app/tools/batch_options_dialog.h"
#include "app/tools/batch_progress_dialog.h"
#include "app/tools/block_art_dialog.h"
#include "app/tools/size_choice.h"
#include "editor_fixture.h"
#include "formats/binary_emblem_file.h"
#include "formats/xml_emblem_file.h"
#include "qt_test_registry.h"
#include "test_deadline.h"
#include "tool_test_support.h"

namespace orvane::test {

using namespace std::chrono_literals;

class ToolDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    deadline_ = std::make_unique<TestDeadline>(30s, QTest::currentTestFunction());
    folder_ = std::make_unique<QTemporaryDir>();
    editor_ = std::make_unique<EditorUnderTest>(folder_->path());
    picture_ = folder_->path() + "/mosaic.png";
    QVERIFY(writeTestPicture(picture_, 45, 30));
  }
  void cleanup() {
    editor_.reset();
    folder_.reset();
    deadline_.reset();
  }

  void blockArtGivesTheEnginesExactResultAsOneUndoStep() {
    MainWindow& window = editor_->start();
    EmblemDocument expected;
    QVERIFY(expected.newDocument(u"名称未設定", 192, 96));
    QCOMPARE(xmlEmblemText(editor_->application().document()), xmlEmblemText(expected));
    editor_->dialogs.toolFiles = {picture_};
    whenModal<BlockArtDialog>([&](BlockArtDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("ブロックアート作成"));
      QCOMPARE(dialog.partList()->currentIndex(), 242);
      QVERIFY(!dialog.sizeChoice()->widthEdit()->isEnabled());
      dialog.findChild<QPushButton*>("browse")->click();
      QCOMPARE(editor_->dialogs.toolFileQuestions.back().title, QStringLiteral("入力ファイル"));
      QCOMPARE(dialog.pathEdit()->text(), picture_);
      dialog.sizeChoice()->list()->setCurrentIndex(1);
      dialog.partList()->setCurrentIndex(17);
      QTest::keyClick(&dialog, Qt::Key_Return);  // OK is the default button
    });
    window.action(Command::BlockArt)->trigger();

    Picture picture;
    QVERIFY(readPictureFile(picture_.toStdString(), picture));
    BlockArtSettings settings{picture_.toStdString(), 17, 32, 32};
    QVERIFY(GenerateBlockArt(expected, picture, settings));
    QCOMPARE(xmlEmblemText(editor_->application().document()), xmlEmblemText(expected));
    QCOMPARE(editor_->application().history().undoName(), std::string("ブロックアート"));
    QCOMPARE(shownTitle(window).left(2), QStringLiteral("無題"));
    QVERIFY(editor_->application().undo());
    QCOMPARE(editor_->application().document().root()->firstChild(), nullptr);
  }

  void blockArtRefusesUnreadablePicturesAndBadSizes() {
    BlockArtSettings settings;
    BlockArtDialog dialog(settings, editor_->dialogs);
    dialog.show();
    const BadPictures bad = writeBadPictures(folder_->path());
    auto refused = [&](const QString& path, const QString& expected) {
      editor_->dialogs.messages.clear();
      dialog.pathEdit()->setText(path);
      dialog.accept();
      return editor_->dialogs.messages.size() == 1 && dialog.isVisible() &&
             editor_->dialogs.messages[0].caption == QStringLiteral("ブロックアート作成") &&
             editor_->dialogs.messages[0].text.contains(expected);
    };
    QVERIFY(refused(QString(), QStringLiteral("入力ファイルを指定してください。")));
    for (const QString& path : {bad.notAPicture, bad.truncated, bad.zeroSize, bad.huge,
                                folder_->path() + "/missing.png"}) {
      QVERIFY2(refused(path, path), qPrintable(path));
    }
    dialog.sizeChoice()->list()->setCurrentIndex(2);
    QVERIFY(dialog.sizeChoice()->widthEdit()->isEnabled());
    for (const char* width : {"0", "100000"}) {
      dialog.sizeChoice()->widthEdit()->setText(QLatin1String(width));
      QVERIFY2(refused(picture_, QStringLiteral("10000")), width);
    }
    dialog.sizeChoice()->widthEdit()->setText(QStringLiteral("2000"));
    dialog.sizeChoice()->heightEdit()->setText(QStringLiteral("2000"));
    QVERIFY(!refused(picture_, QString()));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(std::tuple(settings.width, settings.height, settings.part),
             std::tuple(2000, 2000, 242));
    QCOMPARE(dialog.picture().width, 45);
  }

  void batchRunsAFolderAndReportsItsBrokenFile() {
    const QString input = makeInputFolder(2);
    QVERIFY(writeBytes(input + "/broken.ovr", "not an emblem"));
    const QString output = folder_->path() + "/pictures/new";  // made by the run
    MainWindow& window = editor_->start();
    editor_->dialogs.folders = {input, output};
    editor_->dialogs.colours = {QColor(10, 20, 30)};
    whenModal<BatchOptionsDialog>([&](BatchOptionsDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("一括変換"));
      QCOMPARE(dialog.typeList()->currentText(), QStringLiteral("JPEG ファイル"));
      QCOMPARE(dialog.scaleEdit()->text(), QStringLiteral("1"));
      QVERIFY(dialog.colourCorrection()->isChecked() && dialog.blur()->isChecked());
      QVERIFY(dialog.checker()->isChecked() && !dialog.colourButton()->isEnabled());
      dialog.findChild<QPushButton*>("browseInput")->click();
      dialog.findChild<QPushButton*>("browseOutput")->click();
      QCOMPARE(editor_->dialogs.folderTitles,
               QStringList(2, QStringLiteral("対象フォルダを指定してください。")));
      dialog.typeList()->setCurrentIndex(3);
      dialog.scaleEdit()->setText(QStringLiteral("0.5"));
      dialog.blur()->setChecked(false);
      dialog.solid()->click();
      QVERIFY(dialog.colourButton()->isEnabled());
      dialog.colourButton()->click();
      QCOMPARE(dialog.swatchColour(), QColor(10, 20, 30));
      dialog.findChild<QPushButton*>("start")->click();
    });
    window.action(Command::BatchConversion)->trigger();

    QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
    const MessageText& message = editor_->dialogs.messages[0];
    QCOMPARE(message.text,
             QStringLiteral(
                 "一括変換が終了しました。\n3 個のファイルのうち 1 個を変換できませんでした。"));
    QVERIFY(message.details.contains("broken.ovr"));
    QCOMPARE(message.details.count('\n'), 1);
    QCOMPARE(message.icon, MessageText::Icon::Warning);
    QCOMPARE(message.caption, programTitle());
    const QStringList pictures = QDir(output).entryList({"*.png"}, QDir::Files);
    QCOMPARE(pictures.size(), 2);
    const QImage first(output + "/" + pictures[0]);
    QCOMPARE(first.size(), QSize(96, 48));  // the standard emblem at half scale

    // Without the broken file every picture is written: the completion message alone.
    QFile::remove(input + "/broken.ovr");
    editor_->dialogs.messages.clear();
    editor_->dialogs.folders = {input, output};
    whenModal<BatchOptionsDialog>([&](BatchOptionsDialog& dialog) {
      dialog.findChild<QPushButton*>("browseInput")->click();
      dialog.findChild<QPushButton*>("browseOutput")->click();
      dialog.accept();
    });
    window.action(Command::BatchConversion)->trigger();
    QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
    QCOMPARE(editor_->dialogs.messages[0].text, QStringLiteral("一括変換が完了しました。"));
    QCOMPARE(editor_->dialogs.messages[0].icon, MessageText::Icon::None);
    QVERIFY(editor_->dialogs.messages[0].details.isEmpty());
  }

  void batchOptionsRefuseBadFoldersAndScalesAndStayOpen() {
    const QString input = makeInputFolder(1);
    BatchOptionsDialog dialog(editor_->dialogs);
    dialog.show();
    auto refused = [&](const QString& in, const QString& out, const QString& scale,
                       const QString& expected) {
      editor_->dialogs.messages.clear();
      dialog.inputEdit()->setText(in);
      dialog.outputEdit()->setText(out);
      dialog.scaleEdit()->setText(scale);
      dialog.accept();
      return dialog.isVisible() && editor_->dialogs.messages.size() == 1 &&
             editor_->dialogs.messages[0].icon == MessageText::Icon::Warning &&
             editor_->dialogs.messages[0].text.contains(expected);
    };
    const QString output = folder_->path() + "/out";
    QVERIFY(refused("", output, "1", "入力フォルダを指定してください。"));
    QVERIFY(refused(folder_->path() + "/nowhere", output, "1", folder_->path() + "/nowhere"));
    QVERIFY(refused(input, input + "/0.ovr/out", "1", input + "/0.ovr/out"));
    QVERIFY(refused(input, "/proc", "1", "書き込めません"));
    QVERIFY(refused(input, output, "abc", "拡大率"));
    QVERIFY(!refused(input, output, "2.5", QString()));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const BatchSettings& settings = dialog.settings();
    QCOMPARE(QString::fromStdString(settings.inputFolder.string()), input);
    QCOMPARE(settings.picture.scale, 2.5f);
    QCOMPARE(settings.format, ImageFormat::Jpeg);
    QVERIFY(settings.picture.checkerBackground && settings.picture.colourConversion);
    QCOMPARE(settings.jobs, 0);
  }

  void progressCountsFromTheStartAndACancelSaysWhatWasWritten() {
    const QString input = makeInputFolder(60);
    BatchSettings settings;
    settings.inputFolder = input.toStdString();
    settings.outputFolder = (folder_->path() + "/out").toStdString();
    QDir().mkpath(folder_->path() + "/out");
    settings.format = ImageFormat::Png;
    settings.picture.scale = 4;
    BatchProgressDialog dialog(settings, editor_->application().atlas().pixels());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("一括変換中... 0 / 60"));
    QCOMPARE(std::pair(dialog.bar()->minimum(), dialog.bar()->maximum()), std::pair(0, 60));
    QVERIFY(dialog.bar()->styleSheet().contains("rgb(255, 255, 200)"));
    QVERIFY(dialog.bar()->styleSheet().contains("rgb(0, 200, 0)"));
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("キャンセル"));
    dialog.show();
    QTRY_VERIFY(dialog.bar()->value() >= 1);
    QVERIFY(dialog.windowTitle().startsWith("一括変換中... "));
    dialog.cancelButton()->click();
    QVERIFY(!dialog.cancelButton()->isEnabled());
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    const BatchReport& report = dialog.report();
    QVERIFY(report.cancelled);
    QVERIFY(report.written < 60);
    const int written =
        int(QDir(folder_->path() + "/out").entryList({"*.png"}, QDir::Files).size());
    QCOMPARE(report.written, written);
    QVERIFY(QString::fromStdString(batchEndMessage(report).text)
                .contains(QStringLiteral("中止までに %1 個の画像").arg(written)));
  }

 private:
  // A folder of `count` binary emblem files, each with its own name so no two share an output.
  QString makeInputFolder(int count) {
    const QString input = folder_->path() + "/in";
    QDir().mkpath(input);
    EmblemDocument document;
    for (int i = 0; i < count; ++i) {
      document.newDocument(u"紋章", 192, 96);
      EmblemDocument::setInfo(document.root(), {i + 1, 192, 96, 0});
      NodePtr layer = document.makeNewLayer();
      document.appendChild(document.root(), std::move(layer));
      writeBinaryEmblem(document, (input + QStringLiteral("/%1.ovr").arg(i)).toStdString());
    }
    return input;
  }

  std::unique_ptr<TestDeadline> deadline_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
  QString picture_;
};

static RegisterQtTest<ToolDialogsTest> registration;

}  // namespace orvane::test

#include "tool_dialogs_test.moc"
