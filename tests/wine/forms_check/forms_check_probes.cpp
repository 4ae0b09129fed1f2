#include "forms_check_probes.h"

#include <string>
#include <vector>

#include "forms_check_report.h"
#include "platform/canvas.h"
#include "platform/win32/win32_forms_font.h"
#include "platform/win32/win32_forms_system.h"
#include "platform/win32/win32_forms_text.h"

namespace vellora::shell::forms_check {
namespace {

HWND WindowOf(const PlatformWindow& window) { return reinterpret_cast<HWND>(window.Handle()); }

std::string Size(PixelSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

bool IsDark(Rgb c) { return c.r < 96 && c.g < 96 && c.b < 96; }

// What the system's font mapper made of a description: the requested face, the full name of
// the font file behind it, its character set and pitch.
std::string ChosenFont(const FontSpec& spec) {
  HFONT font = CreateFontFromSpec(spec);
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ previous = ::SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  std::string fullName = "(no outline font)";
  const UINT outlineSize = ::GetOutlineTextMetricsW(dc, 0, nullptr);
  if (outlineSize >= sizeof(OUTLINETEXTMETRICW)) {
    std::vector<char> outline(outlineSize + sizeof(wchar_t), 0);
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(outline.data());
    if (::GetOutlineTextMetricsW(dc, outlineSize, metrics) != 0) {
      const size_t offset = reinterpret_cast<uintptr_t>(metrics->otmpFullName);
      fullName = WideToUtf8(std::wstring(reinterpret_cast<const wchar_t*>(outline.data() + offset)));
    }
  }
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  // TMPF_FIXED_PITCH set means a variable pitch.
  const bool proportional = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
  const int charset = metrics.tmCharSet;
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::DeleteObject(font);
  return WideToUtf8(std::wstring(face)) + " = " + fullName + ", charset " + std::to_string(charset) +
         (proportional ? ", proportional" : ", fixed pitch");
}

}  // namespace

void ProbeText(FormsPlatform& platform) {
  TextRenderer& text = platform.Text();
  const FontSpec font;  // the forms' default font
  Fact("default-font", ChosenFont(font));
  const std::string label = u8"音楽CDとMP3、WAV";
  const PixelSize size = text.Measure(label, font);
  Verdict(size.width > 5 * size.height && size.height >= 10 && size.height <= 30,
          "the label measures " + Size(size) + " in the default font");
  const PixelSize twoLines = text.Measure("CD\r\nMP3", font);
  Verdict(twoLines.height == 2 * text.Measure("CD", font).height, "a line break doubles the measured height");

  // Black text on white: dark pixels inside the measured box, nothing changed outside it.
  const Rgb white{255, 255, 255};
  Canvas canvas(size.width + 40, size.height + 40, white);
  text.Draw(canvas, 20, 20, label, font, Rgb{0, 0, 0});
  int darkInside = 0, changedOutside = 0;
  for (int32_t y = 0; y < canvas.Height(); ++y) {
    for (int32_t x = 0; x < canvas.Width(); ++x) {
      const bool inside = x >= 20 && x < 20 + size.width && y >= 20 && y < 20 + size.height;
      if (inside && IsDark(canvas.Pixel(x, y))) ++darkInside;
      if (!inside && canvas.Pixel(x, y) != white) ++changedOutside;
    }
  }
  Verdict(darkInside >= 40, std::to_string(darkInside) + " dark pixels inside the label's box");
  Verdict(changedOutside == 0, std::to_string(changedOutside) + " pixels changed outside the label's box");

  // Two different kanji must not come out alike, as the boxes of a font without them would.
  Canvas first(40, 40, white), second(40, 40, white);
  text.Draw(first, 4, 4, u8"音", font, Rgb{0, 0, 0});
  text.Draw(second, 4, 4, u8"楽", font, Rgb{0, 0, 0});
  Verdict(first.Bytes() != second.Bytes() && first.Bytes() != Canvas(40, 40, white).Bytes(),
          "distinct kanji draw distinct glyphs");

  // The colour reaches the canvas, and text clipped at the canvas edge does not fail.
  Canvas red(60, 30, white);
  text.Draw(red, 2, 2, "WAV", FontSpec{u8"ＭＳ Ｐゴシック", 14.25, 700, 128}, Rgb{255, 0, 0});
  text.Draw(red, 50, 25, "WAV", font, Rgb{0, 0, 255});
  bool sawRed = false;
  for (int32_t y = 0; y < red.Height(); ++y)
    for (int32_t x = 0; x < red.Width(); ++x) sawRed = sawRed || red.Pixel(x, y) == Rgb{255, 0, 0};
  Verdict(sawRed, "text drawn in red has pure red pixels");
}

void ProbeTimersAndLoops(FormsPlatform& platform) {
  int ticks = 0;
  bool timedOut = false;
  TimerId counter = 0;
  counter = platform.StartTimer(10, [&] {
    if (++ticks == 3) {
      platform.StopTimer(counter);
      platform.QuitLoop();
    }
  });
  TimerId guard = platform.StartTimer(5000, [&] {
    timedOut = true;
    platform.QuitLoop();
  });
  platform.RunLoop();
  Verdict(counter != 0 && ticks == 3 && !timedOut, "a timer ticks in the loop until QuitLoop ends it");

  // Quiet once stopped.
  TimerId pause = 0;
  pause = platform.StartTimer(150, [&] {
    platform.StopTimer(pause);
    platform.QuitLoop();
  });
  platform.RunLoop();
  Verdict(ticks == 3, "a stopped timer stays quiet (" + std::to_string(ticks) + " ticks)");

  // A loop run from a tick (a modal show) keeps the timers going and returns on its own quit.
  std::vector<std::string> order;
  TimerId outer = 0, inner = 0;
  outer = platform.StartTimer(10, [&] {
    platform.StopTimer(outer);
    order.push_back("outer tick");
    inner = platform.StartTimer(10, [&] {
      platform.StopTimer(inner);
      order.push_back("inner tick");
      platform.QuitLoop();
    });
    platform.RunLoop();
    order.push_back("nested loop returned");
    platform.QuitLoop();
  });
  platform.RunLoop();
  order.push_back("outer loop returned");
  platform.StopTimer(guard);
  const std::vector<std::string> expected{"outer tick", "inner tick", "nested loop returned", "outer loop returned"};
  Verdict(order == expected && !timedOut, "a nested loop runs timers and QuitLoop ends the innermost loop");
}

void ProbeWindows(FormsPlatform& platform) {
  WindowEvents events;
  WindowOptions options;
  options.title = "Vellora forms check dialog";
  options.frame = FrameStyle::FixedDialog;
  options.clientSize = {300, 200};
  std::unique_ptr<PlatformWindow> dialog = platform.CreateWindow(options, events);
  if (!Verdict(dialog != nullptr, "a fixed dialog window is created")) return;
  HWND window = WindowOf(*dialog);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  Verdict((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0 &&
              (style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE)) == 0,
          "the dialog has a caption and close box, no sizing frame or min/max box, and is hidden");

  Verdict(platform.FindWindowByTitle("Vellora forms check dialog"), "a hidden window is found by its title");
  Verdict(!platform.FindWindowByTitle("Vellora forms check dialog 2"), "a title is matched whole");
}

void ProbeComboBox(FormsPlatform& platform, PlatformWindow& parent) {
  std::unique_ptr<PlatformComboBox> combo = platform.CreateComboBox(parent, [] {});
  if (!Verdict(combo != nullptr, "a combo box is created")) return;
  HWND control = ::FindWindowExW(WindowOf(parent), nullptr, L"COMBOBOX", nullptr);
  Verdict(control != nullptr && (::GetWindowLongW(control, GWL_STYLE) & 3) == CBS_DROPDOWN,
          "the combo box is an editable drop-down child of its window");
  for (const char* item : {"1", "2", "3"}) combo->AddItem(item);
  Verdict(combo->ItemCount() == 3, "three items added");
  combo->SetEnabled(false);
  Verdict(!::IsWindowEnabled(control), "the combo box is disabled");
  combo.reset();
  Verdict(!::IsWindow(control), "the combo box goes with its object");
}

void ProbeBusyPointer(FormsPlatform& platform, PlatformWindow& window) {
  HWND target = WindowOf(window);
  // The entry field of a combo box shows an I-beam of its own.
  std::unique_ptr<PlatformComboBox> combo = platform.CreateComboBox(window, [] {});
  HWND box = ::FindWindowExW(target, nullptr, L"COMBOBOX", nullptr);
  HWND entry = box != nullptr ? ::FindWindowExW(box, nullptr, L"EDIT", nullptr) : nullptr;
  const auto pointerOver = [](HWND over) {
    ::SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  };
  const HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT), arrow = ::LoadCursorA(nullptr, IDC_ARROW),
                beam = ::LoadCursorA(nullptr, IDC_IBEAM);
  if (!Verdict(entry != nullptr && pointerOver(entry) == beam, "the combo box's entry field shows an I-beam")) return;
  platform.SetBusyPointer(true);
  Verdict(pointerOver(target) == wait, "the busy pointer is the hourglass over a form");
  Verdict(pointerOver(entry) == wait, "the busy pointer is the hourglass over an entry field");
  platform.SetBusyPointer(false);
  Verdict(pointerOver(target) == arrow, "the default pointer is back after it");
  Verdict(pointerOver(entry) == beam, "the entry field's I-beam is back after it");
}

int RunAsStartedProgram(FormsPlatform& platform) {
  const std::wstring marker = Utf8ToWide(platform.ApplicationFolder() + "\\started.txt");
  const std::string line = "started [" + platform.CommandLine() + "]\n";
  HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}

}  // namespace vellora::shell::forms_check
