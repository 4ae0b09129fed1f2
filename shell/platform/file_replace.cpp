#include "platform/file_system.h"

namespace vellora::shell {

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

bool ReplaceFileAtomically(FileSystem& files, const std::string& path, std::string_view bytes) {
  const std::string temporary = TemporaryPathFor(path);
  if (!files.WriteFileDurably(temporary, bytes) || !files.RenameOver(temporary, path)) {
    files.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace vellora::shell
