#include "cli/export_options.h"

#include "base/failure.h"
#include "base/numbers.h"

namespace orvane::cli {

bool readExportOptions(const ParsedArguments& parsed, ExportSettings& settings,
                       std::string* problem) {
  if (const std::string* scale = parsed.value("--scale")) {
    const double limit = settings.blur ? kMaxBlurredScale : kMaxScale;
    const std::optional<double> value = parseDecimalNumber(*scale);
    if (!value || !(*value > 0) || *value > limit) {
      return fail(problem, optionProblem("--scale",
                                         settings.blur ? "a number above 0 and at most 32 with blur"
                                                       : "a number above 0 and at most 16384",
                                         *scale));
    }
    settings.scale = static_cast<float>(*value);
  }
  if (const std::string* background = parsed.value("--background")) {
    if (*background != "checker") {
      settings.checkerBackground = false;
      if (!parseRgbColour(*background, settings.backgroundColour)) {
        return fail(problem,
                    optionProblem("--background", "\"checker\" or a colour RRGGBB", *background));
      }
    }
  }
  return true;
}

}  // namespace orvane::cli
