#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The program's title, the second half of every window title.
inline constexpr std::string_view kProgramTitle = "オーヴェインエディタ";
// The file name shown in the title while the emblem has no file.
inline constexpr std::string_view kUntitledFileName = "無題";
// Where a Qt window title shows its modified marker.
inline constexpr std::string_view kModifiedPlaceholder = "[*]";

// The name a path shows in the title: the part after its last "/", or "無題" for an empty path.
std::string titleFileName(std::string_view path);

// "<file name> - オーヴェインエディタ" for the current file's path (empty: untitled).
std::string windowTitle(std::string_view path);

// The title as a Qt window takes it: "[*]" follows the file name when the emblem is modified,
// and a "[*]" inside the file name is doubled, which Qt shows as one literal "[*]".
std::string windowTitle(std::string_view path, bool modified);

}  // namespace orvane
