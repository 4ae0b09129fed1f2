// The caption-zoom animation between the shared cursor point (CursorStartX, CursorStartY) and a
// window, played by the settings dialog when it opens and when it closes. Neither helper traps
// errors: a failure reaches the caller.
#pragma once

#include "platform/forms_platform.h"

namespace vellora::shell {

// From the cursor point out to the window's screen rectangle.
void ZoomOpen(FormsPlatform& platform, NativeWindow window);

// From the window's screen rectangle back to the cursor point.
void ZoomClose(FormsPlatform& platform, NativeWindow window);

}  // namespace vellora::shell
