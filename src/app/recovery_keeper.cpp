#include "app/recovery_keeper.h"

#include "app/file_commands.h"
#include "app/file_dialogs.h"
#include "app/shell/application.h"
#include "app/shell/recovery_store.h"
#include "formats/xml_emblem_file.h"

namespace orvane {

RecoveryKeeper::RecoveryKeeper(Application& application, RecoveryStore* store, QObject* parent)
    : QObject(parent), application_(application), store_(store) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

void RecoveryKeeper::historyChanged() {
  if (!store_ || !store_->active()) return;
  if (application_.history().isModified()) {
    pause_.start();  // restarted by every edit, so the copy is written once they pause
  } else {
    pause_.stop();
    store_->discard();
  }
}

void RecoveryKeeper::writeNow() {
  if (!store_ || !application_.history().isModified()) return;
  store_->write(xmlEmblemText(application_.document()), application_.currentFilePath().string());
}

bool offerRecoveredEdits(RecoveryStore& store, FileCommands& files, FileDialogs& dialogs,
                         QWidget* parent) {
  for (const RecoveryStore::Orphan& orphan : store.orphans()) {
    const QString original = QString::fromStdString(orphan.originalPath);
    if (dialogs.askRestore(parent, original) &&
        files.restoreCopy(QString::fromStdString(orphan.emblem.string()), orphan.originalPath)) {
      RecoveryStore::remove(orphan);
      return true;
    }
    RecoveryStore::remove(orphan);
  }
  return false;
}

}  // namespace orvane
