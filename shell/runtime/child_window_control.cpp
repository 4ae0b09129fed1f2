#include "runtime/child_window_control.h"

namespace vellora::shell {

void ChildWindowControl::SetBounds(const TwipsRect& bounds) {
  Control::SetBounds(bounds);
  if (Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  Window()->Move({r.left, r.top}, {r.Width(), r.Height()});
}

void ChildWindowControl::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (Window() != nullptr) Window()->SetVisible(visible);
}

void ChildWindowControl::ContainerWindowCreated() {
  Container* parent = Control::Parent();
  if (parent == nullptr || parent->Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  WindowOptions options;
  options.background = BackColour();
  options.clientSize = {r.Width(), r.Height()};
  options.parent = parent->Window();
  options.childPosition = {r.left, r.top};
  std::unique_ptr<PlatformWindow> window = Container::Platform().CreateWindow(options, *this);
  if (!window) return;
  AdoptWindow(std::move(window));
  WindowCreated();
  Window()->SetVisible(Visible());
}

void ChildWindowControl::OnResized(PixelSize client) {
  ResizeSurface(client);
  ClientResized();
  Refresh();
}

}  // namespace vellora::shell
