#include "controls/command.h"

namespace vellora::shell {

namespace {
constexpr int16_t kTrue = -1;
constexpr Rgb kButtonFace{0xEC, 0xE9, 0xD8};  // the surface's background colour
}  // namespace

Command::Command(FormsPlatform& platform, std::string name, int index)
    : UserControl(platform, std::move(name), index), tmrMouse_(platform, kMousePollMs, false, [this] { TmrMouseTick(); }) {
  SetBackColour(kButtonFace);
  Control::SetBounds({0, 0, kDesignWidth, kDesignHeight});
}

// ---- Public members -------------------------------------------------------------------------

void Command::Initialize() {
  buttonState_ = 1;
  tmrMouse_.SetEnabled(true);
  tmrMouse_.SetInterval(kMousePollMs);
}

uint8_t Command::Visible() {
  if (!opaque_) return 0;
  RestoreNormalLook();
  return 255;
}

void Command::Visible(uint8_t value) {
  if (value != 0) {
    SetOpaque(true);
    RestoreNormalLook();
  } else {
    SetOpaque(false);
  }
  ReportChanged("Visible");
}

uint32_t Command::FontColour() {
  const uint32_t colour = lblMsg_.ForeColour();
  RestoreNormalLook();
  return colour;
}

void Command::FontColour(uint32_t value) {
  if (!lblMsg_.SetForeColour(value)) {  // not a colour: the write fails
    RestoreNormalLook();
    return;
  }
  PresentSurface();
  RestoreNormalLook();
  ReportChanged("FontColour");
}

int16_t Command::Enabled() {
  if (firstRunFlag_ == 0) {
    RestoreNormalLook();
    firstRunFlag_ = 1;
    isEnabled_ = kTrue;
  }
  const int16_t enabled = isEnabled_;
  ApplyEnabledLook();
  return enabled;
}

void Command::Enabled(int16_t value) {
  isEnabled_ = value != 0 ? kTrue : 0;
  ReportChanged("Enabled");
  ApplyEnabledLook();
}

void Command::Caption(const std::string& value) {
  lblMsg_.SetCaption(value);
  PresentSurface();
  ReportChanged("Caption");
}

void Command::Font(const FontSpec& value) {
  lblMsg_.SetFont(value);
  PresentSurface();
  ReportChanged("Font");
}

// ---- Host events: the state transitions -----------------------------------------------------
// Within one event the rows are tested top to bottom on the current state, so a row that has
// changed the state can keep a later row from matching.

void Command::UserGotFocus() {
  if (!isEnabled_) return;
  if (buttonState_ != 2) {
    buttonState_ = 3;
    PaintState(StatePicture::Selected);
  }
  if (buttonState_ == 2) {
    buttonState_ = 4;
    PaintState(StatePicture::Pressed);
  }
}

void Command::UserLostFocus() {
  if (!isEnabled_) return;
  if (buttonState_ != 1) {
    buttonState_ = 1;
    PaintState(StatePicture::Normal);
  }
}

void Command::UserMouseDown(int button, int, PixelPoint) {
  if (!isEnabled_) return;
  if (button == kLeftButton) {
    mouseIsDown_ = kTrue;
    PaintState(StatePicture::Pressed);
  }
}

void Command::UserMouseMove(int, int, PixelPoint) {
  if (!isEnabled_) return;
  if (buttonState_ == 1) {
    buttonState_ = 2;
    PaintState(StatePicture::HighLight);
  }
  if (buttonState_ == 3 && !mouseIsDown_) {
    buttonState_ = 4;
    PaintState(StatePicture::HighLightSelect);
  }
}

void Command::UserMouseUp(int button, int, PixelPoint) {
  if (!isEnabled_) return;
  if (button == kLeftButton) {
    mouseIsDown_ = 0;
    if (buttonState_ == 2) PaintState(StatePicture::Normal);
    if (buttonState_ == 4) PaintState(StatePicture::HighLightSelect);
  }
  // Last: the host's handler may take the button away.
  if (buttonState_ != 3 && isEnabled_ == kTrue && Click) Click();
}

void Command::OnResized(PixelSize client) {
  ResizeSurface(client);
  ApplyEnabledLook();
}

// The pointer-leave poll: the hover look goes whenever the window under the pointer is not the
// button's own. The caption has no window of its own, so it counts as the button.
void Command::TmrMouseTick() {
  PixelPoint where;
  Container::Platform().CursorPosition(where);  // on failure the point stays (0, 0)
  const PlatformWindow* own = Window();
  if (own == nullptr || !own->IsWindowAtPoint(where)) LeaveHover();
}

void Command::LeaveHover() {
  if (!isEnabled_) return;
  if (buttonState_ == 2) {
    buttonState_ = 1;
    PaintState(StatePicture::Normal);
  }
  if (buttonState_ == 4) {
    buttonState_ = 3;
    PaintState(StatePicture::Selected);
  }
}

// ---- Looks ----------------------------------------------------------------------------------

void Command::ApplyEnabledLook() {
  if (isEnabled_) {
    PaintState(StatePicture::Normal);
    SetLabelEnabled(true);
  } else {
    PaintState(StatePicture::Disable);
    SetLabelEnabled(false);
  }
}

// The label is the button's own object, so its two steps cannot fail here, and the rule that
// a failing label step turns the caption black has nothing to act on.
void Command::RestoreNormalLook() {
  if (!isEnabled_) return;
  SetLabelEnabled(true);
  if (firstRunFlag_ == 0 && lblMsg_.ForeColour() != 0) {
    lblMsg_.SetForeColour(0);
    PresentSurface();
  }
  PaintState(StatePicture::Normal);
}

void Command::SetLabelEnabled(bool enabled) {
  if (lblMsg_.Enabled() == enabled) return;
  lblMsg_.SetEnabled(enabled);
  PresentSurface();  // the label redraws itself, greyed or not
}

void Command::SetOpaque(bool opaque) {
  if (opaque_ == opaque) return;
  opaque_ = opaque;
  PresentSurface();
}

void Command::ReportChanged(const char* property) {
  if (onPropertyChanged) onPropertyChanged(property);
}

}  // namespace vellora::shell
