// The base of every control on a form: a kind, a name and element number (control arrays), a
// place in twips inside its container, visibility and enabled state.
#pragma once

#include <functional>
#include <string>

#include "platform/canvas.h"
#include "platform/forms_platform.h"
#include "runtime/twips.h"

namespace vellora::shell {

class Container;

enum class ControlKind { Label, Image, Shape, PicturePanel, ComboBox, UserControl };

class Control {
 public:
  Control(ControlKind kind, std::string name, int index) : kind_(kind), name_(std::move(name)), index_(index) {}
  // A control destroyed before its container leaves it.
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  Container* Parent() const { return parent_; }

  const TwipsRect& Bounds() const { return bounds_; }
  virtual void SetBounds(const TwipsRect& bounds);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The control's rectangle in its container's pixels.
  PixelRect PixelBounds() const;

  // Windowless controls draw themselves into their container's picture.
  virtual bool Windowless() const { return true; }
  // Keyboard focus, which only controls with a native window can hold; a form's tab order
  // moves it between them.
  virtual bool HasFocus() const { return false; }
  virtual void TakeFocus() {}
  // Whether the tab order may give the control the focus now: enabled and visible.
  virtual bool CanTakeFocus() const { return enabled_ && visible_; }
  virtual void Paint(Canvas& /*canvas*/) {}

  // A mouse button went down on the control (every button and shift state).
  std::function<void(int button, int shift, PixelPoint where)> onMouseDown;

  // Called by the container: once when added, and when its native window comes and goes.
  virtual void AttachTo(Container& parent) { parent_ = &parent; }
  virtual void ContainerWindowCreated() {}
  virtual void ContainerWindowDestroyed() {}
  // Called by a container that goes before its controls.
  void ContainerGone() { parent_ = nullptr; }

 protected:
  // Redraws the container so a change shows.
  void Invalidate();
  FormsPlatform* Platform() const;

 private:
  ControlKind kind_;
  std::string name_;
  int index_;
  Container* parent_ = nullptr;
  TwipsRect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
};

}  // namespace vellora::shell
