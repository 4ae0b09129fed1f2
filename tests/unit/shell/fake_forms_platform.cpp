#include "fake_forms_platform.h"

#include <algorithm>

namespace vellora::shell::testing {

FakeWindow::FakeWindow(FakeFormsPlatform& p, const WindowOptions& options, WindowEvents& e, NativeWindow h)
    : platform(p), events(e), handle(h), title(options.title), child(options.parent != nullptr),
      position(options.childPosition), client(options.clientSize) {
  if (!child && options.frame == FrameStyle::FixedDialog) frame = platform.dialogFrame;
  if (options.icon) icon = *options.icon;
  platform.windows.push_back(this);
}

PixelRect FakeWindow::ScreenRect() const {
  return {position.x - frame.left, position.y - frame.top, position.x + client.width + frame.right,
          position.y + client.height + frame.bottom};
}

FakeWindow::~FakeWindow() {
  auto& all = platform.windows;
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void FakeWindow::Move(PixelPoint p, PixelSize size) {
  if (platform.logWindowCalls)
    platform.log.push_back("Move " + std::to_string(p.x) + "," + std::to_string(p.y) + " " +
                           std::to_string(size.width) + "x" + std::to_string(size.height));
  position = p;
  const bool resized = size.width != client.width || size.height != client.height;
  client = size;
  if (resized) events.OnResized(size);
}

// Showing a window reports nothing: like the real systems, only a change of size does.
void FakeWindow::SetVisible(bool v) {
  if (platform.logWindowCalls) platform.log.push_back(v ? "Show" : "Hide");
  visible = v;
}

void FakeWindow::SetFocus() { platform.MoveFocus(handle); }

bool FakeWindow::HasFocus() const { return platform.focus == handle; }

bool FakeWindow::AdoptInto(NativeWindow parent) {
  platform.log.push_back(platform.refuseAdoption ? "AdoptInto refused" : "AdoptInto " + std::to_string(parent));
  if (platform.refuseAdoption) return false;
  if (!platform.foreignWindows.count(parent)) return false;
  foreignParent = parent;
  position = {0, 0};
  return true;
}

bool FakeWindow::IsWindowAtPoint(PixelPoint) const { return platform.windowUnderCursor == handle; }

PixelSize FakeTextRenderer::Measure(const std::string& text, const FontSpec&) {
  int32_t chars = 0;
  for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
  return {chars * kCellWidth, text.empty() ? 0 : kCellHeight};
}

void FakeTextRenderer::Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
                            Rgb colour) {
  const int32_t chars = Measure(text, font).width / kCellWidth;
  for (int32_t i = 0; i < chars; ++i)
    canvas.FillRect({x + i * kCellWidth + 1, y + 2, x + i * kCellWidth + 6, y + 11}, colour);
}

bool FakeFormsPlatform::CursorPositionKnown() {
  const bool known = cursorKnown.front();
  if (cursorKnown.size() > 1) cursorKnown.pop_front();
  return known;
}

bool FakeFormsPlatform::CursorPosition(PixelPoint& where) {
  where = cursor.front();
  if (cursor.size() > 1) cursor.pop_front();
  return true;
}

bool FakeFormsPlatform::FindWindowByTitle(const std::string& title) {
  log.push_back("FindWindow " + title);
  if (otherWindowTitles.count(title)) return true;
  return std::any_of(windows.begin(), windows.end(), [&](FakeWindow* w) { return !w->child && w->title == title; });
}

bool FakeFormsPlatform::WindowScreenRect(NativeWindow window, PixelRect& rect) {
  if (logWindowCalls) log.push_back("WindowScreenRect " + std::to_string(window));
  for (FakeWindow* w : windows)
    if (w->handle == window) return rect = w->ScreenRect(), true;
  const auto found = foreignWindows.find(window);
  if (found == foreignWindows.end()) return false;
  rect = found->second;
  return true;
}

bool FakeFormsPlatform::CaptureScreen(Canvas& into) {
  log.push_back("CaptureScreen");
  return CopyDesktop({0, 0, screen.width, screen.height}, into);
}

bool FakeFormsPlatform::CaptureDesktopArea(PixelRect area, Canvas& into) {
  log.push_back("CaptureDesktopArea " + std::to_string(area.left) + "," + std::to_string(area.top) + "-" +
                std::to_string(area.right) + "," + std::to_string(area.bottom));
  return CopyDesktop(area, into);
}

bool FakeFormsPlatform::CopyDesktop(PixelRect area, Canvas& into) {
  // As on the real systems, the canvas takes the area's size (cleared) before the copy.
  into.Resize(area.Width(), area.Height());
  if (captureFails) return false;
  for (int32_t y = 0; y < area.Height(); ++y)
    for (int32_t x = 0; x < area.Width(); ++x)
      into.SetPixel(x, y, {static_cast<uint8_t>((area.left + x) * 3), static_cast<uint8_t>((area.top + y) * 5), 77});
  return true;
}

void FakeFormsPlatform::ZoomAnimation(NativeWindow, PixelRect from, PixelRect to) {
  const auto text = [](PixelRect r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  };
  log.push_back("Zoom " + text(from) + " to " + text(to));
}

std::unique_ptr<PlatformWindow> FakeFormsPlatform::CreateWindow(const WindowOptions& options, WindowEvents& events) {
  if (logWindowCalls) log.push_back("CreateWindow " + options.title);
  return std::make_unique<FakeWindow>(*this, options, events, nextHandle_++);
}

namespace {
class FakeComboBox final : public PlatformComboBox {
 public:
  FakeComboBox(FakeFormsPlatform& platform, std::function<void()> changed)
      : platform_(platform), handle_(platform.NewHandle()), changed_(std::move(changed)) {}
  void Move(PixelPoint, PixelSize) override {}
  // Text set by the program is no change of the user's: no notice, as on the real systems.
  void SetText(const std::string& t) override { text_ = t; }
  std::string Text() const override { return text_; }
  void AddItem(const std::string& item) override { items_.push_back(item); }
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  void SetEnabled(bool) override {}
  void SetFont(const FontSpec&) override {}
  void SetFocus() override { platform_.MoveFocus(handle_); }
  bool HasFocus() const override { return platform_.focus == handle_; }

