#include "platform/gtk/session_end_signals.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/gtk/process_services.h"

namespace vellora::shell {
namespace {

volatile sig_atomic_t signalled = 0;
// The handler's way to wake the loop: a byte written to the pipe's end 1, watched at end 0.
int wakePipe[2] = {-1, -1};

std::function<void()>& SessionEndHandler() {
  static std::function<void()> handler;
  return handler;
}

void OnSignal(int) { RequestSessionEnd(); }

}  // namespace

void RequestSessionEnd() {
  const int saved = errno;
  signalled = 1;
  if (wakePipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
  }
  errno = saved;
}

namespace {

gboolean OnWake(gint fd, GIOCondition, gpointer) {
  char bytes[16];
  while (read(fd, bytes, sizeof bytes) > 0) {
  }
  // Taken out first, so that a second signal while it runs finds nothing to run again.
  const std::function<void()> onEnd = std::move(SessionEndHandler());
  SessionEndHandler() = nullptr;
  if (onEnd) onEnd();
  EndProcessImmediately();
}

}  // namespace

void CatchSessionEndSignals() {
  if (wakePipe[0] >= 0) return;
  if (g_unix_open_pipe(wakePipe, FD_CLOEXEC, nullptr) && g_unix_set_fd_nonblocking(wakePipe[0], TRUE, nullptr) &&
      g_unix_set_fd_nonblocking(wakePipe[1], TRUE, nullptr)) {
    g_unix_fd_add(wakePipe[0], G_IO_IN, OnWake, nullptr);
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a signal interrupts no system call of Xlib's or GLib's
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

bool SessionEndSignalled() { return signalled != 0; }

void WatchSessionEndSignals(std::function<void()> onEnd) { SessionEndHandler() = std::move(onEnd); }

}  // namespace vellora::shell
