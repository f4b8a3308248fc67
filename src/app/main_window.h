#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/file_commands.h"
#include "app/menu_commands.h"

class QAction;
class QLabel;
class QMenu;

namespace orvane {

class Application;
class DetailsPane;
class DrawingPane;
class EditorHost;
class FileDialogs;
class LayerPane;
class PaneSplitter;
class RecoveryKeeper;
class RecoveryStore;
struct Settings;

// The editor's window: the menu bar, the three panes in two splitters (layer pane | drawing
// pane | property pages), a status line, dropped files and viewer-mode browsing.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `recovery` keeps copies of unsaved edits; none keeps no copies.
  MainWindow(Application& application, Settings& settings, FileDialogs& dialogs,
             RecoveryStore* recovery = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  FileCommands& files() { return files_; }
  // The menu action of a command number (nullptr for an unknown number).
  QAction* action(Command command) const;
  PaneSplitter* outerSplitter() const { return outer_; }
  PaneSplitter* innerSplitter() const { return inner_; }
  DrawingPane* drawingPane() const;
  LayerPane* layerPane() const { return layerPane_; }
  DetailsPane* detailsPane() const { return detailsPane_; }

  // The title for the file at `path` (empty: untitled).
  void showTitleFor(const std::string& path);
  // Hides or shows the side panes for viewer mode; `changed` narrows or widens the window by
  // their widths.
  void showViewerMode(bool on, bool changed);
  // Writes the window's placement and the splitters' sizes into the settings.
  void storePlacement();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildPanes();
  void buildMenus();
  QAction* addCommand(QMenu* menu, Command command, const QString& text,
                      const QKeySequence& key = {});
  void fillRecentFilesMenu();
  void toggleAlwaysOnTop();
  void showVersion();
  void showPointer(int x, int y);
  // The Edit menu's texts and states and the title's modified marker, after the history moved.
  void showHistory();

  Application& application_;
  Settings& settings_;
  FileDialogs& dialogs_;
  FileCommands files_;
  std::map<Command, QAction*> actions_;
  QMenu* recentMenu_ = nullptr;
  PaneSplitter* outer_ = nullptr;
  PaneSplitter* inner_ = nullptr;
  LayerPane* layerPane_ = nullptr;
  EditorHost* editorHost_ = nullptr;
  DetailsPane* detailsPane_ = nullptr;
  QLabel* pointerLabel_ = nullptr;
  std::string titlePath_;
  RecoveryKeeper* recoveryKeeper_ = nullptr;
};

}  // namespace orvane
