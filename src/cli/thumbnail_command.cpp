#include <algorithm>
#include <cmath>

#include "base/numbers.h"
#include "cli/commands.h"
#include "formats/emblem_file.h"
#include "render/atlas_texture.h"
#include "render/image_export.h"
#include "resources/parts_atlas_resource.h"

namespace orvane::cli {
namespace {

constexpr int kDefaultThumbnailSize = 256;
constexpr int kLargestThumbnailSize = 4096;
// Below this a long, narrow emblem would come out with a side of no pixels.
constexpr int kSmallestThumbnailSize = 16;

// The largest scale at which the emblem's width x height fits into size x size.
std::optional<float> thumbnailScale(const EmblemDocument& document, int size) {
  EmblemInfo info;
  if (!EmblemDocument::getInfo(document.root(), info) || info.width <= 0 || info.height <= 0) {
    return std::nullopt;
  }
  const float scale =
      static_cast<float>(size) / static_cast<float>(std::max(info.width, info.height));
  // Export sizes are truncated products; step down should a rounding carry one past the size.
  float fitted = scale;
  while (std::trunc(static_cast<float>(info.width) * fitted) > static_cast<float>(size) ||
         std::trunc(static_cast<float>(info.height) * fitted) > static_cast<float>(size)) {
    fitted = std::nextafter(fitted, 0.0f);
  }
  return fitted;
}

}  // namespace

// orvane thumbnail [-s SIZE] IN OUT.png: a preview picture for file managers. It writes nothing
// unless the emblem was read and drawn.
int runThumbnail(const Arguments& given) {
  Arguments arguments;
  for (const std::string& argument : given)
    arguments.push_back(argument == "-s" ? "--size" : argument);
  const ParsedArguments parsed = parseArguments(arguments, {}, {"--size"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) {
    return reportUsageError("thumbnail takes an emblem file and a picture to write");
  }
  int size = kDefaultThumbnailSize;
  if (const std::string* text = parsed.value("--size")) {
    const std::optional<std::int32_t> value = scanInt(*text);
    if (!value || *value < kSmallestThumbnailSize || *value > kLargestThumbnailSize ||
        formatInt(*value) != *text) {
      return reportUsageError("-s needs a size of 16 ... 4096 pixels, not \"" + *text + "\"");
    }
    size = *value;
  }
  const std::string& input = parsed.positional[0];
  const std::string& output = parsed.positional[1];
  EmblemDocument document;
  std::string reason;
  if (!readEmblemFile(document, input, &reason)) return reportFailure(input, reason);
  const std::optional<float> scale = thumbnailScale(document, size);
  if (!scale) return reportFailure(input, "the emblem has no size to draw");
  // One picture: its cells are read from the built-in atlas as they are drawn.
  const TexturePtr atlas = atlasTextureFromResource(embeddedPartsAtlasResource());
  if (!atlas) return reportFailure(output, "the parts atlas is missing from this build");
  ExportSettings settings;
  settings.scale = *scale;
  if (!exportImage(document, atlas, output, ImageFormat::Png, settings, &reason)) {
    return reportFailure(output, reason);
  }
  return kExitSuccess;
}

}  // namespace orvane::cli
