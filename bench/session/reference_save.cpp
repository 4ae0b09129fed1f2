// The save reference: the same bytes written durably beside the target and renamed over it.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "reference_steps.h"

namespace vellora::bench {

int SaveStep(const char* source, const char* target) {
  std::ifstream in(source, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    std::fprintf(stderr, "save: cannot read %s\n", source);
    return 1;
  }
  const std::string temporary = std::string(target) + ".tmp";
  const int64_t start = MonotonicNs();
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return 1;
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return 1;
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0 || rename(temporary.c_str(), target) != 0) return 1;
  const int64_t done = MonotonicNs();
  std::printf("save_ns=%lld\nbytes=%zu\n", static_cast<long long>(done - start), bytes.size());
  return 0;
}

}  // namespace vellora::bench
