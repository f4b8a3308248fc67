#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "render/image_export.h"

namespace orvane::cli {

// Reads the emblem file `input` (.ovml or .ovr), draws it with the built-in parts atlas and
// writes the picture `output` in the format its extension names (.bmp, .jpg/.jpeg, .tga, .png).
// `orvane render` and `orvane convert` to a picture start from Save As's settings. Nothing when
// the picture was written; otherwise the file the failure is about and the reason.
std::optional<FileFailure> renderEmblemFileToImage(const std::filesystem::path& input,
                                                   const std::filesystem::path& output,
                                                   const ExportSettings& settings);

// orvane render IN OUT [--scale S] [--no-color-correction] [--blur]
//                      [--background checker|RRGGBB]
// `arguments` are those after the word "render". Exit status 0 success, 1 failure (one line
// "orvane: FILE: reason" on stderr), 2 usage error.
int runRenderCommand(const std::vector<std::string>& arguments);

}  // namespace orvane::cli
