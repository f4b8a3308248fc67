#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The files of a folder that the batch conversion converts: entries that are not directories (nor
// links to them) and whose names end in ".ovr" in any case. Special files and links that lead
// nowhere are listed too: reading them fails, and the conversion reports them. The name test is on
// the last four characters alone, so "a.OVR" counts and "a.ovrx" or "a.ovr.bak" do not.
bool isEmblemFileName(std::string_view name);

// The names (not paths) of those files, sorted bytewise, which is the order the conversion
// follows; empty when the folder cannot be read.
std::vector<std::string> listEmblemFiles(const std::filesystem::path& folder);

// How many files listEmblemFiles would give; 0 for a folder that cannot be read.
int CountEmblemFiles(const std::filesystem::path& folder);

}  // namespace orvane
