#include "platform/posix/posix_path.h"

#include <algorithm>

namespace vellora::shell {

std::string ToPosixPath(std::string_view shellPath) {
  std::string path(shellPath);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace vellora::shell
