// What a listener would hear wrong in a recorded tone: how far it lies from the best-fitting
// sine (noise, distortion, a wrong pitch or level), and the clicks: steps from one sample to
// the next that no sine of that frequency and level can make.
#pragma once

#include <cstddef>

#include "test_media_files.h"

namespace vellora::shell::testing {

struct ToneFit {
  double frequency = 0;   // of the best-fitting sine, Hz
  double amplitude = 0;   // its peak
  double residualDb = 0;  // what is left after taking it away, against the sine, in dB
  int clicks = 0;         // samples where the signal's step changes more than the sine's can
};

// Fits a sine near expectedFrequency to the left channel of a recording at the given rate.
// The ends (a tenth of a second each) are left out: a sound starts and ends where it will.
ToneFit FitTone(const Frames& frames, int rate, double expectedFrequency);

}  // namespace vellora::shell::testing
