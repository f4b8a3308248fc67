#include "app/tools/tool_commands.h"

#include <QAction>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/shell/application.h"
#include "app/shell/batch_run_rules.h"
#include "app/tools/batch_options_dialog.h"
#include "app/tools/batch_progress_dialog.h"
#include "app/tools/block_art_dialog.h"
#include "app/tools/random_art_dialog.h"
#include "tools/randomart/append_genome.h"

namespace orvane {
namespace {

// One generator for every random-art dialog of the run, seeded once from the clock.
RandomGenerator& processRandomGenerator() {
  static RandomGenerator generator = RandomGenerator::seededFromClock();
  return generator;
}

QString qt(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

void connectToolCommands(MainWindow& window, Application& application, FileDialogs& dialogs) {
  QObject::connect(window.action(Command::BlockArt), &QAction::triggered, &window,
                   [&] { runBlockArtTool(window, application, dialogs); });
  QObject::connect(window.action(Command::RandomArt), &QAction::triggered, &window,
                   [&] { runRandomArtTool(window, application, dialogs); });
  QObject::connect(window.action(Command::BatchConversion), &QAction::triggered, &window,
                   [&] { runBatchConversionTool(window, application, dialogs); });
}

void runBlockArtTool(MainWindow& window, Application& application, FileDialogs& dialogs) {
  BlockArtSettings settings;
  BlockArtDialog dialog(settings, dialogs, &window);
  if (dialog.exec() != QDialog::Accepted) return;
  std::string reason;
  if (GenerateBlockArt(application.document(), dialog.picture(), settings, &reason)) {
    application.recordEdit("ブロックアート", {});
  } else {
    dialogs.showMessage(
        &window, {MessageText::Icon::Warning,
                  dialog.windowTitle(),
                  QStringLiteral("ブロックアートを作成できませんでした。\n\n%1").arg(qt(reason)),
                  {}});
  }
  window.files().toolResultSteps();
}

void runRandomArtTool(MainWindow& window, Application& application, FileDialogs& dialogs) {
  // The state is large (two genomes of 512 genes) and must not move while the worker runs.
  auto state = std::make_unique<RandomArtState>();
  bool accepted = false;
  {
    RandomArtDialog dialog(*state, application.atlas(), processRandomGenerator(), dialogs, &window);
    accepted = dialog.exec() == QDialog::Accepted;
  }  // the worker has ended with the dialog
  if (!accepted || !AppendGenomeAsLayers(application.document(), state->best, state->bestBackdrop))
    return;
  application.recordEdit("ランダムアート", {});
  window.files().toolResultSteps();
}

void runBatchConversionTool(MainWindow& window, Application& application, FileDialogs& dialogs) {
  BatchOptionsDialog options(dialogs, &window);
  if (options.exec() != QDialog::Accepted) return;
  BatchProgressDialog progress(options.settings(), application.atlas().pixels(), &window);
  progress.exec();
  const BatchEndMessage end = batchEndMessage(progress.report());
  dialogs.showMessage(&window, {end.warning ? MessageText::Icon::Warning : MessageText::Icon::None,
                                programTitle(), qt(end.text), qt(end.details)});
}

}  // namespace orvane
