#include "platform/gtk/x11_event_source.h"

#include <X11/Xlib.h>

namespace vellora::shell {
namespace {

struct XEventSource {
  GSource source;
  Display* display;
  GPollFD connection;
  std::function<void(XEvent&)>* onEvent;
};

// Events may already wait in Xlib's queue (read along with an answer), with nothing left on
// the connection to wake the poll.
gboolean Prepare(GSource* source, gint* timeout) {
  *timeout = -1;
  return XEventsQueued(reinterpret_cast<XEventSource*>(source)->display, QueuedAlready) > 0;
}

gboolean Check(GSource* source) {
  auto* x = reinterpret_cast<XEventSource*>(source);
  if (x->connection.revents & G_IO_IN) return XPending(x->display) > 0;
  return XEventsQueued(x->display, QueuedAlready) > 0;
}

gboolean Dispatch(GSource* source, GSourceFunc, gpointer) {
  auto* x = reinterpret_cast<XEventSource*>(source);
  while (XPending(x->display) > 0) {
    XEvent event;
    XNextEvent(x->display, &event);
    (*x->onEvent)(event);
  }
  return G_SOURCE_CONTINUE;
}

void Finalize(GSource* source) { delete reinterpret_cast<XEventSource*>(source)->onEvent; }

GSourceFuncs functions = {Prepare, Check, Dispatch, Finalize, nullptr, nullptr};

}  // namespace

guint WatchX11Events(_XDisplay* display, std::function<void(_XEvent&)> onEvent) {
  GSource* source = g_source_new(&functions, sizeof(XEventSource));
  auto* x = reinterpret_cast<XEventSource*>(source);
  x->display = display;
  x->connection = {ConnectionNumber(display), G_IO_IN, 0};
  x->onEvent = new std::function<void(XEvent&)>(std::move(onEvent));
  g_source_add_poll(source, &x->connection);
  const guint id = g_source_attach(source, nullptr);
  g_source_unref(source);
  return id;
}

}  // namespace vellora::shell
