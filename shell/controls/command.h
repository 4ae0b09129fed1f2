// Command: the shell's own push button ("Vellora.Command"), a user control with a caption
// over a white-to-lavender gradient, framed by the border of one of six state pictures. It
// follows the pointer (over, pressed, gone), the input focus and a 100 ms pointer-leave poll,
// and raises Click when a mouse button that went down on it comes up. It has no keyboard
// handling at all.
//
// The public members carry the names of the control's interface. Visible and Enabled here
// are the button's own properties (background style and enabled look); the host's window
// visibility stays Control::Visible / Control::SetVisible.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "controls/border_geometry.h"
#include "controls/caption_label.h"
#include "controls/state_pictures.h"
#include "runtime/form_timer.h"
#include "runtime/user_control.h"

namespace vellora::shell {

class Command : public UserControl {
 public:
  static constexpr const char* kProgrammaticId = "Vellora.Command";
  static constexpr int32_t kDesignWidth = 1755, kDesignHeight = 420;  // twips
  static constexpr uint32_t kMousePollMs = 100;

  Command(FormsPlatform& platform, std::string name, int index = 0);

  // ButtonState 1 and the pointer-leave polling on; paints nothing.
  void Initialize();
  // 255 while the surface is opaque (and the Normal look restored), 0 while transparent.
  uint8_t Visible();
  void Visible(uint8_t value);
  // The caption's colour as a 32-bit colour value (0x00BBGGRR, or 0x800000nn for a system
  // colour). Reading it restores the Normal look.
  uint32_t FontColour();
  void FontColour(uint32_t value);
  // 16-bit Boolean (-1 true, 0 false). Reading it repaints by it; the first read on an
  // instance never loaded from a property bag makes it enabled.
  int16_t Enabled();
  void Enabled(int16_t value);
  std::string Caption() const { return lblMsg_.Caption(); }
  void Caption(const std::string& value);
  FontSpec Font() const { return lblMsg_.Font(); }
  void Font(const FontSpec& value);

  // Raised when a mouse button that went down on the button is released over it.
  std::function<void()> Click;
  // The host's property-changed notice: the instance has unsaved property values.
  std::function<void(const std::string& property)> onPropertyChanged;

  // Stores the properties for the host's saved description, then restores the Normal look.
  void WriteProperties(PropertyBag& bag);

  // The host's generic enabled switch sets the Enabled property.
  void SetEnabled(bool enabled) override { Enabled(static_cast<int16_t>(enabled ? -1 : 0)); }
  // The tab order passes over a disabled button.
  bool CanTakeFocus() const override { return isEnabled_ != 0 && Control::Visible(); }

  // The private state, for the host's inspection: 0 before Initialize or a focus change,
  // 1 Normal, 2 HighLight, 3 Selected, 4 HighLightSelect.
  uint8_t ButtonState() const { return buttonState_; }
  bool MouseIsDown() const { return mouseIsDown_ != 0; }

  void OnResized(PixelSize client) override;

 protected:
  void ReadProperties(const PropertyBag& bag) override;
  void UserMouseDown(int button, int shift, PixelPoint where) override;
  void UserMouseUp(int button, int shift, PixelPoint where) override;
  void UserMouseMove(int buttons, int shift, PixelPoint where) override;
  void UserGotFocus() override;
  void UserLostFocus() override;

 private:
  // Behaviour (command.cpp).
  void TmrMouseTick();
  void LeaveHover();
  void ApplyEnabledLook();
  void RestoreNormalLook();
  void ReportChanged(const char* property);
  void SetLabelEnabled(bool enabled);
  void SetOpaque(bool opaque);

  // Painting (command_paint.cpp).
  void PaintState(StatePicture picture);
  void FillGradient();
  void DrawBorder(const Canvas& picture);
  void PlaceCaption(double height, double width);
  // Shows the surface, or the container's picture behind a transparent one, with the caption.
  void PresentSurface();

  FormTimer tmrMouse_;
  CaptionLabel lblMsg_;
  BorderGeometry border_;
  uint8_t buttonState_ = 0;
  int16_t isEnabled_ = 0;
  uint8_t firstRunFlag_ = 0;
  int16_t mouseIsDown_ = 0;
  int16_t gradientInverted_ = 0;
  bool opaque_ = true;
};

}  // namespace vellora::shell
