#include "startup/preview_form.h"

#include <cstdint>

#include "assets/embedded_assets.h"
#include "common/number_conversions.h"
#include "common/shell_texts.h"
#include "runtime/picture_decoder.h"
#include "settings/settings_variables.h"

namespace vellora::shell {
namespace {

// The form as designed: the still's 152 x 112 pixels at 15 twips per pixel.
constexpr int32_t kDesignWidthTwips = 152 * 15;
constexpr int32_t kDesignHeightTwips = 112 * 15;

// A preview size in twips as a 16-bit value. A host wider or taller than 32,767 twips (2,184
// pixels at 15 twips per pixel) gets the largest size that fits: the still then shows in its
// corner with black beside it, where the overflow would have left the form with no size at
// all and so nothing visible.
int16_t PreviewTwips(int32_t pixels, double twipsPerPixel) {
  const double twips = twipsPerPixel * pixels;
  if (const std::optional<int16_t> fits = RoundToInt16(twips)) return *fits;
  return twips > 0 ? INT16_MAX : 0;
}

// Window handles are 32-bit values; wider handle types take them sign-extended.
NativeWindow HandleFromInt32(int32_t handle) { return static_cast<NativeWindow>(static_cast<int64_t>(handle)); }

}  // namespace

PreviewForm::PreviewForm(FormsApplication& application)
    : Form(application, FormDesign{kPreviewTitle, FrameStyle::None, Rgb{0, 0, 0}, kDesignWidthTwips,
                                   kDesignHeightTwips}) {
  Add(imgPrev);
  imgPrev.SetBounds({0, 0, kDesignWidthTwips, kDesignHeightTwips});
  Canvas still;
  if (DecodePicture(EmbeddedFileBytes(kPreviewStillFile), still)) imgPrev.SetPicture(still);
}

PreviewForm::~PreviewForm() {
  if (closeRequest_ != 0) Platform().StopTimer(closeRequest_);
}

void PreviewForm::FormUnload() {
  // A close request to the form's own window, delivered later on the user-interface thread
  // like any posted message. The unload goes on meanwhile and takes the window with it, so
  // the request finds no window and is dropped.
  if (closeRequest_ != 0) return;
  const NativeWindow own = Window() != nullptr ? Window()->Handle() : 0;
  closeRequest_ = Platform().StartTimer(1, [this, own] {
    PreviewForm& form = *this;  // stopping the timer may drop this closure
    const NativeWindow target = own;
    form.Platform().StopTimer(form.closeRequest_);
    form.closeRequest_ = 0;
    if (form.Loaded() && form.Window()->Handle() == target) form.OnCloseRequested();
  });
  ApiResult = closeRequest_ != 0 ? 1 : 0;
}

std::unique_ptr<PreviewForm> SetUpPreview(FormsApplication& application, int32_t parentHandle) {
  FormsPlatform& platform = application.Platform();
  const NativeWindow parent = HandleFromInt32(parentHandle);

  PixelRect area;
  const bool found = parentHandle != 0 && platform.WindowScreenRect(parent, area);
  ApiResult = found ? 1 : 0;
  if (!found) platform.EndProcessNow();

  const int16_t left = 0, top = 0;
  const int16_t width = PreviewTwips(area.Width(), platform.TwipsPerPixelX());
  const int16_t height = PreviewTwips(area.Height(), platform.TwipsPerPixelY());

  auto form = std::make_unique<PreviewForm>(application);
  form->Load();

  // The child-window style, the new parent and the parent's top-left corner. A form that could
  // not be put inside the host would show as a stray top-level window in a process that never
  // ends, so a failure ends the process at once, as a bad handle does.
  const bool adopted = form->Window() != nullptr && form->Window()->AdoptInto(parent);
  ApiResult = adopted ? 1 : 0;
  if (!adopted) platform.EndProcessNow();

  form->Move(left, top, width, height);

  // The image covers the whole form, the form's size back in pixels; the still inside keeps
  // its own size.
  const double tx = platform.TwipsPerPixelX(), ty = platform.TwipsPerPixelY();
  const int32_t imageWidth = TwipsToPixels(form->WidthTwips(), tx);
  const int32_t imageHeight = TwipsToPixels(form->HeightTwips(), ty);
  form->ImgPrev().SetBounds({0, 0, static_cast<int32_t>(PixelsToTwips(imageWidth, tx)),
                             static_cast<int32_t>(PixelsToTwips(imageHeight, ty))});

  form->Show(false);
  return form;
}

}  // namespace vellora::shell
