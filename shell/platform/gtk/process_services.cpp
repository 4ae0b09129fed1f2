#include "platform/gtk/process_services.h"

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
  const std::string program = ToPosixPath(path);
  gchar* argv[] = {const_cast<gchar*>(program.c_str()), nullptr};
  GPid child = 0;
  GError* error = nullptr;
  if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &child, &error)) {
    g_error_free(error);
    return false;
  }
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
