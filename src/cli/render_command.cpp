#include "cli/render_command.h"

#include <cmath>

#include "base/numbers.h"
#include "cli/cli_support.h"
#include "formats/emblem_file.h"
#include "formats/parts_atlas.h"
#include "render/image_export.h"
#include "resources/embedded_parts_atlas.h"

namespace orvane::cli {
namespace {

bool failWith(std::string* failedFile, std::string* error, const std::filesystem::path& file,
              std::string reason) {
  if (failedFile) *failedFile = file.string();
  if (error) *error = std::move(reason);
  return false;
}

}  // namespace

bool renderEmblemFileToImage(const std::filesystem::path& input,
                             const std::filesystem::path& output, const ExportSettings& settings,
                             std::string* failedFile, std::string* error) {
  const std::optional<ImageFormat> format = imageFormatFromPath(output);
  if (!format) {
    return failWith(failedFile, error, output,
                    "unknown picture type (expected .bmp, .jpg, .tga or .png)");
  }
  EmblemDocument document;
  std::string reason;
  if (!readEmblemFile(document, input, &reason)) {
    return failWith(failedFile, error, input, reason);
  }
  PartsAtlasBuffer atlas;
  if (!loadEmbeddedPartsAtlas(atlas)) {
    return failWith(failedFile, error, output, "the parts atlas is missing from this build");
  }
  if (!exportImage(document, atlas.pixels(), output, *format, settings, &reason)) {
    return failWith(failedFile, error, output, reason);
  }
  return true;
}

int runRenderCommand(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  std::string problem;
  if (!parseArguments(arguments, {"--no-color-correction", "--blur"}, {"--scale", "--background"},
                      parsed, problem)) {
    return reportUsageError(problem);
  }
  if (parsed.positional.size() != 2) return reportUsageError("render takes an input and an output");
  ExportSettings options;
  if (const std::string* scale = parsed.value("--scale")) {
    const std::optional<double> value = scanDouble(*scale);
    if (!value || !std::isfinite(*value)) {
      return reportUsageError("--scale needs a number, not \"" + *scale + "\"");
    }
    options.scale = static_cast<float>(*value);
  }
  options.colourConversion = !parsed.has("--no-color-correction");
  options.blur = parsed.has("--blur");
  if (const std::string* background = parsed.value("--background")) {
    if (*background != "checker") {
      options.checkerBackground = false;
      if (!parseRgbColour(*background, options.backgroundColour)) {
        return reportUsageError("--background needs \"checker\" or a colour RRGGBB, not \"" +
                                *background + "\"");
      }
    }
  }
  std::string failedFile, error;
  if (!renderEmblemFileToImage(parsed.positional[0], parsed.positional[1], options, &failedFile,
                               &error)) {
    return reportFailure(failedFile, error);
  }
  return kExitSuccess;
}

}  // namespace orvane::cli
