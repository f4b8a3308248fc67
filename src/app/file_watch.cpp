#include "app/file_watch.h"

#include <sys/stat.h>

#include <QFileInfo>

namespace orvane {

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::check);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::check);
}

std::optional<FileWatch::Identity> FileWatch::identityOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return Identity{info.st_size, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                  static_cast<quint64>(info.st_ino)};
}

void FileWatch::watch(const QString& path) {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  path_ = path;
  known_.reset();
  if (path_.isEmpty()) return;
  known_ = identityOf(path_);
  watcher_.addPath(QFileInfo(path_).absolutePath());
  if (known_) watcher_.addPath(path_);
}

void FileWatch::check() {
  if (path_.isEmpty()) return;
  const auto now = identityOf(path_);
  // A replaced file is a new inode: watch that one from now on.
  if (now && !watcher_.files().contains(path_)) watcher_.addPath(path_);
  if (!now || now == known_) return;  // gone (perhaps mid-replace) or unchanged
  known_ = now;
  emit changedElsewhere(path_);
}

}  // namespace orvane
