// vellora_bench_audio_check [--output-rate N]: what a sine tone sounds like after the music
// module has played it. For 440 Hz and 4 kHz tones at 8, 22.05, 32, 44.1, 48 and 96 kHz, as
// 16-bit WAV and as 128 kbit/s MP3 (64 kbit/s at 8 kHz; MP3 has no 96 kHz), the tone is written,
// played through the interpreter into SDL's disk output, read back, and a sine fitted to it:
// the residual is what is left beside the sine, against it, in dB; clicks are steps from one
// sample to the next that no sine of that frequency and level can make, per second. With
// --output-rate the device takes that rate alone, as a device that refuses others does.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "disk_audio.h"
#include "music/platform/linux/linux_media.h"
#include "test_media_files.h"
#include "tone_check.h"

using namespace vellora::shell;
using namespace std::chrono_literals;

namespace {

std::unique_ptr<LinuxMedia> MakeMedia(int outputRate) {
  return outputRate != 0 ? std::make_unique<LinuxMedia>(std::string(), outputRate) : std::make_unique<LinuxMedia>();
}

// Plays the file to its end, then closes the output; false when it did not play.
bool Play(const std::string& path, bool mp3, int outputRate) {
  std::unique_ptr<LinuxMedia> media = MakeMedia(outputRate);
  std::string reply;
  if (!mp3) return media->PlaySoundName(&path, kSoundSync) == 1 && (std::this_thread::sleep_for(150ms), true);
  if (media->SendCommand("open \"" + path + "\" type MPEGVideo alias tone", 0, reply) != 0) return false;
  if (media->SendCommand("play tone", 0, reply) != 0) return false;
  const auto end = std::chrono::steady_clock::now() + 10s;
  do {
    std::this_thread::sleep_for(20ms);
    media->SendCommand("status tone mode", 32, reply);
  } while (reply == "playing" && std::chrono::steady_clock::now() < end);
  std::this_thread::sleep_for(150ms);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int outputRate = 0;
  if (argc == 3 && std::string(argv[1]) == "--output-rate") outputRate = std::atoi(argv[2]);
  char pattern[] = "/tmp/vellora-audio-check-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  const std::string output = folder + "/output.raw";
  std::printf("| rate | file | tone | heard at | residual dB | clicks/s | pitch error %% |\n|---:|---|---:|---:|---:|---:|---:|\n");
  for (const int rate : {8000, 22050, 32000, 44100, 48000, 96000}) {
    for (const bool mp3 : {false, true}) {
      for (const double frequency : {440.0, 4000.0}) {
        if (mp3 && rate > 48000) continue;     // no such MP3
        if (frequency * 2 >= rate) continue;  // at or past half the rate: no such tone
        const size_t frames = static_cast<size_t>(rate) * 3 / 2;
        const std::string path = folder + (mp3 ? "/tone.mp3" : "/tone.wav");
        const testing::Frames tone = testing::ToneFrames(frames, frequency, rate, 2);
        if (mp3) {
          testing::WriteMp3(path, tone, rate);
        } else {
          testing::WriteWave(path, tone, rate, 2);
        }
        testing::UseDiskAudio(output);
        if (!Play(path, mp3, outputRate)) {
          std::printf("| %d | %s | %.0f | – | did not play | | |\n", rate, mp3 ? "MP3" : "WAV", frequency);
          continue;
        }
        const testing::Frames sound = testing::SoundPart(testing::ReadRawFrames(output));
        // The device's rate: the file's own, or another that stretched the sound.
        const double seconds = static_cast<double>(frames) / rate;
        const double guess = static_cast<double>(sound.size() / 2) / seconds;
        const int heard = outputRate != 0 ? outputRate
                          : std::abs(guess - rate) < std::abs(guess - 44100) ? rate : 44100;
        const testing::ToneFit fit = testing::FitTone(sound, heard, frequency);
        const double heardSeconds = static_cast<double>(sound.size() / 2) / heard - 0.4;
        std::printf("| %d | %s | %.0f | %d | %.1f | %.1f | %+.4f |\n", rate, mp3 ? "MP3" : "WAV", frequency, heard,
                    fit.residualDb, fit.clicks / heardSeconds, (fit.frequency / frequency - 1) * 100);
        std::fflush(stdout);
        std::filesystem::remove(output);
      }
    }
  }
  std::filesystem::remove_all(folder);
  return 0;
}
