#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// "orvane: FILE: reason" on stderr; returns kExitFailure.
int reportFailure(std::string_view file, std::string_view reason);
// "orvane: message" and a pointer to --help on stderr; returns kExitUsage.
int reportUsageError(std::string_view message);

// A colour written as six hexadecimal digits RRGGBB (either case), as 0x00RRGGBB.
bool parseRgbColour(std::string_view text, std::uint32_t& colour);

// Splits arguments into positional ones and recognised options. Options are "--name" or
// "--name VALUE"; `valued` lists those that take a value. Unknown options and missing values are
// usage errors (false, with `problem` set).
struct ParsedArguments {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;  // in command-line order
  bool has(std::string_view name) const;
  const std::string* value(std::string_view name) const;  // the last one given
};
bool parseArguments(const Arguments& arguments, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, ParsedArguments& parsed,
                    std::string& problem);

}  // namespace orvane::cli
