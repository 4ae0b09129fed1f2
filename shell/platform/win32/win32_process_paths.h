// How the Win32 forms backend reads its own command line and module path. Plain string work on
// UTF-8 text, kept apart from the system calls so that it can be tested on any host.
#pragma once

#include <string>

namespace vellora::shell {

// The arguments of a process command line: what follows the program path, which is either
// quoted ("C:\Program Files\x.scr") or runs to the first blank or tab, and the blanks and tabs
// after it. This is the tail that WinMain receives as its command line.
std::string CommandLineArguments(const std::string& commandLine);

// The folder of a module path such as "C:\Windows\Vellora.scr": everything before its last
// backslash, with no trailing backslash except at a drive root ("C:\"). A path without a
// backslash has no folder (empty text).
std::string FolderOfModulePath(const std::string& modulePath);

}  // namespace vellora::shell
