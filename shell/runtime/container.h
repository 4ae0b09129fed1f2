// What forms and picture panels share: a native window, a retained picture that drawing
// persists in, and child controls, the windowless ones drawn over the picture.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms_platform.h"
#include "runtime/canvas.h"
#include "runtime/control.h"

namespace vellora::shell {

class Container : public WindowEvents {
 public:
  explicit Container(FormsPlatform& platform) : platform_(platform) {}
  ~Container() override;

  FormsPlatform& Platform() const { return platform_; }
  PlatformWindow* Window() const { return window_.get(); }
  double TwipsPerPixelX() const { return platform_.TwipsPerPixelX(); }
  double TwipsPerPixelY() const { return platform_.TwipsPerPixelY(); }

  // The retained picture, the size of the client area. Drawing on it shows at the next Refresh.
  Canvas& Surface() { return surface_; }
  // Inner width and height in pixels.
  int32_t ScaleWidth() const { return surface_.Width(); }
  int32_t ScaleHeight() const { return surface_.Height(); }
  // Clears the picture to the back colour.
  void Cls();
  // Presents the picture with the windowless controls over it.
  void Refresh();

  void Add(Control& control);
  void Remove(Control& control);
  const std::vector<Control*>& Controls() const { return controls_; }

  Rgb BackColour() const { return backColour_; }
  void SetBackColour(Rgb colour) { backColour_ = colour; }

  void OnMouseDown(int button, int shift, PixelPoint where) override;
  void OnResized(PixelSize client) override;

 protected:
  // Takes the window the subclass created and lets the windowed children create theirs.
  void AdoptWindow(std::unique_ptr<PlatformWindow> window);
  void DropWindow();
  // Sizes the picture to the client area, keeping what it holds where it still fits.
  void ResizeSurface(PixelSize client);

 private:
  FormsPlatform& platform_;
  std::unique_ptr<PlatformWindow> window_;
  Canvas surface_;
  Rgb backColour_{};
  std::vector<Control*> controls_;
};

}  // namespace vellora::shell
