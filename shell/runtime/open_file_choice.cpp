#include "runtime/open_file_choice.h"

#include "common/cp932_text.h"

namespace vellora::shell {

bool ChooseOpenFileFitting(FormsPlatform& platform, PlatformWindow* owner, const std::string& title,
                           const std::string& filterName, const std::string& patterns, std::string& path) {
  std::string chosen;
  if (!platform.ChooseOpenFile(owner, title, filterName, patterns, chosen)) return false;
  bool exact = false;
  const std::string narrow = Utf8ToCp932(chosen, &exact);
  if (!exact || narrow.size() >= kOpenFileBufferBytes) return false;
  path = chosen;
  return true;
}

}  // namespace vellora::shell
