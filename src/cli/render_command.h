#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane::cli {

// How `orvane render` (and `orvane convert` to a picture) draws: the defaults are those of
// Save As: scale 4, colour correction on, no blur, the checker background.
struct RenderImageOptions {
  float scale = 4.0f;
  bool colourConversion = true;
  bool blur = false;
  bool checkerBackground = true;
  std::uint32_t backgroundColour = 0;  // 0x00RRGGBB when the checker is off
};

// Reads the emblem file `input` (.ovml or .ovr), draws it with the built-in parts atlas and
// writes the picture `output` in the format its extension names (.bmp, .jpg/.jpeg, .tga, .png).
// On failure: false, `failedFile` names the file the reason is about and `error` the reason.
bool renderEmblemFileToImage(const std::filesystem::path& input,
                             const std::filesystem::path& output, const RenderImageOptions& options,
                             std::string* failedFile, std::string* error);

// orvane render IN OUT [--scale S] [--no-color-correction] [--blur]
//                      [--background checker|RRGGBB]
// `arguments` are those after the word "render". Exit status 0 success, 1 failure (one line
// "orvane: FILE: reason" on stderr), 2 usage error.
int runRenderCommand(const std::vector<std::string>& arguments);

}  // namespace orvane::cli
