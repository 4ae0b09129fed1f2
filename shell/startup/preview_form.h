// The preview form Vellora_R: one still picture of the effect, shown as a child window inside
// another program's window (the display settings' little preview monitor, or an X11 host that
// embeds screensaver previews).
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/form.h"
#include "runtime/picture_controls.h"

namespace vellora::shell {

// The embedded file that holds the still.
inline constexpr const char* kPreviewStillFile = "preview_still.png";

namespace detail {
// The form's controls live in a base that is built before the form and destroyed after it, so
// that they outlive the window the form drops when it goes.
struct PreviewControls {
  ImageControl imgPrev{"Img_Prev", 0};
};
}  // namespace detail

// Caption "Preview Window", no border, black background. Img_Prev holds the still at its own
// size from the top-left corner; it is never scaled, so a smaller form clips it and a larger
// one shows black around it.
class PreviewForm final : private detail::PreviewControls, public Form {
 public:
  explicit PreviewForm(FormsApplication& application);
  ~PreviewForm() override;

  ImageControl& ImgPrev() { return imgPrev; }

 private:
  void FormUnload() override;

  TimerId closeRequest_ = 0;
};

// Puts the preview form into window `parentHandle` and shows it; the process then lives while
// the form does. A handle of 0 (none given, or not a number), one that names no window, or a
// window the form cannot be put into ends the process at once, rather than keeping an
// invisible or stray form alive.
std::unique_ptr<PreviewForm> SetUpPreview(FormsApplication& application, int32_t parentHandle);

}  // namespace vellora::shell
