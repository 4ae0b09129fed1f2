// Drives the music module over winmm, as a session does, and checks what it can see:
//  - the WAV player: a looping WAV written beside the program is started and stopped, and the
//    output file named by VELLORA_AUDIO_OUTPUT stops growing once it is stopped (nothing is
//    played without a wave output device);
//  - a CD poll with no drive fails cleanly and switches the polling off;
//  - an MP3 file that does not exist is never opened, and keeping it playing fails silently,
//    leaving ApiResult and the mode buffer alone.
// Prints one line per check ("ok: ..." or "FAIL: ...") and exits 1 when a check failed.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "music/platform/win32/win32_media.h"
#include "music/vellora_bgm.h"
#include "settings/settings_variables.h"

namespace {

using namespace vellora::shell;

int failures = 0;

void Check(bool condition, const std::string& what) {
  std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!condition) ++failures;
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A quarter of a second of a 440 Hz tone, 16-bit stereo at 44.1 kHz.
bool WriteToneWave(const std::string& path) {
  const uint32_t frames = 44100 / 4;
  std::string samples;
  for (uint32_t frame = 0; frame < frames; ++frame) {
    const auto value = static_cast<int16_t>(8000 * std::sin(frame * 2 * 3.14159265 * 440 / 44100));
    PutLittleEndian(samples, static_cast<uint16_t>(value), 2);
    PutLittleEndian(samples, static_cast<uint16_t>(value), 2);
  }
  std::string file = "RIFF";
  PutLittleEndian(file, 36 + static_cast<uint32_t>(samples.size()), 4);
  file += "WAVEfmt ";
  PutLittleEndian(file, 16, 4);
  PutLittleEndian(file, 1, 2);          // PCM
  PutLittleEndian(file, 2, 2);          // channels
  PutLittleEndian(file, 44100, 4);      // rate
  PutLittleEndian(file, 44100 * 4, 4);  // bytes a second
  PutLittleEndian(file, 4, 2);          // bytes a frame
  PutLittleEndian(file, 16, 2);         // bits
  file += "data";
  PutLittleEndian(file, static_cast<uint32_t>(samples.size()), 4);
  file += samples;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

// Size of the file the audio output writes to, or -1 when there is none.
long long OutputSize() {
  const char* path = std::getenv("VELLORA_AUDIO_OUTPUT");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace

int main() {
  Win32Media media;
  VelloraBgm bgm(media);

  // WAV: loop it for a moment, then stop it.
  BgmFile = ProgramFolder() + "\\loop.wav";
  Check(WriteToneWave(BgmFile), "wrote " + BgmFile);
  const int32_t devices = media.WaveOutDeviceCount();
  std::printf("wave output devices: %d\n", static_cast<int>(devices));
  ApiResult = -12345;
  bgm.PlayWaveFile();
  if (devices > 0) {
    Check(ApiResult == 1, "PlayWaveFile started the loop (ApiResult " + std::to_string(ApiResult) + ")");
  } else {
    Check(ApiResult == -12345, "PlayWaveFile did nothing without a wave device");
  }
  Sleep(600);  // the quarter-second sound loops meanwhile
  bgm.StopWave();
  if (devices > 0) {
    Sleep(300);  // what the output had taken in before the stop is written out
    const long long stopped = OutputSize();
    Sleep(500);
    Check(stopped > 0 && OutputSize() == stopped,
          "StopWave stopped the loop: the output stays at " + std::to_string(stopped) + " bytes");
  }

  // CD with no drive: open and set the time format fail, the first poll fails and ends polling.
  BgmRepeatTrack = 0;
  bgm.OpenCdAudio();
  Check(ApiResult != 0, "OpenCdAudio failed without a drive (ApiResult " + std::to_string(ApiResult) + ")");
  bgm.PollCdAudio();
  Check(bgm.CdPollActive() == 0, "the first CD poll switched the polling off");
  Check(bgm.MciQuery("status cdaudio current track").rfind("Error:", 0) == 0,
        "the current-track query answers Error: (" + bgm.MciQuery("status cdaudio current track") + ")");

  // An MP3 that does not exist: the open fails, so no device is left under the alias; the
  // keep-alive's commands fail silently, its failed mode query keeps the buffer as it was, and
  // neither call writes ApiResult.
  BgmFile = ProgramFolder() + "\\missing.mp3";
  ApiResult = -12345;
  bgm.PlayMp3File();
  bgm.KeepMp3Playing();
  Check(ApiResult == -12345, "PlayMp3File and KeepMp3Playing leave ApiResult alone");
  Check(bgm.Mp3ModeBuffer() == std::string(kMp3ModeBufferLength, '\0'), "the failed mode query kept the mode buffer");
  Check(bgm.MciQuery("status MP3Play mode").rfind("Error:", 0) == 0, "nothing is open under MP3Play");
  bgm.CloseMp3();

  std::printf("%s\n", failures == 0 ? "music smoke passed" : "music smoke failed");
  return failures == 0 ? 0 : 1;
}
