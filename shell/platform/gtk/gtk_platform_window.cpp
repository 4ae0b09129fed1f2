#include "platform/gtk/gtk_platform_window.h"

#include <gdk/gdkx.h>

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/gtk/canvas_cairo.h"
#include "platform/gtk/gdk_widget_at_point.h"
#include "platform/gtk/input_mapping.h"
#include "platform/gtk/window_focus.h"
#include "platform/gtk/x11_error_trap.h"
#include "platform/gtk/x11_frame_extents.h"
#include "platform/gtk/x11_window_tree.h"

namespace vellora::shell {

namespace {
// How long a form waits for the window manager to tell the frame it will draw.
constexpr int kFrameAnswerMs = 250;
constexpr int kInputEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                             GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK;

GtkWidget* ParentLayout(const WindowOptions& options) {
  auto* parent = dynamic_cast<GtkPlatformWindow*>(options.parent);
  return parent && parent->Container() ? GTK_WIDGET(parent->Container()) : nullptr;
}
}  // namespace

GtkPlatformWindow::GtkPlatformWindow(const WindowOptions& options, WindowEvents& events, GdkCursor* pointer)
    : events_(events), background_(options.background), size_(options.clientSize), reportedSize_(options.clientSize) {
  layout_ = gtk_layout_new(nullptr, nullptr);
  gtk_widget_set_app_paintable(layout_, TRUE);
  gtk_widget_add_events(layout_, kInputEvents);
  gtk_widget_set_size_request(layout_, size_.width, size_.height);
  parentLayout_ = ParentLayout(options);
  if (parentLayout_) {
    position_ = options.childPosition;
    gtk_widget_set_can_focus(layout_, TRUE);
    gtk_layout_put(GTK_LAYOUT(parentLayout_), layout_, position_.x, position_.y);
    gtk_widget_realize(layout_);
  } else {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), options.title.c_str());
    // Positions name the client area's corner, as forms give them.
    gtk_window_set_gravity(GTK_WINDOW(window_), GDK_GRAVITY_STATIC);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    if (options.frame == FrameStyle::FixedDialog) {
      gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    } else {
      gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
    }
    gtk_widget_add_events(window_, GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK);
    if (options.icon) SetIcon(*options.icon);
    gtk_container_add(GTK_CONTAINER(window_), layout_);
    gtk_widget_show(layout_);
    gtk_widget_realize(window_);
    GdkWindow* native = gtk_widget_get_window(window_);
    if (options.frame == FrameStyle::FixedDialog) {
      // Caption and close box only: no minimise, maximise or resize.
      gdk_window_set_functions(native, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
      gdk_window_set_decorations(native, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE |
                                                                      GDK_DECOR_MENU));
    }
    if (pointer) gdk_window_set_cursor(native, pointer);
    // Another process may look for the title before this one runs its loop again.
    gdk_display_flush(gdk_display_get_default());
  }
  ConnectSignals();
}

GtkPlatformWindow::~GtkPlatformWindow() {
  GtkWidget* top = window_ ? window_ : layout_;
  if (top) {
    g_signal_handlers_disconnect_by_data(layout_, this);
    if (window_) g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(top);
  }
  if (picture_) cairo_surface_destroy(picture_);
}

