#pragma once

#include <string>

#include "cli/cli_support.h"
#include "render/image_export.h"

namespace orvane::cli {

// The largest --scale: every emblem is at least one unit wide, so a larger scale never makes a
// picture that can be written. With blur the limit is the blur's own.
inline constexpr double kMaxScale = 16384;
inline constexpr double kMaxBlurredScale = 32;

// Reads --scale and --background into `settings` (whose blur is already decided), the same for
// render and batch: a scale that is not a whole decimal number above 0 and within the limit
// above is a usage error, as is a background that is neither "checker" nor RRGGBB. False with
// the usage error in `problem`.
bool readExportOptions(const ParsedArguments& parsed, ExportSettings& settings,
                       std::string* problem);

}  // namespace orvane::cli
