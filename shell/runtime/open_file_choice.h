// The open-file dialog as the settings dialog keeps its answer: in a buffer of 255 narrow
// characters of code page 932, its terminating NUL included. A chosen path that does not fit
// is refused whole, never cut, and leaves everything as it was, like a cancel.
#pragma once

#include <cstddef>
#include <string>

#include "platform/forms_platform.h"

namespace vellora::shell {

constexpr size_t kOpenFileBufferBytes = 255;

// Shows the platform's open-file dialog owned by owner (null: none), with the title and one
// filter entry (description and ";"-separated patterns such as "*.MP3;*.WAV"). True, and path
// set to the chosen file, when the user picked one whose code page 932 form fits the buffer
// (at most 254 bytes and the NUL). False, with path unchanged, when the dialog was cancelled
// or failed, when the path is longer, or when it holds a character code page 932 lacks.
bool ChooseOpenFileFitting(FormsPlatform& platform, PlatformWindow* owner, const std::string& title,
                           const std::string& filterName, const std::string& patterns, std::string& path);

}  // namespace vellora::shell
