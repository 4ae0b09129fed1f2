#include "platform/file_system.h"

namespace vellora::shell {

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

bool ReplaceFileAtomically(FileSystem& files, const std::string& linkOrFile, std::string_view bytes,
                           bool ownerOnly, Durability durability) {
  const std::string path = files.ResolveLinks(linkOrFile);
  const std::string temporary = TemporaryPathFor(path);
  if (ownerOnly) {
    // Restricting the old file too means the rename, which keeps the old file's permissions,
    // never shows the new content to anyone else.
    files.RemoveFile(temporary);
    if (!files.WriteFile(temporary, {}, durability)) return false;
    files.RestrictToOwner(temporary);
    files.RestrictToOwner(path);
  }
  if (!files.WriteFile(temporary, bytes, durability) || !files.RenameOver(temporary, path, durability)) {
    files.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace vellora::shell
