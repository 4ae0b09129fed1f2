#include "forms_check_scene.h"

#include <cstdlib>
#include <string>

#include "forms_check_report.h"

namespace vellora::shell::forms_check {
namespace {

constexpr PixelPoint kWindowAt{100, 80};
constexpr PixelSize kClient{480, 240};

std::string Numbers(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
  return text;
}

}  // namespace

Scene::Scene(FormsPlatform& platform) : platform_(platform) {
  WindowOptions options;
  options.title = "Vellora forms check";
  options.frame = FrameStyle::None;
  options.background = {40, 90, 170};
  options.clientSize = kClient;
  window_ = platform_.CreateWindow(options, *this);
  if (!Verdict(window_ != nullptr, "the form's window is created")) std::exit(1);
  window_->Move(kWindowAt, kClient);
  Fact("window", Numbers({kWindowAt.x, kWindowAt.y, kClient.width, kClient.height}));
}

void Scene::Show() {
  window_->SetVisible(true);
  Fact("shown", "yes");
}

void Scene::OnMouseDown(int button, int shift, PixelPoint where) {
  Fact("mouse-down", Numbers({button, shift, where.x, where.y}));
}

void Scene::OnMouseUp(int button, int shift, PixelPoint where) {
  Fact("mouse-up", Numbers({button, shift, where.x, where.y}));
  if (button != kRightButton) return;
  std::string path;
  const bool chosen =
      platform_.ChooseOpenFile(window_.get(), u8"ﾌｧｲﾙを開く", u8"BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", path);
  Fact("chosen", chosen ? path : "(cancelled)");
}

void Scene::OnFocusChanged(bool gained) { Fact("focus", gained ? "in" : "out"); }

void Scene::OnCloseRequested() {
  Fact("close-requested", "yes");
  platform_.MessageBox(u8"フォームの確認を終わります", "Vellora(ScreenSaver)");
  platform_.QuitLoop();
}

}  // namespace vellora::shell::forms_check
