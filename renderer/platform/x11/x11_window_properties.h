// Window-manager properties shared by the renderer's windows.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace vellora::renderer {

// Sets WM_NAME and _NET_WM_NAME (UTF-8).
void SetX11WindowTitle(Display* display, Window window, const std::string& title);

// Asks the window manager for no decorations and the whole screen.
void RequestBorderlessFullScreen(Display* display, Window window);

// Maps the window above the others; a full-screen one asks the window manager once more for the
// whole screen.
void MapRaised(Display* display, Window window, bool fullScreen);

// Maps the window as MapRaised does, waits (two seconds at most) until it is mapped and asks
// for the keyboard focus. The request fails while a window manager has not yet mapped its
// frame around the window; the error handler takes that failure as harmless.
void MapAndFocus(Display* display, Window window, bool fullScreen);

// Translates an X key symbol to the Windows virtual-key code the window procedure expects.
unsigned VirtualKeyFromKeySym(unsigned long keysym);

}  // namespace vellora::renderer
