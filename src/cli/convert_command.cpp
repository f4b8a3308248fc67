#include "cli/commands.h"
#include "formats/emblem_file.h"

namespace orvane::cli {

// orvane convert IN OUT [--packed]: reads one emblem file and writes it in the format that the
// output's extension names.
int runConvert(const Arguments& arguments) {
  ParsedArguments parsed;
  std::string problem;
  if (!parseArguments(arguments, {"--packed"}, {}, parsed, problem)) {
    return reportUsageError(problem);
  }
  if (parsed.positional.size() != 2)
    return reportUsageError("convert takes an input and an output");
  const std::string& input = parsed.positional[0];
  const std::string& output = parsed.positional[1];
  if (!emblemFileTypeOf(input)) return reportFailure(input, "not an emblem file (.ovml or .ovr)");
  if (!emblemFileTypeOf(output)) {
    return reportFailure(output, "unknown output type (expected .ovml or .ovr)");
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
