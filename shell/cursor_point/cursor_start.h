// Notes where the mouse pointer stands in CursorStartX and CursorStartY: the session's reference
// point for its mouse test, the settings dialog's zoom origin.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell {

// Reads the pointer's position. On success each coordinate that fits 16 bits is stored (one
// that does not, on a very large desktop, leaves its variable as it was) and the result is
// true; on failure both become 0 and the result is false.
bool NoteCursorStart(FormsPlatform& platform);

}  // namespace vellora::shell
