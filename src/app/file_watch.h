#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <optional>

namespace orvane {

// Watches the open file for changes made by other programs. A save of our own is not one: the
// watch is paused around it and takes the file as it was written. An atomic replace (a new file
// renamed over the old one) keeps being watched, since the folder is watched as well.
class FileWatch : public QObject {
  Q_OBJECT
 public:
  explicit FileWatch(QObject* parent = nullptr);

  // Watches `path` as it is now; an empty path watches nothing.
  void watch(const QString& path);
  void stop() { watch(QString()); }
  const QString& path() const { return path_; }

 signals:
  // The file now holds something else than when it was last opened or saved here.
  void changedElsewhere(const QString& path);

 private:
  struct Identity {
    qint64 size = -1;
    qint64 modified = -1;  // nanoseconds
    quint64 inode = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
  };
  static std::optional<Identity> identityOf(const QString& path);
  void check();

  QFileSystemWatcher watcher_;
  QString path_;
  std::optional<Identity> known_;
};

}  // namespace orvane
