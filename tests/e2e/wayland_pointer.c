// A mouse for a Wayland desktop without input devices: a virtual pointer (wlroots'
// virtual-pointer protocol) that stays plugged in for as long as this program runs, as a real
// mouse does, so that the compositor's seat and XWayland keep a pointer the whole time.
// Prints "ready" once the pointer exists, then reads lines "move DX DY" from its input and
// moves the pointer by that much, answering "moved" once the compositor has taken the motion.
// Ends at the end of its input.
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct wl_seat* seat;
static struct zwlr_virtual_pointer_manager_v1* manager;

static void OnGlobal(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version) {
  (void)data, (void)version;
  if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
    seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
  }
}

static void OnGlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data, (void)registry, (void)name;
}

static uint32_t Milliseconds(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(void) {
  struct wl_display* display = wl_display_connect(NULL);
  if (display == NULL) {
    fprintf(stderr, "wayland_pointer: no Wayland display\n");
    return 1;
  }
  static const struct wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
  struct wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &listener, NULL);
  wl_display_roundtrip(display);
  if (manager == NULL) {
    fprintf(stderr, "wayland_pointer: the compositor offers no virtual pointers\n");
    return 1;
  }
  struct zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
  wl_display_roundtrip(display);
  printf("ready\n");
  fflush(stdout);

  char line[128];
  while (fgets(line, sizeof line, stdin) != NULL) {
    int dx = 0, dy = 0;
    if (sscanf(line, "move %d %d", &dx, &dy) != 2) continue;
    zwlr_virtual_pointer_v1_motion(pointer, Milliseconds(), wl_fixed_from_int(dx), wl_fixed_from_int(dy));
    zwlr_virtual_pointer_v1_frame(pointer);
    if (wl_display_roundtrip(display) < 0) return 1;
    printf("moved\n");
    fflush(stdout);
  }
  zwlr_virtual_pointer_v1_destroy(pointer);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
