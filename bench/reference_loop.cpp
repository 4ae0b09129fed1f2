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
// Usage: vellora_bench_reference_loop [--mipmaps] <snapshot.bmp>
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

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

}  // namespace

int main(int argc, char** argv) {
  const bool mipmaps = argc == 3 && std::strcmp(argv[1], "--mipmaps") == 0;
  if (argc != 2 && !mipmaps) {
    std::fprintf(stderr, "usage: %s [--mipmaps] <snapshot.bmp>\n", argv[0]);
    return 2;
  }
  const char* snapshot = argv[argc - 1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  const int screen = DefaultScreen(display);
  const int width = DisplayWidth(display, screen);
  const int height = DisplayHeight(display, screen);
  int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                      GLX_DEPTH_SIZE, 16,              None};
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (visual == nullptr) return 1;
  const Window root = RootWindow(display, screen);
  XSetWindowAttributes set{};
  set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  set.event_mask = StructureNotifyMask;
  // A background pixel as in any ordinary GLX window: with none, Xvfb takes about twice as long
  // over the first buffer swap, which would flatter the renderer's start-up figure.
  set.background_pixel = 0;
  set.border_pixel = 0;
  const Window window =
      XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0, visual->depth,
                    InputOutput, visual->visual, CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &set);
  GLXContext context = glXCreateContext(display, visual, nullptr, True);
  if (context == nullptr || !glXMakeCurrent(display, window, context)) return 1;
  XMapWindow(display, window);
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
    return 1;
  }
  const GLuint segment = CompileSegment();
  const GLfloat fogColour[4] = {0.9f, 0.9f, 1.0f, 0.0f};
  glFogi(GL_FOG_MODE, GL_EXP);
  glFogf(GL_FOG_DENSITY, 0.6f);
  glFogfv(GL_FOG_COLOR, fogColour);
  glEnable(GL_FOG);

  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    const int32_t t = MillisecondsSince(start);
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
    glXSwapBuffers(display, window);
  }
}
