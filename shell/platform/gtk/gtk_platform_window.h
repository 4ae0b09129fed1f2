// A form or child window of the shell as GTK widgets.
//
// A top-level form is a GtkWindow holding a GtkLayout; a child window (picture panel, user
// control) is a GtkLayout placed in its parent's layout. The layout shows the last presented
// canvas over the background colour, takes the mouse and focus, and holds the child windows
// and combo boxes. GtkLayout asks for no size of its own, so controls inside never make the
// window grow.
#pragma once

#include <gtk/gtk.h>

#include "platform/forms_platform.h"

namespace vellora::shell {

class GtkPlatformWindow final : public PlatformWindow {
 public:
  // The window is realized at once, so that its X window exists, hidden, with its title.
  GtkPlatformWindow(const WindowOptions& options, WindowEvents& events, GdkCursor* pointer);
  ~GtkPlatformWindow() override;
  GtkPlatformWindow(const GtkPlatformWindow&) = delete;
  GtkPlatformWindow& operator=(const GtkPlatformWindow&) = delete;

  NativeWindow Handle() const override;
  void SetTitle(const std::string& title) override;
  void Move(PixelPoint position, PixelSize clientSize) override;
  PixelRect ScreenRect() const override;
  // The window manager's frame (_NET_FRAME_EXTENTS); before the first map it is asked for once.
  PixelMargins FrameMargins() const override;
  PixelSize ClientSize() const override { return size_; }
  void SetVisible(bool visible) override;
  void Present(const Canvas& picture) override;
  void SetFocus() override;
  bool HasFocus() const override;
  bool AdoptInto(NativeWindow foreignParent) override;
  // Asks the window system, so a window lying on top hides this one.
  bool IsWindowAtPoint(PixelPoint screenPoint) const override;

  // The container of child windows and combo boxes; null once the widgets are gone.
  GtkLayout* Container() const { return layout_ ? GTK_LAYOUT(layout_) : nullptr; }
  // The GtkWindow this window lies in (its own for a form), for dialogs it owns.
  GtkWindow* OwningWindow() const;
  // The pointer shown over a top-level window (null: the default).
  void SetPointer(GdkCursor* pointer);
  bool IsTopLevel() const { return window_ != nullptr; }

 private:
  void ConnectSignals();
  void SetIcon(const Canvas& icon);
  void ReportSize(PixelSize size);
  bool IsOwnEvent(GdkWindow* eventWindow) const;

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);
  static void OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnDestroyEvent(GtkWidget*, GdkEvent*, gpointer self);
  static void OnWidgetDestroyed(GtkWidget*, gpointer self);

  WindowEvents& events_;
  GtkWidget* window_ = nullptr;  // the GtkWindow of a top-level form; null for a child
  GtkWidget* layout_ = nullptr;  // the picture, input and container
  GtkWidget* parentLayout_ = nullptr;
  cairo_surface_t* picture_ = nullptr;
  Rgb background_;
  PixelPoint position_;
  PixelSize size_;
  PixelSize reportedSize_;
  bool adopted_ = false;
  bool takesFocus_ = false;  // asks for the keyboard focus whenever it is mapped  // lies inside another program's window
  mutable bool frameRequested_ = false;
};

}  // namespace vellora::shell
