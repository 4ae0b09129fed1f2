#include "platform/wayland/compositor_capture.h"

#include <cstdlib>
#include <cstring>

#include "platform/wayland/portal_screenshot.h"
#include "platform/wayland/screen_copy.h"
#include "platform/wayland/wayland_desktop.h"

namespace vellora::shell {
namespace {

// A compositor answers the screen copy within a frame or two; the portal may first ask the
// user, who is then given time to read the question and answer it.
constexpr std::chrono::seconds kScreenCopyWait{3};
constexpr std::chrono::seconds kPortalWait{20};

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// VELLORA_SCREENCOPY=off leaves the screen copy out although the compositor offers it, so that
// the portal's way can be tried on a compositor that offers both.
bool ScreenCopyWanted() {
  const char* value = std::getenv("VELLORA_SCREENCOPY");
  return value == nullptr || std::strcmp(value, "off") != 0;
}

}  // namespace

bool UnderWaylandCompositor() { return Set("WAYLAND_DISPLAY"); }

CompositorCapture CaptureFromCompositor(Canvas& into) {
  if (!UnderWaylandCompositor()) return CompositorCapture::NotOffered;
  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<WaylandDesktop> desktop = WaylandDesktop::Connect(start + kScreenCopyWait);
  if (desktop && desktop->ScreenCopy() != nullptr && ScreenCopyWanted()) {
    return CaptureWithScreenCopy(*desktop, start + kScreenCopyWait, into) ? CompositorCapture::Captured
                                                                          : CompositorCapture::Failed;
  }
  // The portal's picture covers the whole desktop; the primary output's part of it is kept.
  PortalCrop crop;
  if (const WaylandOutput* output = desktop ? desktop->PrimaryOutput() : nullptr) {
    crop = {output->x, output->y, output->width, output->height};
  }
  desktop.reset();
  return CaptureWithPortal(crop, std::chrono::steady_clock::now() + kPortalWait, into);
}

std::string MissingXWaylandMessage() {
  if (Set("DISPLAY") || !UnderWaylandCompositor()) return {};
  return "Vellora runs on Wayland desktops through XWayland, but this desktop session has no XWayland "
         "(DISPLAY is not set). Turn XWayland on in the compositor (in sway: \"xwayland enable\") and "
         "start Vellora again.";
}

}  // namespace vellora::shell
