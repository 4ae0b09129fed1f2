// The session's music for tests: each call is logged by name; whether the CD answers is set.
#pragma once

#include <string>
#include <vector>

#include "startup/session_music.h"

namespace vellora::shell::testing {

class RecordingMusic final : public SessionMusic {
 public:
  explicit RecordingMusic(std::vector<std::string>& log) : log_(log) {}
  void OpenCdAudio() override { log_.push_back("OpenCdAudio"); }
  void PollCdAudio() override { log_.push_back("PollCdAudio"); }
  bool CdPollActive() override { return cdAnswers; }
  void CloseCdAudio() override { log_.push_back("CloseCdAudio"); }
  void PlayWaveFile() override { log_.push_back("PlayWaveFile"); }
  void StopWave() override { log_.push_back("StopWave"); }
  void PlayMp3File() override { log_.push_back("PlayMp3File"); }
  void KeepMp3Playing() override { log_.push_back("KeepMp3Playing"); }
  void CloseMp3() override { log_.push_back("CloseMp3"); }
  bool cdAnswers = true;

 private:
  std::vector<std::string>& log_;
};

}  // namespace vellora::shell::testing
