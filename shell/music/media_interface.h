// The seam between the music module and the platform's multimedia services: the media control
// interface (MCI) driven by command strings, its error texts, the asynchronous sound player and
// the count of wave output devices.
//
// Text crossing this seam is UTF-8, the shell's own encoding: command strings (with the file
// path inside them), reply texts and error texts. A backend converts at its own edge: the
// Windows one to and from the ANSI code page (932 on the target system) around winmm's narrow
// calls, the Linux one uses the UTF-8 path as it stands. The command words themselves are
// ASCII, so their bytes are the same on both sides.
#pragma once

#include <memory>

#include <cstdint>
#include <string>
#include <string_view>

namespace vellora::shell {

// Flags of the sound player, with the values the platform gives them.
inline constexpr uint32_t kSoundSync = 0x0000;
inline constexpr uint32_t kSoundAsync = 0x0001;
inline constexpr uint32_t kSoundNoDefault = 0x0002;
inline constexpr uint32_t kSoundLoop = 0x0008;
inline constexpr uint32_t kSoundFileName = 0x00020000;

class MediaInterface {
 public:
  virtual ~MediaInterface() = default;

  // Sends one MCI command string and returns its error code (0 on success). The platform gets a
  // reply buffer of replyLength characters (none when 0, for commands sent without reply); on
  // return, reply holds what was written there up to its first NUL, and is empty when nothing
  // was written. A reply that does not fit the buffer is an error of the platform's own.
  virtual int32_t SendCommand(std::string_view command, uint32_t replyLength,
                              std::string& reply) = 0;

  // Looks up the platform's text for an MCI error code, given a buffer of bufferLength
  // characters. False when the platform has no text for it; text is then left unspecified.
  virtual bool GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) = 0;

  // Plays a sound through the platform's sound player; no sound (nullptr) with flags 0 stops
  // the one that is playing. Returns the call's result (non-zero on success).
  virtual int32_t PlaySoundName(const std::string* sound, uint32_t flags) = 0;

  // The number of wave output devices.
  virtual int32_t WaveOutDeviceCount() = 0;
};

// The running system's media (defined by the backend that is linked in).
std::unique_ptr<MediaInterface> CreatePlatformMedia();

}  // namespace vellora::shell
