#include "cursor_point/zoom_helpers.h"

#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

// A rectangle of no size at the cursor point.
PixelRect CursorPointRect() { return {CursorStartX, CursorStartY, CursorStartX, CursorStartY}; }

// The window's screen rectangle; all zeros when the platform cannot tell it.
PixelRect WindowRect(FormsPlatform& platform, NativeWindow window) {
  PixelRect rect;
  const bool known = platform.WindowScreenRect(window, rect);
  ApiResult = known ? 1 : 0;
  return known ? rect : PixelRect{};
}

}  // namespace

void ZoomOpen(FormsPlatform& platform, NativeWindow window) {
  const PixelRect from = CursorPointRect();
  const PixelRect to = WindowRect(platform, window);
  platform.ZoomAnimation(window, from, to);
}

void ZoomClose(FormsPlatform& platform, NativeWindow window) {
  const PixelRect from = WindowRect(platform, window);
  const PixelRect to = CursorPointRect();
  platform.ZoomAnimation(window, from, to);
}

}  // namespace vellora::shell
