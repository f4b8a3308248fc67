#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "app/editor_session.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"

namespace orvane::test {

// Dialog answers given by the test, and the messages the editor showed.
class ScriptedDialogs : public FileDialogs {
 public:
  std::optional<ChosenFile> askOpen(QWidget*, const QString&, const QString&, int) override {
    return next(opens);
  }
  std::optional<ChosenFile> askSave(QWidget*, const QString&, const QString&, int) override {
    return next(saves);
  }
  void tell(QWidget*, const QString& text) override { told << text; }
  SaveChoice askSaveChanges(QWidget*) override {
    ++saveQuestions;
    return saveChoice;
  }
  bool askRestore(QWidget*, const QString&) override {
    ++restoreQuestions;
    return restore;
  }
  bool askReload(QWidget*, const QString&) override {
    ++reloadQuestions;
    return reload;
  }

  std::optional<QString> askToolFile(QWidget*, const ToolFileQuestion& question) override {
    toolFileQuestions.push_back(question);
    return nextText(toolFiles);
  }
  std::optional<QString> askFolder(QWidget*, const QString& title, const QString&) override {
    folderTitles << title;
    return nextText(folders);
  }
  std::optional<QColor> askColour(QWidget*, const QColor& current) override {
    colourStarts.push_back(current);
    if (colours.empty()) return std::nullopt;
    const QColor answer = colours.front();
    colours.pop_front();
    if (!answer.isValid()) return std::nullopt;
    return answer;
  }
  void showMessage(QWidget*, const MessageText& message) override { messages.push_back(message); }

  // The answers in order; an answer with an empty path cancels its dialog.
  std::deque<ChosenFile> opens;
  std::deque<ChosenFile> saves;
  QStringList told;
  SaveChoice saveChoice = SaveChoice::Cancel;
  bool restore = true;
  bool reload = true;
  int saveQuestions = 0;
  int restoreQuestions = 0;
  int reloadQuestions = 0;
  // The tools' questions: answers in order (an empty text or an invalid colour cancels), and
  // what was asked and shown.
  std::deque<QString> toolFiles;
  std::deque<QString> folders;
  std::deque<QColor> colours;
  std::vector<ToolFileQuestion> toolFileQuestions;
  QStringList folderTitles;
  std::vector<QColor> colourStarts;
  std::vector<MessageText> messages;

 private:
  static std::optional<QString> nextText(std::deque<QString>& answers) {
    if (answers.empty()) return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
  }
  static std::optional<ChosenFile> next(std::deque<ChosenFile>& answers) {
    if (answers.empty()) return std::nullopt;  // an unexpected dialog is cancelled
    const ChosenFile answer = answers.front();
    answers.pop_front();
    if (answer.path.isEmpty()) return std::nullopt;
    return answer;
  }
};

// A whole editor in a temporary folder: its settings go to the folder's config/ (the program
// folder given to the session does not exist, so it is never writable).
class EditorUnderTest {
 public:
  explicit EditorUnderTest(const QString& folder)
      : folder_(folder),
        session_(std::make_unique<EditorSession>(
            "/nonexistent/orvane-program",
            ConfigEnvironment{(folder + "/config").toStdString(), ""}, folder.toStdString(),
            (folder + "/state/orvane/recovery").toStdString())) {}

  MainWindow& start() {
    window_ = std::make_unique<MainWindow>(session_->application(), session_->settings(), dialogs,
                                           session_->recovery());
    return *window_;
  }
  // Closes the window the normal way and writes the settings, as the program does at exit.
  void finish() {
    if (window_) window_->close();
    window_.reset();
    session_->saveSettings();
  }

  MainWindow& window() { return *window_; }
  EditorSession& session() { return *session_; }
  Application& application() { return session_->application(); }
  Settings& settings() { return session_->settings(); }
  QString path(const QString& name) const { return folder_ + "/" + name; }

  ScriptedDialogs dialogs;

 private:
  QString folder_;
  std::unique_ptr<EditorSession> session_;
  std::unique_ptr<MainWindow> window_;
};

// The title as the window system shows it: Qt's "[*]" becomes "*" while modified.
inline QString shownTitle(const QWidget& window) {
  QString title = window.windowTitle();
  return title.replace(QStringLiteral("[*]"),
                       window.isWindowModified() ? QStringLiteral("*") : QString());
}

// A copy of an example emblem in the folder.
inline QString copyExample(const QString& folder, const QString& example, const QString& as) {
  const QString target = folder + "/" + as;
  QFile::remove(target);
  QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/examples/") + example, target);
  QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return target;
}

}  // namespace orvane::test
