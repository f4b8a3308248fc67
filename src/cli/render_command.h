#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "render/image_export.h"

namespace orvane::cli {

// Reads the emblem file `input` (.ovml or .ovr), draws it with the built-in parts atlas and
// writes the picture `output` in the format its extension names (.bmp, .jpg/.jpeg, .tga, .png).
// `orvane render` and `orvane convert` to a picture start from Save As's settings.
// On failure: false, `failedFile` names the file the reason is about and `error` the reason.
bool renderEmblemFileToImage(const std::filesystem::path& input,
                             const std::filesystem::path& output, const ExportSettings& settings,
                             std::string* failedFile, std::string* error);

// orvane render IN OUT [--scale S] [--no-color-correction] [--blur]
//                      [--background checker|RRGGBB]
// `arguments` are those after the word "render". Exit status 0 success, 1 failure (one line
// "orvane: FILE: reason" on stderr), 2 usage error.
int runRenderCommand(const std::vector<std::string>& arguments);

}  // namespace orvane::cli
