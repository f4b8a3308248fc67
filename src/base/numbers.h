#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Number text for files. None of these look at the C or C++ locale: a file written under a
// locale with a comma decimal separator is byte-identical to one written under "C".

// printf's "%g" (six significant digits, shortest of fixed and exponent form).
std::string formatGeneral(double value);
// printf's "%d".
std::string formatInt(std::int64_t value);

// scanf's "%d": optional white space, an optional sign and decimal digits; the value saturates
// at the int32 range. Nothing when no digit follows.
std::optional<std::int32_t> scanInt(std::string_view text);
// A whole number 0 ... 2^64 - 1 written as decimal digits alone (no sign, no white space, nothing
// after); nothing for any other text or a number too large.
std::optional<std::uint64_t> scanUint64(std::string_view text);
// scanf's "%lf": optional white space, then a decimal or exponent floating-point number.
std::optional<double> scanDouble(std::string_view text);

// Numbers as typed on a command line, where the whole text must be the number: no white space,
// nothing after it. A whole number: an optional "-" and decimal digits, within the int64 range.
std::optional<std::int64_t> parseWholeNumber(std::string_view text);
// A finite decimal number with an optional point and exponent ("0.5", "-2", "1e3"); never
// "inf", "nan", a comma or hexadecimal digits.
std::optional<double> parseDecimalNumber(std::string_view text);

}  // namespace orvane
