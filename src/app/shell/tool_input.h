#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/shell/info_fields.h"

namespace orvane {

// The texts the tools' dialogs read from their edits, and the checks before a tool runs.

// The random-art and block-art dialogs offer the header page's size list (SizePreset,
// presetSize, sizePresetOf) for the emblem size they lay their layers out for.
using ToolSize = EmblemSize;

// The number in a size edit as the C library's atoi reads it: leading blanks, an optional sign
// and digits, anything after them ignored; 0 for an empty or non-numeric text. Saturates at the
// int32 range.
std::int32_t numberFromText(std::string_view text);

// The largest side the tools accept: far beyond any emblem, small enough that no coordinate or
// buffer derived from it overflows.
inline constexpr std::int32_t kMaxToolSide = 10000;
// Why a size cannot be used (a side of 0 or less, or above kMaxToolSide), or nothing.
std::optional<std::string> sizeProblem(ToolSize size);

// The batch conversion's scale, read locale-free: a finite number above 0 and at most
// kMaxBatchScale, or nothing. Blanks around the number are allowed, nothing else.
inline constexpr float kMaxBatchScale = 32.0f;
std::optional<float> scaleFromText(std::string_view text);
// The message for a scale text that scaleFromText refuses.
std::string scaleProblem();

}  // namespace orvane
