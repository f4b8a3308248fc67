#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace orvane {

class Application;
class FileCommands;
class FileDialogs;
class RecoveryStore;

// Keeps a recovery copy of a modified emblem: written a couple of seconds after the edits
// pause, removed as soon as the emblem is saved or its edits discarded.
class RecoveryKeeper : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPauseMs = 2000;

  RecoveryKeeper(Application& application, RecoveryStore* store, QObject* parent = nullptr);
  // Called after every change of the history.
  void historyChanged();
  // Writes the copy now (the pause ended).
  void writeNow();

 private:
  Application& application_;
  RecoveryStore* store_;
  QTimer pause_;
};

// Offers the copies that editors which are gone left behind, newest first, until one is
// restored; the refused ones are removed. True when an emblem was restored.
bool offerRecoveredEdits(RecoveryStore& store, FileCommands& files, FileDialogs& dialogs,
                         QWidget* parent);

}  // namespace orvane
