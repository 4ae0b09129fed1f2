/* Preloaded by the end-to-end tests: the X server refuses one request at a chosen moment, as
 * it does when it runs out of resources or a window is taken away. The refused request is a
 * map of window 0, answered with BadWindow. X_ERROR_INJECTOR_AT names the moment:
 *   gl_context   while the renderer makes its GL context
 *   window_walk  the first time a program lists a window's children (the shell's instance
 *                guard walking the window tree, where a window may vanish under it) */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

static int InjectAt(const char* moment) {
  const char* at = getenv("X_ERROR_INJECTOR_AT");
  return at != NULL && strcmp(at, moment) == 0;
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
  if (!injected && InjectAt("window_walk")) {
    injected = 1;
    XMapWindow(display, None);
  }
  return query(display, window, root, parent, children, count);
}
