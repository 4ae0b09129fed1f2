// The process side of the forms platform: the program's folder, starting other programs and
// documents, and the immediate end.
#pragma once

#include <string>

namespace vellora::shell {

// The folder of the running program (from /proc/self/exe), without a trailing "/".
std::string RunningProgramFolder();

// Starts the program at this path (the shell's "\" separators taken as "/") with no
// arguments, without waiting; the child is reaped when it ends, and onEnded (if given) then
// runs on the GLib loop. False when it cannot start.
bool SpawnProgram(const std::string& path, void (*onEnded)() = nullptr);

// Opens a web address or a file (the shell's "\" separators taken as "/") with the desktop's
// default application, through GIO. Returns at once: the launch goes on without the caller,
// and its failure (no such file, no handler) goes unreported.
void LaunchDefaultApplication(const std::string& address);

// Sends what is queued for the X server and ends the process with exit code 0, running no
// handler or destructor.
[[noreturn]] void EndProcessImmediately();

}  // namespace vellora::shell
