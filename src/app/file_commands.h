#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "app/file_watch.h"
#include "app/shell/neighbour_files.h"

namespace orvane {

class Application;
class FileDialogs;
class MainWindow;
struct Settings;

// New, Open, Save and Save As, the title they leave, viewer mode with its browsing of the
// neighbouring binary emblem files, and the steps after a tool added its result. A failed open
// keeps the emblem on screen; a failed save or export is reported and changes nothing.
class FileCommands {
 public:
  FileCommands(Application& application, Settings& settings, FileDialogs& dialogs,
               MainWindow& window);

  // A new untitled emblem of 192 x 96.
  void newEmblem();
  // Asks whether to save a modified emblem before its edits would be lost. True when the command
  // may go on: nothing was modified, the user chose not to save, or the save succeeded.
  bool confirmDiscard();
  // Takes over a recovery copy of unsaved edits: opened from `copy`, named `originalPath`, and
  // modified until it is saved.
  bool restoreCopy(const QString& copy, const std::string& originalPath);
  // Where a path to open comes from: a file that is not an emblem is ignored when dropped, and
  // reported when named on the command line or chosen from the recent files.
  enum class Source { Dropped, CommandLine, Named };
  // Opens `path`, or asks for a file when there is none. True when a file was loaded.
  // Asks about unsaved edits first.
  bool openEmblemFile(const std::optional<QString>& path = std::nullopt,
                      Source source = Source::Named);
  // Saves the emblem; through the dialog when `ask` is set, the emblem is untitled, or its name
  // names no emblem type. False when the dialog was cancelled or the write failed.
  bool saveEmblemFile(bool ask);
  // Brings the panes, the window width and the neighbour list into line with viewer mode.
  void applyViewerMode();
  // Opens the previous or next binary emblem file of the folder (viewer mode only).
  void browse(BrowseDirection direction);
  // After a tool put its layers into the document: the emblem becomes untitled.
  void toolResultSteps();

  const std::vector<std::string>& neighbourNames() const { return neighbours_; }
  int neighbourIndex() const { return neighbourIndex_; }

 private:
  // Opens a file with a known reader; reports a failure and keeps the document.
  bool load(const QString& path, int openFilterIndex);
  void opened(const std::string& path);
  void rememberRecent(const std::string& path);
  void rebuildNeighbours();
  // Another program changed the open file: reload it, asking first when there are edits.
  void changedElsewhere(const QString& path);

  Application& application_;
  Settings& settings_;
  FileDialogs& dialogs_;
  MainWindow& window_;
  int openFilter_ = 1;
  int saveFilter_ = 1;
  QString saveFileName_;
  std::optional<bool> appliedViewerMode_;
  std::vector<std::string> neighbours_;
  int neighbourIndex_ = 0;
  bool browsingNeighbours_ = false;
  FileWatch watch_;
};

}  // namespace orvane
