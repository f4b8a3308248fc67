#include "app/shell/recent_files.h"

#include <algorithm>
#include <filesystem>

namespace orvane {
namespace {

namespace fs = std::filesystem;

// "/a/./b.ovr" and "/a/b.ovr" are the same entry.
bool sameFile(std::string_view a, std::string_view b) {
  return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

}  // namespace

bool regularFileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

RecentFiles::RecentFiles(const std::vector<std::string>& paths, std::size_t capacity)
    : capacity_(capacity) {
  // Adding the oldest first leaves the newest at the front, and a repeat keeps its newest place.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) add(*it);
}

void RecentFiles::add(std::string_view path) {
  if (path.empty() || capacity_ == 0) return;
  remove(path);
  paths_.insert(paths_.begin(), std::string(path));
  if (paths_.size() > capacity_) paths_.resize(capacity_);
}

void RecentFiles::remove(std::string_view path) {
  std::erase_if(paths_, [&](const std::string& entry) { return sameFile(entry, path); });
}

void RecentFiles::dropMissing(const FileExistsCheck& exists) {
  std::erase_if(paths_, [&](const std::string& entry) { return !exists(entry); });
}

std::vector<RecentFileEntry> RecentFiles::entries(const FileExistsCheck& exists) const {
  std::vector<RecentFileEntry> marked;
  marked.reserve(paths_.size());
  for (const std::string& path : paths_) marked.push_back({path, !exists(path)});
  return marked;
}

}  // namespace orvane
