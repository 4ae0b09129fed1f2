#include "platform/win32/win32_process_paths.h"

namespace vellora::shell {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string CommandLineArguments(const std::string& commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    // A quoted path ends at the next quote; an unterminated one takes the whole line.
    const size_t closing = commandLine.find('"', 1);
    at = closing == std::string::npos ? commandLine.size() : closing + 1;
  } else {
    while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  }
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::string FolderOfModulePath(const std::string& modulePath) {
  const size_t separator = modulePath.rfind('\\');
  if (separator == std::string::npos) return std::string();
  std::string folder = modulePath.substr(0, separator);
  // "C:" alone names the drive's current folder, not its root; the root keeps its backslash.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace vellora::shell
