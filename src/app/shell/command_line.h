#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace orvane {

// The file to open at start-up: the first positional argument, a relative one taken from the
// working folder; further arguments are ignored. Nothing without arguments or for an empty one.
std::optional<std::filesystem::path> fileToOpenAtStart(std::span<const std::string> positional,
                                                       const std::filesystem::path& workingFolder);

// What is at a path that is about to be opened.
enum class PathState { Missing, Folder, File };

// A path's state, with a reason for the user when it cannot be opened.
struct PathCheck {
  PathState state = PathState::Missing;
  std::string reason;  // empty for a file
};

// Looks at the path without opening it.
PathCheck checkFileToOpen(const std::filesystem::path& path);

}  // namespace orvane
