#include "platform/gtk/process_text.h"

namespace vellora::shell {

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  // Separators repeated before the file name belong to the separator, not to the folder.
  auto end = slash;
  while (end > 0 && path[end - 1] == '/') --end;
  return end == 0 ? "/" : path.substr(0, end);
}

}  // namespace vellora::shell
