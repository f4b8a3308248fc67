#include "tools/batch/emblem_folder.h"

#include <algorithm>
#include <system_error>

namespace orvane {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Calls `visit` with the name of every matching entry but folders (and links to folders); a
// folder that cannot be read gives none. An entry whose kind cannot be told, such as a link that
// leads nowhere or round in a loop, is visited, so that reading it fails and is reported.
template <typename Visit>
void forEachEmblemFile(const std::filesystem::path& folder, Visit visit) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (!isEmblemFileName(name)) continue;
    std::error_code kindError;
    if (it->is_directory(kindError) && !kindError) continue;
    visit(std::move(name));
  }
}

}  // namespace

bool isEmblemFileName(std::string_view name) {
  constexpr std::string_view kExtension = ".ovr";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](char a, char b) { return lowerAscii(a) == b; });
}

std::vector<std::string> listEmblemFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  forEachEmblemFile(folder, [&](std::string name) { names.push_back(std::move(name)); });
  // std::string compares as unsigned bytes, whatever the locale.
  std::sort(names.begin(), names.end());
  return names;
}

int CountEmblemFiles(const std::filesystem::path& folder) {
  int count = 0;
  forEachEmblemFile(folder, [&](const std::string&) { ++count; });
  return count;
}

}  // namespace orvane
