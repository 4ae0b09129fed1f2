#include "platform/file_system.h"

namespace vellora::shell {

bool ReplaceFileAtomically(FileSystem& files, const std::string& linkOrFile, std::string_view bytes, ReplaceHow how) {
  if (linkOrFile.empty()) return false;
  const std::string path = how.throughLinks ? files.ResolveLinks(linkOrFile) : linkOrFile;
  const std::string temporary = files.WriteFileBeside(path, bytes, how.ownerOnly, how.durability);
  if (temporary.empty()) return false;
  if (!files.RenameOver(temporary, path, how.durability)) {
    files.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace vellora::shell
