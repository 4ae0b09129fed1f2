#include "runtime/open_file_choice.h"

#include "common/cp932_text.h"

namespace vellora::shell {

bool FitsNarrowBuffer(const std::string& path) {
  const std::string narrow = Utf8ToCp932(path);
  return narrow.size() < kOpenFileBufferBytes && Cp932ToUtf8(narrow) == path;
}

FileChoice ChooseOpenFileFitting(FormsPlatform& platform, PlatformWindow* owner, const std::string& title,
                                 const std::string& filterName, const std::string& patterns, std::string& path) {
  std::string chosen;
  if (!platform.ChooseOpenFile(owner, title, filterName, patterns, chosen)) return FileChoice::Cancelled;
  if (!FitsNarrowBuffer(chosen)) return FileChoice::Refused;
  path = chosen;
  return FileChoice::Taken;
}

}  // namespace vellora::shell
