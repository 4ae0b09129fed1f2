// A form with two Command buttons for the end-to-end checks of the button on a real forms
// platform (GTK on Xvfb, Win32 under Wine). The buttons come from stored properties and are
// initialised as the settings dialog does; every Click prints "Click <name>". Once the form is
// up it prints each button's screen rectangle ("button <name> left top right bottom") and
// "ready". It ends when the form is closed.
#include <cstdio>
#include <memory>
#include <string>

#include "controls/command.h"
#include "platform/forms_platform.h"
#include "runtime/form.h"
#include "runtime/form_timer.h"

namespace vellora::shell {
namespace {

constexpr Rgb kFormColour{0x40, 0x60, 0x90};

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

class CommandCheckForm final : public Form {
 public:
  explicit CommandCheckForm(FormsApplication& application)
      : Form(application, FormDesign{"Vellora command check", FrameStyle::FixedDialog, kFormColour, 3600, 1200}) {
    Place(set_, u8"設定", {300, 300, 1095, 375});
    Place(cancel_, u8"ｷｬﾝｾﾙ", {1800, 300, 1035, 375});
  }
  ~CommandCheckForm() override { Unload(); }  // the buttons go before the base form

 protected:
  void FormLoad() override {
    set_.Initialize();
    cancel_.Initialize();
    // Reported once the shown form has settled on the screen.
    report_ = std::make_unique<FormTimer>(Platform(), 500, true, [this] { Report(); });
  }

 private:
  void Place(Command& button, const std::string& caption, TwipsRect bounds) {
    button.Properties().Write("Caption", caption, "Command");
    button.SetBounds(bounds);
    button.Click = [&button] { Say("Click " + button.Name()); };
    Add(button);
  }

  void Report() {
    report_->SetEnabled(false);
    for (Command* button : {&set_, &cancel_}) {
      const PixelRect r = button->Window() ? button->Window()->ScreenRect() : PixelRect{};
      Say("button " + button->Name() + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
          std::to_string(r.right) + " " + std::to_string(r.bottom));
    }
    Say("ready");
  }

  Command set_{Platform(), "Cmd_Set"};
  Command cancel_{Platform(), "Cmd_Can"};
  std::unique_ptr<FormTimer> report_;
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