void GtkPlatformWindow::ConnectSignals() {
  g_signal_connect(layout_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(layout_, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(layout_, "button-release-event", G_CALLBACK(OnButtonRelease), this);
  g_signal_connect(layout_, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(layout_, "size-allocate", G_CALLBACK(OnSizeAllocate), this);
  g_signal_connect(layout_, "destroy", G_CALLBACK(OnWidgetDestroyed), this);
  GtkWidget* focusWidget = window_ ? window_ : layout_;
  g_signal_connect(focusWidget, "focus-in-event", G_CALLBACK(OnFocusIn), this);
  g_signal_connect(focusWidget, "focus-out-event", G_CALLBACK(OnFocusOut), this);
  if (window_) {
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window_, "destroy-event", G_CALLBACK(OnDestroyEvent), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(OnWidgetDestroyed), this);
  }
}

void GtkPlatformWindow::SetIcon(const Canvas& icon) {
  cairo_surface_t* surface = SurfaceFromCanvas(icon, {0, 0, INT32_MAX, INT32_MAX});
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, cairo_image_surface_get_width(surface),
                                                  cairo_image_surface_get_height(surface));
  cairo_surface_destroy(surface);
  if (!pixbuf) return;
  gtk_window_set_icon(GTK_WINDOW(window_), pixbuf);
  g_object_unref(pixbuf);
}

NativeWindow GtkPlatformWindow::Handle() const {
  GtkWidget* widget = window_ ? window_ : layout_;
  if (!widget) return 0;
  if (!gtk_widget_get_realized(widget)) gtk_widget_realize(widget);
  GdkWindow* gdkWindow = gtk_widget_get_window(widget);
  if (!gdkWindow) return 0;
  // A child's GDK window is drawn inside its parent's X window until it is asked to have its own.
  if (!gdk_window_ensure_native(gdkWindow)) return 0;
  return GDK_WINDOW_XID(gdkWindow);
}

void GtkPlatformWindow::SetTitle(const std::string& title) {
  if (!window_) return;
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  gdk_display_flush(gdk_display_get_default());
}

void GtkPlatformWindow::Move(PixelPoint position, PixelSize clientSize) {
  if (!layout_) return;
  position_ = position;
  size_ = {std::max(clientSize.width, 0), std::max(clientSize.height, 0)};
  gtk_widget_set_size_request(layout_, size_.width, size_.height);
  if (window_) {
    gtk_window_move(GTK_WINDOW(window_), position.x, position.y);
    gtk_window_resize(GTK_WINDOW(window_), std::max(size_.width, 1), std::max(size_.height, 1));
    // GTK applies the geometry of a hidden window when it maps it; the X window takes it now,
    // so that other programs (and a host window) see the form where it is meant to be.
    if (!gtk_widget_get_mapped(window_))
      gdk_window_move_resize(gtk_widget_get_window(window_), position.x, position.y, std::max(size_.width, 1),
                             std::max(size_.height, 1));
  } else if (parentLayout_) {
    gtk_layout_move(GTK_LAYOUT(parentLayout_), layout_, position.x, position.y);
  }
  // As on Windows, the new size is reported before the call returns.
  ReportSize(size_);
}

PixelRect GtkPlatformWindow::ScreenRect() const {
  PixelRect rect{position_.x, position_.y, position_.x + size_.width, position_.y + size_.height};
  if (window_) {
    // Where the X window lies, with the window manager's frame; a form that has never been
    // shown keeps the position asked for, with the frame it will get.
    if (gtk_widget_get_mapped(window_) || adopted_) {
      X11WindowScreenRect(GDK_WINDOW_XDISPLAY(gtk_widget_get_window(window_)),
                          GDK_WINDOW_XID(gtk_widget_get_window(window_)), rect);
    } else {
      const PixelMargins frame = FrameMargins();
      rect = {rect.left - frame.left, rect.top - frame.top, rect.right + frame.right, rect.bottom + frame.bottom};
    }
    return rect;
  }
  if (layout_ && gtk_widget_get_realized(layout_)) {
    int x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(layout_), &x, &y);
    rect = {x, y, x + size_.width, y + size_.height};
  }
  return rect;
}

PixelMargins GtkPlatformWindow::FrameMargins() const {
  PixelMargins frame;
  if (!window_ || adopted_ || !gtk_widget_get_realized(window_)) return frame;
  GdkWindow* native = gtk_widget_get_window(window_);
  // Windows that are shown report their frame; one that never was asks the manager once.
  if (gtk_widget_get_mapped(window_) || frameRequested_) {
    X11ReportedFrame(GDK_WINDOW_XDISPLAY(native), GDK_WINDOW_XID(native), frame);
  } else {
    frameRequested_ = true;
    X11RequestFrame(GDK_WINDOW_XDISPLAY(native), GDK_WINDOW_XID(native), kFrameAnswerMs, frame);
  }
  return frame;
}

void GtkPlatformWindow::SetVisible(bool visible) {
  if (!window_) {
    if (layout_) gtk_widget_set_visible(layout_, visible);
    return;
  }
  if (visible) {
    // An adopted window lies inside another program's window: the window manager does not see
    // it, and it takes no focus from that program. Any other form takes the focus once it is up.
    if (!adopted_ && !takesFocus_) {
      TakeFocusWhenMapped(GTK_WINDOW(window_));
      takesFocus_ = true;
    }
    gtk_widget_show(window_);
    if (!adopted_) gtk_window_present(GTK_WINDOW(window_));
  } else {
    gtk_widget_hide(window_);
  }
  gdk_display_flush(gdk_display_get_default());
}

