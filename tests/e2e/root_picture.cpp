// Puts a known picture on the root window for the end-to-end tests and stays connected until
// killed or until the display goes away, so that the picture stays and the X server has a
// client window (a bare Xvfb ignores pointer moves while no client window exists).
//   root_picture PICTURE.ppm     binary PPM (P6, maxval 255); prints "ready" once it is shown
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

bool ReadPpm(const char* path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> picture.width >> picture.height >> maxval;
  if (!in || magic != "P6" || maxval != 255 || picture.width <= 0 || picture.height <= 0) return false;
  in.get();  // the one white space after the header
  picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
  in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
  return static_cast<size_t>(in.gcount()) == picture.rgb.size();
}

// The position of a channel mask's lowest bit and its width, for a TrueColor visual.
void MaskShape(unsigned long mask, int& shift, int& bits) {
  shift = 0, bits = 0;
  while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
  while (mask & 1) mask >>= 1, ++bits;
}

unsigned long Channel(unsigned char value, unsigned long mask) {
  int shift = 0, bits = 0;
  MaskShape(mask, shift, bits);
  return (static_cast<unsigned long>(value) >> (8 - bits)) << shift;
}

}  // namespace

int main(int argc, char** argv) {
  Picture picture;
  if (argc != 2 || !ReadPpm(argv[1], picture)) {
    std::fprintf(stderr, "usage: root_picture PICTURE.ppm (binary PPM, maxval 255)\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 2;
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  Visual* visual = DefaultVisual(display, screen);
  const int depth = DefaultDepth(display, screen);

  XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, picture.width, picture.height, 32, 0);
  image->data = static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line) * picture.height, 1));
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const unsigned char* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
      XPutPixel(image, x, y,
                Channel(p[0], visual->red_mask) | Channel(p[1], visual->green_mask) | Channel(p[2], visual->blue_mask));
    }
  }
  const Pixmap pixmap = XCreatePixmap(display, root, picture.width, picture.height, depth);
  GC gc = XCreateGC(display, pixmap, 0, nullptr);
  XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, picture.width, picture.height);
  XSetWindowBackgroundPixmap(display, root, pixmap);
  XClearWindow(display, root);
  // Never mapped, so it is not on the picture; its existence is enough for pointer moves.
  XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
  XSync(display, False);
  XDestroyImage(image);
  std::puts("ready");
  std::fflush(stdout);
  // Reading events notices a lost connection: Xlib then ends the program.
  for (XEvent event;;) XNextEvent(display, &event);
}
