// What forms and picture panels share: a native window, a retained picture that drawing
// persists in, and child controls, the windowless ones drawn over the picture.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/forms_platform.h"
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
  // The controls placed directly in this container, in the order they were added.
  const std::vector<Control*>& Controls() const { return controls_; }
  // Every control inside, depth first: the controls of picture panels follow their panel.
  // A user control's own parts are its business and are not listed.
  std::vector<Control*> AllControls() const;
  // A control anywhere inside by its name and element number; null when there is none.
  Control* FindControl(const std::string& name, int index = 0) const;

  // The font of the container, which the user controls inside take as their ambient font.
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { font_ = font; }

  Rgb BackColour() const { return backColour_; }
  void SetBackColour(Rgb colour) { backColour_ = colour; }

  void OnMouseDown(int button, int shift, PixelPoint where) override;
  void OnResized(PixelSize client) override;
  void OnPictureLost() override { Refresh(); }

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
  FontSpec font_;
  std::vector<Control*> controls_;
};

}  // namespace vellora::shell
