// The process services of the forms backend: command line, folder, other programs, documents.
#pragma once

#include <string>

namespace vellora::shell {

// The process's command line without the program path, as UTF-8.
std::string ProcessArguments();
// The folder of the running program, without a trailing backslash except at a drive root.
std::string ProcessFolder();
// Starts the program with a normal, focused window (show command SW_SHOWNORMAL) and does not
// wait for it.
bool StartProgramNormally(const std::string& path);
// Opens a document or an address with the program the system associates with it ("open"),
// owned by the active window. Returns at once; a failure goes unreported.
void OpenWithShell(const std::string& address);

}  // namespace vellora::shell
