// In-process checks of what the settings dialog asks of the Win32 forms backend beyond the
// basic windows: the window and program icons, and opening a document without waiting.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell::forms_check {

// A form's icon reaches its window in the big and the small size.
void ProbeWindowIcon(FormsPlatform& platform);
// Vellora.scr and Vellora.data beside this program (when the script put them there) carry the
// program icon, as Explorer reads it.
void ProbeProgramIcons(FormsPlatform& platform);
// Opening this program as a document starts it (without arguments) and does not wait for it.
void ProbeOpenDocument(FormsPlatform& platform);

}  // namespace vellora::shell::forms_check
