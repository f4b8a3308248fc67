#include "cli/render_command.h"

#include "cli/export_options.h"
#include "cli/interruption.h"
#include "formats/emblem_file.h"
#include "render/atlas_texture.h"
#include "render/image_export.h"
#include "resources/parts_atlas_resource.h"

namespace orvane::cli {

std::optional<FileFailure> renderEmblemFileToImage(const std::filesystem::path& input,
                                                   const std::filesystem::path& output,
                                                   const ExportSettings& settings) {
  const std::optional<ImageFormat> format = imageFormatFromPath(output);
  if (!format) {
    return FileFailure{output.string(), "unknown picture type (expected .bmp, .jpg, .tga or .png)"};
  }
  EmblemDocument document;
  std::string reason;
  if (!readEmblemFile(document, input, &reason)) return FileFailure{input.string(), reason};
  // One picture: its cells are read from the built-in atlas as they are drawn.
  const TexturePtr atlas = atlasTextureFromResource(embeddedPartsAtlasResource());
  if (!atlas) return FileFailure{output.string(), "the parts atlas is missing from this build"};
  Renderer renderer;
  if (!renderExportPicture(renderer, document, atlas, settings, &reason)) {
    return FileFailure{output.string(), reason};
  }
  // Stopped while drawing: the picture is not written.
  if (interrupted()) return std::nullopt;
  if (!renderer.saveBackBuffer(output, *format, &reason)) {
    return FileFailure{output.string(), reason};
  }
  return std::nullopt;
}

int runRenderCommand(const std::vector<std::string>& arguments) {
  const ParsedArguments parsed =
      parseArguments(arguments, {"--no-color-correction", "--blur"}, {"--scale", "--background"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) return reportUsageError("render takes an input and an output");
  ExportSettings settings;
  settings.colourConversion = !parsed.has("--no-color-correction");
  settings.blur = parsed.has("--blur");
  std::string problem;
  if (!readExportOptions(parsed, settings, &problem)) return reportUsageError(problem);
  if (const auto failure =
          renderEmblemFileToImage(parsed.positional[0], parsed.positional[1], settings)) {
    return reportFailure(*failure);
  }
  return kExitSuccess;
}

}  // namespace orvane::cli
