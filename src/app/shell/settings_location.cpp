#include "app/shell/settings_location.h"

#include <unistd.h>

#include <cstdlib>

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool isWritableFolder(const fs::path& folder) {
  std::error_code error;
  return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

ConfigEnvironment configEnvironmentOfProcess() {
  return {environmentValue("XDG_CONFIG_HOME"), environmentValue("HOME")};
}

bool isSystemProgramFolder(const fs::path& folder) {
  // An installed program lives in the system's folders; root may write there, but a settings
  // file belongs in the user's folder all the same.
  const std::string text = folder.lexically_normal().string();
  for (const char* prefix : {"/usr/", "/bin", "/sbin", "/lib"}) {
    if (text.rfind(prefix, 0) == 0) return true;
  }
  return text == "/usr";
}

std::optional<fs::path> chooseSettingsPath(const fs::path& programFolder,
                                           bool programFolderWritable,
                                           const ConfigEnvironment& environment) {
  if (programFolderWritable && !programFolder.empty() && !isSystemProgramFolder(programFolder)) {
    return programFolder / kSettingsFileName;
  }
  // The base directory rules ignore a relative XDG_CONFIG_HOME; so does a relative HOME here,
  // since it would put the file wherever the program happened to start.
  const fs::path configHome(environment.xdgConfigHome);
  if (configHome.is_absolute()) return configHome / "orvane" / kSettingsFileName;
  const fs::path home(environment.home);
  if (home.is_absolute()) return home / ".config" / "orvane" / kSettingsFileName;
  return std::nullopt;
}

std::optional<fs::path> settingsPathFor(const fs::path& programFolder,
                                        const ConfigEnvironment& environment) {
  return chooseSettingsPath(programFolder, isWritableFolder(programFolder), environment);
}

}  // namespace orvane
