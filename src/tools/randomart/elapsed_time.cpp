#include "tools/randomart/elapsed_time.h"

#include <charconv>
#include <cmath>

#include "base/numbers.h"

namespace orvane {
namespace {

std::string twoDigits(std::uint32_t value) {
  return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

}  // namespace

std::string FormatElapsedTime(std::uint32_t ms) {
  const std::uint32_t days = ms / 86'400'000;
  const std::uint32_t rest = ms % 86'400'000;
  const std::uint32_t hours = rest / 3'600'000;
  const std::uint32_t minutes = rest % 3'600'000 / 60'000;
  const std::uint32_t seconds = rest % 60'000 / 1000;
  if (days > 0) {
    return formatInt(days) + "日と" + formatInt(hours) + "時間" + twoDigits(minutes) + "分" +
           twoDigits(seconds) + "秒";
  }
  if (hours > 0)
    return formatInt(hours) + "時間" + twoDigits(minutes) + "分" + twoDigits(seconds) + "秒";
  if (minutes > 0) return formatInt(minutes) + "分" + twoDigits(seconds) + "秒";
  return formatInt(seconds) + "秒";
}

std::string formatTwoDecimals(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  return std::string(buffer, result.ptr);
}

ProgressTexts progressTexts(const EvolutionProgress& p) {
  return {formatTwoDecimals(p.fitRatio) + "％",     formatTwoDecimals(p.relativeFitRatio) + "％",
          formatInt(p.bestUpdateCount) + "回",      formatInt(p.simulationCount) + "回",
          FormatElapsedTime(p.elapsedMilliseconds), formatInt(p.bestCount) + "枚"};
}

}  // namespace orvane
