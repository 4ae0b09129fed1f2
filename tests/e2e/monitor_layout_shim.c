// Preloaded into both programs: the monitor layout named in the environment, answered through
// the X extensions they ask. Xvfb places Xinerama screens on top of another, and the benchmark
// switches one server between one and two RandR monitors from run to run.
//   E2E_RANDR_MONITORS="1280x1024+0+0*,1280x768+1280+0"   RandR 1.5 monitors; * marks the primary
//   E2E_XINERAMA_SCREENS="1280x1024+1280+0,1280x1024+0+0"  Xinerama screens, no RandR monitors
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct area { int x, y, width, height, primary; };

static int parse(const char* text, struct area* out, int most) {
  int n = 0;
  while (text != NULL && *text != '\0' && n < most) {
    struct area a = {0};
    if (sscanf(text, "%dx%d+%d+%d", &a.width, &a.height, &a.x, &a.y) != 4) break;
    const char* end = strchr(text, ',');
    const char* star = strchr(text, '*');
    a.primary = star != NULL && (end == NULL || star < end);
    out[n++] = a;
    text = end != NULL ? end + 1 : NULL;
  }
  return n;
}

// Sets a function pointer to the next definition of a symbol (dlsym gives an object pointer).
#define NEXT_SYMBOL(pointer, name)                  \
  do {                                              \
    void* symbol_ = dlsym(RTLD_NEXT, name);         \
    memcpy(&(pointer), &symbol_, sizeof(pointer));  \
  } while (0)

XRRMonitorInfo* XRRGetMonitors(Display* display, Window window, Bool active, int* count) {
  if (getenv("E2E_XINERAMA_SCREENS") != NULL) {
    *count = 0;
    return NULL;
  }
  struct area areas[8];
  const int n = parse(getenv("E2E_RANDR_MONITORS"), areas, 8);
  if (n == 0) {
    XRRMonitorInfo* (*real)(Display*, Window, Bool, int*);
    NEXT_SYMBOL(real, "XRRGetMonitors");
    return real(display, window, active, count);
  }
  // Each monitor names the server's first output, as GTK expects every monitor to have one;
  // the list and the outputs are one block, which XRRFreeMonitors frees as it frees its own.
  RROutput output = None;
  XRRScreenResources* (*resources)(Display*, Window);
  NEXT_SYMBOL(resources, "XRRGetScreenResourcesCurrent");
  void (*freeResources)(XRRScreenResources*);
  NEXT_SYMBOL(freeResources, "XRRFreeScreenResources");
  XRRScreenResources* current = resources != NULL ? resources(display, window) : NULL;
  if (current != NULL) {
    if (current->noutput > 0) output = current->outputs[0];
    freeResources(current);
  }
  XRRMonitorInfo* monitors = calloc(1, (size_t)n * (sizeof *monitors + sizeof(RROutput)));
  RROutput* outputs = (RROutput*)(monitors + n);
  for (int i = 0; i < n; ++i) {
    char name[32];
    snprintf(name, sizeof name, "VELLORA-%d", i);
    monitors[i].name = XInternAtom(display, name, False);
    outputs[i] = output;
    monitors[i].outputs = &outputs[i];
    monitors[i].noutput = output != None;
    monitors[i].x = areas[i].x;
    monitors[i].y = areas[i].y;
    monitors[i].width = areas[i].width;
    monitors[i].height = areas[i].height;
    monitors[i].primary = areas[i].primary;
    monitors[i].automatic = True;
  }
  *count = n;
  return monitors;
}

Bool XineramaIsActive(Display* display) {
  if (getenv("E2E_XINERAMA_SCREENS") != NULL) return True;
  Bool (*real)(Display*);
  NEXT_SYMBOL(real, "XineramaIsActive");
  return real(display);
}

XineramaScreenInfo* XineramaQueryScreens(Display* display, int* count) {
  struct area areas[8];
  const int n = parse(getenv("E2E_XINERAMA_SCREENS"), areas, 8);
  if (n == 0) {
    XineramaScreenInfo* (*real)(Display*, int*);
    NEXT_SYMBOL(real, "XineramaQueryScreens");
    return real(display, count);
  }
  XineramaScreenInfo* screens = calloc((size_t)n, sizeof *screens);
  for (int i = 0; i < n; ++i) {
    screens[i].screen_number = i;
    screens[i].x_org = (short)areas[i].x;
    screens[i].y_org = (short)areas[i].y;
    screens[i].width = (short)areas[i].width;
    screens[i].height = (short)areas[i].height;
  }
  *count = n;
  return screens;
}
