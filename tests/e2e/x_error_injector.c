/* Preloaded by the end-to-end tests: the X server refuses one request, or answers one slowly,
 * at a chosen moment, as it does when it runs out of resources, a window is taken away or the
 * server is busy.
 *
 * X_ERROR_INJECTOR_AT names the moment of a refusal (a map of window 0, answered with
 * BadWindow) or of a window taken away:
 *   gl_context   while the renderer makes its GL context
 *   window_walk  the first time a program lists a window's children (the shell's instance
 *                guard walking the window tree, where a window may vanish under it)
 *   adoption     right after the first re-parenting of a window, another client destroys the
 *                new parent (a host window closing just as a preview moves into it)
 * X_SLOW_AT names a moment whose request takes 2 s; "x_error_injector: slow MOMENT" goes to the
 * standard error when the wait begins:
 *   window_walk  the first listing of a window's children (the shell's instance guard)
 *   capture      the first read of a window's pixels (the session's copy of the screen) */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static int InjectAt(const char* moment) {
  const char* at = getenv("X_ERROR_INJECTOR_AT");
  return at != NULL && strcmp(at, moment) == 0;
}

/* Two seconds, the whole of them even when a signal arrives meanwhile. */
static void SlowAt(const char* moment) {
  const char* at = getenv("X_SLOW_AT");
  struct timespec left = {2, 0};
  if (at == NULL || strcmp(at, moment) != 0) return;
  fprintf(stderr, "x_error_injector: slow %s\n", moment);
  fflush(stderr);
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

GLXContext glXCreateContext(Display* display, XVisualInfo* visual, GLXContext share, Bool direct) {
  typedef GLXContext (*Create)(Display*, XVisualInfo*, GLXContext, Bool);
  Create create;
  *(void**)&create = dlsym(RTLD_NEXT, "glXCreateContext");
  if (InjectAt("gl_context")) XMapWindow(display, None);
  return create(display, visual, share, direct);
}

Status XQueryTree(Display* display, Window window, Window* root, Window* parent, Window** children,
                  unsigned int* count) {
  typedef Status (*Query)(Display*, Window, Window*, Window*, Window**, unsigned int*);
  static int injected;
  Query query;
  *(void**)&query = dlsym(RTLD_NEXT, "XQueryTree");
  if (!injected) {
    injected = 1;
    if (InjectAt("window_walk")) XMapWindow(display, None);
    SlowAt("window_walk");
  }
  return query(display, window, root, parent, children, count);
}

XImage* XGetImage(Display* display, Drawable drawable, int x, int y, unsigned int width, unsigned int height,
                  unsigned long planes, int format) {
  typedef XImage* (*Get)(Display*, Drawable, int, int, unsigned int, unsigned int, unsigned long, int);
  static int slowed;
  Get get;
  *(void**)&get = dlsym(RTLD_NEXT, "XGetImage");
  if (!slowed) {
    slowed = 1;
    SlowAt("capture");
  }
  return get(display, drawable, x, y, width, height, planes, format);
}

int XReparentWindow(Display* display, Window window, Window parent, int x, int y) {
  typedef int (*Reparent)(Display*, Window, Window, int, int);
  static int injected;
  Reparent reparent;
  int result;
  *(void**)&reparent = dlsym(RTLD_NEXT, "XReparentWindow");
  result = reparent(display, window, parent, x, y);
  if (!injected && InjectAt("adoption")) {
    Display* other = XOpenDisplay(NULL);
    injected = 1;
    XSync(display, False); /* the window is inside the parent when the parent goes */
    if (other != NULL) {
      XDestroyWindow(other, parent);
      XCloseDisplay(other);
    }
  }
  return result;
}
