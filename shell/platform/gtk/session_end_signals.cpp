#include "platform/gtk/session_end_signals.h"

#include <glib-unix.h>

#include <csignal>

#include "platform/gtk/process_services.h"

namespace vellora::shell {
namespace {

std::function<void()>& SessionEndHandler() {
  static std::function<void()> handler;
  return handler;
}

gboolean OnSessionEndSignal(gpointer) {
  // Taken out first, so that a second signal while it runs finds nothing to run again.
  const std::function<void()> onEnd = std::move(SessionEndHandler());
  SessionEndHandler() = nullptr;
  if (onEnd) onEnd();
  EndProcessImmediately();
}

}  // namespace

void WatchSessionEndSignals(std::function<void()> onEnd) {
  const bool watching = static_cast<bool>(SessionEndHandler());
  SessionEndHandler() = std::move(onEnd);
  if (watching) return;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) g_unix_signal_add(signal, OnSessionEndSignal, nullptr);
}

}  // namespace vellora::shell
