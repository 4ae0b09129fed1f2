#include "platform/gtk/process_services.h"

#include <spawn.h>

#include <gdk/gdk.h>
#include <gio/gio.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "platform/gtk/process_text.h"
#include "platform/posix/posix_path.h"

namespace vellora::shell {

std::string RunningProgramFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return ".";
    if (static_cast<size_t>(length) < buffer.size()) return FolderOfPath(std::string(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

bool SpawnProgram(const std::string& path, void (*onEnded)()) {
  // posix_spawn starts the program without copying this whole GTK process first (a fork of
  // it costs several milliseconds); the descriptors of the shell stay behind. GLib reaps it.
  const std::string program = ToPosixPath(path);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return false;
  g_child_watch_add(
      child,
      [](GPid pid, gint, gpointer ended) {
        g_spawn_close_pid(pid);
        if (ended != nullptr) reinterpret_cast<void (*)()>(ended)();
      },
      reinterpret_cast<gpointer>(onEnded));
  return true;
}

namespace {

// Runs on a thread of its own, which ends with the launch. GIO finds the handler there and
// speaks to the session bus when there is one, which may take long or, with a bus that does
// not answer, never end. No launch context: GDK's may be used on the main thread only, and the
// program inherits this process's display anyway.
gpointer LaunchOnThread(gpointer uri) {
  GError* error = nullptr;
  g_app_info_launch_default_for_uri(static_cast<const gchar*>(uri), nullptr, &error);
  if (error) g_error_free(error);
  g_free(uri);
  return nullptr;
}

}  // namespace

void LaunchDefaultApplication(const std::string& address) {
  gchar* uri = nullptr;
  if (gchar* scheme = g_uri_parse_scheme(address.c_str())) {
    g_free(scheme);
    uri = g_strdup(address.c_str());
  } else {
    gchar* absolute = g_canonicalize_filename(ToPosixPath(address).c_str(), nullptr);
    uri = g_filename_to_uri(absolute, nullptr, nullptr);
    g_free(absolute);
  }
  if (!uri) return;
  if (GThread* thread = g_thread_try_new("vellora-open", LaunchOnThread, uri, nullptr)) {
    g_thread_unref(thread);  // not joined: nobody waits for the launch
  } else {
    g_free(uri);
  }
}

void EndProcessImmediately() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_flush(display);
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace vellora::shell
