// Hosting of a user control: a child window with its own retained picture, its saved
// properties, and mouse, focus and resize events, raising events of its own to the host.
#pragma once

#include "runtime/child_window_control.h"
#include "runtime/property_bag.h"

namespace vellora::shell {

class UserControl : public ChildWindowControl {
 public:
  UserControl(FormsPlatform& platform, std::string name, int index)
      : ChildWindowControl(platform, ControlKind::UserControl, std::move(name), index) {}

  // The properties stored with the host's design; read when the control is sited.
  PropertyBag& Properties() { return properties_; }
  // The font of the container the control sits in, which it may take as its own default.
  FontSpec AmbientFont() const { return Control::Parent() != nullptr ? Control::Parent()->Font() : FontSpec{}; }

  // Events from the control's window, for the control's own code.
  void OnMouseDown(int button, int shift, PixelPoint where) override { UserMouseDown(button, shift, where); }
  void OnMouseUp(int button, int shift, PixelPoint where) override { UserMouseUp(button, shift, where); }
  void OnMouseMove(int buttons, int shift, PixelPoint where) override { UserMouseMove(buttons, shift, where); }
  void OnFocusChanged(bool gained) override { gained ? UserGotFocus() : UserLostFocus(); }

 protected:
  virtual void ReadProperties(const PropertyBag& /*bag*/) {}
  virtual void UserMouseDown(int, int, PixelPoint) {}
  virtual void UserMouseUp(int, int, PixelPoint) {}
  virtual void UserMouseMove(int, int, PixelPoint) {}
  virtual void UserGotFocus() {}
  virtual void UserLostFocus() {}
  virtual void UserResize() {}

 private:
  // Sited: the saved properties are read, then the host gives the control its size.
  void WindowCreated() override {
    ReadProperties(properties_);
    if (Window() != nullptr) OnResized(Window()->ClientSize());
  }
  void ClientResized() override { UserResize(); }

  PropertyBag properties_;
};

}  // namespace vellora::shell
