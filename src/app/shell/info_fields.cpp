#include "app/shell/info_fields.h"

#include "base/numbers.h"

namespace orvane {
namespace {

constexpr EmblemSize kStandardSize{192, 96};
constexpr EmblemSize kSmallSize{32, 32};

}  // namespace

SizePreset sizePresetOf(EmblemSize size) {
  if (size == kStandardSize) return SizePreset::Standard;
  if (size == kSmallSize) return SizePreset::Small;
  return SizePreset::Direct;
}

std::optional<EmblemSize> presetSize(SizePreset preset) {
  switch (preset) {
    case SizePreset::Standard:
      return kStandardSize;
    case SizePreset::Small:
      return kSmallSize;
    case SizePreset::Direct:
      break;
  }
  return std::nullopt;
}

std::optional<int> soundEntryOf(std::int32_t sound) {
  if (sound < 0 || sound >= static_cast<std::int32_t>(kSoundNames.size())) return std::nullopt;
  return sound;
}

std::string layerCountText(std::size_t layers) {
  return formatInt(static_cast<std::int64_t>(layers)) + " / " + formatInt(kLayersPerEmblem);
}

}  // namespace orvane
