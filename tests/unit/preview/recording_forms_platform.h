// The fake forms platform with the window calls of the preview set-up written to its log as
// they happen: "WindowScreenRect <handle>", "CreateWindow <title>", "Move <x>,<y> <w>x<h>",
// "Show" (and the fake's own "AdoptInto <handle>"), so that their order can be checked. It
// can also make every re-parenting fail.
#pragma once

#include <memory>
#include <string>

#include "fake_forms_platform.h"

namespace vellora::shell::testing {

class RecordingWindow final : public PlatformWindow {
 public:
  RecordingWindow(std::unique_ptr<PlatformWindow> inner, std::vector<std::string>& log, const bool& refuseAdoption)
      : inner_(std::move(inner)), log_(log), refuseAdoption_(refuseAdoption) {}
  NativeWindow Handle() const override { return inner_->Handle(); }
  void SetTitle(const std::string& title) override { inner_->SetTitle(title); }
  void Move(PixelPoint p, PixelSize size) override {
    log_.push_back("Move " + std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(size.width) +
                   "x" + std::to_string(size.height));
    inner_->Move(p, size);
  }
  PixelRect ScreenRect() const override { return inner_->ScreenRect(); }
  PixelMargins FrameMargins() const override { return inner_->FrameMargins(); }
  PixelSize ClientSize() const override { return inner_->ClientSize(); }
  void SetVisible(bool visible) override {
    log_.push_back(visible ? "Show" : "Hide");
    inner_->SetVisible(visible);
  }
  void Present(const Canvas& picture) override { inner_->Present(picture); }
  void SetFocus() override { inner_->SetFocus(); }
  bool HasFocus() const override { return inner_->HasFocus(); }
  bool AdoptInto(NativeWindow parent) override {
    if (!refuseAdoption_) return inner_->AdoptInto(parent);
    log_.push_back("AdoptInto refused");
    return false;
  }

 private:
  std::unique_ptr<PlatformWindow> inner_;
  std::vector<std::string>& log_;
  const bool& refuseAdoption_;
};

class RecordingFormsPlatform final : public FormsPlatform {
 public:
  explicit RecordingFormsPlatform(FakeFormsPlatform& fake) : fake_(fake) {}
  bool refuseAdoption = false;

  std::string CommandLine() override { return fake_.CommandLine(); }
  std::string ApplicationFolder() override { return fake_.ApplicationFolder(); }
  void MessageBox(const std::string& text, const std::string& caption) override { fake_.MessageBox(text, caption); }
  bool StartProgram(const std::string& path) override { return fake_.StartProgram(path); }
  [[noreturn]] void EndProcessNow() override { fake_.EndProcessNow(); }
  void SetBusyPointer(bool busy) override { fake_.SetBusyPointer(busy); }
  void OpenDocument(const std::string& address) override { fake_.OpenDocument(address); }
  NumberFormat UserNumberFormat() override { return fake_.UserNumberFormat(); }
  PixelSize ScreenSize() override { return fake_.ScreenSize(); }
  double TwipsPerPixelX() override { return fake_.TwipsPerPixelX(); }
  double TwipsPerPixelY() override { return fake_.TwipsPerPixelY(); }
  bool CursorPosition(PixelPoint& where) override { return fake_.CursorPosition(where); }
  void ShowCursor(bool show) override { fake_.ShowCursor(show); }
  bool FindWindowByTitle(const std::string& title) override { return fake_.FindWindowByTitle(title); }
  bool WindowScreenRect(NativeWindow window, PixelRect& rect) override {
    fake_.log.push_back("WindowScreenRect " + std::to_string(window));
    return fake_.WindowScreenRect(window, rect);
  }
  bool CaptureScreen(Canvas& into) override { return fake_.CaptureScreen(into); }
  void ZoomAnimation(NativeWindow window, PixelRect from, PixelRect to) override {
    fake_.ZoomAnimation(window, from, to);
  }
  bool ChooseOpenFile(PlatformWindow* owner, const std::string& title, const std::string& filterName,
                      const std::string& patterns, std::string& path) override {
    return fake_.ChooseOpenFile(owner, title, filterName, patterns, path);
  }
  std::unique_ptr<PlatformWindow> CreateWindow(const WindowOptions& options, WindowEvents& events) override {
    fake_.log.push_back("CreateWindow " + options.title);
    return std::make_unique<RecordingWindow>(fake_.CreateWindow(options, events), fake_.log, refuseAdoption);
  }
  std::unique_ptr<PlatformComboBox> CreateComboBox(PlatformWindow& parent, std::function<void()> changed) override {
    return fake_.CreateComboBox(parent, std::move(changed));
  }
  TextRenderer& Text() override { return fake_.Text(); }
  TimerId StartTimer(uint32_t intervalMs, std::function<void()> onTick) override {
    return fake_.StartTimer(intervalMs, std::move(onTick));
  }
  void StopTimer(TimerId timer) override { fake_.StopTimer(timer); }
  void RunLoop() override { fake_.RunLoop(); }
  void QuitLoop() override { fake_.QuitLoop(); }
  void WatchSessionEnd(std::function<void()> onEnd) override { fake_.WatchSessionEnd(std::move(onEnd)); }

 private:
  FakeFormsPlatform& fake_;
};

}  // namespace vellora::shell::testing
