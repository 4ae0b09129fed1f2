// The process-start reference: posix_spawn of the renderer from a small parent.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

#include "reference_steps.h"

extern char** environ;

namespace vellora::bench {

int SpawnStep(const char* program) {
  char* argv[] = {const_cast<char*>(program), nullptr};
  pid_t child = 0;
  const int64_t start = MonotonicNs();
  if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "spawn: cannot start %s\n", program);
    return 1;
  }
  std::printf("spawn_ns=%lld\nchild=%d\n", static_cast<long long>(start), static_cast<int>(child));
  std::fflush(stdout);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 0;
}

}  // namespace vellora::bench
