// peak_memory COMMAND [ARGUMENTS...]: runs the command and prints the most memory it held (its
// peak resident set, in megabytes) on stderr, ending with the command's own exit status. The
// memory tests of the command line use it to bound what hostile files may cost.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: peak_memory COMMAND [ARGUMENTS...]\n");
    return 2;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::execvp(argv[1], argv + 1);
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return 126;
  std::fprintf(stderr, "peak memory: %ld MB\n", usage.ru_maxrss / 1024);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
