// The random-art dialog driven offscreen: its controls, the pause protocol over the real worker,
// its counters and pictures in both modes, DNA files, refusals of bad input, closing in every
// state, and the Tools menu command that adds the result as one undo step.
#include "app/tools/random_art_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <chrono>

#include "app/shell/random_art_run.h"
#include "app/tools/parameter_sliders.h"
#include "app/tools/picture_box.h"
#include "app/tools/size_choice.h"
#include "editor_fixture.h"
#include "formats/parts_atlas.h"
#include "qt_test_registry.h"
#include "test_deadline.h"
#include "tool_test_support.h"
#include "tools/randomart/dna_file.h"
#include "tools/randomart/target_picture.h"

namespace orvane::test {

using namespace std::chrono_literals;

// How long to wait for a fit's first layers: the engine is made first, and under
// ThreadSanitizer six layers take about 6 s.
constexpr int kFitWait = 20000;

class RandomArtToolDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    deadline_ = std::make_unique<TestDeadline>(30s, QTest::currentTestFunction());
    folder_ = std::make_unique<QTemporaryDir>();
    editor_ = std::make_unique<EditorUnderTest>(folder_->path());
    picture_ = folder_->path() + "/target.png";
    QVERIFY(writeTestPicture(picture_));
    state_ = std::make_unique<RandomArtState>();
    EvolutionParameters small;
    small.layerCountMax = 40;  // short iterations
    state_->parameters.assign(small);
  }
  void cleanup() {
    dialog_.reset();
    state_.reset();
    editor_.reset();
    folder_.reset();
    deadline_.reset();
  }

  void opensWithEveryControlInItsFirstState() {
    state_->parameters.assign({});
    RandomArtDialog& dialog = open();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ランダムアート作成"));
    QStringList popups;
    for (QAction* menu : dialog.findChild<QMenuBar*>()->actions()) popups << menu->text();
    QCOMPARE(popups, (QStringList{"DNAファイル(&F)", "シミュレーション(&S)", "方式(&M)",
                                  "チュートリアル(&T)"}));
    QCOMPARE(itemTexts(dialog.findChild<QMenuBar*>()->actions()[2]->menu()),
             (QStringList{"進化(&E)", "図形あてはめ(&F)"}));
    QVERIFY(dialog.action(RandomArtDialog::EvolveMode)->isChecked());
    QVERIFY(!dialog.action(RandomArtDialog::FitMode)->isChecked());
    QVERIFY(dialog.sliders()->isEnabled());
    QCOMPARE(itemTexts(dialog.findChild<QMenuBar*>()->actions()[3]->menu()),
             (QStringList{"(&1) 出力するサイズを入力する", "(&2) 解析対象の画像をロードする",
                          "(&3) シミュレーションを開始する",
                          "(&4) パラメータをいじりつつ、適合率が100%近くになるまで待つ",
                          "(&5) ベスト画像を見て、これでいいと判断したら決定ボタンをクリック"}));
    QVERIFY(!dialog.action(RandomArtDialog::NewDna)->isEnabled());
    QVERIFY(dialog.action(RandomArtDialog::AutoExport)->isChecked());
    QVERIFY(dialog.action(RandomArtDialog::ShowProcessing)->isChecked());
    QCOMPARE(texts(dialog, {"fitRatio", "relativeFitRatio", "geneCount", "bestUpdates",
                            "simulations", "elapsed"}),
             (QStringList{"0%", "0%", "0枚", "0回", "0回", "0秒"}));
    QCOMPARE(dialog.sizeChoice()->list()->currentText(), QStringLiteral("標準サイズ"));
    QCOMPARE(dialog.sizeChoice()->widthEdit()->text(), QStringLiteral("192"));
    QVERIFY(!dialog.sizeChoice()->heightEdit()->isEnabled());
    QCOMPARE(dialog.findChild<QComboBox*>("parts")->count(), 1024);
    QVERIFY(!dialog.findChild<QComboBox*>("parts")->isEnabled());
    QCOMPARE(dialog.findChild<QRadioButton*>()->text(), QStringLiteral("ランダム"));
    // Sliders in index order, each with its parameter's range and value.
    QCOMPARE(dialog.sliders()->findChildren<QSlider*>().size(), kParameterCount);
    QCOMPARE(parameterLabel(0), QStringLiteral("レイヤー数最小値"));
    QCOMPARE(parameterLabel(24), QStringLiteral("パーツ最大値"));
    const QSlider* partMax = dialog.sliders()->slider(24);
    QCOMPARE(std::tuple(partMax->minimum(), partMax->maximum(), partMax->value()),
             std::tuple(0, 1024, 730));
    const QSlider* width = dialog.sliders()->slider(8);
    QCOMPARE(std::tuple(width->minimum(), width->maximum(), width->value(), width->pageStep()),
             std::tuple(0, 128, 20, 1));
    QCOMPARE(dialog.run().pauseCount(), 1);  // a worker waits, paused
    // The boxes show 192 x 96 pixels at a whole zoom.
    QCOMPARE(dialog.bestBox()->sizeHint().width() - 2, 192 * dialog.bestBox()->zoom());
  }

  void aFixedPartShowsAndNarrowsThePartRange() {
    state_->parameters.set(23, 77);
    state_->parameters.set(24, 77);
    RandomArtDialog& dialog = open();
    auto* parts = dialog.findChild<QComboBox*>("parts");
    QVERIFY(parts->isEnabled());
    QCOMPARE(parts->currentIndex(), 77);
    QRadioButton* random = dialog.findChildren<QRadioButton*>()[0];
    random->click();
    QCOMPARE(state_->parameters.get(23), 0);
    QCOMPARE(state_->parameters.get(24), 730);
    QVERIFY(!parts->isEnabled());
    parts->setCurrentIndex(300);
    dialog.findChildren<QRadioButton*>()[1]->click();
    QCOMPARE(state_->parameters.get(23), 300);
    QCOMPARE(state_->parameters.get(24), 300);
  }

  void pausesCountAndOnlyTheLastStartResumes() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 20);
    dialog.startSimulation();  // while running: nothing changes
    QCOMPARE(dialog.run().pauseCount(), 0);
    dialog.pauseSimulation();
    dialog.pauseSimulation();
    dialog.startSimulation();
    QCOMPARE(dialog.run().pauseCount(), 1);
    const double held = simulations(dialog);
    QTest::qWait(150);
    QCOMPARE(simulations(dialog), held);  // still paused
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > held + 20);
  }

  void startWithoutAPictureAsksForOneFirst() {
    RandomArtDialog& dialog = open();
    editor_->dialogs.toolFiles = {picture_};
    dialog.action(RandomArtDialog::Start)->trigger();
    QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
    const MessageText& message = editor_->dialogs.messages[0];
    QCOMPARE(message.text, QStringLiteral("先に解析対象の画像をロードしてください。"));
    QCOMPARE(message.caption, QStringLiteral("ランダムアート作成"));
    QCOMPARE(message.icon, MessageText::Icon::Warning);
    QCOMPARE(editor_->dialogs.toolFileQuestions.size(), size_t(1));
    const ToolFileQuestion& asked = editor_->dialogs.toolFileQuestions[0];
    QCOMPARE(asked.title, QStringLiteral("画像ファイル"));
    QCOMPARE(asked.filters.size(), size_t(6));
    QCOMPARE(asked.mode, ToolFileQuestion::Mode::Open);
    QCOMPARE(state_->targetPixels.size(), size_t(kFieldPixels));
    QVERIFY(!dialog.targetBox()->picture().isNull());
    QCOMPARE(dialog.run().pauseCount(), 1);  // loading does not start the run
  }

  void closesInEveryStateWithoutHanging() {
    for (const char* how : {"never started", "running", "paused three times", "no picture"}) {
      dialog_.reset();
      state_ = std::make_unique<RandomArtState>();
      RandomArtDialog& dialog = open();
      if (QByteArray(how) != "no picture") loadTarget(dialog);
      if (QByteArray(how) == "running" || QByteArray(how) == "paused three times") {
        dialog.startSimulation();
        QTRY_VERIFY(simulations(dialog) > 5);
      }
      if (QByteArray(how) == "paused three times") {
        for (int i = 0; i < 3; ++i) dialog.pauseSimulation();
      }
      const auto before = std::chrono::steady_clock::now();
      dialog.reject();
      QVERIFY2(std::chrono::steady_clock::now() - before < 2s, how);
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QCOMPARE(dialog.run().worker(), nullptr);
      dialog_.reset();
    }
  }

  void slidersWriteTheirParametersAtOnce() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 5);
    dialog.sliders()->slider(5)->setValue(1999);
    QCOMPARE(state_->parameters.get(5), 1999);
    // Keyboard steps move by one, as the page size is one.
    QSlider* redMax = dialog.sliders()->slider(12);
    redMax->setFocus();
    QTest::keyClick(redMax, Qt::Key_PageDown);
    QCOMPARE(state_->parameters.get(12), 63);
    // Layer count held at 3 from now on: the run's genome follows, once deletions that make it
    // no worse have been kept (seconds on a busy machine).
    dialog.sliders()->slider(1)->setValue(3);
    dialog.sliders()->slider(3)->setValue(1);
    QTRY_VERIFY_WITH_TIMEOUT(counterValue(dialog.findChild<QLabel*>("geneCount")) <= 3, 20000);
  }

  void countersShowAPlausibleRunWithAFixedSeed() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 200);
    dialog.pauseSimulation();
    const QRegularExpression ratio(QStringLiteral("^-?[0-9]+\\.[0-9]{2}％$"));
    QVERIFY(ratio.match(label(dialog, "fitRatio")->text()).hasMatch());
    QVERIFY(ratio.match(label(dialog, "relativeFitRatio")->text()).hasMatch());
    const double fit = counterValue(label(dialog, "fitRatio"));
    QVERIFY(fit > 0 && fit <= 100);
    QVERIFY(counterValue(label(dialog, "relativeFitRatio")) > 0);  // better than white
    const double updates = counterValue(label(dialog, "bestUpdates"));
    QVERIFY(updates >= 1 && updates <= simulations(dialog));
    QCOMPARE(label(dialog, "geneCount")->text(), QStringLiteral("%1枚").arg(state_->best.count));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9]+秒$"))
                .match(label(dialog, "elapsed")->text())
                .hasMatch());
    // Both previews show the run, and the best one is the best genome as it stands.
    QVERIFY(!dialog.simulationBox()->picture().isNull());
    QVERIFY(!dialog.bestBox()->picture().isNull());
    QCOMPARE(dialog.bestBox()->picture(), drawnBest(state_->best));  // the run is paused
  }

  void theModeIsChosenBeforeTheFirstStart() {
    RandomArtDialog& dialog = open();
    QAction* fit = dialog.action(RandomArtDialog::FitMode);
    QAction* evolve = dialog.action(RandomArtDialog::EvolveMode);
    fit->trigger();
    QCOMPARE(state_->mode.load(), RandomArtMode::Fit);
    QVERIFY(fit->isChecked() && !evolve->isChecked());
    // The evolution's parameters and part range do nothing for the fitting.
    QVERIFY(!dialog.sliders()->isEnabled());
    QVERIFY(!dialog.findChild<QRadioButton*>()->isEnabled());
    evolve->trigger();
    QCOMPARE(state_->mode.load(), RandomArtMode::Evolve);
    QVERIFY(dialog.sliders()->isEnabled());
    QVERIFY(dialog.findChild<QRadioButton*>()->isEnabled());

    fit->trigger();
    loadTarget(dialog);
    QVERIFY(fit->isEnabled());  // a picture alone settles nothing
    dialog.startSimulation();
    QVERIFY(!fit->isEnabled() && !evolve->isEnabled());
    dialog.chooseMode(RandomArtMode::Evolve);  // too late: the worker runs a fit
    QCOMPARE(state_->mode.load(), RandomArtMode::Fit);
    QVERIFY(fit->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(counterValue(label(dialog, "geneCount")) >= 2, kFitWait);
    dialog.pauseSimulation();
    QVERIFY(!fit->isEnabled());
  }

  void theFitShowsItsCountersAndPictures() {
    RandomArtDialog& dialog = open();
    dialog.action(RandomArtDialog::FitMode)->trigger();
    loadTarget(dialog);
    dialog.startSimulation();
    QTRY_VERIFY_WITH_TIMEOUT(counterValue(label(dialog, "geneCount")) >= 6, kFitWait);
    dialog.pauseSimulation();
    const QRegularExpression ratio(QStringLiteral("^-?[0-9]+\\.[0-9]{2}％$"));
    QVERIFY(ratio.match(label(dialog, "fitRatio")->text()).hasMatch());
    QVERIFY(ratio.match(label(dialog, "relativeFitRatio")->text()).hasMatch());
    const double fit = counterValue(label(dialog, "fitRatio"));
    QVERIFY(fit > 0 && fit <= 100);
    QVERIFY(counterValue(label(dialog, "relativeFitRatio")) > 0);  // better than white
    // Every layer taken was a best update, found among many more candidates.
    const double updates = counterValue(label(dialog, "bestUpdates"));
    QVERIFY(updates >= counterValue(label(dialog, "geneCount")) - 1);
    QVERIFY(simulations(dialog) > 10 * updates);
    QCOMPARE(label(dialog, "geneCount")->text(), QStringLiteral("%1枚").arg(state_->best.count));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9]+秒$"))
                .match(label(dialog, "elapsed")->text())
                .hasMatch());
    // Both previews show the fit, and the best one is exactly the best genome drawn.
    QVERIFY(!dialog.simulationBox()->picture().isNull());
    QCOMPARE(dialog.bestBox()->picture(), drawnBest(state_->best));
    // Paused, nothing moves; started again, the fit goes on.
    const QString held = label(dialog, "simulations")->text();
    QTest::qWait(150);
    QCOMPARE(label(dialog, "simulations")->text(), held);
    dialog.startSimulation();
    QTRY_VERIFY_WITH_TIMEOUT(label(dialog, "simulations")->text() != held, kFitWait);
  }

  void withoutShowProcessingThePreviewsStayAsTheyWere() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    dialog.action(RandomArtDialog::ShowProcessing)->trigger();
    QVERIFY(!state_->showProcessing.load());
    QVERIFY(!dialog.action(RandomArtDialog::ShowProcessing)->isChecked());
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 50);
    dialog.pauseSimulation();
    QVERIFY(dialog.simulationBox()->picture().isNull());
    QVERIFY(dialog.bestBox()->picture().isNull());
  }

  void dnaExportThenImportRestoresTheSameState() {
    RandomArtDialog& first = open();
    loadTarget(first);
    first.startSimulation();
    QTRY_VERIFY(simulations(first) > 100);
    first.pauseSimulation();
    first.sliders()->slider(7)->setValue(123);
    first.sizeChoice()->list()->setCurrentIndex(2);
    first.sizeChoice()->widthEdit()->setText(QStringLiteral("150"));
    first.action(RandomArtDialog::AutoExport)->trigger();
    const QString path = folder_->path() + "/session";  // no extension is added
    editor_->dialogs.toolFiles = {path};
    first.exportDna();
    QVERIFY(QFile::exists(path));
    QVERIFY(editor_->dialogs.messages.empty());
    const RandomArtState& exported = *state_;
    const Genome best = exported.best;
    const TargetPixels target = exported.targetPixels;
    const EvolutionParameters parameters = exported.parameters.snapshot();

    auto other = std::make_unique<RandomArtState>();
    RandomArtDialog second(*other, editor_->application().atlas(), random_, editor_->dialogs);
    editor_->dialogs.toolFiles = {path};
    second.importDna();
    QCOMPARE(editor_->dialogs.toolFileQuestions.back().title, QStringLiteral("インポート"));
    QVERIFY(other->targetPixels == target);
    QCOMPARE(other->best.count, best.count);
    QVERIFY(
        std::equal(best.genes.begin(), best.genes.begin() + best.count, other->best.genes.begin()));
    QVERIFY(other->parameters.snapshot() == parameters);
    QCOMPARE(std::pair(other->width, other->height), std::pair(150, 96));
    QVERIFY(!other->autoExport.load());
    // The dialog shows what it imported.
    QCOMPARE(second.sliders()->slider(7)->value(), 123);
    QCOMPARE(second.sizeChoice()->widthEdit()->text(), QStringLiteral("150"));
    QVERIFY(!second.action(RandomArtDialog::AutoExport)->isChecked());
    QCOMPARE(second.bestBox()->picture(), drawnBest(other->best));
    // The second dialog starts from the same path.
    editor_->dialogs.toolFiles = {QString()};
    second.exportDna();
    QCOMPARE(editor_->dialogs.toolFileQuestions.back().start, path);
    QCOMPARE(editor_->dialogs.toolFileQuestions.back().mode, ToolFileQuestion::Mode::Save);
    second.reject();
  }

  void failedDnaFilesAreReportedAndChangeNothing() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 20);
    const QString damaged = folder_->path() + "/damaged.dna";
    editor_->dialogs.toolFiles = {damaged};
    dialog.exportDna();
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    QVERIFY(writeBytes(damaged, whole.left(whole.size() / 3)));  // the picture cut short

    for (const QString& bad : {damaged, picture_, folder_->path() + "/missing.dna"}) {
      dialog.pauseSimulation();
      const Genome best = state_->best;
      const TargetPixels target = state_->targetPixels;
      editor_->dialogs.messages.clear();
      editor_->dialogs.toolFiles = {bad};
      dialog.importDna();
      QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
      QVERIFY(editor_->dialogs.messages[0].text.startsWith("DNA ファイルを読み込めませんでした。"));
      QVERIFY(editor_->dialogs.messages[0].text.contains(bad));
      QVERIFY(state_->targetPixels == target);
      QCOMPARE(state_->best.count, best.count);
      dialog.startSimulation();  // still usable
      QCOMPARE(dialog.run().pauseCount(), 0);
    }
    editor_->dialogs.messages.clear();
    editor_->dialogs.toolFiles = {"/proc/orvane/session.dna"};
    dialog.exportDna();
    QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
    QVERIFY(editor_->dialogs.messages[0].text.contains("/proc/orvane/session.dna"));
    QCOMPARE(dialog.run().pauseCount(), 0);  // the pause of the export was given back
  }

  void badPicturesAndSizesAreRefusedAndTheDialogStaysUsable() {
    RandomArtDialog& dialog = open();
    loadTarget(dialog);
    const TargetPixels before = state_->targetPixels;
    const BadPictures bad = writeBadPictures(folder_->path());
    for (const QString& path : {bad.notAPicture, bad.truncated, bad.zeroSize, bad.huge}) {
      editor_->dialogs.messages.clear();
      editor_->dialogs.toolFiles = {path};
      dialog.loadPicture();
      QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
      QVERIFY(
          editor_->dialogs.messages[0].text.startsWith("画像ファイルの読み込みに失敗しました。"));
      QVERIFY2(editor_->dialogs.messages[0].text.contains(path), qPrintable(path));
      QVERIFY(state_->targetPixels == before);
    }
    // Sizes of 0 and 100000: refused before any file is asked for.
    dialog.sizeChoice()->list()->setCurrentIndex(2);
    for (const char* width : {"", "0", "100000"}) {
      dialog.sizeChoice()->widthEdit()->setText(QLatin1String(width));
      editor_->dialogs.messages.clear();
      editor_->dialogs.toolFileQuestions.clear();
      dialog.loadPicture();
      QCOMPARE(editor_->dialogs.messages.size(), size_t(1));
      QVERIFY(editor_->dialogs.messages[0].text.contains("10000"));
      QVERIFY(editor_->dialogs.toolFileQuestions.empty());
    }
    dialog.sizeChoice()->widthEdit()->setText(QStringLiteral("100"));
    dialog.startSimulation();
    QTRY_VERIFY(simulations(dialog) > 5);
  }

  void theWorkerEndsTheDialogOnAPerfectMatchOrAFailedMeasurement() {
    // A white target: the first speck that lands outside the field matches it exactly.
    Picture white{1, 1, {255, 255, 255, 255}};
    QVERIFY(makeTargetPixels(white, state_->targetPixels));
    RandomArtDialog& perfect = open();
    perfect.startSimulation();
    QTRY_VERIFY(!perfect.isVisible());
    QCOMPARE(perfect.result(), int(QDialog::Accepted));
    QVERIFY(state_->best.count >= 1);

    // A DNA file without a picture, taken in while running: the next measurement fails.
    dialog_.reset();
    state_ = std::make_unique<RandomArtState>();
    const QString noPicture = folder_->path() + "/no-picture.dna";
    QVERIFY(writeBytes(noPicture, QByteArray::fromStdString(writeDna(*state_))));
    RandomArtDialog& failing = open();
    loadTarget(failing);
    failing.startSimulation();
    QTRY_VERIFY(simulations(failing) > 5);
    editor_->dialogs.toolFiles = {noPicture};
    failing.importDna();
    QTRY_VERIFY(!failing.isVisible());
    QCOMPARE(failing.result(), int(QDialog::Rejected));
  }

  void initialisationFailureIsReportedAndTheDialogStaysOpen() {
    const PartsAtlasBuffer noAtlas;
    RandomArtDialog dialog(*state_, noAtlas, random_, editor_->dialogs);
    dialog.show();
    QTRY_COMPARE(editor_->dialogs.messages.size(), size_t(1));
    QCOMPARE(editor_->dialogs.messages[0].text, QStringLiteral("解析処理の初期化に失敗しました。"));
    QVERIFY(dialog.isVisible());
    loadTarget(dialog);
    dialog.startSimulation();
    dialog.pauseSimulation();
    QCOMPARE(dialog.run().pauseCount(), 0);  // no worker to start or pause
    dialog.reject();
  }

  void acceptAddsTheGroupAsOneUndoStep() {
    MainWindow& window = editor_->start();
    editor_->dialogs.toolFiles = {picture_};
    int genes = -1;
    whenModal<RandomArtDialog>([&](RandomArtDialog& dialog) {
      dialog.loadPicture();
      dialog.startSimulation();
      QTRY_VERIFY(simulations(dialog) > 30);
      dialog.findChild<QPushButton*>("accept")->click();
      genes = int(counterValue(dialog.findChild<QLabel*>("geneCount")));
    });
    window.action(Command::RandomArt)->trigger();
    EmblemNode* group = editor_->application().document().root()->firstChild();
    QVERIFY(group);
    QCOMPARE(group->name(), std::u16string(u"ランダムアート"));
    QVERIFY(genes >= 1);
    QVERIFY(int(group->childCount()) >= genes + 1);  // the genes and the white backdrop
    QCOMPARE(editor_->application().history().undoName(), std::string("ランダムアート"));
    QCOMPARE(shownTitle(window).left(2), QStringLiteral("無題"));
    QVERIFY(editor_->application().undo());
    QCOMPARE(editor_->application().document().root()->firstChild(), nullptr);

    // A fit lands as one group too: its layers, its own backdrop last, no white layer behind.
    editor_->dialogs.toolFiles = {picture_};
    whenModal<RandomArtDialog>([&](RandomArtDialog& dialog) {
      dialog.action(RandomArtDialog::FitMode)->trigger();
      dialog.loadPicture();
      dialog.startSimulation();
      QTRY_VERIFY_WITH_TIMEOUT(counterValue(dialog.findChild<QLabel*>("geneCount")) >= 4, kFitWait);
      dialog.findChild<QPushButton*>("accept")->click();
    });
    window.action(Command::RandomArt)->trigger();
    group = editor_->application().document().root()->firstChild();
    QVERIFY(group);
    QCOMPARE(group->name(), std::u16string(u"ランダムアート"));
    QVERIFY(group->childCount() >= 4);
    const EmblemNode* backdrop = group->lastChild();
    QCOMPARE(backdrop->layer().partId, 242);
    QCOMPARE(std::tuple(backdrop->layer().ltx, backdrop->layer().rbx), std::tuple(-128, 127));
    QVERIFY(backdrop->layer().color != 0xFFFFFFFFu);  // the picture's mean colour, not white
    QCOMPARE(editor_->application().history().undoName(), std::string("ランダムアート"));
    QVERIFY(editor_->application().undo());
    QCOMPARE(editor_->application().document().root()->firstChild(), nullptr);

    // Escape adds nothing.
    whenModal<RandomArtDialog>(
        [](RandomArtDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    window.action(Command::RandomArt)->trigger();
    QCOMPARE(editor_->application().document().root()->firstChild(), nullptr);
  }

 private:
  RandomArtDialog& open() {
    dialog_ = std::make_unique<RandomArtDialog>(*state_, editor_->application().atlas(), random_,
                                                editor_->dialogs);
    dialog_->show();
    return *dialog_;
  }
  void loadTarget(RandomArtDialog& dialog) {
    editor_->dialogs.toolFiles.push_back(picture_);
    dialog.loadPicture();
    QVERIFY(!state_->targetPixels.empty());
  }
  static QLabel* label(RandomArtDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QLatin1String(name));
  }
  static double simulations(RandomArtDialog& dialog) {
    return counterValue(label(dialog, "simulations"));
  }
  static QStringList texts(RandomArtDialog& dialog, std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) list << label(dialog, name)->text();
    return list;
  }
  static QStringList itemTexts(QMenu* menu) {
    QStringList list;
    for (QAction* action : menu->actions()) list << action->text();
    return list;
  }
  // A genome drawn anew, as the best box should show it.
  QImage drawnBest(const Genome& genome) {
    Renderer view;
    if (!prepareGenomeView(view, editor_->application().atlas())) return {};
    RenderGenome(view, genome);
    PictureBox box(1);
    box.showPixels(view.backBuffer().pixels);
    return box.picture();
  }

  std::unique_ptr<TestDeadline> deadline_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<EditorUnderTest> editor_;
  std::unique_ptr<RandomArtState> state_;
  std::unique_ptr<RandomArtDialog> dialog_;
  RandomGenerator random_{2024};
  QString picture_;
};

static RegisterQtTest<RandomArtToolDialogsTest> registration;

}  // namespace orvane::test

#include "random_art_dialog_test.moc"
