/* Preloaded into Vellora.data by the end-to-end tests: the X server refuses a request while the
 * renderer makes its GL context, as it would when it runs out of resources or the window is
 * taken away. The refused request is a map of window 0, answered with BadWindow. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

GLXContext glXCreateContext(Display* display, XVisualInfo* visual, GLXContext share, Bool direct) {
  typedef GLXContext (*Create)(Display*, XVisualInfo*, GLXContext, Bool);
  Create create;
  *(void**)&create = dlsym(RTLD_NEXT, "glXCreateContext");
  XMapWindow(display, None);
  return create(display, visual, share, direct);
}
