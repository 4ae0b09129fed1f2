// A test form on the forms platform, driven by forms_gtk_e2e.sh.
//
// A first word "/s" starts the platform as for a screensaver session, without GTK until it is
// needed; the mode follows it.
//
//   show             a 480 x 240 form "Vellora forms check" at (100, 80), hidden until a file
//                    "show" exists in the working folder, then shown, with a green child window.
//                    Prints where the child lies and the mouse buttons that reach either, and
//                    whether the form and the child are the windows under two screen points
//                    whenever that changes.
//   find TITLE       exit code 0 when a window has exactly this title, 1 when none has
//   rect WINDOW      prints the window's screen rectangle "left top right bottom"
//   host [X Y]       a plain shown form "Vellora forms host" of 300 x 200 at (X, Y), by
//                    default (600, 400)
//   zoom L T R B     the zoom animation from the pointer's position out to the rectangle
//   open             the open-file dialog for music files; prints "chose PATH" or "cancelled"
//   services         a form of the settings dialog's size with the program's icon and a combo
//                    box, placed by its frame's corner as the dialog places itself, then shown;
//                    prints its frame, outer size and place in twips, and where the combo box
//                    lies. While a file "busy" exists in the working folder the busy pointer is up.
//   opendoc ADDRESS  opens the address with its default program; prints "returned" as soon as
//                    the call does and "loop runs" from the loop after it
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include <sys/stat.h>

#include "assets/embedded_assets.h"
#include "common/number_conversions.h"
#include "platform/canvas.h"
#include "platform/forms_platform.h"
#include "runtime/combo_box.h"
#include "runtime/form.h"
#include "runtime/picture_decoder.h"
#include "runtime/screen_twips.h"

using namespace vellora::shell;

namespace {

constexpr char kTitle[] = "Vellora forms check";

void Say(const std::string& line) {
  std::cout << line << std::endl;  // flushed: the script reads it while this runs
}

class PrintingEvents : public WindowEvents {
 public:
  explicit PrintingEvents(FormsPlatform& platform, std::string prefix = "") : platform_(platform), prefix_(prefix) {}
  void OnMouseDown(int button, int shift, PixelPoint where) override { Report("down", button, shift, where); }
  void OnMouseUp(int button, int shift, PixelPoint where) override { Report("up", button, shift, where); }
  void OnCloseRequested() override { platform_.QuitLoop(); }

 private:
  void Report(const char* what, int button, int shift, PixelPoint where) {
    Say(prefix_ + what + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
        std::to_string(where.x) + " " + std::to_string(where.y));
  }
  FormsPlatform& platform_;
  std::string prefix_;
};

std::string Box(const char* name, int32_t x, int32_t y, int32_t width, int32_t height) {
  return std::string(name) + " " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
         std::to_string(height);
}

// Ends the loop after a minute whatever happens, so that a broken run cannot hang the suite.
void StartDeadline(FormsPlatform& platform) {
  platform.StartTimer(60000, [&platform] { platform.QuitLoop(); });
}

int ShowTestForm(FormsPlatform& platform) {
  PrintingEvents events(platform);
  WindowOptions options;
  options.title = kTitle;
  options.frame = FrameStyle::FixedDialog;
  options.background = {192, 192, 192};
  options.clientSize = {480, 240};
  auto window = platform.CreateWindow(options, events);
  window->Move({100, 80}, {480, 240});

  PrintingEvents childEvents(platform, "child ");
  WindowOptions childOptions;
  childOptions.parent = window.get();
  childOptions.childPosition = {200, 150};
  childOptions.clientSize = {120, 60};
  auto child = platform.CreateWindow(childOptions, childEvents);
  child->Present(Canvas(120, 60, {0, 160, 0}));
  child->SetVisible(true);
  Say(Box("child", 200, 150, 120, 60));

  // Screen points over the form's right part and over the child window.
  const PixelPoint formPoint{100 + 450, 80 + 200}, childPoint{100 + 260, 80 + 180};
  std::string lastAnswer;
  platform.StartTimer(100, [&] {
    const std::string answer = "at form " + std::to_string(window->IsWindowAtPoint(formPoint)) + " child " +
                               std::to_string(child->IsWindowAtPoint(childPoint));
    if (answer != lastAnswer) Say(lastAnswer = answer);
  });

  TimerId showTimer = 0;
  showTimer = platform.StartTimer(50, [&] {
    struct stat info;
    if (stat("show", &info) != 0) return;
    platform.StopTimer(showTimer);
    window->SetVisible(true);
    Say("shown");
  });
  StartDeadline(platform);
  platform.RunLoop();
  return 0;
}

int HostForm(FormsPlatform& platform, PixelPoint position) {
  PrintingEvents events(platform);
  WindowOptions options;
  options.title = "Vellora forms host";
  options.background = {0, 96, 0};
  options.clientSize = {300, 200};
  auto window = platform.CreateWindow(options, events);
  window->Move(position, {300, 200});
  window->SetVisible(true);
  Say("host " + std::to_string(window->Handle()));
  StartDeadline(platform);
  platform.RunLoop();
  return 0;
}

class ServicesForm final : public Form {
 public:
  explicit ServicesForm(FormsApplication& application) : Form(application, Design()) {
    combo_.SetBounds({480, 600, 1200, 300});
    combo_.SetText("12");
    Add(combo_);
  }

