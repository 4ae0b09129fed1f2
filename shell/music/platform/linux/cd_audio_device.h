// The CD audio device "cdaudio": the disc's tracks, play between two positions, stop, pause,
// and the status replies, in the msf (the default), tmsf or milliseconds time format. Only
// audio tracks are played: a play skips data tracks, and one that would start in a data track,
// or on a disc without audio, fails as a drive refuses it. Track numbers and positions are
// those of the whole disc.
#pragma once

#include <memory>
#include <optional>

#include "music/platform/linux/audio_output.h"
#include "music/platform/linux/cd_audio_source.h"
#include "music/platform/linux/cd_drive.h"
#include "music/platform/linux/mci_device.h"

namespace vellora::shell::mci {

class CdAudioDevice final : public MciDevice {
 public:
  CdAudioDevice(std::shared_ptr<CdDrive> drive, AudioOutput& output);
  ~CdAudioDevice() override;

  int32_t Execute(const Request& request, std::string& reply) override;

 private:
  int32_t Play(const Request& request);
  int32_t Status(const Request& request, std::string& reply);
  // The sector the drive stands at now; follows the playing voice.
  int32_t CurrentSector();
  // Ends the voice, keeping the position it reached.
  void StopVoice();

  std::shared_ptr<CdDrive> drive_;
  AudioOutput& output_;
  TimeFormat format_ = TimeFormat::Msf;
  VoiceId voice_ = 0;
  std::shared_ptr<CdAudioSource> sound_;  // what the voice plays, which knows the sectors reached
  std::optional<int32_t> position_;       // where the drive stands when no voice runs
};

}  // namespace vellora::shell::mci
