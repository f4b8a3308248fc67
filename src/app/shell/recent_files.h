#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// One entry of the recent-files menu, with whether its file is still there.
struct RecentFileEntry {
  std::string path;
  bool missing = false;
  friend bool operator==(const RecentFileEntry&, const RecentFileEntry&) = default;
};

// Tells whether a file exists; tests pass their own.
using FileExistsCheck = std::function<bool(const std::string& path)>;

// Whether a regular file (or a link to one) is at the path.
bool regularFileExists(const std::string& path);

// The files opened or saved lately, most recent first, each path once, at most `capacity`.
class RecentFiles {
 public:
  static constexpr std::size_t kDefaultCapacity = 8;

  // Takes a stored list as it is read back, dropping empty entries, repeats and the surplus.
  explicit RecentFiles(const std::vector<std::string>& paths = {},
                       std::size_t capacity = kDefaultCapacity);

  // Puts the path at the front; an entry naming the same file moves there instead of repeating.
  void add(std::string_view path);
  // Takes the path out of the list, if it is there.
  void remove(std::string_view path);
  // Takes every entry whose file is gone out of the list.
  void dropMissing(const FileExistsCheck& exists = regularFileExists);
  // The entries in menu order, each marked when its file is gone.
  std::vector<RecentFileEntry> entries(const FileExistsCheck& exists = regularFileExists) const;

  // The paths, most recent first.
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
  std::size_t capacity_;
};

}  // namespace orvane
