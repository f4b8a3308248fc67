#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The rules of the emblem's header page that are not about widgets: the size presets, the
// sound-effect names and the layer count text.

// The entries of the size list, in list order.
enum class SizePreset : int { Standard = 0, Small = 1, Direct = 2 };
inline constexpr std::array<std::string_view, 3> kSizePresetLabels = {"標準サイズ", "小型サイズ",
                                                                      "直接指定"};

struct EmblemSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const EmblemSize&, const EmblemSize&) = default;
};

// The preset a size matches: 192 x 96 is standard, 32 x 32 small, anything else direct entry.
SizePreset sizePresetOf(EmblemSize size);
// The size a preset puts into the width and height fields; none for direct entry, which keeps
// what was typed.
std::optional<EmblemSize> presetSize(SizePreset preset);
// Whether the width and height fields take typing under this preset.
inline bool sizeFieldsEditable(SizePreset preset) { return preset == SizePreset::Direct; }

// The sound-effect list; an entry's index is the emblem's sound number.
inline constexpr std::array<std::string_view, 13> kSoundNames = {
    "効果音を選択", "無音", "通常", "喜び",       "怒り", "悲しみ", "不安",
    "驚き",         "疑問", "HELP", "ホイッスル", "照れ", "キメ！"};
// The list entry of a sound number; none (no entry selected) outside the list.
std::optional<int> soundEntryOf(std::int32_t sound);

// The number of layers an emblem is meant to hold; more are allowed and only shown.
inline constexpr int kLayersPerEmblem = 225;
// "%d / 225" of a layer count.
std::string layerCountText(std::size_t layers);

}  // namespace orvane