void GtkPlatformWindow::Present(const Canvas& picture) {
  if (picture_) cairo_surface_destroy(picture_);
  picture_ = SurfaceFromCanvas(picture, {0, 0, INT32_MAX, INT32_MAX});
  if (layout_) gtk_widget_queue_draw(layout_);
}

void GtkPlatformWindow::SetFocus() {
  if (window_) {
    gtk_window_present(GTK_WINDOW(window_));
    gtk_window_set_focus(GTK_WINDOW(window_), nullptr);
  } else if (layout_) {
    gtk_widget_grab_focus(layout_);
  }
}

bool GtkPlatformWindow::HasFocus() const {
  if (window_) return gtk_window_has_toplevel_focus(GTK_WINDOW(window_)) && !gtk_window_get_focus(GTK_WINDOW(window_));
  return layout_ && gtk_widget_is_focus(layout_);
}

bool GtkPlatformWindow::AdoptInto(NativeWindow foreignParent) {
  if (!window_) return false;  // only forms are placed into other programs' windows
  GdkWindow* native = gtk_widget_get_window(window_);
  Display* display = GDK_WINDOW_XDISPLAY(native);
  // The host may go at any moment from now on, and this window with it: every X error of the
  // connection is trapped for the rest of the process, also those of the requests that GDK
  // makes later on its own (a preview's process has nothing else on the screen). Traps set
  // inside this one still see their own errors.
  static bool trappedForGood = false;
  if (!trappedForGood) {
    gdk_x11_display_error_trap_push(gdk_window_get_display(native));
    trappedForGood = true;
  }
  if (!X11WindowExists(display, foreignParent)) return false;
  X11ErrorTrap trap(display);
  XReparentWindow(display, GDK_WINDOW_XID(native), static_cast<Window>(foreignParent), 0, 0);
  if (!trap.Succeeded()) return false;
  // If the foreign window goes, ours goes with it; GDK then reports our window's destruction
  // (with a warning on the standard error about the unexpected end of one of its windows).
  adopted_ = true;
  position_ = {0, 0};
  gtk_window_move(GTK_WINDOW(window_), 0, 0);
  return true;
}

bool GtkPlatformWindow::IsWindowAtPoint(PixelPoint screenPoint) const {
  GtkWidget* widget = WidgetAtScreenPoint(screenPoint);
  // The layout's own windows; a control inside it (a combo box) is a window of its own.
  return widget && (widget == layout_ || widget == window_);
}

GtkWindow* GtkPlatformWindow::OwningWindow() const {
  if (window_) return GTK_WINDOW(window_);
  if (!layout_) return nullptr;
  GtkWidget* top = gtk_widget_get_toplevel(layout_);
  return GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

void GtkPlatformWindow::SetPointer(GdkCursor* pointer) {
  if (window_ && gtk_widget_get_realized(window_)) gdk_window_set_cursor(gtk_widget_get_window(window_), pointer);
}

void GtkPlatformWindow::ReportSize(PixelSize size) {
  if (size.width == reportedSize_.width && size.height == reportedSize_.height) return;
  reportedSize_ = size;
  events_.OnResized(size);
}

// The handlers below may end in the runtime destroying this window: nothing touches `self`
// after calling into the events.

gboolean GtkPlatformWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto* window = static_cast<GtkPlatformWindow*>(self);
  cairo_set_source_rgb(cr, window->background_.r / 255.0, window->background_.g / 255.0,
                       window->background_.b / 255.0);
  cairo_paint(cr);
  if (window->picture_) {
    cairo_set_source_surface(cr, window->picture_, 0, 0);
    cairo_paint(cr);
  }
  return FALSE;  // the layout then draws the controls inside it
}

bool GtkPlatformWindow::IsOwnEvent(GdkWindow* eventWindow) const {
  // Events of the controls inside that they leave unhandled travel up to the layout; they
  // belong to those controls, and their coordinates are not the layout's.
  return layout_ && eventWindow == gtk_layout_get_bin_window(GTK_LAYOUT(layout_));
}

