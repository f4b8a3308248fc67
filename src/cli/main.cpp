#include <cerrno>
#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/command_list.h"
#include "cli/interruption.h"
#include "core_version.h"

namespace {

using namespace orvane::cli;

// A command's output that did not reach standard output (a full disk, a closed pipe, /dev/full)
// is a failure, whatever the command itself made of its work.
int withOutputChecked(int status) {
  errno = 0;
  std::cout.flush();
  if (std::cout) return status;
  const int code = errno;
  return reportFailure("standard output", code != 0
                                              ? std::string("cannot write: ") + std::strerror(code)
                                              : std::string("cannot write"));
}

int run(int argc, char** argv) {
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
  installInterruptHandling();
  const int status = command->run(arguments);
  if (interrupted() && status != kExitInterrupted) return reportInterrupted();
  return status;
}

}  // namespace

int main(int argc, char** argv) { return withOutputChecked(run(argc, argv)); }
