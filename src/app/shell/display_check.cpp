#include "app/shell/display_check.h"

#include <cstdlib>
#include <filesystem>

namespace orvane {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The socket of a local X display such as ":0" or ":1.0"; empty for a remote one ("host:0").
std::string localXSocket(const std::string& display) {
  if (display.empty() || display.front() != ':') return {};
  std::string number;
  for (std::size_t i = 1; i < display.size() && display[i] >= '0' && display[i] <= '9'; ++i) {
    number += display[i];
  }
  return number.empty() ? std::string{} : "/tmp/.X11-unix/X" + number;
}

}  // namespace

DisplayEnvironment displayEnvironmentOfProcess() {
  return {environmentValue("QT_QPA_PLATFORM"), environmentValue("DISPLAY"),
          environmentValue("WAYLAND_DISPLAY"), environmentValue("XDG_RUNTIME_DIR")};
}

std::optional<std::string> missingDisplayReason(
    const DisplayEnvironment& environment,
    const std::function<bool(const std::string& path)>& exists) {
  const std::string& platform = environment.qtPlatform;
  // Platforms that need no display server (offscreen, vnc, framebuffers) are the user's choice.
  if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0) {
    return std::nullopt;
  }
  if (!environment.waylandDisplay.empty()) {
    const std::string socket = environment.waylandDisplay.front() == '/'
                                   ? environment.waylandDisplay
                                   : environment.runtimeDir + "/" + environment.waylandDisplay;
    if (exists(socket)) return std::nullopt;
  }
  if (!environment.display.empty()) {
    const std::string socket = localXSocket(environment.display);
    if (socket.empty() || exists(socket)) return std::nullopt;
    return "cannot open display " + environment.display + " (no X server is listening there)";
  }
  return std::string(
      "no display to show a window on (DISPLAY and WAYLAND_DISPLAY are not set); "
      "run it on a desktop, or with QT_QPA_PLATFORM=offscreen");
}

}  // namespace orvane
