#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <span>

#include "app/shell/file_types.h"

class QWidget;

namespace orvane {

// A file chosen in a dialog, with the 1-based index of the file type chosen with it.
struct ChosenFile {
  QString path;
  int filterIndex = 1;
};

// A file one of the tools asks for. Open: the file must exist. Save: the name is taken as typed
// (no extension added) and an existing file is replaced without a question.
struct ToolFileQuestion {
  enum class Mode { Open, Save };
  Mode mode = Mode::Open;
  QString title;
  std::span<const FileFilter> filters;  // the first is preselected
  QString start;                        // the file or folder the dialog starts on
};

// A message box with an OK button: its caption, icon and text, and details that are shown in a
// scrollable area (none when empty).
struct MessageText {
  enum class Icon { None, Warning };
  Icon icon = Icon::None;
  QString caption;
  QString text;
  QString details;
};

// The questions the file commands and the tools ask the user. The program shows Qt's dialogs; tests
// answer them in code.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // "開く": starts in `folder` (on `file` when given) with the type `filterIndex` chosen.
  virtual std::optional<ChosenFile> askOpen(QWidget* parent, const QString& folder,
                                            const QString& file, int filterIndex) = 0;
  // "名前を付けて保存": the same for saving.
  virtual std::optional<ChosenFile> askSave(QWidget* parent, const QString& folder,
                                            const QString& file, int filterIndex) = 0;
  // A message with the program's caption, an OK button and no icon.
  virtual void tell(QWidget* parent, const QString& text) = 0;

  // "変更を保存しますか？" before the emblem's edits would be lost.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice askSaveChanges(QWidget* parent) = 0;
  // Whether to restore a copy of edits that a previous run left unsaved (true: 復元).
  virtual bool askRestore(QWidget* parent, const QString& originalPath) = 0;
  // Whether to reload a file another program changed, dropping the edits (true: 再読み込み).
  virtual bool askReload(QWidget* parent, const QString& path) = 0;

  // The tools' questions: a file, a folder ("対象フォルダを指定してください。" and the like), a
  // colour (the chooser keeps its custom colours for the whole run), and their messages.
  virtual std::optional<QString> askToolFile(QWidget* parent, const ToolFileQuestion& question) = 0;
  virtual std::optional<QString> askFolder(QWidget* parent, const QString& title,
                                           const QString& start) = 0;
  virtual std::optional<QColor> askColour(QWidget* parent, const QColor& current) = 0;
  virtual void showMessage(QWidget* parent, const MessageText& message) = 0;
};

// The dialogs a person sees.
class QtFileDialogs : public FileDialogs {
 public:
  std::optional<ChosenFile> askOpen(QWidget* parent, const QString& folder, const QString& file,
                                    int filterIndex) override;
  std::optional<ChosenFile> askSave(QWidget* parent, const QString& folder, const QString& file,
                                    int filterIndex) override;
  void tell(QWidget* parent, const QString& text) override;
  SaveChoice askSaveChanges(QWidget* parent) override;
  bool askRestore(QWidget* parent, const QString& originalPath) override;
  bool askReload(QWidget* parent, const QString& path) override;
  std::optional<QString> askToolFile(QWidget* parent, const ToolFileQuestion& question) override;
  std::optional<QString> askFolder(QWidget* parent, const QString& title,
                                   const QString& start) override;
  std::optional<QColor> askColour(QWidget* parent, const QColor& current) override;
  void showMessage(QWidget* parent, const MessageText& message) override;
};

// The program's title, the caption of every message box of the main window.
QString programTitle();

}  // namespace orvane
