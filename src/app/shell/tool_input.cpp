#include "app/shell/tool_input.h"

#include <charconv>
#include <cmath>

#include "base/numbers.h"

namespace orvane {

std::int32_t numberFromText(std::string_view text) { return scanInt(text).value_or(0); }

std::optional<std::string> sizeProblem(ToolSize size) {
  if (size.width >= 1 && size.width <= kMaxToolSide && size.height >= 1 &&
      size.height <= kMaxToolSide) {
    return std::nullopt;
  }
  return "横幅と高さには 1 から " + std::to_string(kMaxToolSide) + " までの数を入力してください。";
}

std::optional<float> scaleFromText(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  // The whole text must be the number: "2x" or "1,5" is no scale.
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(value) || value <= 0 || value > kMaxBatchScale) return std::nullopt;
  return float(value);
}

std::string scaleProblem() {
  return "拡大率には 0 より大きく " + std::to_string(int(kMaxBatchScale)) +
         " 以下の数を入力してください。";
}

}  // namespace orvane
