// A form on the fake platform carrying one Command button, with helpers that read the look
// the button last presented.
#pragma once

#include <string>
#include <vector>

#include "controls/command.h"
#include "fake_forms_platform.h"
#include "runtime/form.h"
#include "state_picture_table.h"

namespace vellora::shell::testing {

class CommandHost {
 public:
  static constexpr Rgb kFormColour{10, 20, 30};

  CommandHost() {
    button.Click = [this] { ++clicks; };
    button.onPropertyChanged = [this](const std::string& p) { notices.push_back(p); };
  }

  // Places the button (bounds in twips) on the form, loads the form and shows the button.
  void Site(TwipsRect bounds = {600, 300, 1095, 375}) {
    button.SetBounds(bounds);
    form.Add(button);
    form.Load();
  }

  FakeWindow& ButtonWindow() { return *static_cast<FakeWindow*>(button.Window()); }
  const Canvas& Shown() { return ButtonWindow().presented; }
  int Presents() { return ButtonWindow().presents; }
  // The picture that framed the last paint, read at the middle of the top and bottom edges.
  std::string Look() { return LookAt(Shown(), Shown().Width() / 2); }
  // True when the face shows white at the top (red falls towards the bottom), false for
  // lavender at the top. Read on a column left of the caption.
  bool WhiteOnTop() {
    const Canvas& c = Shown();
    return c.Pixel(6, 4).r > c.Pixel(6, c.Height() - 5).r;
  }

  void PointerOver() { platform.windowUnderCursor = ButtonWindow().Handle(); }
  void PointerAway() { platform.windowUnderCursor = form.Window()->Handle(); }
  void Move() { button.OnMouseMove(0, 0, {5, 5}); }
  void Down(int b = kLeftButton) { button.OnMouseDown(b, 0, {5, 5}); }
  void Up(int b = kLeftButton) { button.OnMouseUp(b, 0, {5, 5}); }
  void Focus(bool gained) { button.OnFocusChanged(gained); }

  FakeFormsPlatform platform;
  FormsApplication application{platform};
  // The button outlives the form, which lets go of it when it goes.
  Command button{platform, "Cmd_Set"};
  Form form{application, FormDesign{"Host", FrameStyle::FixedDialog, kFormColour, 6000, 3000}};
  int clicks = 0;
  std::vector<std::string> notices;
};

}  // namespace vellora::shell::testing
