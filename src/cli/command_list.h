#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/cli_support.h"

namespace orvane::cli {

// One command of the orvane program: its name, what runs it, and its help.
struct Command {
  std::string_view name;
  int (*run)(const Arguments& arguments);  // takes the arguments after the command's name
  std::string_view synopsis;               // the arguments it takes, after its name
  std::string_view description;            // what it does, one or more lines
};

std::span<const Command> commands();
// The command of that name, or null.
const Command* findCommand(std::string_view name);

// `orvane --help`: every command with its synopsis and description, and the exit statuses.
std::string programHelp();
// `orvane COMMAND --help`: that command alone.
std::string commandHelp(const Command& command);

}  // namespace orvane::cli
