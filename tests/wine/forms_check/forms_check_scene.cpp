#include "forms_check_scene.h"

#include <cstdlib>
#include <string>

#include "forms_check_report.h"

namespace vellora::shell::forms_check {
namespace {

constexpr PixelPoint kWindowAt{100, 80};
constexpr PixelSize kClient{480, 240};
constexpr Rgb kGradientTop{250, 240, 200};
constexpr Rgb kGradientBottom{40, 90, 170};
constexpr PixelPoint kLabelAt{20, 24};
const char* const kLabel = u8"音楽CDとMP3、WAV";
constexpr PixelRect kImage{400, 24, 448, 56};
constexpr Rgb kImageColour{200, 30, 160};
constexpr PixelRect kCombo{20, 190, 220, 214};

std::string Numbers(std::initializer_list<int> values) {
  std::string text;
  for (int value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
  return text;
}

std::string Point(PixelPoint p) { return Numbers({p.x, p.y}); }

}  // namespace

Scene::Scene(FormsPlatform& platform) : platform_(platform) {
  WindowOptions options;
  options.title = "Vellora forms check";
  options.frame = FrameStyle::None;
  options.background = {0, 0, 0};
  options.clientSize = kClient;
  window_ = platform_.CreateWindow(options, *this);
  if (!Verdict(window_ != nullptr, "the form's window is created")) std::exit(1);
  window_->Move(kWindowAt, kClient);
}

void Scene::Build() {
  picture_.Resize(kClient.width, kClient.height);
  picture_.FillVerticalGradient({0, 0, kClient.width, kClient.height}, kGradientTop, kGradientBottom);
  const FontSpec font;
  const PixelSize label = platform_.Text().Measure(kLabel, font);
  platform_.Text().Draw(picture_, kLabelAt.x, kLabelAt.y, kLabel, font, Rgb{0, 0, 0});
  picture_.Blit(Canvas(kImage.Width(), kImage.Height(), kImageColour), kImage.left, kImage.top);
  window_->Present(picture_);

  combo_ = platform_.CreateComboBox(*window_, [this] { Fact("combo-text", combo_->Text()); });
  if (combo_ != nullptr) {
    for (const char* item : {"1", "2", "3", "4"}) combo_->AddItem(item);
    combo_->SetText("2");
    combo_->Move({kCombo.left, kCombo.top}, {kCombo.Width(), kCombo.Height()});
  }

  Fact("window", Numbers({kWindowAt.x, kWindowAt.y, kClient.width, kClient.height}));
  Fact("gradient", Numbers({kGradientTop.r, kGradientTop.g, kGradientTop.b, kGradientBottom.r, kGradientBottom.g,
                            kGradientBottom.b}));
  Fact("label-box", Numbers({kLabelAt.x, kLabelAt.y, label.width, label.height}));
  Fact("image-box", Numbers({kImage.left, kImage.top, kImage.Width(), kImage.Height(), kImageColour.r,
                             kImageColour.g, kImageColour.b}));
  Fact("combo-box", Numbers({kCombo.left, kCombo.top, kCombo.Width(), kCombo.Height()}));
}

void Scene::Show() {
  window_->SetVisible(true);
  Fact("shown", "yes");
  settle_ = platform_.StartTimer(700, [this] {
    platform_.StopTimer(settle_);
    CheckScreenCopy();
  });
}

void Scene::CheckScreenCopy() {
  Canvas screen;
  const bool copied = platform_.CaptureScreen(screen);
  const PixelSize size = platform_.ScreenSize();
  Verdict(copied && screen.Width() == size.width && screen.Height() == size.height,
          "the screen copy has the screen's size");
  const Rgb image = screen.Pixel(kWindowAt.x + kImage.left + 5, kWindowAt.y + kImage.top + 5);
  const Rgb top = screen.Pixel(kWindowAt.x + 300, kWindowAt.y);
  Verdict(image == kImageColour && top == kGradientTop, "the screen copy shows the form's image and gradient");

  // The form is the window under its own painted area, but not under its combo box or elsewhere.
  const PixelPoint painted{kWindowAt.x + 300, kWindowAt.y + 100};
  const PixelPoint overCombo{kWindowAt.x + kCombo.left + 10, kWindowAt.y + kCombo.top + 8};
  const PixelPoint outside{kWindowAt.x + kClient.width + 20, kWindowAt.y + 100};
  Verdict(window_->IsWindowAtPoint(painted) && !window_->IsWindowAtPoint(overCombo) &&
              !window_->IsWindowAtPoint(outside),
          "the form is the window at its painted area only, not over its combo box or beside it");

  // The caption-zoom animation, from the window's corner out to the window and back.
  const PixelRect rect = window_->ScreenRect();
  const PixelRect corner{rect.left, rect.top, rect.left, rect.top};
  platform_.ZoomAnimation(window_->Handle(), corner, rect);
  platform_.ZoomAnimation(window_->Handle(), rect, corner);
  Fact("ready", "yes");
}

void Scene::OnMouseDown(int button, int shift, PixelPoint where) {
  Fact("mouse-down", Numbers({button, shift}) + " " + Point(where));
}

void Scene::OnMouseUp(int button, int shift, PixelPoint where) {
  Fact("mouse-up", Numbers({button, shift}) + " " + Point(where));
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
