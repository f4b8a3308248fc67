#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {

// Runs `work` (returning whether it went as expected) in a child process and returns how many
// megabytes of memory the child held at its peak beyond a child that does nothing, or -1 when
// `work` returned false. Peaks are measured from outside (ru_maxrss), so they count every
// allocation, however it was made.
template <typename Work>
long peakMegabytesOfChild(Work work) {
  auto run = [](auto body) -> long {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body() ? 0 : 1);
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      return -1;
    }
    return usage.ru_maxrss / 1024;
  };
  const long idle = run([] { return true; });
  const long busy = run(work);
  return busy < 0 ? -1 : busy - idle;
}

}  // namespace orvane
