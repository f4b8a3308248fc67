#include "app/shell/command_line.h"

#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

std::optional<fs::path> fileToOpenAtStart(std::span<const std::string> positional,
                                          const fs::path& workingFolder) {
  if (positional.empty() || positional.front().empty()) return std::nullopt;
  const fs::path given(positional.front());
  // Lexical only: "sub/../x.ovr" loses its ".." without asking the file system.
  return (given.is_absolute() ? given : workingFolder / given).lexically_normal();
}

PathCheck checkFileToOpen(const fs::path& path) {
  const std::string shown = path.string();
  if (path.empty()) return {PathState::Missing, "no file was named"};
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) {
    return {PathState::Missing, "there is no file " + shown};
  }
  if (error) return {PathState::Missing, "cannot reach " + shown + ": " + error.message()};
  if (status.type() == fs::file_type::directory) {
    return {PathState::Folder, shown + " is a folder, not an emblem file"};
  }
  return {PathState::File, ""};
}

}  // namespace orvane
