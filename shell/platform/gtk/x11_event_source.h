// The events of an X connection of the shell's own, read by the GLib main loop: GDK reads only
// its own connection, and a session's hidden window lives on the other one until GTK comes up.
#pragma once

#include <glib.h>

#include <functional>

// Xlib's types, declared here so that X's macros stay out of the files that include this one.
struct _XDisplay;
union _XEvent;

namespace vellora::shell {

// Hands every event of the connection to onEvent, on the loop's thread, from the next time the
// loop runs. Returns the source's id for g_source_remove.
guint WatchX11Events(_XDisplay* display, std::function<void(_XEvent&)> onEvent);

}  // namespace vellora::shell