 private:
  static FormDesign Design() {
    FormDesign design{"Vellora services check", FrameStyle::FixedDialog, {192, 192, 192}, 7185, 3780};
    DecodePicture(EmbeddedFileBytes("vellora_icon.png"), design.icon);
    return design;
  }

  // Placed as the settings dialog places itself: centred, a third of the free height down.
  void FormLoad() override {
    const PixelMargins frame = Window()->FrameMargins();
    Say("frame " + std::to_string(frame.left) + " " + std::to_string(frame.top) + " " + std::to_string(frame.right) +
        " " + std::to_string(frame.bottom));
    const double outerWidth = OuterWidthTwips(), outerHeight = OuterHeightTwips();
    const int32_t left = RoundToInt32(ScreenWidthTwips(Platform()) - outerWidth).value_or(0) / 2;
    const int32_t top = RoundToInt32(ScreenHeightTwips(Platform()) - outerHeight).value_or(0) / 3;
    MoveOuter(left, top);
    Say("outer " + std::to_string(static_cast<int>(outerWidth)) + " " + std::to_string(static_cast<int>(outerHeight)) +
        " at " + std::to_string(left) + " " + std::to_string(top));
    const PixelRect combo = combo_.PixelBounds();
    Say(Box("combo", combo.left, combo.top, combo.Width(), combo.Height()));
  }

  ComboBox combo_{"Combo", 0};
};

int ShowServicesForm(FormsPlatform& platform) {
  FormsApplication application(platform);
  ServicesForm form(application);
  form.Show();
  Say("shown");
  bool busy = false;
  platform.StartTimer(50, [&] {
    struct stat info;
    const bool wanted = stat("busy", &info) == 0;
    if (wanted == busy) return;
    platform.SetBusyPointer(busy = wanted);
    Say(busy ? "busy on" : "busy off");
  });
  StartDeadline(platform);
  application.Run();
  return 0;
}

int OpenDocument(FormsPlatform& platform, const std::string& address) {
  platform.OpenDocument(address);
  Say("returned");
  TimerId tick = 0;
  tick = platform.StartTimer(100, [&] {
    platform.StopTimer(tick);
    Say("loop runs");
    platform.QuitLoop();
  });
  platform.RunLoop();
  // The launch may still be under way: the program waits for it no more than the shell would.
  platform.StartTimer(3000, [&platform] { platform.QuitLoop(); });
  platform.RunLoop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // "/s" first: the platform starts as in a session, without GTK until something needs it.
  const bool session = argc > 1 && std::strcmp(argv[1], "/s") == 0;
  auto platform = CreateFormsPlatform(argc, argv, session ? ToolkitStart::WhenNeeded : ToolkitStart::AtOnce);
  if (!platform) return 3;
  if (session) {
    --argc;
    ++argv;
  }
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "show" && argc == 2) return ShowTestForm(*platform);
  if (mode == "find" && argc == 3) return platform->FindWindowByTitle(argv[2]) ? 0 : 1;
  if (mode == "rect" && argc == 3) {
    PixelRect rect;
    if (!platform->WindowScreenRect(std::strtoull(argv[2], nullptr, 0), rect)) return 1;
    Say(std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
        std::to_string(rect.bottom));
    return 0;
  }
  if (mode == "zoom" && argc == 6) {
    PixelPoint from;
    platform->CursorPosition(from);
    platform->ZoomAnimation(0, {from.x, from.y, from.x, from.y},
                            {std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])});
    Say("zoomed");
    return 0;
  }
  if (mode == "open" && argc == 2) {
    std::string path;
    const bool chosen = platform->ChooseOpenFile(nullptr, u8"ﾌｧｲﾙを開く", u8"BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", path);
    Say(chosen ? "chose " + path : "cancelled");
    return 0;
  }
  if (mode == "services" && argc == 2) return ShowServicesForm(*platform);
  if (mode == "opendoc" && argc == 3) return OpenDocument(*platform, argv[2]);
  if (mode == "host" && argc == 2) return HostForm(*platform, {600, 400});
  if (mode == "host" && argc == 4) return HostForm(*platform, {std::atoi(argv[2]), std::atoi(argv[3])});
  std::fprintf(stderr, "usage: forms_check_gtk show | find TITLE | rect WINDOW | host [X Y] | zoom L T R B | open | services | opendoc ADDRESS\n");
  return 2;
}
