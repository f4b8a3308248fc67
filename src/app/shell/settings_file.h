#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// WindowX and WindowY hold this when the window system should choose the window's position.
inline constexpr std::int32_t kDefaultWindowPosition = std::numeric_limits<std::int32_t>::min();
// Number of custom colours the colour chooser keeps.
inline constexpr int kPaletteColours = 16;
// Number of recently used files the settings keep.
inline constexpr int kRecentFileSlots = 8;
// Settings files larger than this are not read: no real one comes near it.
inline constexpr std::size_t kMaxSettingsFileBytes = 16 * 1024 * 1024;
// Longest path value taken from the file; a longer one is refused, since cutting it would name
// another folder.
inline constexpr std::size_t kMaxSettingsPathBytes = 4096;

// One custom colour of the colour chooser.
struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// The colour chooser's custom colours before the user changes any.
inline constexpr std::array<PaletteColour, kPaletteColours> kDefaultPalette = {{
    {0x00, 0x00, 0x00},
    {0x80, 0x80, 0x80},
    {0x80, 0x00, 0x00},
    {0x80, 0x80, 0x00},
    {0x00, 0x80, 0x00},
    {0x00, 0x80, 0x80},
    {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80},
    {0xFF, 0xFF, 0xFF},
    {0xC0, 0xC0, 0xC0},
    {0xFF, 0x00, 0x00},
    {0xFF, 0xFF, 0x00},
    {0x00, 0xFF, 0x00},
    {0x00, 0xFF, 0xFF},
    {0x00, 0x00, 0xFF},
    {0xFF, 0x00, 0xFF},
}};

// Everything the editor keeps from one run to the next, holding the values of a first start.
// currentDirectory has no fixed default: the program seeds it with its working folder.
struct Settings {
  std::int32_t windowX = kDefaultWindowPosition;
  std::int32_t windowY = kDefaultWindowPosition;
  std::int32_t windowWidth = 1167;
  std::int32_t windowHeight = 438;
  bool windowTopMost = false;
  std::int32_t layerPaneSize = 137;
  std::int32_t layerPaneBorder = 2;
  std::int32_t detailsPaneSize = 250;
  std::int32_t detailsPaneBorder = 2;
  std::string currentDirectory;  // UTF-8 folder where the open and save dialogs start
  float saveImageScale = 4.0f;
  bool colorConvert = true;
  bool gaussianBlur = false;
  bool viewerMode = false;
  std::array<PaletteColour, kPaletteColours> colorPalette = kDefaultPalette;
  std::vector<std::string> recentFiles;  // UTF-8 paths, most recent first

  friend bool operator==(const Settings&, const Settings&) = default;
};

// Reads settings text over `base`: each recognised key=value line replaces one field, anything
// else is skipped. Never fails; broken lines simply change nothing.
Settings parseSettings(std::string_view text, Settings base = {});

// The settings as file text: one key=value line per field, each ended with CR LF.
std::string formatSettings(const Settings& settings);

// Reads the settings file over `settings`. False with a reason when there is no file or it is
// empty, too large or unreadable; `settings` is then left as it was.
bool loadSettingsFile(const std::filesystem::path& path, Settings& settings,
                      std::string* error = nullptr);

// Writes the settings file, creating its folder when needed; an old file stays untouched when
// writing fails.
bool saveSettingsFile(const std::filesystem::path& path, const Settings& settings,
                      std::string* error = nullptr);

}  // namespace orvane
