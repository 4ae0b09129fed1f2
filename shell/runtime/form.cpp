#include "runtime/form.h"

#include "runtime/child_window_control.h"

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
  if (!design_.icon.Empty()) options.icon = &design_.icon;
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
  const bool first = !shown_;
  if (first) {
    shown_ = true;
    // What the resize handlers paint is there when the window first appears.
    ReportFirstSizes();
    if (!Loaded()) return;
  }
  Window()->SetVisible(true);
  Refresh();
  // Whatever the system focused on its own, the first control of the tab order takes it.
  if (first) FocusNextAfter(-1, false);
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

void Form::ReportFirstSizes() {
  OnResized(Window()->ClientSize());
  for (Control* control : AllControls()) {
    if (control->Kind() != ControlKind::PicturePanel) continue;
    auto* panel = dynamic_cast<ChildWindowControl*>(control);
    if (panel != nullptr && panel->Window() != nullptr) panel->OnResized(panel->Window()->ClientSize());
    if (!Loaded()) return;
  }
}

bool Form::OnTabKey(bool backward) {
  if (tabOrder_.empty()) return false;
  int current = -1;
  for (size_t i = 0; i < tabOrder_.size(); ++i)
    if (tabOrder_[i]->HasFocus()) current = static_cast<int>(i);
  FocusNextAfter(current, backward);
  return true;
}

void Form::FocusNextAfter(int current, bool backward) {
  const int count = static_cast<int>(tabOrder_.size());
  for (int step = 1; step <= count; ++step) {
    int next = backward ? current - step : current + step;
    if (current < 0) next = backward ? count - step : step - 1;
    Control& control = *tabOrder_[((next % count) + count) % count];
    if (control.CanTakeFocus()) {
      control.TakeFocus();
      return;
    }
  }
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

PixelMargins Form::Frame() const { return Loaded() ? Window()->FrameMargins() : PixelMargins{}; }

double Form::OuterWidthTwips() const {
  const PixelMargins frame = Frame();
  return widthTwips_ + PixelsToTwips(frame.left + frame.right, TwipsPerPixelX());
}

double Form::OuterHeightTwips() const {
  const PixelMargins frame = Frame();
  return heightTwips_ + PixelsToTwips(frame.top + frame.bottom, TwipsPerPixelY());
}

void Form::MoveOuter(double leftTwips, double topTwips) {
  const PixelMargins frame = Frame();
  Move(leftTwips + PixelsToTwips(frame.left, TwipsPerPixelX()), topTwips + PixelsToTwips(frame.top, TwipsPerPixelY()),
       widthTwips_, heightTwips_);
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
