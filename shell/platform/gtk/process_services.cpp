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

bool SpawnProgram(const std::string& path) {
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
  g_child_watch_add(child, [](GPid pid, gint, gpointer) { g_spawn_close_pid(pid); }, nullptr);
  return true;
}

bool LaunchDefaultApplication(const std::string& address) {
  std::string uri;
  gchar* scheme = g_uri_parse_scheme(address.c_str());
  if (scheme) {
    uri = address;
    g_free(scheme);
  } else {
    gchar* absolute = g_canonicalize_filename(ToPosixPath(address).c_str(), nullptr);
    gchar* fileUri = g_filename_to_uri(absolute, nullptr, nullptr);
    if (fileUri) uri = fileUri;
    g_free(fileUri);
    g_free(absolute);
    if (uri.empty()) return false;
  }
  GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
  GError* error = nullptr;
  const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
  if (error) g_error_free(error);
  g_object_unref(context);
  return launched;
}

void EndProcessImmediately() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_flush(display);
  std::fflush(nullptr);
  _exit(0);
}

}  // namespace vellora::shell
