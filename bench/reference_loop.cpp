// The yardstick for the renderer benchmark: the fog tunnel's GL calls with nothing around them.
//
// Opens a screen-sized double-buffered window, uploads the snapshot named on the command line
// with the renderer's texture settings, compiles the same five-quad segment, sets the same
// fixed-function state and fog, and then draws frames back to back until it is killed.
// No window manager hints, no event handling, no timer, no cursor: only what a frame costs.
// The texture is built as the renderer builds it (its own upload: level 0 alone, scaled as GLU
// scales it); with --mipmaps it is built the textbook way instead, every level with
// gluBuild2DMipmaps, as the renderer built it before, for the session benchmark's comparison.
//
// With --windows it draws the same frames into one window per monitor instead, each with a GL
// context and a texture of its own, one after another, as the renderer covers several monitors.
//
// Usage: vellora_bench_reference_loop [--mipmaps] <snapshot.bmp>
//        vellora_bench_reference_loop --windows WxH+X+Y=<snapshot.bmp>[,WxH+X+Y=<snapshot.bmp>...]
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "snapshot_texture.h"

namespace {

struct Vertex {
  float s, t, x, y, z;
};

const Vertex kSegment[5][4] = {
    {{0, 0, -2, -1, 1}, {2, 0, 2, -1, 1}, {2, 1, 2, 1, 1}, {0, 1, -2, 1, 1}},
    {{2, 0, -2, -1, -1}, {2, 1, -2, 1, -1}, {0, 1, 2, 1, -1}, {0, 0, 2, -1, -1}},
    {{0, 1, -2, 1, -1}, {0, 0, -2, 1, 1}, {2, 0, 2, 1, 1}, {2, 1, 2, 1, -1}},
    {{2, 1, -2, -1, -1}, {0, 1, 2, -1, -1}, {0, 0, 2, -1, 1}, {2, 0, -2, -1, 1}},
    {{0, 0, 2, -1, -1}, {1, 0, 2, -1, 1}, {1, 1, 2, 1, 1}, {0, 1, 2, 1, -1}},
};

uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Reads an uncompressed bottom-up 24-bit BMP and uploads it as an RGB texture.
bool UploadSnapshot(const char* path, bool mipmaps) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  unsigned char header[54];
  if (std::fread(header, 1, sizeof header, file) != sizeof header) return false;
  const uint32_t offset = Le32(header + 10);
  const int width = static_cast<int>(Le32(header + 18));
  const int height = static_cast<int>(Le32(header + 22));
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  auto* pixels = static_cast<unsigned char*>(std::malloc(stride * static_cast<size_t>(height)));
  const bool read = pixels != nullptr && std::fseek(file, offset, SEEK_SET) == 0 &&
                    std::fread(pixels, stride, static_cast<size_t>(height), file) == static_cast<size_t>(height);
  std::fclose(file);
  if (!read) return false;
  for (int row = 0; row < height; ++row) {
    unsigned char* p = pixels + static_cast<size_t>(row) * stride;
    for (int x = 0; x < width; ++x, p += 3) std::swap(p[0], p[2]);
  }

  if (mipmaps) {
    vellora::renderer::NewSnapshotTextureName();
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  } else {
    vellora::renderer::UploadSnapshotTexture(static_cast<uint32_t>(width), static_cast<uint32_t>(height), pixels);
  }
  std::free(pixels);
  return true;
}

GLuint CompileSegment() {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_QUADS);
  for (const auto& quad : kSegment) {
    for (const Vertex& v : quad) {
      glTexCoord2f(v.s, v.t);
      glVertex3f(v.x, v.y, v.z);
    }
  }
  glEnd();
  glEndList();
  return list;
}

int32_t MillisecondsSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int32_t>((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000);
}

// One window with its context, its texture and its segment.
struct View {
  Window window = 0;
  GLXContext context = nullptr;
  GLuint segment = 0;
};

bool OpenView(Display* display, XVisualInfo* visual, int x, int y, int width, int height, const char* snapshot,
              bool mipmaps, View& view) {
  const Window root = RootWindow(display, visual->screen);
  XSetWindowAttributes set{};
  set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  set.event_mask = StructureNotifyMask;
  // A background pixel as in any ordinary GLX window: with none, Xvfb takes about twice as long
  // over the first buffer swap, which would flatter the renderer's start-up figure.
  set.background_pixel = 0;
  set.border_pixel = 0;
  view.window = XCreateWindow(display, root, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                              visual->depth, InputOutput, visual->visual,
                              CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &set);
  view.context = glXCreateContext(display, visual, nullptr, True);
  if (view.context == nullptr || !glXMakeCurrent(display, view.window, view.context)) return false;
  XMapWindow(display, view.window);
  for (XEvent event{}; event.type != MapNotify;) XNextEvent(display, &event);

  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 0.1, 500.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glClearColor(0.8f, 0.8f, 0.9f, 0.0f);
  glShadeModel(GL_FLAT);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.4f);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_BLEND);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  if (!UploadSnapshot(snapshot, mipmaps)) {
    std::fprintf(stderr, "cannot read %s\n", snapshot);
    return false;
  }
  view.segment = CompileSegment();
  const GLfloat fogColour[4] = {0.9f, 0.9f, 1.0f, 0.0f};
  glFogi(GL_FOG_MODE, GL_EXP);
  glFogf(GL_FOG_DENSITY, 0.6f);
  glFogfv(GL_FOG_COLOR, fogColour);
  glEnable(GL_FOG);
  return true;
}

void DrawFrame(GLuint segment, int32_t t) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glRotatef(static_cast<float>(t / 70.0), 0.0f, 0.0f, 1.0f);
  glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(static_cast<float>(-t / 400.0), 0.0f, 0.0f);
  const int32_t k = ((t - 400) / 400) / 4;
  for (int i = 1; i <= 5; ++i) {
    glPushMatrix();
    glTranslatef(static_cast<float>(4 * i + 4 * k), 0.0f, 0.0f);
    glCallList(segment);
    glPopMatrix();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool windows = argc == 3 && std::strcmp(argv[1], "--windows") == 0;
  const bool mipmaps = argc == 3 && std::strcmp(argv[1], "--mipmaps") == 0;
  if (argc != 2 && !mipmaps && !windows) {
    std::fprintf(stderr, "usage: %s [--mipmaps] <snapshot.bmp> | --windows WxH+X+Y=<snapshot.bmp>,...\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  const int screen = DefaultScreen(display);
  int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                      GLX_DEPTH_SIZE, 16,              None};
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (visual == nullptr) return 1;

  std::vector<View> views;
  if (windows) {
    std::string list = argv[2];
    for (size_t at = 0; at <= list.size();) {
      const size_t end = std::min(list.find(',', at), list.size());
      const std::string entry = list.substr(at, end - at);
      int w = 0, h = 0, x = 0, y = 0, used = 0;
      if (std::sscanf(entry.c_str(), "%dx%d+%d+%d=%n", &w, &h, &x, &y, &used) != 4 || used == 0) return 2;
      views.emplace_back();
      if (!OpenView(display, visual, x, y, w, h, entry.c_str() + used, false, views.back())) return 1;
      at = end + 1;
    }
  } else {
    views.emplace_back();
    if (!OpenView(display, visual, 0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen),
                  argv[argc - 1], mipmaps, views.back()))
      return 1;
  }

  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    const int32_t t = MillisecondsSince(start);
    for (const View& view : views) {
      if (views.size() > 1) glXMakeCurrent(display, view.window, view.context);
      DrawFrame(view.segment, t);
      glXSwapBuffers(display, view.window);
    }
  }
}
