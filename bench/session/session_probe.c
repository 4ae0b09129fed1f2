/* LD_PRELOAD probe for the session benchmark: marks, from outside a program, the calls that
 * bound each step of a screensaver start.
 *
 * Loaded into the shell it is inherited by the renderer the shell starts, so one probe sees
 * both processes. Each process appends one line per event to SESSION_PROBE_DIR/<pid>.events,
 * written at once with a single write() so that a process ending through _exit, a signal or a
 * kill loses nothing. Times are CLOCK_MONOTONIC nanoseconds, comparable across processes.
 *
 *   start        the probe's constructor: after exec and dynamic linking, before main
 *   xgetimage    XGetImage of a w x h area, entered and returned
 *   file         open/fopen/unlink/chmod/rename of a path whose name begins "Vellora.bmp"
 *   fsync        fsync and fdatasync, entered and returned
 *   spawn        g_spawn_async*, posix_spawn* and fork in the parent, entered and returned
 *   texture      glGenTextures entered: the start of the snapshot texture's build
 *   teximage     glTexImage2D returned (also the calls GLU makes inside gluBuild2DMipmaps),
 *                with the level and whether the target was the proxy
 *   swap         the return of the first glXSwapBuffers
 *
 * The wrappers pass every call through to the real function found with dlsym(RTLD_NEXT); the
 * cost of an event is one clock read and one small write, a few microseconds.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

static int eventFd = -1;
static pid_t ownerPid;
static atomic_int firstSwapSeen;

static int64_t NowNs(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

/* Appends one line "<kind> <ns> <detail>"; silent in a forked child that has not exec'd yet,
 * whose events would land in the parent's file. */
static void Record(const char* kind, int64_t ns, const char* detail) {
  if (eventFd < 0 || (pid_t)syscall(SYS_getpid) != ownerPid) return;
  char line[512];
  const int n = snprintf(line, sizeof line, "%s %lld %s\n", kind, (long long)ns, detail != NULL ? detail : "-");
  if (n <= 0) return;
  const size_t length = (size_t)n < sizeof line ? (size_t)n : sizeof line - 1;
  (void)syscall(SYS_write, eventFd, line, length);
}

static const char* BaseName(const char* path) {
  if (path == NULL) return "";
  const char* slash = strrchr(path, '/');
  return slash != NULL ? slash + 1 : path;
}

static int IsSnapshotPath(const char* path) { return strncmp(BaseName(path), "Vellora.bmp", 11) == 0; }

/* dlsym hands back an object pointer; copying its bits is the portable way to a function pointer. */
static void LookUp(const char* name, void* function) {
  void* symbol = dlsym(RTLD_NEXT, name);
  memcpy(function, &symbol, sizeof symbol);
}

/* The next definition of the function being wrapped, looked up on first use. */
#define REAL(name)                         \
  static __typeof__(&name) real_##name;    \
  if (real_##name == NULL) LookUp(#name, &real_##name)

__attribute__((constructor)) static void StartProbe(void) {
  const int64_t start = NowNs();
  const char* folder = getenv("SESSION_PROBE_DIR");
  if (folder == NULL) return;
  ownerPid = (pid_t)syscall(SYS_getpid);
  char path[4096];
  if (snprintf(path, sizeof path, "%s/%d.events", folder, (int)ownerPid) >= (int)sizeof path) return;
  eventFd = (int)syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  exe[n > 0 ? n : 0] = '\0';
  char detail[300];
  snprintf(detail, sizeof detail, "%.200s ppid=%d", BaseName(exe), (int)getppid());
  Record("start", start, detail);
}

/* ---- the screen copy ---- */

typedef struct _XDisplay Display;
typedef unsigned long Drawable;
typedef struct _XImage XImage;

XImage* XGetImage(Display* display, Drawable d, int x, int y, unsigned width, unsigned height,
                  unsigned long planes, int format) {
  REAL(XGetImage);
  char size[48];
  snprintf(size, sizeof size, "%ux%u", width, height);
  Record("xgetimage-enter", NowNs(), size);
  XImage* image = real_XGetImage(display, d, x, y, width, height, planes, format);
  Record("xgetimage-leave", NowNs(), size);
  return image;
}

/* ---- the snapshot file ---- */

static void FileEvent(const char* operation, const char* path) {
  if (!IsSnapshotPath(path)) return;
  char detail[300];
  snprintf(detail, sizeof detail, "%s %.200s", operation, BaseName(path));
  Record("file", NowNs(), detail);
}

static mode_t ModeArgument(int flags, va_list arguments) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(arguments, int) : 0;
}

