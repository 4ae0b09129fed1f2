#include "runtime/user_control.h"

namespace vellora::shell {

void UserControl::SetBounds(const TwipsRect& bounds) {
  Control::SetBounds(bounds);
  if (Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  Window()->Move({r.left, r.top}, {r.Width(), r.Height()});
}

void UserControl::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (Window() != nullptr) Window()->SetVisible(visible);
}

void UserControl::ContainerWindowCreated() {
  Container* parent = Control::Parent();
  if (parent == nullptr || parent->Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  WindowOptions options;
  options.background = BackColour();
  options.clientSize = {r.Width(), r.Height()};
  options.parent = parent->Window();
  options.childPosition = {r.left, r.top};
  AdoptWindow(Container::Platform().CreateWindow(options, *this));
  ReadProperties(properties_);
  if (Window() != nullptr) Window()->SetVisible(Visible());
}

void UserControl::OnResized(PixelSize client) {
  ResizeSurface(client);
  UserResize();
  Refresh();
}

}  // namespace vellora::shell
