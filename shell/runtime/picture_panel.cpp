#include "runtime/picture_panel.h"

namespace vellora::shell {

void PicturePanel::SetBounds(const TwipsRect& bounds) {
  Control::SetBounds(bounds);
  if (Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  Window()->Move({r.left, r.top}, {r.Width(), r.Height()});
}

void PicturePanel::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (Window() != nullptr) Window()->SetVisible(visible);
}

void PicturePanel::ContainerWindowCreated() {
  Container* parent = Control::Parent();
  if (parent == nullptr || parent->Window() == nullptr) return;
  const PixelRect r = PixelBounds();
  WindowOptions options;
  options.background = BackColour();
  options.clientSize = {r.Width(), r.Height()};
  options.parent = parent->Window();
  options.childPosition = {r.left, r.top};
  AdoptWindow(Container::Platform().CreateWindow(options, *this));
  if (Window() != nullptr) Window()->SetVisible(Visible());
}

void PicturePanel::OnResized(PixelSize client) {
  ResizeSurface(client);
  if (onResize) onResize();
  Refresh();
}

}  // namespace vellora::shell
