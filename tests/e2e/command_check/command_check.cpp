// A form built on the forms runtime for the end-to-end checks on a real forms platform (GTK on
// Xvfb, Win32 under Wine), laid out like a small settings dialog: the form and a picture panel
// paint sine gradients on their first resize, a transparent label lies over each, and two
// Command buttons (one on the form, one inside the panel) come from stored properties and are
// initialised through a walk over all the form's controls, as the settings dialog does. Tab
// moves the focus through the combo box and the two buttons.
//
// It prints each button's screen rectangle ("button <name> left top right bottom"), the screen
// rectangles of the form's client area, the panel and the two labels ("area <name> ..."), then
// "ready". Every Click prints "Click <name>", and a Click of Cmd_Set then "text <the combo
// box's text>"; every move of the focus between the three prints "focus <name>". It ends when
// the form is closed.
#include <cstdio>
#include <memory>
#include <string>

#include "controls/command.h"
#include "dialog/sine_gradient.h"
#include "platform/forms_platform.h"
#include "runtime/combo_box.h"
#include "runtime/form.h"
#include "runtime/form_timer.h"
#include "runtime/label.h"
#include "runtime/picture_panel.h"

namespace vellora::shell {
namespace {

constexpr Rgb kFormColour{0x40, 0x60, 0x90};

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string RectText(PixelRect r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

class CommandCheckForm final : public Form {
 public:
  explicit CommandCheckForm(FormsApplication& application)
      : Form(application, FormDesign{"Vellora command check", FrameStyle::FixedDialog, kFormColour, 3600, 2550}) {
    Place(*this, set_, u8"設定", {300, 300, 1095, 375});
    about_.SetBounds({1650, 330, 0, 0});
    about_.SetForeColour({255, 255, 255});
    about_.SetCaption("Designed by");
    about_.SetAutoSize(true);
    Add(about_);
    panel_.SetBounds({150, 1050, 3300, 1350});
    panel_.onResize = [this] { PaintSineGradient(panel_, PanelGradientColour); };
    Add(panel_);
    Place(panel_, cancel_, u8"ｷｬﾝｾﾙ", {1650, 150, 1035, 375});
    track_.SetBounds({150, 150, 900, 300});
    for (const char* item : {"", "1", "2", "3"}) track_.AddItem(item);
    track_.SetText("2");
    panel_.Add(track_);
    trackLabel_.SetBounds({150, 750, 0, 0});
    trackLabel_.SetCaption(u8"曲目をﾘﾋﾟｰﾄ");
    trackLabel_.SetAutoSize(true);
    panel_.Add(trackLabel_);
    SetTabOrder({&track_, &set_, &cancel_});
  }
  ~CommandCheckForm() override { Unload(); }  // the controls go before the base form

 protected:
  void FormLoad() override {
    for (Control* control : AllControls())
      if (auto* button = dynamic_cast<Command*>(control)) button->Initialize();
    // Reported once the shown form has settled on the screen.
    report_ = std::make_unique<FormTimer>(Platform(), 500, true, [this] { Report(); });
    focusPoll_ = std::make_unique<FormTimer>(Platform(), 100, true, [this] { ReportFocus(); });
  }
  void FormResize() override { PaintSineGradient(*this, DialogGradientColour); }

 private:
  void Place(Container& container, Command& button, const std::string& caption, TwipsRect bounds) {
    button.Properties().Write("Caption", caption, "Command");
    button.SetBounds(bounds);
    button.Click = [this, &button] {
      Say("Click " + button.Name());
      if (&button == &set_) Say("text " + track_.Text());
    };
    container.Add(button);
  }

  void Report() {
    report_->SetEnabled(false);
    for (Command* button : {&set_, &cancel_})
      Say("button " + button->Name() + " " + RectText(button->Window() ? button->Window()->ScreenRect() : PixelRect{}));
    // The client area lies where Cmd_Set's window lies, less its place on the form.
    const PixelRect set = set_.Window() ? set_.Window()->ScreenRect() : PixelRect{};
    const PixelRect setOnForm = set_.PixelBounds();
    const int32_t left = set.left - setOnForm.left, top = set.top - setOnForm.top;
    Say("area form " + RectText({left, top, left + ScaleWidth(), top + ScaleHeight()}));
    const PixelRect panel = panel_.Window() ? panel_.Window()->ScreenRect() : PixelRect{};
    Say("area panel " + RectText(panel));
    const PixelRect about = about_.PixelBounds(), track = trackLabel_.PixelBounds();
    Say("area about " + RectText({left + about.left, top + about.top, left + about.right, top + about.bottom}));
    Say("area track " + RectText({panel.left + track.left, panel.top + track.top, panel.left + track.right,
                                  panel.top + track.bottom}));
    Say("ready");
  }

  void ReportFocus() {
    std::string focused = "none";
    for (Control* control : {static_cast<Control*>(&track_), static_cast<Control*>(&set_),
                             static_cast<Control*>(&cancel_)})
      if (control->HasFocus()) focused = control->Name();
    if (focused != lastFocus_) Say("focus " + (lastFocus_ = focused));
  }

  Command set_{Platform(), "Cmd_Set"};
  Label about_{"lbl", 7};
  PicturePanel panel_{Platform(), "Pic_C", 0};
  Command cancel_{Platform(), "Cmd_Can"};
  ComboBox track_{"BGM_Repeat", 0};
  Label trackLabel_{"lbl", 14};
  std::unique_ptr<FormTimer> report_, focusPoll_;
  std::string lastFocus_ = "none";
};

}  // namespace
}  // namespace vellora::shell

int main(int argc, char** argv) {
  using namespace vellora::shell;
  std::unique_ptr<FormsPlatform> platform = CreateFormsPlatform(argc, argv);
  FormsApplication application(*platform);
  CommandCheckForm form(application);
  form.Show();
  application.Run();
  return 0;
}
