#include "app/shell/neighbour_files.h"

#include <algorithm>

namespace orvane {
namespace {

namespace fs = std::filesystem;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string foldedCase(std::string_view name) {
  std::string folded(name);
  std::transform(folded.begin(), folded.end(), folded.begin(), lowerAscii);
  return folded;
}

bool isBinaryEmblemName(std::string_view name) {
  constexpr std::string_view kExtension = ".ovr";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return foldedCase(tail) == kExtension;
}

// std::string compares bytes as unsigned, so UTF-8 names follow code point order.
bool browsesBefore(const std::string& a, const std::string& b) {
  const std::string foldedA = foldedCase(a);
  const std::string foldedB = foldedCase(b);
  return foldedA != foldedB ? foldedA < foldedB : a < b;
}

}  // namespace

std::vector<std::string> neighbourEmblemNames(std::vector<std::string> fileNames) {
  std::erase_if(fileNames, [](const std::string& name) { return !isBinaryEmblemName(name); });
  std::sort(fileNames.begin(), fileNames.end(), browsesBefore);
  return fileNames;
}

std::vector<std::string> listNeighbourEmblemNames(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    // Symbolic links to files count as files; folders named like emblems do not.
    if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
  }
  return neighbourEmblemNames(std::move(names));
}

int neighbourIndexOf(const std::vector<std::string>& names, std::string_view currentFileName) {
  const auto found = std::find(names.begin(), names.end(), currentFileName);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::optional<int> browseNeighbour(int index, int count, BrowseDirection direction) {
  if (count <= 0) return std::nullopt;
  const long long next =
      static_cast<long long>(index) + (direction == BrowseDirection::Next ? 1 : -1);
  if (next < 0) return count - 1;
  if (next >= count) return 0;
  return static_cast<int>(next);
}

}  // namespace orvane
