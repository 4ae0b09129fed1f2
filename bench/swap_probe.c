/* LD_PRELOAD probe for the renderer benchmark: watches glXSwapBuffers from outside a program.
 *
 * It records, on CLOCK_MONOTONIC, the moment its constructor runs (after exec and dynamic
 * linking, before main), the return of the first and of the latest buffer swap, and the number
 * of swaps, together with the GL_RENDERER string seen at the first swap. When the process ends,
 * normally or by SIGTERM, it writes these as key=value lines to the file named by
 * SWAP_PROBE_REPORT. The measured program needs no changes and sees no difference besides the
 * extra call layer around each swap.
 */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapBuffersFn)(Display*, GLXDrawable);
typedef const GLubyte* (*GetStringFn)(GLenum);

static SwapBuffersFn realSwapBuffers;
static char reportPath[4096];
static char glRenderer[256];
static int64_t constructorNs;
static _Atomic int64_t firstSwapNs;
static _Atomic int64_t lastSwapNs;
static _Atomic uint64_t swapCount;
static atomic_flag reportWritten = ATOMIC_FLAG_INIT;

static int64_t NowNs(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

/* Appends text to buffer at *used; async-signal-safe (no stdio). */
static void Append(char* buffer, size_t size, size_t* used, const char* text) {
  while (*text != '\0' && *used + 1 < size) buffer[(*used)++] = *text++;
  buffer[*used] = '\0';
}

static void AppendNumber(char* buffer, size_t size, size_t* used, const char* key, int64_t value) {
  char digits[24];
  int n = 0;
  uint64_t magnitude = value < 0 ? (uint64_t)(-(value + 1)) + 1 : (uint64_t)value;
  do {
    digits[n++] = (char)('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char text[26];
  int t = 0;
  if (value < 0) text[t++] = '-';
  while (n > 0) text[t++] = digits[--n];
  text[t++] = '\n';
  text[t] = '\0';
  Append(buffer, size, used, key);
  Append(buffer, size, used, "=");
  Append(buffer, size, used, text);
}

/* Writes the report once; safe to call from a signal handler. */
static void WriteReport(void) {
  if (reportPath[0] == '\0' || atomic_flag_test_and_set(&reportWritten)) return;
  char buffer[1024];
  size_t used = 0;
  buffer[0] = '\0';
  AppendNumber(buffer, sizeof buffer, &used, "constructor_ns", constructorNs);
  AppendNumber(buffer, sizeof buffer, &used, "first_swap_ns", atomic_load(&firstSwapNs));
  AppendNumber(buffer, sizeof buffer, &used, "last_swap_ns", atomic_load(&lastSwapNs));
  AppendNumber(buffer, sizeof buffer, &used, "swaps", (int64_t)atomic_load(&swapCount));
  Append(buffer, sizeof buffer, &used, "gl_renderer=");
  Append(buffer, sizeof buffer, &used, glRenderer);
  Append(buffer, sizeof buffer, &used, "\n");
  const int fd = open(reportPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  for (size_t done = 0; done < used;) {
    const ssize_t n = write(fd, buffer + done, used - done);
    if (n <= 0) break;
    done += (size_t)n;
  }
  close(fd);
}

/* Reports, then ends the process the way SIGTERM would have without the probe. */
static void OnTerminate(int signal) {
  WriteReport();
  struct sigaction standard;
  memset(&standard, 0, sizeof standard);
  standard.sa_handler = SIG_DFL;
  sigaction(signal, &standard, NULL);
  raise(signal);
}

__attribute__((constructor)) static void StartProbe(void) {
  constructorNs = NowNs();
  const char* path = getenv("SWAP_PROBE_REPORT");
  if (path == NULL || strlen(path) >= sizeof reportPath) return;
  strcpy(reportPath, path);
  struct sigaction terminate;
  memset(&terminate, 0, sizeof terminate);
  terminate.sa_handler = OnTerminate;
  sigfillset(&terminate.sa_mask);
  sigaction(SIGTERM, &terminate, NULL);
}

__attribute__((destructor)) static void StopProbe(void) { WriteReport(); }

/* dlsym hands back an object pointer; copying its bits is the portable way to a function pointer. */
static void* LookUp(void* handle, const char* name, void* function) {
  void* symbol = dlsym(handle, name);
  memcpy(function, &symbol, sizeof symbol);
  return symbol;
}

static void RememberGlRenderer(void) {
  GetStringFn getString = NULL;
  LookUp(RTLD_DEFAULT, "glGetString", &getString);
  const GLubyte* name = getString != NULL ? getString(GL_RENDERER) : NULL;
  if (name == NULL) return;
  size_t n = 0;
  for (; name[n] != '\0' && name[n] != '\n' && n + 1 < sizeof glRenderer; ++n) glRenderer[n] = (char)name[n];
  glRenderer[n] = '\0';
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (realSwapBuffers == NULL) {
    if (LookUp(RTLD_NEXT, "glXSwapBuffers", &realSwapBuffers) == NULL) abort();
    RememberGlRenderer();
  }
  realSwapBuffers(display, drawable);
  const int64_t now = NowNs();
  if (atomic_load(&swapCount) == 0) atomic_store(&firstSwapNs, now);
  atomic_store(&lastSwapNs, now);
  atomic_fetch_add(&swapCount, 1);
}
