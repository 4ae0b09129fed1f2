// The music operations the session drives, as the session relies on them.
#pragma once

namespace vellora::shell {

class SessionMusic {
 public:
  virtual ~SessionMusic() = default;
  virtual void OpenCdAudio() = 0;
  virtual void PollCdAudio() = 0;
  virtual bool CdPollActive() = 0;  // true while the drive's status queries succeed
  virtual void CloseCdAudio() = 0;
  virtual void PlayWaveFile() = 0;  // loops BgmFile asynchronously
  virtual void StopWave() = 0;
  virtual void PlayMp3File() = 0;   // opens BgmFile as MP3Play and plays it
  virtual void KeepMp3Playing() = 0;
  virtual void CloseMp3() = 0;
};

}  // namespace vellora::shell
