#include "app/shell/window_title.h"

namespace orvane {

std::string titleFileName(std::string_view path) {
  if (path.empty()) return std::string(kUntitledFileName);
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {

std::string withProgramTitle(std::string title) {
  title += " - ";
  title += kProgramTitle;
  return title;
}

std::string escapedPlaceholders(std::string_view name) {
  std::string escaped;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name.substr(i).starts_with(kModifiedPlaceholder)) {
      escaped += kModifiedPlaceholder;
      escaped += kModifiedPlaceholder;
      i += kModifiedPlaceholder.size() - 1;
    } else {
      escaped += name[i];
    }
  }
  return escaped;
}

}  // namespace

std::string windowTitle(std::string_view path) { return withProgramTitle(titleFileName(path)); }

std::string windowTitle(std::string_view path, bool modified) {
  std::string name = escapedPlaceholders(titleFileName(path));
  if (modified) name += kModifiedPlaceholder;
  return withProgramTitle(std::move(name));
}

}  // namespace orvane
