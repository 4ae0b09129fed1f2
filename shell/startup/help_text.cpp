#include "startup/help_text.h"

namespace vellora::shell {
namespace {

constexpr const char* kUsage =
    "Usage: vellora /s | /c | /p WINDOW_ID\n"
    "Vellora is a screensaver: it takes a picture of the desktop and flies down an\n"
    "endless fogged tunnel lined with it, with background music if you choose some.\n"
    "\n"
    "  /s            run the screensaver now; moving the mouse ends it\n"
    "  /c            open the settings (the background music)\n"
    "  /p WINDOW_ID  show the preview still inside the X window WINDOW_ID\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Files: a copy unpacked into your own folders keeps Vellora.ini (the settings)\n"
    "and Vellora.bmp (the desktop picture) beside its programs. An installed copy\n"
    "keeps the settings in $XDG_CONFIG_HOME/vellora (~/.config/vellora) and the\n"
    "picture in $XDG_RUNTIME_DIR/vellora (~/.cache/vellora where there is none).\n"
    "\n"
    "Idle activation: Vellora has no idle timer of its own; let xss-lock or\n"
    "xautolock start it, for example\n"
    "  xset s 600 && xss-lock -- vellora /s &\n"
    "  xautolock -time 10 -locker 'vellora /s' &\n"
    "or enable the systemd --user unit or the autostart entry found in\n"
    "share/doc/vellora/examples (/usr/share/doc/vellora/examples in the package).\n"
    "See vellora(1).\n";

}  // namespace

std::optional<std::string> HelpOrVersionText(std::string_view commandLine, std::string_view version) {
  if (commandLine == "--help") return std::string(kUsage);
  if (commandLine == "--version") return "Vellora " + std::string(version) + "\n";
  return std::nullopt;
}

}  // namespace vellora::shell
