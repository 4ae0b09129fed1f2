#include "test_media_files.h"

#include <lame/lame.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <type_traits>
#include <stdexcept>

namespace vellora::shell::testing {

Frames RampFrames(size_t count, int16_t tag) {
  Frames frames;
  for (size_t i = 0; i < count; ++i) {
    frames.push_back(static_cast<int16_t>(i % 32767 + 1));
    frames.push_back(tag);
  }
  return frames;
}

Frames ToneFrames(size_t count, double frequency, int rate, int channels) {
  Frames frames;
  for (size_t i = 0; i < count; ++i) {
    const auto value = static_cast<int16_t>(
        std::lround(10000 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate)));
    for (int channel = 0; channel < channels; ++channel) frames.push_back(value);
  }
  return frames;
}

Frames NoiseFrames(size_t count) {
  std::mt19937 random(13);
  Frames frames(count * 2);
  for (int16_t& sample : frames) sample = static_cast<int16_t>(random());
  return frames;
}

namespace {

template <typename Sample>
void WriteSoundFile(const std::string& path, const std::vector<Sample>& samples, int rate, int channels,
                    int format) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  const sf_count_t count = static_cast<sf_count_t>(samples.size()) / channels;
  sf_count_t written = 0;
  if constexpr (std::is_same_v<Sample, float>) {
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    written = sf_writef_float(file, samples.data(), count);
  } else {
    written = sf_writef_short(file, samples.data(), count);
  }
  sf_close(file);
  if (written != count) throw std::runtime_error("short write to " + path);
}

}  // namespace

void WriteWave(const std::string& path, const Frames& frames, int rate, int channels, int format) {
  if (format == 0) format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  const int subtype = format & SF_FORMAT_SUBMASK;
  if (subtype != SF_FORMAT_FLOAT && subtype != SF_FORMAT_DOUBLE) {
    WriteSoundFile(path, frames, rate, channels, format);
    return;
  }
  // libsndfile stores 16-bit samples in a float file unscaled: scale them here.
  std::vector<float> samples;
  for (const int16_t sample : frames) samples.push_back(static_cast<float>(sample) / 32768.0f);
  WriteSoundFile(path, samples, rate, channels, format);
}

void WriteFloatWave(const std::string& path, const std::vector<float>& samples, int rate, int channels) {
  WriteSoundFile(path, samples, rate, channels, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
}

void WriteMp3(const std::string& path, const Frames& frames, int rate) {
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, 2);
  lame_set_brate(lame, rate >= 32000 ? 128 : rate >= 16000 ? 96 : 64);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) throw std::runtime_error("lame_init_params failed");
  const int frameCount = static_cast<int>(frames.size() / 2);
  std::vector<unsigned char> encoded(static_cast<size_t>(frameCount) * 5 / 4 + 7200 + 7200);
  int size = lame_encode_buffer_interleaved(lame, const_cast<short*>(frames.data()), frameCount,
                                            encoded.data(), static_cast<int>(encoded.size()));
  if (size < 0) throw std::runtime_error("lame_encode_buffer_interleaved failed");
  const int tail = lame_encode_flush(lame, encoded.data() + size,
                                     static_cast<int>(encoded.size()) - size);
  if (tail < 0) throw std::runtime_error("lame_encode_flush failed");
  size += tail;
  FILE* out = std::fopen(path.c_str(), "w+b");
  if (out == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(encoded.data(), 1, static_cast<size_t>(size), out);
  lame_mp3_tags_fid(lame, out);  // fills in the tag frame written first
  std::fclose(out);
  lame_close(lame);
}

std::string WriteCdImage(const std::string& folder, const std::string& name,
                         const std::vector<Frames>& tracks, const std::vector<bool>& dataTracks) {
  std::ofstream bin(folder + "/" + name + ".bin", std::ios::binary);
  std::ofstream cue(folder + "/" + name + ".cue");
  cue << "FILE \"" << name << ".bin\" BINARY\r\n";
  size_t sector = 0;
  for (size_t track = 0; track < tracks.size(); ++track) {
    const Frames& frames = tracks[track];
    if (frames.size() % (588 * 2) != 0) throw std::runtime_error("track of part of a sector");
    bin.write(reinterpret_cast<const char*>(frames.data()),
              static_cast<std::streamsize>(frames.size() * sizeof(int16_t)));
    char index[64];
    std::snprintf(index, sizeof index, "    INDEX 01 %02zu:%02zu:%02zu\r\n", sector / 75 / 60,
                  sector / 75 % 60, sector % 75);
    const bool data = track < dataTracks.size() && dataTracks[track];
    char number[48];
    std::snprintf(number, sizeof number, "  TRACK %02zu %s\r\n", track + 1, data ? "MODE1/2352" : "AUDIO");
    cue << number << index;
    sector += frames.size() / (588 * 2);
  }
  if (!bin || !cue) throw std::runtime_error("cannot write the CD image");
  return folder + "/" + name + ".cue";
}

}  // namespace vellora::shell::testing
