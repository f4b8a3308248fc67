#include <system_error>

#include "app/shell/settings_file.h"
#include "base/atomic_file.h"
#include "base/failure.h"
#include "base/numbers.h"

namespace orvane {
namespace {

// A value holding a line break (or NUL) would end its line early and smuggle in other keys.
bool fitsOnOneLine(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string_view flag(bool value) { return value ? "true" : ""; }

std::string hexByte(std::uint8_t value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

class SettingsText {
 public:
  void line(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += '=';
    text_ += value;
    text_ += "\r\n";
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string formatSettings(const Settings& settings) {
  SettingsText out;
  out.line("WindowX", formatInt(settings.windowX));
  out.line("WindowY", formatInt(settings.windowY));
  out.line("WindowWidth", formatInt(settings.windowWidth));
  out.line("WindowHeight", formatInt(settings.windowHeight));
  out.line("WindowTopMost", flag(settings.windowTopMost));
  out.line("LayerPaneSize", formatInt(settings.layerPaneSize));
  out.line("LayerPaneBorder", formatInt(settings.layerPaneBorder));
  out.line("DetailsPaneSize", formatInt(settings.detailsPaneSize));
  out.line("DetailsPaneBorder", formatInt(settings.detailsPaneBorder));
  out.line("CurrentDirectory",
           fitsOnOneLine(settings.currentDirectory) ? settings.currentDirectory : "");
  out.line("SaveImageScale", formatGeneral(settings.saveImageScale));
  out.line("ColorConvert", flag(settings.colorConvert));
  out.line("GaussianBlur", flag(settings.gaussianBlur));
  out.line("ViewerMode", flag(settings.viewerMode));
  for (int i = 0; i < kPaletteColours; ++i) {
    const PaletteColour& colour = settings.colorPalette[i];
    out.line("ColorPalette" + formatInt(i + 1),
             "#" + hexByte(colour.red) + hexByte(colour.green) + hexByte(colour.blue));
  }
  int slot = 0;
  for (const std::string& path : settings.recentFiles) {
    if (slot == kRecentFileSlots) break;
    if (path.empty() || !fitsOnOneLine(path)) continue;
    out.line("RecentFile" + formatInt(++slot), path);
  }
  return out.take();
}

bool saveSettingsFile(const std::filesystem::path& path, const Settings& settings,
                      std::string* error) {
  std::error_code ignored;
  // The per-user folder may not exist before the first save.
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
  std::string reason;
  if (!saveFileAtomically(path, formatSettings(settings), &reason)) {
    return fail(error, "cannot write settings " + path.string() + ": " + reason);
  }
  return true;
}

}  // namespace orvane
