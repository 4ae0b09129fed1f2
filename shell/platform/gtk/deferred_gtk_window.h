// A form's window asked for while GTK is not up: a session runs over a plain X connection,
// and its hidden form needs nothing of GTK.
//
// The window is a bare, never mapped X window that carries the title, so that other programs
// find the form by its title, and that answers a close request (WM_DELETE_WINDOW) and its
// destruction by another program as a form's window does. Where the form moved its window is
// kept; its picture is not (a session's is the whole screen): the GTK window asks the form for
// it again. Anything more asked of it (showing it, its handle, focus) brings GTK up, and the
// GTK window is then made, the bare one going; GTK coming up for some other reason does the
// same.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/canvas.h"
#include "platform/forms_platform.h"
#include "platform/gtk/gtk_platform_window.h"

// Xlib's types, declared here so that X's macros stay out of the files that include this one.
struct _XDisplay;
union _XEvent;

namespace vellora::shell {

class DeferredGtkWindow final : public PlatformWindow {
 public:
  // Makes the bare X window on the display. bringUpToolkit starts GTK, which turns every
  // deferred window into a GTK one (MakeReal); forget is called when this one goes first.
  DeferredGtkWindow(_XDisplay* display, const WindowOptions& options, WindowEvents& events,
                    std::function<void()> bringUpToolkit, std::function<void(DeferredGtkWindow*)> forget);
  ~DeferredGtkWindow() override;
  DeferredGtkWindow(const DeferredGtkWindow&) = delete;
  DeferredGtkWindow& operator=(const DeferredGtkWindow&) = delete;

  // With GTK up: the GTK window takes this one's place, title and geometry; the form is asked
  // for the picture again.
  void MakeReal(GdkCursor* pointer);
  // An event of the display's connection: true when it was the bare window's. A close request
  // or the window's destruction is reported to the form, which may end this window there.
  bool HandleBareEvent(const _XEvent& event);
  // The GTK window, made first if need be.
  GtkPlatformWindow& Real() const;

  NativeWindow Handle() const override { return Real().Handle(); }
  void SetTitle(const std::string& title) override;
  void Move(PixelPoint position, PixelSize clientSize) override;
  PixelRect ScreenRect() const override { return Real().ScreenRect(); }
  PixelMargins FrameMargins() const override { return Real().FrameMargins(); }
  PixelSize ClientSize() const override { return real_ ? real_->ClientSize() : options_.clientSize; }
  void SetVisible(bool visible) override;
  void Present(const Canvas& picture) override;
  void SetFocus() override { Real().SetFocus(); }
  bool HasFocus() const override { return Real().HasFocus(); }
  bool AdoptInto(NativeWindow foreignParent) override { return Real().AdoptInto(foreignParent); }
  bool IsWindowAtPoint(PixelPoint screenPoint) const override { return Real().IsWindowAtPoint(screenPoint); }

 private:
  void SetBareTitle();
  void DestroyBare();

  _XDisplay* display_;
  unsigned long bare_;  // the bare X window while there is no GTK one; 0 once it is gone
  unsigned long wmProtocols_, wmDeleteWindow_;
  WindowOptions options_;  // clientSize follows the moves
  WindowEvents& events_;
  std::function<void()> bringUpToolkit_;
  std::function<void(DeferredGtkWindow*)> forget_;
  std::optional<PixelPoint> position_;  // where the form was moved, if it was
  bool presented_ = false;  // the form gave it a picture
  std::unique_ptr<GtkPlatformWindow> real_;
};

// The GTK window behind a window of the GTK platform (made now if it was deferred); null for
// none.
GtkPlatformWindow* GtkWindowOf(PlatformWindow* window);

}  // namespace vellora::shell
