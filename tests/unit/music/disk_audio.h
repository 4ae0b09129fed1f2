// The audio output of the interpreter's tests: SDL's disk driver, which writes every frame the
// device plays to a file, at the pace of a real device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_media_files.h"

namespace vellora::shell::testing {

// Points SDL's audio at a file (before the output is opened).
void UseDiskAudio(const std::string& path);
// Points SDL's audio at a driver that does not exist, so no output can be opened.
void UseNoAudio();

// The frames in a raw output file (16-bit stereo, as the output writes them).
Frames ReadRawFrames(const std::string& path);

// Index of the first frame at or after from where pattern lies whole in frames; -1 if none.
long FindFrames(const Frames& frames, const Frames& pattern, size_t from = 0);
// How many times pattern occurs whole, one occurrence after another.
int CountFrames(const Frames& frames, const Frames& pattern);

// The frames from the first to the last that is not silent; empty when all is silence.
Frames SoundPart(const Frames& frames);

}  // namespace vellora::shell::testing
