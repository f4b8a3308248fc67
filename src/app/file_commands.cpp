#include "app/file_commands.h"

#include <filesystem>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/shell/application.h"
#include "app/shell/command_line.h"
#include "app/shell/file_types.h"
#include "app/shell/recent_files.h"
#include "app/shell/settings_file.h"
#include "app/shell/window_title.h"
#include "formats/binary_emblem_file.h"
#include "formats/emblem_file.h"
#include "formats/xml_emblem_file.h"
#include "render/image_export.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }
QString qt(const std::string& text) { return QString::fromUtf8(text.data(), text.size()); }

QString failureText(const QString& what, const std::string& path, const std::string& reason) {
  return QStringLiteral("%1\n%2\n\n%3").arg(what, qt(path), qt(reason));
}

}  // namespace

FileCommands::FileCommands(Application& application, Settings& settings, FileDialogs& dialogs,
                           MainWindow& window)
    : application_(application), settings_(settings), dialogs_(dialogs), window_(window) {
  QObject::connect(&watch_, &FileWatch::changedElsewhere,
                   [this](const QString& path) { changedElsewhere(path); });
}

bool FileCommands::confirmDiscard() {
  if (!application_.history().isModified()) return true;
  switch (dialogs_.askSaveChanges(&window_)) {
    case FileDialogs::SaveChoice::Save:
      return saveEmblemFile(false);  // a cancelled or failed save cancels the command
    case FileDialogs::SaveChoice::Discard:
      return true;
    case FileDialogs::SaveChoice::Cancel:
      break;
  }
  return false;
}

bool FileCommands::restoreCopy(const QString& copy, const std::string& originalPath) {
  std::string reason;
  if (!loadEmblemFile(application_.document(), fs::path(utf8(copy)), EmblemFileType::Xml,
                      &reason)) {
    dialogs_.tell(&window_, failureText(QStringLiteral("編集内容を復元できませんでした。"),
                                        utf8(copy), reason));
    return false;
  }
  application_.setCurrentFilePath(fs::path(originalPath));
  application_.SetSelection(application_.document().root());
  application_.resetHistory();
  application_.markUnsaved();
  window_.showTitleFor(originalPath);
  watch_.watch(qt(originalPath));
  applyViewerMode();
  return true;
}

void FileCommands::changedElsewhere(const QString& path) {
  if (application_.history().isModified() && !dialogs_.askReload(&window_, path)) return;
  std::string reason;
  const auto reader = readerForPath(utf8(path));
  if (!reader || !loadEmblemFile(application_.document(), fs::path(utf8(path)), *reader, &reason)) {
    return;  // a half-written file; the next change will be seen again
  }
  application_.SetSelection(application_.document().root());
  application_.resetHistory();
}

void FileCommands::newEmblem() {
  application_.document().newDocument(kUntitledName, 192, 96);
  application_.setCurrentFilePath({});
  watch_.stop();
  application_.SetSelection(application_.document().root());
  application_.resetHistory();
  window_.showTitleFor({});
  applyViewerMode();
}

bool FileCommands::openEmblemFile(const std::optional<QString>& path, Source source) {
  // A dropped file that is not an emblem is ignored before anything is asked.
  if (path && source == Source::Dropped && !readerForPath(utf8(*path))) return false;
  if (!confirmDiscard()) return false;
  if (path) {
    const std::string name = utf8(*path);
    // A dropped file that is not an emblem file is ignored without a word.
    if (source == Source::Dropped && !readerForPath(name)) return false;
    const PathCheck check = checkFileToOpen(fs::path(name));
    std::string problem = check.reason;
    if (check.state == PathState::File && !readerForPath(name)) {
      problem = "not an emblem file (expected .ovml or .ovr)";
    }
    if (!problem.empty()) {
      dialogs_.tell(&window_,
                    failureText(QStringLiteral("ファイルを開けませんでした。"), name, problem));
      return false;
    }
    return load(*path, 1);
  }
  const QString start = application_.currentFilePath().empty()
                            ? QString()
                            : qt(application_.currentFilePath().string());
  const auto chosen =
      dialogs_.askOpen(&window_, qt(settings_.currentDirectory), start, openFilter_);
  if (!chosen) return false;
  openFilter_ = chosen->filterIndex;
  return load(chosen->path, chosen->filterIndex);
}

