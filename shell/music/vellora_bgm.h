// The shell's music module: plays the background music chosen in the settings (BgmMode,
// BgmRepeatTrack, BgmFile) during a screensaver session. A music CD is driven through the MCI
// device "cdaudio", an MP3 file through an MPEG media device under the alias "MP3Play", and a
// WAV file through the sound player, looping. The module has no window and no timer: the
// session starts and stops the music and calls the two polls from its own timers. Every
// failure is silent; nothing is ever shown.
//
// One instance serves the whole process, on the user-interface thread; its members are the
// module's state. Results of platform calls go to the shared ApiResult where noted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "music/media_interface.h"

namespace vellora::shell {

// Result texts of SendMciCommand that are not replies of the platform.
inline constexpr std::string_view kMciEmptyCommandText = "コマンド文字列が指定されていません";
inline constexpr std::string_view kMciNoErrorText = "Error (文字列が取れません)";

// Code SendMciCommand returns for an empty command, which is never sent.
inline constexpr int32_t kMciEmptyCommandCode = -1;

// Sizes of the module's reply buffers, in characters, as handed to the platform.
inline constexpr uint32_t kCdModeBufferLength = 255;
inline constexpr uint32_t kMciReplyBufferLength = 512;
inline constexpr uint32_t kMciErrorBufferLength = 256;
inline constexpr uint32_t kMp3ModeBufferLength = 30;

class VelloraBgm {
 public:
  explicit VelloraBgm(MediaInterface& media);

  // Music CD: open the drive, poll it every 200 ms, stop and close it.
  void OpenCdAudio();
  void PollCdAudio();
  void CloseCdAudio();

  // MP3 file: open BgmFile as "MP3Play" and play it, keep it playing every second, stop it.
  void PlayMp3File();
  bool IsMp3Playing();
  void KeepMp3Playing();
  void CloseMp3();

  // WAV file: play BgmFile looping until stopped.
  void PlayWaveFile();
  void StopWave();

  // Sends a command with the 512-character reply buffer. Returns the platform's code (0 on
  // success) and puts the reply, the platform's error text, or a fixed text into resultText.
  int32_t SendMciCommand(std::string_view command, std::string& resultText);
  // The reply of a query, or "Error:" and the code when it fails.
  std::string MciQuery(std::string_view command);
  // Sends "play <device>" with the given start and end positions (either may be empty).
  int32_t MciPlay(std::string_view device, std::string_view from, std::string_view to);

  // True (-1) while the CD polls succeed; the session copies it into its poll timer after
  // each poll, which stops the polling for good after the first failure.
  int16_t CdPollActive() const { return cdPollActive_; }

  // The module's other state, for inspection.
  const std::string& MciReplyText() const { return mciReplyText_; }
  const std::string& CdModeBuffer() const { return cdModeBuffer_; }
  const std::string& Mp3ModeBuffer() const { return mp3ModeBuffer_; }

 private:
  bool PollCdAudioSteps();
  int32_t SendWithoutReply(std::string_view command);

  MediaInterface& media_;
  int16_t cdPollActive_ = 0;
  std::string mciReplyText_;
  std::string cdModeBuffer_;                                // the last CD mode reply
  std::string mp3ModeBuffer_ = std::string(kMp3ModeBufferLength, '\0');  // always 30 characters
};

}  // namespace vellora::shell
