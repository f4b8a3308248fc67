#include "cli/cli_support.h"

#include <algorithm>
#include <iostream>

#include "base/numbers.h"

namespace orvane::cli {

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto escape = [&out](unsigned value) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[value >> 4];
    out += kHex[value & 15];
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
      escape(byte);
    } else if (byte == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      escape(static_cast<unsigned char>(text[++i]));  // U+0080 ... U+009F in UTF-8
    } else {
      out += text[i];
    }
  }
  return out;
}

int reportFailure(std::string_view file, std::string_view reason) {
  std::cerr << "orvane: " << printable(file) << ": " << printable(reason) << '\n';
  return kExitFailure;
}

int reportFailure(const FileFailure& failure) {
  return reportFailure(failure.file, failure.reason);
}

int reportUsageError(std::string_view message) {
  std::cerr << "orvane: " << message << "\nTry 'orvane --help'.\n";
  return kExitUsage;
}

std::string optionProblem(std::string_view option, std::string_view wanted,
                          std::string_view given) {
  std::string problem(option);
  problem += " needs ";
  problem += wanted;
  problem += ", not \"";
  problem += given;
  problem += '"';
  return problem;
}

std::optional<std::int64_t> wholeNumberWithin(std::string_view text, std::int64_t min,
                                              std::int64_t max) {
  const std::optional<std::int64_t> value = parseWholeNumber(text);
  if (!value || *value < min || *value > max) return std::nullopt;
  return value;
}

bool parseRgbColour(std::string_view text, std::uint32_t& colour) {
  if (text.size() != 6) return false;
  std::uint32_t value = 0;
  for (char c : text) {
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    value = value << 4 | digit;
  }
  colour = value;
  return true;
}

bool ParsedArguments::has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(),
                     [&](const auto& option) { return option.first == name; });
}

const std::string* ParsedArguments::value(std::string_view name) const {
  for (auto it = options.rbegin(); it != options.rend(); ++it) {
    if (it->first == name) return &it->second;
  }
  return nullptr;
}

ParsedArguments parseArguments(const Arguments& arguments, const std::vector<std::string>& flags,
                               const std::vector<std::string>& valued) {
  ParsedArguments parsed;
  auto contains = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  bool onlyPositional = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyPositional || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyPositional = true;
      continue;
    }
    std::string name = argument;
    std::string value;
    bool hasInlineValue = false;
    if (const auto equals = argument.find('='); equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      hasInlineValue = true;
    }
    if (contains(flags, name) && !hasInlineValue) {
      parsed.options.emplace_back(name, "");
    } else if (contains(valued, name)) {
      if (!hasInlineValue) {
        if (i + 1 >= arguments.size()) {
          parsed.problem = "option " + name + " needs a value";
          return parsed;
        }
        value = arguments[++i];
      }
      parsed.options.emplace_back(name, value);
    } else {
      parsed.problem = "unknown option " + argument;
      return parsed;
    }
  }
  return parsed;
}

bool asksForHelp(const Arguments& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--help" || argument == "-h") return true;
  }
  return false;
}

}  // namespace orvane::cli
