#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// A failure as the command line reports it: the file it is about and why.
struct FileFailure {
  std::string file;
  std::string reason;
};

// Text from a file or a folder as it may be shown on a terminal: control characters (C0, DEL and
// the C1 range U+0080 ... U+009F, which terminals take as commands) become "\x1b" and the like.
std::string printable(std::string_view text);

// "orvane: FILE: reason" on stderr, both made printable; returns kExitFailure.
int reportFailure(std::string_view file, std::string_view reason);
int reportFailure(const FileFailure& failure);
// "orvane: message" and a pointer to --help on stderr; returns kExitUsage.
int reportUsageError(std::string_view message);

// The usage error of an option whose value is not what it needs:
// "--jobs needs a number of threads 1 ... 256, not "x"".
std::string optionProblem(std::string_view option, std::string_view wanted, std::string_view given);
// An option's value as a whole number within [min, max]; nothing for any other text.
std::optional<std::int64_t> wholeNumberWithin(std::string_view text, std::int64_t min,
                                              std::int64_t max);

// A colour written as six hexadecimal digits RRGGBB (either case), as 0x00RRGGBB.
bool parseRgbColour(std::string_view text, std::uint32_t& colour);

// Arguments split into positional ones and recognised options.
struct ParsedArguments {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;  // in command-line order
  std::string problem;  // the usage error; empty when every argument was understood
  bool has(std::string_view name) const;
  const std::string* value(std::string_view name) const;  // the last one given
};
// Options are "--name" or "--name VALUE" (also "--name=VALUE"); `valued` lists those that take a
// value. Unknown options and missing values are usage errors; after "--" every argument is
// positional.
ParsedArguments parseArguments(const Arguments& arguments, const std::vector<std::string>& flags,
                               const std::vector<std::string>& valued);

// Whether the arguments ask for help ("--help" or "-h" before any "--").
bool asksForHelp(const Arguments& arguments);

}  // namespace orvane::cli
