// The media interface on Linux: a media command interpreter of our own over libcdio (the CD
// drive), libmpg123 (MPEG audio files) and libsndfile (the sound player), all mixed into one
// SDL audio output that is opened when music first starts.
//
// It accepts the commands of the CD audio device "cdaudio" and of MPEG audio files opened
// under an alias, and answers anything else with an MCI error code. File names are the
// shell's UTF-8 paths, whose "\" separators become "/".
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "music/media_interface.h"
#include "music/platform/linux/audio_output.h"
#include "music/platform/linux/cd_drive.h"
#include "music/platform/linux/mci_command.h"
#include "music/platform/linux/mci_device.h"
#include "music/platform/linux/wave_player.h"

namespace vellora::shell {

class LinuxMedia final : public MediaInterface {
 public:
  // Makes the CD drive object that "open cdaudio" opens.
  using CdDriveMaker = std::function<std::shared_ptr<mci::CdDrive>()>;

  // cdSource names the CD drive (a device, or a disc image); empty is the default drive.
  // outputRate fixes the output device's rate, as on a device that takes only one; 0 lets it
  // follow the sound that plays.
  explicit LinuxMedia(std::string cdSource = {}, int outputRate = 0);
  explicit LinuxMedia(CdDriveMaker makeCdDrive, int outputRate = 0);
  ~LinuxMedia() override;

  int32_t SendCommand(std::string_view command, uint32_t replyLength,
                      std::string& reply) override;
  bool GetErrorText(int32_t code, uint32_t bufferLength, std::string& text) override;
  int32_t PlaySoundName(const std::string* sound, uint32_t flags) override;
  int32_t WaveOutDeviceCount() override;

 private:
  int32_t Open(const mci::Request& request);

  CdDriveMaker makeCdDrive_;
  mci::AudioOutput output_;  // outlives every device and the player, which play through it
  mci::WavePlayer player_;
  std::map<std::string, std::unique_ptr<mci::MciDevice>> devices_;  // by lower-cased name
};

}  // namespace vellora::shell
