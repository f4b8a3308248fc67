#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The binary emblem files among a folder's file names, in browsing order: by name ignoring
// letter case, names equal but for case in byte order.
std::vector<std::string> neighbourEmblemNames(std::vector<std::string> fileNames);

// The binary emblem files of a folder (not its sub-folders), as names in browsing order; empty
// when the folder cannot be listed.
std::vector<std::string> listNeighbourEmblemNames(const std::filesystem::path& folder);

// Position of the current file's name in the list (compared exactly), or -1 when it is not there
// (an .ovml file, or a file removed meanwhile).
int neighbourIndexOf(const std::vector<std::string>& names, std::string_view currentFileName);

// Which way viewer mode browses.
enum class BrowseDirection { Previous, Next };

// The position to open next, wrapping from either end; from -1 Next gives the first and Previous
// the last. Nothing when the list is empty.
std::optional<int> browseNeighbour(int index, int count, BrowseDirection direction);

}  // namespace orvane
