// vellora_bench_session_reference: runs one of the minimal reference steps.
//   capture | save SOURCE TARGET | spawn PROGRAM | poll SECONDS | tick SECONDS
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "reference_steps.h"

namespace vellora::bench {

int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

}  // namespace vellora::bench

int main(int argc, char** argv) {
  using namespace vellora::bench;
  const char* step = argc > 1 ? argv[1] : "";
  if (std::strcmp(step, "capture") == 0 && argc == 2) return CaptureStep();
  if (std::strcmp(step, "save") == 0 && argc == 4) return SaveStep(argv[2], argv[3]);
  if (std::strcmp(step, "spawn") == 0 && argc == 3) return SpawnStep(argv[2]);
  if (std::strcmp(step, "poll") == 0 && argc == 3) return PollStep(std::atof(argv[2]));
  if (std::strcmp(step, "tick") == 0 && argc == 3) return TickStep(std::atof(argv[2]));
  std::fprintf(stderr, "usage: %s capture | save SOURCE TARGET | spawn PROGRAM | poll SECONDS | tick SECONDS\n",
               argv[0]);
  return 2;
}