 private:
  FakeFormsPlatform& platform_;
  NativeWindow handle_;
  std::function<void()> changed_;
  std::string text_;
  std::vector<std::string> items_;
};
}  // namespace

std::unique_ptr<PlatformComboBox> FakeFormsPlatform::CreateComboBox(PlatformWindow&, std::function<void()> changed) {
  return std::make_unique<FakeComboBox>(*this, std::move(changed));
}

void FakeFormsPlatform::MoveFocus(NativeWindow to) {
  if (focus == to) return;
  const NativeWindow from = focus;
  focus = to;
  for (FakeWindow* w : windows)
    if (w->handle == from) w->events.OnFocusChanged(false);
  for (FakeWindow* w : windows)
    if (w->handle == to) w->events.OnFocusChanged(true);
}

TimerId FakeFormsPlatform::StartTimer(uint32_t intervalMs, std::function<void()> onTick) {
  timers_[nextTimer_] = Timer{intervalMs, now_ + intervalMs, std::move(onTick)};
  return nextTimer_++;
}

bool FakeFormsPlatform::TimerActive(uint32_t intervalMs) const {
  return std::any_of(timers_.begin(), timers_.end(), [&](const auto& t) { return t.second.interval == intervalMs; });
}

void FakeFormsPlatform::Advance(uint32_t ms) {
  const uint64_t end = now_ + ms;
  for (;;) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
    if (next == timers_.end()) break;
    now_ = next->second.due;
    next->second.due += next->second.interval;
    const std::function<void()> tick = next->second.onTick;  // the handler may stop its timer
    tick();
  }
  now_ = end;
}

void FakeFormsPlatform::RunLoop() {
  quit_ = false;
  while (!quit_ && !loopScript.empty()) {
    const auto step = std::move(loopScript.front());
    loopScript.pop_front();
    step();
  }
  quit_ = false;
}

void FakeFormsPlatform::EndOsSession() {
  log.push_back("OS session ends");
  const std::function<void()> onEnd = std::move(sessionEnd_);
  sessionEnd_ = nullptr;
  if (onEnd) onEnd();
  EndProcessNow();
}

FakeWindow* FakeFormsPlatform::WindowTitled(const std::string& title) const {
  for (FakeWindow* w : windows)
    if (w->title == title) return w;
  return nullptr;
}

}  // namespace vellora::shell::testing
