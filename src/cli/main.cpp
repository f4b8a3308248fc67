#include <iostream>
#include <string_view>

#include "cli/command_list.h"
#include "core_version.h"

int main(int argc, char** argv) {
  using namespace orvane::cli;
  if (argc < 2) return reportUsageError("no command given");
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    std::cout << programHelp();
    return kExitSuccess;
  }
  if (first == "--version") {
    std::cout << "orvane " << orvane::coreVersion() << '\n';
    return kExitSuccess;
  }
  const Command* command = findCommand(first);
  if (!command) return reportUsageError("unknown command '" + std::string(first) + "'");
  const Arguments arguments(argv + 2, argv + argc);
  if (asksForHelp(arguments)) {
    std::cout << commandHelp(*command);
    return kExitSuccess;
  }
  return command->run(arguments);
}
