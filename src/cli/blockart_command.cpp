#include <iostream>
#include <optional>

#include "base/numbers.h"
#include "cli/commands.h"
#include "formats/emblem_file.h"
#include "tools/blockart/block_art.h"

namespace orvane::cli {
namespace {

// "WIDTHxHEIGHT" with two whole numbers of 0 or more.
bool parseSize(const std::string& text, std::int32_t& width, std::int32_t& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const std::string w = text.substr(0, x), h = text.substr(x + 1);
  auto digitsOnly = [](const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
  };
  if (!digitsOnly(w) || !digitsOnly(h)) return false;
  const std::optional<std::int32_t> wv = scanInt(w), hv = scanInt(h);
  if (!wv || !hv) return false;
  width = *wv, height = *hv;
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
    const std::optional<std::int32_t> id = scanInt(*part);
    if (!id || *id < 0 || *id >= std::int32_t(kPartCount) ||
        part->find_first_not_of("0123456789") != std::string::npos) {
      return reportUsageError("--part needs a part id 0 ... 1023, not \"" + *part + "\"");
    }
    settings.part = *id;
  }
  if (const std::string* size = parsed.value("--size")) {
    if (!parseSize(*size, settings.width, settings.height)) {
      return reportUsageError("--size needs WIDTHxHEIGHT, e.g. 192x96, not \"" + *size + "\"");
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
