// Painting of the Command button. Every change of look repaints the whole button from scratch:
// clear, gradient face, a border cut from the state picture in eight pieces, then the caption
// placed in the middle.
#include "controls/button_gradient.h"
#include "controls/command.h"
#include "runtime/twips.h"

namespace vellora::shell {

namespace {

// The state pictures' own twips: 15 to the pixel, whatever the display.
constexpr double kPictureTwipsPerPixel = 15;
// The caption sits this many twips above the vertical middle.
constexpr double kCaptionRaise = 20;

PixelRect ToPixels(const TwipsBox& box, double perPixelX, double perPixelY) {
  const int32_t left = TwipsToPixels(box.x, perPixelX), top = TwipsToPixels(box.y, perPixelY);
  return {left, top, left + TwipsToPixels(box.width, perPixelX), top + TwipsToPixels(box.height, perPixelY)};
}

}  // namespace

void Command::PaintState(StatePicture picture) {
  // The gradient's direction follows the state, whatever the picture; states 0 and 4 keep
  // the direction of the paint before.
  if (buttonState_ == 1) gradientInverted_ = 0;
  if (buttonState_ == 2) gradientInverted_ = -1;
  if (buttonState_ == 3) gradientInverted_ = 0;
  const TwipsRect bounds = Bounds();
  border_.Update(bounds.width, bounds.height);
  Cls();
  FillGradient();
  DrawBorder(StatePictureCanvas(picture));
  PresentSurface();
  PlaceCaption(bounds.height, bounds.width);
}

void Command::FillGradient() {
  FillFaceGradient(Surface(), gradientInverted_ != 0);
  PresentSurface();
}

void Command::DrawBorder(const Canvas& picture) {
  const double perPixelX = TwipsPerPixelX(), perPixelY = TwipsPerPixelY();
  for (const BorderPiece& piece : border_.Pieces())
    Surface().StretchCopy(picture, ToPixels(piece.source, kPictureTwipsPerPixel, kPictureTwipsPerPixel),
                          ToPixels(piece.destination, perPixelX, perPixelY));
}

void Command::PlaceCaption(double height, double width) {
  const double top = (height - lblMsg_.Height() - kCaptionRaise) / 2;
  if (lblMsg_.Top() == top && lblMsg_.Left() == 0 && lblMsg_.Width() == width) return;
  lblMsg_.Place(0, top, width);
  PresentSurface();  // the label redraws itself in its new place
}

void Command::PresentSurface() {
  PlatformWindow* window = Window();
  if (window == nullptr) return;
  Canvas composed;
  if (opaque_) {
    composed = Surface();
  } else {
    // Transparent: the container's picture shows where the button lies.
    const PixelRect here = PixelBounds();
    composed.Resize(Surface().Width(), Surface().Height(), BackColour());
    if (Control::Parent() != nullptr)
      composed.StretchCopy(Control::Parent()->Surface(), here, {0, 0, here.Width(), here.Height()});
  }
  lblMsg_.Paint(composed, Container::Platform().Text(), TwipsPerPixelX(), TwipsPerPixelY());
  window->Present(composed);
}

}  // namespace vellora::shell
