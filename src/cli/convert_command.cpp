#include "cli/commands.h"
#include "cli/render_command.h"
#include "formats/emblem_file.h"
#include "render/picture_file.h"

namespace orvane::cli {

// orvane convert IN OUT [--packed]: reads one emblem file and writes it in the format that the
// output's extension names; a picture extension draws the emblem as `orvane render` does.
int runConvert(const Arguments& arguments) {
  const ParsedArguments parsed = parseArguments(arguments, {"--packed"}, {});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2)
    return reportUsageError("convert takes an input and an output");
  const std::string& input = parsed.positional[0];
  const std::string& output = parsed.positional[1];
  if (!emblemFileTypeOf(input)) return reportFailure(input, "not an emblem file (.ovml or .ovr)");
  if (imageFormatFromPath(output) && !parsed.has("--packed")) {
    if (const auto failure = renderEmblemFileToImage(input, output, ExportSettings{})) {
      return reportFailure(*failure);
    }
    return kExitSuccess;
  }
  if (!emblemFileTypeOf(output)) {
    return reportFailure(output,
                         "unknown output type (expected .ovml, .ovr, .png, .jpg, .bmp or .tga)");
  }

  EmblemDocument document;
  std::string error;
  if (!readEmblemFile(document, input, &error)) return reportFailure(input, error);
  EmblemWriteOptions options;
  options.packed = parsed.has("--packed");
  if (!writeEmblemFile(document, output, options, &error)) return reportFailure(output, error);
  return kExitSuccess;
}

}  // namespace orvane::cli