bool FileCommands::load(const QString& path, int openFilterIndex) {
  const std::string name = utf8(path);
  const auto reader = readerForOpenFilter(openFilterIndex, name);
  if (!reader) return false;  // a type that cannot read this name: nothing to open
  std::string reason;
  if (!loadEmblemFile(application_.document(), fs::path(name), *reader, &reason)) {
    dialogs_.tell(&window_,
                  failureText(QStringLiteral("ファイルを開けませんでした。"), name, reason));
    return false;
  }
  application_.SetSelection(application_.document().root());
  application_.resetHistory();
  opened(name);
  applyViewerMode();
  return true;
}

void FileCommands::opened(const std::string& path) {
  application_.setCurrentFilePath(fs::path(path));
  settings_.currentDirectory = fs::path(path).parent_path().string();
  window_.showTitleFor(path);
  rememberRecent(path);
  watch_.watch(qt(path));
}

void FileCommands::rememberRecent(const std::string& path) {
  RecentFiles recent(settings_.recentFiles);
  recent.add(fs::absolute(fs::path(path)).lexically_normal().string());
  settings_.recentFiles = recent.paths();
}

bool FileCommands::saveEmblemFile(bool ask) {
  const std::string current = application_.currentFilePath().string();
  const SavePlan plan = planSave(current);
  std::string path = current;
  int filter = plan.emblemType == EmblemFileType::Binary ? 2 : 1;
  if (ask || plan.askWithSaveAs) {
    const int offered = saveFilterForPath(current, saveFilter_);
    const QString start = current.empty() ? saveFileName_ : qt(current);
    const auto chosen = dialogs_.askSave(&window_, qt(settings_.currentDirectory), start, offered);
    if (!chosen) return false;
    saveFilter_ = filter = chosen->filterIndex;
    path = withSaveExtension(utf8(chosen->path), filter);
    saveFileName_ = qt(fs::path(path).filename().string());
  }
  const auto target = saveTargetForFilter(filter);
  if (!target) return false;

  std::string reason;
  const EmblemDocument& document = application_.document();
  bool written = false;
  // Our own write is not a change by another program.
  const bool overOpenFile = fs::path(path) == application_.currentFilePath();
  if (overOpenFile) watch_.stop();
  if (target->kind == SaveTarget::Kind::Picture) {
    // Save As exports with the saved scale, the checker background and the view options.
    ExportSettings picture;
    picture.scale = settings_.saveImageScale;
    picture.checkerBackground = true;
    picture.backgroundColour = 0;
    picture.colourConversion = settings_.colorConvert;
    picture.blur = settings_.gaussianBlur;
    written = exportImage(document, application_.atlas().pixels(), fs::path(path),
                          target->pictureFormat, picture, &reason);
  } else if (target->emblemType == EmblemFileType::Binary) {
    written = writeBinaryEmblem(document, fs::path(path), false, &reason);
  } else {
    written = writeXmlEmblem(document, fs::path(path), &reason);
  }
  if (!written) {
    if (overOpenFile) watch_.watch(qt(path));
    dialogs_.tell(&window_,
                  failureText(QStringLiteral("ファイルを保存できませんでした。"), path, reason));
    return false;
  }
  if (target->kind == SaveTarget::Kind::EmblemFile) {
    application_.markSaved();
    opened(path);
  } else {
    if (overOpenFile) watch_.watch(qt(path));
    window_.showTitleFor(path);  // an export names the picture but keeps the emblem's file
  }
  return true;
}

void FileCommands::rebuildNeighbours() {
  const fs::path current = application_.currentFilePath();
  neighbours_ = current.empty() ? std::vector<std::string>{}
                                : listNeighbourEmblemNames(current.parent_path());
  neighbourIndex_ = neighbourIndexOf(neighbours_, current.filename().string());
}

void FileCommands::applyViewerMode() {
  const bool on = settings_.viewerMode;
  if (on && !browsingNeighbours_) rebuildNeighbours();
  // The first call takes the mode the window was made in, so it never resizes it.
  const bool changed = appliedViewerMode_ && *appliedViewerMode_ != on;
  appliedViewerMode_ = on;
  window_.showViewerMode(on, changed);
}

void FileCommands::browse(BrowseDirection direction) {
  if (!settings_.viewerMode) return;
  const auto next =
      browseNeighbour(neighbourIndex_, static_cast<int>(neighbours_.size()), direction);
  if (!next) return;
  neighbourIndex_ = *next;
  const fs::path folder = application_.currentFilePath().parent_path();
  browsingNeighbours_ = true;
  openEmblemFile(qt((folder / neighbours_[*next]).string()));
  browsingNeighbours_ = false;
}

void FileCommands::toolResultSteps() {
  application_.setCurrentFilePath({});
  watch_.stop();
  window_.showTitleFor({});
  application_.SetSelection(application_.document().root());
  applyViewerMode();
}

}  // namespace orvane
