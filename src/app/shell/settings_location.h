#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace orvane {

// Name of the settings file, beside the program or in the per-user folder.
inline constexpr char kSettingsFileName[] = "OrvaneEditor.ini";

// The environment values that decide the per-user settings folder.
struct ConfigEnvironment {
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME, empty when unset
  std::string home;           // $HOME, empty when unset
};

// The process's own XDG_CONFIG_HOME and HOME.
ConfigEnvironment configEnvironmentOfProcess();

// Where the settings live: OrvaneEditor.ini beside the program when the program's folder is
// writable and not a system folder, otherwise $XDG_CONFIG_HOME/orvane/ or $HOME/.config/orvane/.
// Nothing when neither the program folder nor a per-user folder can be used.
std::optional<std::filesystem::path> chooseSettingsPath(const std::filesystem::path& programFolder,
                                                        bool programFolderWritable,
                                                        const ConfigEnvironment& environment);

// Whether a program folder is one of the system's (/usr/..., /bin, ...): never a portable copy.
bool isSystemProgramFolder(const std::filesystem::path& folder);
// The same choice, asking the file system whether the program folder is writable.
std::optional<std::filesystem::path> settingsPathFor(const std::filesystem::path& programFolder,
                                                     const ConfigEnvironment& environment);

}  // namespace orvane
