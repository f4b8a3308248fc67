#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// The environment values that decide whether a window can be shown.
struct DisplayEnvironment {
  std::string qtPlatform;      // $QT_QPA_PLATFORM
  std::string display;         // $DISPLAY
  std::string waylandDisplay;  // $WAYLAND_DISPLAY
  std::string runtimeDir;      // $XDG_RUNTIME_DIR
};

DisplayEnvironment displayEnvironmentOfProcess();

// Why no window can be shown, in one line, or nothing when a display looks reachable. Checked
// before the toolkit starts, since it ends the process when it finds no display. A local X
// display (":N") counts only when its socket exists; a Wayland display when its socket does.
std::optional<std::string> missingDisplayReason(
    const DisplayEnvironment& environment,
    const std::function<bool(const std::string& path)>& exists);

}  // namespace orvane