int open(const char* path, int flags, ...) {
  REAL(open);
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  FileEvent("open", path);
  return real_open(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  REAL(open64);
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  FileEvent("open", path);
  return real_open64(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
  REAL(openat);
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  FileEvent("open", path);
  return real_openat(folder, path, flags, mode);
}

FILE* fopen(const char* path, const char* mode) {
  REAL(fopen);
  FileEvent("fopen", path);
  return real_fopen(path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  REAL(fopen64);
  FileEvent("fopen", path);
  return real_fopen64(path, mode);
}

int unlink(const char* path) {
  REAL(unlink);
  FileEvent("unlink", path);
  return real_unlink(path);
}

int chmod(const char* path, mode_t mode) {
  REAL(chmod);
  FileEvent("chmod", path);
  return real_chmod(path, mode);
}

int rename(const char* from, const char* to) {
  REAL(rename);
  FileEvent("rename-enter", to);
  const int result = real_rename(from, to);
  FileEvent("rename-leave", to);
  return result;
}

int fsync(int fd) {
  REAL(fsync);
  Record("fsync-enter", NowNs(), NULL);
  const int result = real_fsync(fd);
  Record("fsync-leave", NowNs(), NULL);
  return result;
}

int fdatasync(int fd) {
  REAL(fdatasync);
  Record("fsync-enter", NowNs(), "fdatasync");
  const int result = real_fdatasync(fd);
  Record("fsync-leave", NowNs(), "fdatasync");
  return result;
}

/* ---- starting the renderer ---- */

int g_spawn_async(const char* folder, char** argv, char** envp, int flags, void (*setup)(void*), void* data,
                  int* child, void** error) {
  REAL(g_spawn_async);
  Record("spawn-enter", NowNs(), argv != NULL ? BaseName(argv[0]) : "-");
  const int result = real_g_spawn_async(folder, argv, envp, flags, setup, data, child, error);
  Record("spawn-leave", NowNs(), "g_spawn_async");
  return result;
}

int g_spawn_async_with_pipes(const char* folder, char** argv, char** envp, int flags, void (*setup)(void*),
                             void* data, int* child, int* in, int* out, int* err, void** error) {
  REAL(g_spawn_async_with_pipes);
  Record("spawn-enter", NowNs(), argv != NULL ? BaseName(argv[0]) : "-");
  const int result = real_g_spawn_async_with_pipes(folder, argv, envp, flags, setup, data, child, in, out, err, error);
  Record("spawn-leave", NowNs(), "g_spawn_async_with_pipes");
  return result;
}

int posix_spawn(pid_t* child, const char* path, const posix_spawn_file_actions_t* actions,
                const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]) {
  REAL(posix_spawn);
  Record("spawn-enter", NowNs(), BaseName(path));
  const int result = real_posix_spawn(child, path, actions, attributes, argv, envp);
  Record("spawn-leave", NowNs(), "posix_spawn");
  return result;
}

int posix_spawnp(pid_t* child, const char* file, const posix_spawn_file_actions_t* actions,
                 const posix_spawnattr_t* attributes, char* const argv[], char* const envp[]) {
  REAL(posix_spawnp);
  Record("spawn-enter", NowNs(), BaseName(file));
  const int result = real_posix_spawnp(child, file, actions, attributes, argv, envp);
  Record("spawn-leave", NowNs(), "posix_spawnp");
  return result;
}

pid_t fork(void) {
  REAL(fork);
  Record("fork-enter", NowNs(), NULL);
  const pid_t child = real_fork();
  if (child != 0) Record("fork-leave", NowNs(), NULL);
  return child;
}

/* ---- the renderer's texture and first frame ---- */

void glGenTextures(int count, unsigned* names) {
  REAL(glGenTextures);
  Record("texture-enter", NowNs(), NULL);
  real_glGenTextures(count, names);
}

#define PROBE_GL_PROXY_TEXTURE_2D 0x8064

void glTexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border, unsigned format,
                  unsigned type, const void* pixels) {
  REAL(glTexImage2D);
  real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
  char detail[64];
  snprintf(detail, sizeof detail, "level=%d %dx%d%s", level, width, height,
           target == PROBE_GL_PROXY_TEXTURE_2D ? " proxy" : "");
  Record("teximage-leave", NowNs(), detail);
}

void glXSwapBuffers(Display* display, unsigned long drawable) {
  REAL(glXSwapBuffers);
  real_glXSwapBuffers(display, drawable);
  if (atomic_exchange(&firstSwapSeen, 1) == 0) Record("swap", NowNs(), "first");
}
