#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// Crash recovery copies. Each running editor owns one folder below the recovery folder, named
// after the run, holding the copy of the modified emblem ("emblem.ovml"), the path of the file it
// came from ("original-path") and a lock file that the editor keeps locked while it runs. A folder
// whose lock can be taken belongs to an editor that is gone without cleaning up: its copy is
// offered at the next start. Process ids are not used, since a later process may get the same
// number.
class RecoveryStore {
 public:
  // A copy left behind by an editor that is no longer running.
  struct Orphan {
    std::filesystem::path folder;
    std::filesystem::path emblem;  // the .ovml copy
    std::string originalPath;      // UTF-8; empty for an untitled emblem
    std::filesystem::file_time_type written;
  };

  // The recovery folder: $XDG_STATE_HOME/orvane/recovery, or ~/.local/state/orvane/recovery.
  static std::optional<std::filesystem::path> defaultFolder(const std::string& xdgStateHome,
                                                            const std::string& home);

  // Makes this run's folder below `root` and locks it. Without a usable folder, copies are not
  // kept (active() is false) and nothing else changes.
  explicit RecoveryStore(const std::filesystem::path& root);
  ~RecoveryStore();  // unlocks and removes this run's folder (a normal end)
  RecoveryStore(const RecoveryStore&) = delete;
  RecoveryStore& operator=(const RecoveryStore&) = delete;

  bool active() const { return lockFd_ >= 0; }
  const std::filesystem::path& folder() const { return folder_; }
  // Writes (atomically) the copy of the modified emblem and where it came from.
  bool write(const std::string& ovmlText, const std::string& originalPath,
             std::string* error = nullptr);
  // The emblem was saved or its edits discarded: the copy goes.
  void discard();

  // The copies of editors that are gone, newest first; folders older than `maxAge` are removed
  // on the way instead of offered. Folders locked by running editors are left alone.
  std::vector<Orphan> orphans(std::chrono::hours maxAge = std::chrono::hours(24 * 7)) const;
  // Removes an orphan's folder (after restoring or refusing it); false when another editor took
  // it meanwhile.
  static bool remove(const Orphan& orphan);

 private:
  std::filesystem::path root_;
  std::filesystem::path folder_;
  int lockFd_ = -1;
};

}  // namespace orvane
