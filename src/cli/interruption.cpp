#include "cli/interruption.h"

#include <signal.h>
#include <unistd.h>

#include <iostream>

#include "base/temporary_files.h"

namespace orvane::cli {
namespace {

std::atomic<bool> running{true};
static_assert(std::atomic<bool>::is_always_lock_free);

void say(const char* text, std::size_t length) {
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, length);
}

// Only async-signal-safe calls from here on.
extern "C" void onSignal(int signal) {
  if (signal == SIGINT && running.exchange(false)) {
    ::alarm(kGraceSeconds);  // the command winds up itself, or SIGALRM ends it
    return;
  }
  removeTemporariesInFlight();
  if (signal == SIGINT || signal == SIGALRM) {
    constexpr char kText[] = "\norvane: interrupted\n";
    say(kText, sizeof kText - 1);
    ::_exit(kExitInterrupted);
  }
  // SIGTERM and SIGHUP end the process the way they would have without this handler.
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  ::sigaction(signal, &plain, nullptr);
  sigset_t set;
  ::sigemptyset(&set);
  ::sigaddset(&set, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(signal);
  ::_exit(128 + signal);
}

}  // namespace

void installInterruptHandling() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGALRM}) {
    struct sigaction previous {};
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
  }
}

const std::atomic<bool>& keepRunning() { return running; }

bool interrupted() { return !running.load(); }

int reportInterrupted() {
  std::cerr << "orvane: interrupted\n";
  return kExitInterrupted;
}

}  // namespace orvane::cli
