// In-process checks of what the settings dialog asks of the Win32 forms backend beyond the
// basic windows: the frame and outer geometry, the window and program icons, opening a
// document without waiting, and the user's number format.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell::forms_check {

// A fixed dialog reports its frame before it is shown, and a form places itself by it.
void ProbeFrame(FormsPlatform& platform);
// A form's icon reaches its window in the big and the small size.
void ProbeWindowIcon(FormsPlatform& platform);
// Vellora.scr and Vellora.data beside this program (when the script put them there) carry the
// program icon, as Explorer reads it.
void ProbeProgramIcons(FormsPlatform& platform);
// Opening this program as a document starts it (without arguments) and does not wait for it.
void ProbeOpenDocument(FormsPlatform& platform);

}  // namespace vellora::shell::forms_check
