// The open-file dialog as the settings dialog keeps its answer: in a buffer of 255 narrow
// characters of code page 932, its terminating NUL included. A chosen path that does not fit,
// or that code page 932 cannot hold exactly, is refused whole, never cut or changed, and leaves
// everything as it was.
#pragma once

#include <cstddef>
#include <string>

#include "platform/forms_platform.h"

namespace vellora::shell {

constexpr size_t kOpenFileBufferBytes = 255;

enum class FileChoice {
  Taken,      // path holds the chosen file
  Cancelled,  // the dialog was cancelled or failed
  Refused,    // a file was chosen, but its path cannot be kept as it is
};

// True when the path comes back unchanged from code page 932 (encoded, then decoded) and its
// narrow form fits the buffer (at most 254 bytes and the NUL). Characters that code page 932
// maps one way only (〜 as 81 60, which reads back as ～; ¥ as 5C, which reads back as "\")
// would change the path into another one.
bool FitsNarrowBuffer(const std::string& path);

// Shows the platform's open-file dialog owned by owner (null: none), with the title and one
// filter entry (description and ";"-separated patterns such as "*.MP3;*.WAV"). Taken, with
// path set to the chosen file, when it FitsNarrowBuffer; otherwise path is unchanged.
FileChoice ChooseOpenFileFitting(FormsPlatform& platform, PlatformWindow* owner, const std::string& title,
                                 const std::string& filterName, const std::string& patterns, std::string& path);

}  // namespace vellora::shell
