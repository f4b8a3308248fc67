#include <iostream>
#include <limits>
#include <optional>

#include "cli/commands.h"
#include "formats/emblem_file.h"
#include "tools/blockart/block_art.h"

namespace orvane::cli {
namespace {

// "WIDTHxHEIGHT" with two whole numbers 0 ... 2147483647.
bool parseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  const auto w = wholeNumberWithin(std::string_view(text).substr(0, x), 0, kMax);
  const auto h = wholeNumberWithin(std::string_view(text).substr(x + 1), 0, kMax);
  if (!w || !h) return false;
  width = std::int32_t(*w), height = std::int32_t(*h);
  return true;
}

}  // namespace

// orvane blockart PICTURE OUT [--part N] [--size WxH] [--into EMBLEM]: the picture as a mosaic
// of 15 x 15 layers on top of EMBLEM (or of a new 192 x 96 emblem), saved as OUT.
int runBlockArt(const Arguments& arguments) {
  const ParsedArguments parsed = parseArguments(arguments, {}, {"--part", "--size", "--into"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) {
    return reportUsageError("blockart takes a picture and an output emblem file");
  }
  BlockArtSettings settings;
  settings.picturePath = parsed.positional[0];
  const std::string& output = parsed.positional[1];
  if (const std::string* part = parsed.value("--part")) {
    const auto id = wholeNumberWithin(*part, 0, std::int64_t(kPartCount) - 1);
    if (!id) return reportUsageError(optionProblem("--part", "a part id 0 ... 1023", *part));
    settings.part = std::int32_t(*id);
  }
  if (const std::string* size = parsed.value("--size")) {
    if (!parseSize(*size, settings.width, settings.height)) {
      return reportUsageError(optionProblem(
          "--size", "WIDTHxHEIGHT of whole numbers 0 ... 2147483647, e.g. 192x96", *size));
    }
  }
  if (!emblemFileTypeOf(output)) {
    return reportFailure(output, "unknown emblem file type (expected .ovml or .ovr)");
  }

  EmblemDocument document;
  std::string error;
  if (const std::string* into = parsed.value("--into")) {
    if (!readEmblemFile(document, *into, &error)) return reportFailure(*into, error);
    if (!document.root()) return reportFailure(*into, "the file holds no emblem");
  } else {
    document.newDocument({}, 192, 96);
  }
  if (!GenerateBlockArt(document, settings, &error)) {
    return reportFailure(settings.picturePath.string(), error);
  }
  if (!writeEmblemFile(document, output, {}, &error)) return reportFailure(output, error);
  return kExitSuccess;
}

}  // namespace orvane::cli
