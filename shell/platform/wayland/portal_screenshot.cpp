#include "platform/wayland/portal_screenshot.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/canvas.h"

namespace vellora::shell {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

// The answer to one request, delivered as the Request object's Response signal.
struct Answer {
  bool received = false;
  guint32 code = 2;  // 0 success, 1 cancelled by the user, 2 otherwise ended
  std::string uri;
  bool unsubscribed = false;
};

void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                gpointer data) {
  auto* answer = static_cast<Answer*>(data);
  if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})"))) return;
  GVariant* results = nullptr;
  g_variant_get(parameters, "(u@a{sv})", &answer->code, &results);
  const gchar* uri = nullptr;
  if (g_variant_lookup(results, "uri", "&s", &uri)) answer->uri = uri;
  g_variant_unref(results);
  answer->received = true;
}

// The errors that mean no portal answers the call here at all, as opposed to one that fails.
bool MeansNoPortal(const GError* error) {
  return g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_INTERFACE) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_OBJECT) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SPAWN_EXEC_FAILED) ||
         g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SPAWN_CHILD_EXITED);
}

int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<int64_t>(left.count(), 1, 600000));
}

// Reads the picture file into the canvas, keeping the crop where it lies inside the picture.
bool LoadPicture(const std::string& uri, PortalCrop crop, Canvas& into) {
  gchar* path = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
  if (path == nullptr) return false;
  GdkPixbuf* picture = gdk_pixbuf_new_from_file(path, nullptr);
  g_free(path);
  if (picture == nullptr) return false;
  const int width = gdk_pixbuf_get_width(picture), height = gdk_pixbuf_get_height(picture);
  int left = 0, top = 0, right = width, bottom = height;
  if (crop.width > 0 && crop.height > 0) {
    left = std::clamp(crop.x, 0, width), top = std::clamp(crop.y, 0, height);
    right = std::clamp(crop.x + crop.width, left, width), bottom = std::clamp(crop.y + crop.height, top, height);
  }
  const bool usable = gdk_pixbuf_get_colorspace(picture) == GDK_COLORSPACE_RGB &&
                      gdk_pixbuf_get_bits_per_sample(picture) == 8 && right > left && bottom > top;
  if (usable) {
    const int channels = gdk_pixbuf_get_n_channels(picture), stride = gdk_pixbuf_get_rowstride(picture);
    const guchar* pixels = gdk_pixbuf_read_pixels(picture);
    into.Resize(right - left, bottom - top);
    uint8_t* target = into.Bytes().data();
    for (int y = top; y < bottom; ++y) {
      const guchar* from = pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(left) * channels;
      for (int x = left; x < right; ++x, from += channels, target += 3) {
        target[0] = from[0], target[1] = from[1], target[2] = from[2];
      }
    }
  }
  g_object_unref(picture);
  return usable;
}

}  // namespace

CompositorCapture CaptureWithPortal(PortalCrop crop, Deadline deadline, Canvas& into) {
  // Without a session bus GIO would start one of its own through dbus-launch: there is then no
  // portal to ask either.
  const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
  gchar* userBus = g_build_filename(g_get_user_runtime_dir(), "bus", nullptr);
  const bool busExists = (address != nullptr && *address != '\0') || g_file_test(userBus, G_FILE_TEST_EXISTS);
  g_free(userBus);
  if (!busExists) return CompositorCapture::NotOffered;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
  if (bus == nullptr) return CompositorCapture::NotOffered;

  // The answer comes on a request object whose path the caller can tell in advance from its
  // bus name and a token of its own; the signal is subscribed to before the call, so that an
  // answer given at once is not missed. Signals are handled in a context of this call's own.
  GMainContext* context = g_main_context_new();
  g_main_context_push_thread_default(context);
  std::string sender = g_dbus_connection_get_unique_name(bus) + 1;
  std::replace(sender.begin(), sender.end(), '.', '_');
  const std::string token = "vellora" + std::to_string(getpid());
  const std::string requestPath = std::string(kPortalPath) + "/request/" + sender + "/" + token;
  Answer answer;
  const guint subscription = g_dbus_connection_signal_subscribe(
      bus, kPortalName, "org.freedesktop.portal.Request", "Response", requestPath.c_str(), nullptr,
      G_DBUS_SIGNAL_FLAGS_NONE, OnResponse, &answer, [](gpointer data) { static_cast<Answer*>(data)->unsubscribed = true; });

  GVariantBuilder options;
  g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
  g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
  g_variant_builder_add(&options, "{sv}", "interactive", g_variant_new_boolean(FALSE));
  g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(FALSE));
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(bus, kPortalName, kPortalPath, "org.freedesktop.portal.Screenshot",
                                                "Screenshot", g_variant_new("(sa{sv})", "", &options),
                                                G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE,
                                                MillisecondsLeft(deadline), nullptr, &error);
  CompositorCapture outcome = CompositorCapture::Failed;
  if (reply == nullptr) {
    if (MeansNoPortal(error)) outcome = CompositorCapture::NotOffered;
    g_error_free(error);
  } else {
    g_variant_unref(reply);
    while (!answer.received && std::chrono::steady_clock::now() < deadline) {
      GSource* timeout = g_timeout_source_new(static_cast<guint>(MillisecondsLeft(deadline)));
      g_source_set_callback(timeout, [](gpointer) { return G_SOURCE_REMOVE; }, nullptr, nullptr);
      g_source_attach(timeout, context);
      g_main_context_iteration(context, TRUE);
      g_source_destroy(timeout);
      g_source_unref(timeout);
    }
    if (!answer.received) {
      // Withdrawn, so that a permission question nobody answered does not stay up.
      g_dbus_connection_call(bus, kPortalName, requestPath.c_str(), "org.freedesktop.portal.Request", "Close",
                             nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr, nullptr);
      g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    } else if (answer.code == 0 && LoadPicture(answer.uri, crop, into)) {
      outcome = CompositorCapture::Captured;
    }
  }
  // Signals already queued for the subscription are still handed to the context: it runs until
  // the subscription is gone for good, so that nothing is left pointing at the answer.
  g_dbus_connection_signal_unsubscribe(bus, subscription);
  while (!answer.unsubscribed) g_main_context_iteration(context, TRUE);
  g_main_context_pop_thread_default(context);
  g_main_context_unref(context);
  g_object_unref(bus);
  return outcome;
}

}  // namespace vellora::shell
