// Sound files made by the interpreter's tests: 16-bit PCM with patterns that can be found again
// bit for bit in what reaches the output, a tone encoded as MP3 by libmp3lame, and a BIN/CUE
// image of a CD with audio and data tracks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellora::shell::testing {

// Interleaved 16-bit frames.
using Frames = std::vector<int16_t>;

// count frames whose left channel counts up from 1 and whose right channel is tag.
Frames RampFrames(size_t count, int16_t tag);

// A sine tone of the given frequency, the same on both channels of a stereo sound.
Frames ToneFrames(size_t count, double frequency, int rate, int channels);

// count stereo frames of full-scale noise: the bytes of a data track heard as sound.
Frames NoiseFrames(size_t count);

// Writes a sound file with libsndfile: a 16-bit PCM WAV file unless format says otherwise
// (libsndfile's SF_FORMAT_* values); the samples are scaled to full scale at 32768.
void WriteWave(const std::string& path, const Frames& frames, int rate, int channels, int format = 0);
// Writes samples as a 32-bit float WAV file as they stand, full scale at ±1.0.
void WriteFloatWave(const std::string& path, const std::vector<float>& samples, int rate, int channels);

// Encodes stereo frames as an MP3 file with a LAME tag (for gapless decoding), at 128 kbit/s
// or the most the rate allows.
void WriteMp3(const std::string& path, const Frames& frames, int rate = 44100);

// Writes folder/name.bin with the tracks one after another (each a whole number of 588-frame
// sectors) and folder/name.cue describing them; returns the CUE sheet's path. Tracks marked
// in dataTracks are data tracks (MODE1/2352), the others audio.
std::string WriteCdImage(const std::string& folder, const std::string& name,
                         const std::vector<Frames>& tracks, const std::vector<bool>& dataTracks = {});

}  // namespace vellora::shell::testing
