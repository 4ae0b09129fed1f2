#include "music/platform/win32/win32_media.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "common/cp932_text.h"

namespace vellora::shell {
namespace {

// MCIERR_CANNOT_LOAD_DRIVER: what a command gets when winmm itself is missing.
constexpr int32_t kCannotLoadDriver = 266;

using MciSendStringFn = DWORD(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
using MciGetErrorStringFn = BOOL(WINAPI*)(DWORD, LPSTR, UINT);
using PlaySoundFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
using WaveOutGetNumDevsFn = UINT(WINAPI*)();

struct Winmm {
  MciSendStringFn sendString = nullptr;
  MciGetErrorStringFn getErrorString = nullptr;
  PlaySoundFn playSound = nullptr;
  WaveOutGetNumDevsFn waveOutGetNumDevs = nullptr;
};

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loaded once, at the first call; the library stays loaded for the process.
const Winmm& Library() {
  static const Winmm winmm = [] {
    const HMODULE module = LoadLibraryA("winmm.dll");
    Winmm bound;
    bound.sendString = Bind<MciSendStringFn>(module, "mciSendStringA");
    bound.getErrorString = Bind<MciGetErrorStringFn>(module, "mciGetErrorStringA");
    bound.playSound = Bind<PlaySoundFn>(module, "PlaySoundA");
    bound.waveOutGetNumDevs = Bind<WaveOutGetNumDevsFn>(module, "waveOutGetNumDevs");
    return bound;
  }();
  return winmm;
}

// The text in a buffer up to its first NUL, as UTF-8.
std::string BufferText(const std::vector<char>& buffer) {
  size_t length = 0;
  while (length < buffer.size() && buffer[length] != '\0') ++length;
  return Cp932ToUtf8(std::string_view(buffer.data(), length));
}

}  // namespace

int32_t Win32Media::SendCommand(std::string_view command, uint32_t replyLength,
                                std::string& reply) {
  reply.clear();
  const Winmm& winmm = Library();
  if (winmm.sendString == nullptr) return kCannotLoadDriver;
  const std::string narrow = Utf8ToCp932(command);
  std::vector<char> buffer(replyLength + 1, '\0');  // one more, so the text always ends
  const DWORD code = winmm.sendString(narrow.c_str(), replyLength > 0 ? buffer.data() : nullptr,
                                      replyLength, nullptr);
  if (replyLength > 0) reply = BufferText(buffer);
  return static_cast<int32_t>(code);
}

bool Win32Media::GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) {
  const Winmm& winmm = Library();
  if (winmm.getErrorString == nullptr || bufferLength == 0) return false;
  std::vector<char> buffer(bufferLength + 1, '\0');
  if (!winmm.getErrorString(static_cast<DWORD>(code), buffer.data(), bufferLength)) return false;
  text = BufferText(buffer);
  return true;
}

int32_t Win32Media::PlaySoundName(const std::string* sound, uint32_t flags) {
  const Winmm& winmm = Library();
  if (winmm.playSound == nullptr) return 0;
  if (sound == nullptr) return winmm.playSound(nullptr, nullptr, flags);
  const std::string narrow = Utf8ToCp932(*sound);
  return winmm.playSound(narrow.c_str(), nullptr, flags);
}

int32_t Win32Media::WaveOutDeviceCount() {
  const Winmm& winmm = Library();
  if (winmm.waveOutGetNumDevs == nullptr) return 0;
  return static_cast<int32_t>(winmm.waveOutGetNumDevs());
}

std::unique_ptr<MediaInterface> CreatePlatformMedia() { return std::make_unique<Win32Media>(); }

}  // namespace vellora::shell
