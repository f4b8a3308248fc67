#pragma once

#include <atomic>

namespace orvane::cli {

// Exit status of a command stopped by Ctrl+C, as shells report a process ended by SIGINT.
inline constexpr int kExitInterrupted = 130;
// How long a command may take to wind up after the first Ctrl+C before it is ended anyway.
inline constexpr unsigned kGraceSeconds = 2;

// Handles SIGINT, SIGTERM and SIGHUP for the rest of the run (signals ignored when the program
// started stay ignored). The first Ctrl+C asks the command to stop: keepRunning() turns false
// and the command ends with kExitInterrupted as soon as it notices, at the latest after
// kGraceSeconds. A second Ctrl+C, SIGTERM and SIGHUP end the process at once. Whatever way it
// ends, the temporary files of saves in flight are removed first, so no half-written file is
// left beside its target.
void installInterruptHandling();

// Cleared by the first Ctrl+C; long loops test it before each step.
const std::atomic<bool>& keepRunning();
bool interrupted();

// "orvane: interrupted" on stderr; returns kExitInterrupted.
int reportInterrupted();

}  // namespace orvane::cli
