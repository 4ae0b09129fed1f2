// In-process checks of the Win32 forms backend, each reporting its verdicts: what the system
// says about the windows, timers, loops, text and controls that the backend made.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell::forms_check {

void ProbeText(FormsPlatform& platform);
void ProbeTimersAndLoops(FormsPlatform& platform);
void ProbeWindows(FormsPlatform& platform);
void ProbeComboBox(FormsPlatform& platform, PlatformWindow& parent);
void ProbeBusyPointer(FormsPlatform& platform, PlatformWindow& window);
// What this program does when started without arguments: writes "started [<command line>]"
// to started.txt in its folder.
int RunAsStartedProgram(FormsPlatform& platform);

}  // namespace vellora::shell::forms_check
