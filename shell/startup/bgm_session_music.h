// The session's music operations carried out by the music module.
#pragma once

#include "music/vellora_bgm.h"
#include "startup/session_music.h"

namespace vellora::shell {

class BgmSessionMusic final : public SessionMusic {
 public:
  explicit BgmSessionMusic(VelloraBgm& bgm) : bgm_(bgm) {}
  void OpenCdAudio() override { bgm_.OpenCdAudio(); }
  void PollCdAudio() override { bgm_.PollCdAudio(); }
  bool CdPollActive() override { return bgm_.CdPollActive() != 0; }
  void CloseCdAudio() override { bgm_.CloseCdAudio(); }
  void PlayWaveFile() override { bgm_.PlayWaveFile(); }
  void StopWave() override { bgm_.StopWave(); }
  void PlayMp3File() override { bgm_.PlayMp3File(); }
  void KeepMp3Playing() override { bgm_.KeepMp3Playing(); }
  void CloseMp3() override { bgm_.CloseMp3(); }

 private:
  VelloraBgm& bgm_;
};

}  // namespace vellora::shell
