#include "runtime/container.h"

#include <algorithm>

namespace vellora::shell {

Container::~Container() {
  for (Control* control : controls_) control->ContainerGone();
}

void Container::Cls() { surface_.Clear(backColour_); }

void Container::Refresh() {
  if (!window_) return;
  const bool drawnOver = std::any_of(controls_.begin(), controls_.end(),
                                     [](const Control* control) { return control->Windowless() && control->Visible(); });
  // Without windowless controls the picture is shown as it is, with no copy to draw them on.
  if (!drawnOver) {
    window_->Present(surface_);
    return;
  }
  Canvas composed = surface_;
  for (Control* control : controls_)
    if (control->Windowless() && control->Visible()) control->Paint(composed);
  window_->Present(composed);
}

void Container::Add(Control& control) {
  controls_.push_back(&control);
  control.AttachTo(*this);
  if (window_) control.ContainerWindowCreated();
}

void Container::Remove(Control& control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

std::vector<Control*> Container::AllControls() const {
  std::vector<Control*> all;
  for (Control* control : controls_) {
    all.push_back(control);
    if (control->Kind() != ControlKind::PicturePanel) continue;
    if (const auto* panel = dynamic_cast<const Container*>(control)) {
      const std::vector<Control*> inside = panel->AllControls();
      all.insert(all.end(), inside.begin(), inside.end());
    }
  }
  return all;
}

Control* Container::FindControl(const std::string& name, int index) const {
  for (Control* control : AllControls())
    if (control->Name() == name && control->Index() == index) return control;
  return nullptr;
}

void Container::OnMouseDown(int button, int shift, PixelPoint where) {
  // The topmost windowless control under the point takes it.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control& control = **it;
    if (!control.Windowless() || !control.Visible() || !control.Enabled()) continue;
    const PixelRect r = control.PixelBounds();
    if (where.x >= r.left && where.x < r.right && where.y >= r.top && where.y < r.bottom) {
      if (control.onMouseDown) control.onMouseDown(button, shift, where);
      return;
    }
  }
}

void Container::OnResized(PixelSize client) {
  ResizeSurface(client);
  Refresh();
}

void Container::AdoptWindow(std::unique_ptr<PlatformWindow> window) {
  window_ = std::move(window);
  ResizeSurface(window_->ClientSize());
  for (Control* control : controls_) control->ContainerWindowCreated();
}

void Container::DropWindow() {
  for (Control* control : controls_) control->ContainerWindowDestroyed();
  window_.reset();
}

void Container::ResizeSurface(PixelSize client) {
  if (client.width == surface_.Width() && client.height == surface_.Height()) return;
  Canvas resized(client.width, client.height, backColour_);
  resized.Blit(surface_, 0, 0);
  surface_ = std::move(resized);
}

}  // namespace vellora::shell
