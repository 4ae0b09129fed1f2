// The system's open-file dialog.
#pragma once

#include <string>

#include "platform/win32/win32_forms_system.h"

namespace vellora::shell {

// Shows the dialog with one filter entry (name and patterns such as "*.MP3;*.WAV"), no initial
// folder and no flags, so that a typed name of a missing file is taken as well. True and the
// chosen path when the user picked one; false when cancelled or failed.
bool ShowOpenFileDialog(HWND owner, const std::string& title, const std::string& filterName,
                        const std::string& patterns, std::string& path);

}  // namespace vellora::shell
