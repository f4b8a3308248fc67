#pragma once

#include <cstdint>
#include <string>

#include "tools/randomart/evolution.h"

namespace orvane {

// FormatElapsedTime: the analysis time as the dialog shows it, in UTF-8: "%d日と%d時間%02d分%02d秒"
// with days, "%d時間%02d分%02d秒" with hours, "%d分%02d秒" with minutes, else "%d秒".
std::string FormatElapsedTime(std::uint32_t milliseconds);

// The six counter texts in the order the worker sets them: fit ratio and relative fit ratio
// ("%0.2f％", two decimals whatever the locale), best updates ("%d回"), simulations ("%d回"),
// elapsed time and the best genome's gene count ("%d枚").
struct ProgressTexts {
  std::string fitRatio, relativeFitRatio, bestUpdates, simulations, elapsed, geneCount;
};
ProgressTexts progressTexts(const EvolutionProgress& progress);

// A number with two decimals, independent of the locale; "nan", "inf" or "-inf" when it is
// not finite (the relative fit ratio of a pure white target).
std::string formatTwoDecimals(double value);

}  // namespace orvane
