// The random-art dialog's commands: the pause protocol, the picture to analyse, the DNA files and
// the regular look at what the worker published.
#include <QAction>
#include <QLabel>
#include <QTimer>

#include "app/file_dialogs.h"
#include "app/shell/dna_import_check.h"
#include "app/shell/tool_input.h"
#include "app/tools/parameter_sliders.h"
#include "app/tools/picture_box.h"
#include "app/tools/random_art_dialog.h"
#include "app/tools/size_choice.h"
#include "base/atomic_file.h"
#include "tools/randomart/dna_file.h"
#include "tools/randomart/elapsed_time.h"
#include "tools/randomart/target_picture.h"

namespace orvane {
namespace {

QString qt(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::filesystem::path fsPath(const QString& path) {
  return std::filesystem::path(path.toUtf8().toStdString());
}

QString failure(const QString& what, const QString& path, const std::string& reason) {
  return QStringLiteral("%1\n%2\n\n%3").arg(what, path, qt(reason));
}

// DNA files above this size are no DNA file of this program (a picture of at most 4096 x 4096
// pixels and two genomes).
constexpr std::size_t kMaxDnaFileBytes = 80u << 20;

}  // namespace

void RandomArtDialog::warn(const QString& text) {
  dialogs_.showMessage(this, {MessageText::Icon::Warning, windowTitle(), text, {}});
}

void RandomArtDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!workerReady_ && !initialisationReported_) {
    initialisationReported_ = true;
    // Once the dialog is on screen, so the message has it as its owner.
    QTimer::singleShot(0, this,
                       [this] { warn(QStringLiteral("解析処理の初期化に失敗しました。")); });
  }
}

void RandomArtDialog::startSimulation() {
  // The worker only reads the target, so looking at it here needs no pause.
  if (state_.targetPixels.empty()) {
    warn(QStringLiteral("先に解析対象の画像をロードしてください。"));
    loadPicture();
    return;
  }
  run_.start();
  showMode();  // the mode is settled now
}

void RandomArtDialog::pauseSimulation() {
  run_.pause();
  // The worker handed over its newest progress and pictures before it stopped.
  showLatest();
}

void RandomArtDialog::loadPicture() {
  const QString failed = QStringLiteral("画像ファイルの読み込みに失敗しました。");
  if (const auto problem = sizeProblem({state_.width, state_.height})) {
    warn(failed + QStringLiteral("\n\n") + qt(*problem));
    return;
  }
  const std::optional<QString> path = dialogs_.askToolFile(
      this,
      {ToolFileQuestion::Mode::Open, QStringLiteral("画像ファイル"), pictureFileFilters(), {}});
  if (!path) return;
  // Decoded and stretched over the field before the worker is held, so it waits no longer than
  // the swap of two buffers.
  TargetPixels target;
  std::string reason;
  if (!loadTargetPictureFile(fsPath(*path), target, &reason)) {
    warn(failure(failed, *path, reason));
    return;
  }
  {
    ScopedPause pause(run_.worker());
    state_.targetPixels.swap(target);
  }
  targetBox_->showPixels(state_.targetPixels.data());
}

void RandomArtDialog::importDna() {
  const std::optional<QString> path =
      dialogs_.askToolFile(this, {ToolFileQuestion::Mode::Open, QStringLiteral("インポート"),
                                  dnaFileFilters(), qt(state_.dnaPath)});
  if (!path) return;
  state_.dnaPath = path->toUtf8().toStdString();
  const QString failed = QStringLiteral("DNA ファイルを読み込めませんでした。");
  std::string bytes, reason;
  if (!readWholeFile(fsPath(*path), bytes, kMaxDnaFileBytes, &reason)) {
    warn(failure(failed, *path, reason));
    return;
  }
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                           bytes.size());
  // Checked before anything is touched, so a damaged file leaves the state as it was.
  if (const auto problem = dnaFileProblem(data)) {
    warn(failure(failed, *path, *problem));
    return;
  }
  {
    ScopedPause pause(run_.worker());
    readDna(data, state_);
  }
  showImportedState();
}

void RandomArtDialog::showImportedState() {
  sliders_->showParameters();
  size_->showSize({state_.width, state_.height});
  action(AutoExport)->setChecked(state_.autoExport.load());
  action(ShowProcessing)->setChecked(state_.showProcessing.load());
  if (state_.targetPixels.empty()) {
    targetBox_->clear();
  } else {
    targetBox_->showPixels(state_.targetPixels.data());
  }
  // The imported best genome, drawn here once; the worker draws it again when it resumes.
  Renderer view;
  if (prepareGenomeView(view, atlas_)) {
    {
      ScopedPause pause(run_.worker());
      RenderGenome(view, state_.best);
    }
    bestBox_->showPixels(view.backBuffer().pixels);
  }
}

void RandomArtDialog::exportDna() {
  const std::optional<QString> path =
      dialogs_.askToolFile(this, {ToolFileQuestion::Mode::Save, QStringLiteral("エクスポート"),
                                  dnaFileFilters(), qt(state_.dnaPath)});
  if (!path) return;
  state_.dnaPath = path->toUtf8().toStdString();
  std::string reason;
  if (!exportDnaFile(fsPath(*path), state_, run_.worker(), &reason)) {
    warn(failure(QStringLiteral("DNA ファイルを書き込めませんでした。"), *path, reason));
  }
}

void RandomArtDialog::showLatest() {
  if (const std::optional<EvolutionProgress> progress = run_.takeProgress()) {
    const ProgressTexts texts = progressTexts(*progress);
    fitRatio_->setText(qt(texts.fitRatio));
    relativeFitRatio_->setText(qt(texts.relativeFitRatio));
    bestUpdates_->setText(qt(texts.bestUpdates));
    simulations_->setText(qt(texts.simulations));
    elapsed_->setText(qt(texts.elapsed));
    geneCount_->setText(qt(texts.geneCount));
  }
  if (const RunPicture* picture = run_.takeSimulationPicture()) {
    simulationBox_->showPixels(picture->data());
  }
  if (const RunPicture* picture = run_.takeBestPicture()) bestBox_->showPixels(picture->data());
  if (const std::optional<EvolutionEnd> end = run_.endedByItself()) {
    // A perfect match is accepted as if the user had; a failed measurement cancels.
    done(*end == EvolutionEnd::Perfect ? Accepted : Rejected);
  }
}

void RandomArtDialog::done(int result) {
  refresh_->stop();
  run_.close();
  QDialog::done(result);
}

}  // namespace orvane
