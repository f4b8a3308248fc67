#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "app/shell/settings_file.h"
#include "base/atomic_file.h"
#include "base/failure.h"
#include "base/numbers.h"

namespace orvane {
namespace {

// A line's text ends, like a C string, at its first CR or NUL byte; a value also ends at the
// next "=", so "CurrentDirectory=D:\a=b" names D:\a.
constexpr std::string_view kTextEnds("\r\0", 2);
constexpr std::string_view kValueEnds("=\r\0", 3);
constexpr std::string_view kPalettePrefix = "ColorPalette";
constexpr std::string_view kRecentPrefix = "RecentFile";

std::string_view cutAt(std::string_view text, std::string_view stops) {
  return text.substr(0, text.find_first_of(stops));
}

// Like atoi: no digits read as 0; out-of-range values saturate.
std::int32_t readInt(std::string_view value) { return scanInt(value).value_or(0); }

bool readBool(std::string_view value) { return value == "true"; }

// Like atof stored into a float; magnitudes beyond the float range become infinite.
float readFloat(std::string_view value) {
  const double number = scanDouble(value).value_or(0.0);
  if (std::isnan(number)) return std::numeric_limits<float>::quiet_NaN();
  if (std::fabs(number) > std::numeric_limits<float>::max()) {
    const float infinity = std::numeric_limits<float>::infinity();
    return number > 0 ? infinity : -infinity;
  }
  return static_cast<float>(number);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#" and hex digits up to the first other character; each digit is shifted in at the low end,
// so only the last six digits reach the colour.
std::optional<PaletteColour> readColour(std::string_view value) {
  if (value.empty() || value[0] != '#') return std::nullopt;
  std::uint32_t bits = 0;
  for (char c : value.substr(1)) {
    const int digit = hexDigit(c);
    if (digit < 0) break;
    bits = (bits << 4) | static_cast<std::uint32_t>(digit);
  }
  return PaletteColour{static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 8),
                       static_cast<std::uint8_t>(bits)};
}

bool readFixedKey(Settings& settings, std::string_view key, std::string_view value) {
  if (key == "WindowX") {
    settings.windowX = readInt(value);
  } else if (key == "WindowY") {
    settings.windowY = readInt(value);
  } else if (key == "WindowWidth") {
    settings.windowWidth = readInt(value);
  } else if (key == "WindowHeight") {
    settings.windowHeight = readInt(value);
  } else if (key == "WindowTopMost") {
    settings.windowTopMost = readBool(value);
  } else if (key == "LayerPaneSize") {
    settings.layerPaneSize = readInt(value);
  } else if (key == "LayerPaneBorder") {
    settings.layerPaneBorder = readInt(value);
  } else if (key == "DetailsPaneSize") {
    settings.detailsPaneSize = readInt(value);
  } else if (key == "DetailsPaneBorder") {
    settings.detailsPaneBorder = readInt(value);
  } else if (key == "CurrentDirectory") {
    if (value.size() <= kMaxSettingsPathBytes) settings.currentDirectory = value;
  } else if (key == "SaveImageScale") {
    settings.saveImageScale = readFloat(value);
  } else if (key == "ColorConvert") {
    settings.colorConvert = readBool(value);
  } else if (key == "GaussianBlur") {
    settings.gaussianBlur = readBool(value);
  } else if (key == "ViewerMode") {
    settings.viewerMode = readBool(value);
  } else {
    return false;
  }
  return true;
}

// "ColorPalette<n>=#RRGGBB" with n read like atoi after the prefix ("ColorPalette05" is 5).
void readPaletteKey(Settings& settings, std::string_view key, std::string_view value) {
  const std::int32_t index = readInt(key.substr(kPalettePrefix.size()));
  if (index < 1 || index > kPaletteColours) return;
  if (const auto colour = readColour(value)) settings.colorPalette[index - 1] = *colour;
}

// Slot number of an exact "RecentFile1" … "RecentFile8" key, or -1.
int recentSlotOf(std::string_view key) {
  if (key.size() != kRecentPrefix.size() + 1 || !key.starts_with(kRecentPrefix)) return -1;
  const int slot = key.back() - '1';
  return slot >= 0 && slot < kRecentFileSlots ? slot : -1;
}

struct RecentSlots {
  std::array<std::string, kRecentFileSlots> paths;
  bool seen = false;
};

void readLine(std::string_view line, Settings& settings, RecentSlots& recent) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = cutAt(line.substr(0, equals), kTextEnds);
  const std::string_view rest = line.substr(equals + 1);
  const std::string_view value = cutAt(rest, kValueEnds);
  if (readFixedKey(settings, key, value)) return;
  if (key.starts_with(kPalettePrefix)) return readPaletteKey(settings, key, value);
  // Recent paths keep any "=" they hold: they are this program's own keys.
  if (const int slot = recentSlotOf(key); slot >= 0) {
    const std::string_view path = cutAt(rest, kTextEnds);
    if (path.size() <= kMaxSettingsPathBytes) recent.paths[slot] = path;
    recent.seen = true;
  }
}

}  // namespace

Settings parseSettings(std::string_view text, Settings settings) {
  RecentSlots recent;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    readLine(text.substr(0, end), settings, recent);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  if (recent.seen) {
    settings.recentFiles.clear();
    for (std::string& path : recent.paths) {
      if (!path.empty()) settings.recentFiles.push_back(std::move(path));
    }
  }
  return settings;
}

bool loadSettingsFile(const std::filesystem::path& path, Settings& settings, std::string* error) {
  std::string text;
  std::string reason;
  if (!readWholeFile(path, text, kMaxSettingsFileBytes, &reason)) {
    return fail(error, "cannot read settings " + path.string() + ": " + reason);
  }
  if (text.empty()) return fail(error, "settings file " + path.string() + " is empty");
  settings = parseSettings(text, std::move(settings));
  return true;
}

}  // namespace orvane
