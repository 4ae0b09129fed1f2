#include "runtime/form.h"

namespace vellora::shell {

Form::Form(FormsApplication& application, FormDesign design)
    : Container(application.Platform()),
      application_(application),
      design_(std::move(design)),
      widthTwips_(design_.clientWidthTwips),
      heightTwips_(design_.clientHeightTwips) {
  SetBackColour(design_.backColour);
}

Form::~Form() {
  if (Loaded()) Gone();
}

void Form::Load() {
  if (Loaded()) return;
  WindowOptions options;
  options.title = design_.caption;
  options.frame = design_.frame;
  options.background = design_.backColour;
  options.clientSize = {TwipsToPixels(widthTwips_, TwipsPerPixelX()), TwipsToPixels(heightTwips_, TwipsPerPixelY())};
  std::unique_ptr<PlatformWindow> window = Platform().CreateWindow(options, *this);
  if (!window) return;
  // A position given before the load applies to the new window.
  if (movedBeforeLoad_)
    window->Move({TwipsToPixels(leftTwips_, TwipsPerPixelX()), TwipsToPixels(topTwips_, TwipsPerPixelY())},
                 options.clientSize);
  AdoptWindow(std::move(window));
  Cls();
  application_.FormLoaded();
  FormLoad();
}

void Form::Show(bool modal) {
  Load();
  if (!Loaded()) return;
  Window()->SetVisible(true);
  Refresh();
  if (!modal) return;
  modalLoop_ = true;
  while (Loaded()) Platform().RunLoop();
}

void Form::Unload() {
  if (!Loaded() || unloading_) return;
  unloading_ = true;
  FormQueryUnload();
  FormUnload();
  unloading_ = false;
  if (Loaded()) Gone();
}

void Form::Gone() {
  DropWindow();
  if (modalLoop_) {
    modalLoop_ = false;
    Platform().QuitLoop();
  }
  application_.FormGone();
}

void Form::OnDestroyedFromOutside() {
  if (Loaded()) Gone();
}

void Form::Move(double leftTwips, double topTwips, double widthTwips, double heightTwips) {
  leftTwips_ = leftTwips;
  topTwips_ = topTwips;
  widthTwips_ = widthTwips;
  heightTwips_ = heightTwips;
  if (!Loaded()) {
    movedBeforeLoad_ = true;
    return;
  }
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  Window()->Move({TwipsToPixels(leftTwips, tx), TwipsToPixels(topTwips, ty)},
                 {TwipsToPixels(widthTwips, tx), TwipsToPixels(heightTwips, ty)});
}

void Form::OnResized(PixelSize client) {
  ResizeSurface(client);
  FormResize();
  Refresh();
}

void FormsApplication::Run() {
  if (loaded_ == 0) return;
  running_ = true;
  platform_.RunLoop();
  running_ = false;
}

void FormsApplication::FormGone() {
  if (loaded_ > 0) --loaded_;
  if (loaded_ == 0 && running_) platform_.QuitLoop();
}

}  // namespace vellora::shell