gboolean GtkPlatformWindow::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* window = static_cast<GtkPlatformWindow*>(self);
  if (!window->IsOwnEvent(event->window)) return FALSE;
  const int button = FormsButtonFromGdk(event->button);
  if (event->type != GDK_BUTTON_PRESS || button == 0) return TRUE;  // double-click extras, wheel
  if (!window->window_ && window->layout_ && gtk_widget_get_can_focus(window->layout_) &&
      !gtk_widget_has_focus(window->layout_)) {
    gtk_widget_grab_focus(window->layout_);  // a click gives a child window the focus
  }
  window->events_.OnMouseDown(button, FormsShiftFromGdkState(event->state),
                              {static_cast<int32_t>(event->x), static_cast<int32_t>(event->y)});
  return TRUE;
}

gboolean GtkPlatformWindow::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* window = static_cast<GtkPlatformWindow*>(self);
  if (!window->IsOwnEvent(event->window)) return FALSE;
  const int button = FormsButtonFromGdk(event->button);
  if (button == 0) return TRUE;
  window->events_.OnMouseUp(button, FormsShiftFromGdkState(event->state),
                            {static_cast<int32_t>(event->x), static_cast<int32_t>(event->y)});
  return TRUE;
}

gboolean GtkPlatformWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto* window = static_cast<GtkPlatformWindow*>(self);
  if (!window->IsOwnEvent(event->window)) return FALSE;
  window->events_.OnMouseMove(FormsButtonsFromGdkState(event->state), FormsShiftFromGdkState(event->state),
                              {static_cast<int32_t>(event->x), static_cast<int32_t>(event->y)});
  return TRUE;
}

gboolean GtkPlatformWindow::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  static_cast<GtkPlatformWindow*>(self)->events_.OnFocusChanged(true);
  return FALSE;
}

gboolean GtkPlatformWindow::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
  static_cast<GtkPlatformWindow*>(self)->events_.OnFocusChanged(false);
  return FALSE;
}

void GtkPlatformWindow::OnSizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
  auto* window = static_cast<GtkPlatformWindow*>(self);
  // Sizes asked for are reported by Move; what is left is a size that the window manager
  // imposed on a shown form.
  if (!window->window_ || !gtk_widget_get_mapped(window->window_)) return;
  if (allocation->width <= 1 && allocation->height <= 1) return;
  window->size_ = {allocation->width, allocation->height};
  window->ReportSize(window->size_);
}

gboolean GtkPlatformWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  // The window sees every key before the widget with the focus does, so Tab is the form's
  // whichever control holds the focus; with Ctrl or Alt it is left to GTK.
  const bool tab = event->keyval == GDK_KEY_Tab || event->keyval == GDK_KEY_KP_Tab;
  const bool backTab = event->keyval == GDK_KEY_ISO_Left_Tab;
  if ((!tab && !backTab) || (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) return FALSE;
  const bool backward = backTab || (event->state & GDK_SHIFT_MASK) != 0;
  return static_cast<GtkPlatformWindow*>(self)->events_.OnTabKey(backward) ? TRUE : FALSE;
}

gboolean GtkPlatformWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<GtkPlatformWindow*>(self)->events_.OnCloseRequested();
  return TRUE;  // the runtime decides whether the window goes
}

gboolean GtkPlatformWindow::OnDestroyEvent(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<GtkPlatformWindow*>(self)->events_.OnDestroyedFromOutside();
  return FALSE;  // GTK then destroys the widgets, whose X window is already gone
}

void GtkPlatformWindow::OnWidgetDestroyed(GtkWidget*, gpointer self) {
  // The form's GtkWindow goes before the layout inside it, a child's layout with its parent:
  // either way the window is gone and every call on it from now on does nothing.
  auto* window = static_cast<GtkPlatformWindow*>(self);
  if (window->window_) g_signal_handlers_disconnect_by_data(window->window_, self);
  if (window->layout_) g_signal_handlers_disconnect_by_data(window->layout_, self);
  window->window_ = nullptr;
  window->layout_ = nullptr;
  window->parentLayout_ = nullptr;
}

}  // namespace vellora::shell
