#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "app/shell/application.h"
#include "app/shell/recovery_store.h"
#include "app/shell/settings_file.h"
#include "app/shell/settings_location.h"

namespace orvane {

class MainWindow;

// One run of the editor without its widgets: the application object and the settings, read
// once when the session starts and written once when it ends.
class EditorSession {
 public:
  // Reads the settings from beside the program (when that folder is writable) or the per-user
  // folder; the dialogs start in `workingFolder` unless the settings name another.
  // Recovery copies go below `recoveryFolder` (none: no copies are kept).
  EditorSession(const std::filesystem::path& programFolder, const ConfigEnvironment& environment,
                const std::filesystem::path& workingFolder,
                const std::optional<std::filesystem::path>& recoveryFolder);

  Application& application() { return application_; }
  Settings& settings() { return settings_; }
  RecoveryStore* recovery() { return recovery_.get(); }
  const std::optional<std::filesystem::path>& settingsPath() const { return settingsPath_; }
  // Writes the settings file; false when there is no place for it or writing failed.
  bool saveSettings() const;

 private:
  Application application_;
  Settings settings_;
  std::optional<std::filesystem::path> settingsPath_;
  std::unique_ptr<RecoveryStore> recovery_;
};

// Puts the window where the settings say, on a screen that is really there, with the saved outer
// size (the frame is taken off once the window system has given it one).
void placeWindow(MainWindow& window, const Settings& settings);

// The program: options, the display check, the session, the window, the file from the command
// line, the event loop and the settings written at the end. Returns the exit status.
int runEditor(int argc, char** argv);

}  // namespace orvane
