#include "tone_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vellora::shell::testing {
namespace {

struct Fit {
  double error = 0;  // sum of squares left
  double power = 0;  // sum of squares of the sine
  double amplitude = 0;
};

// Least squares of a sine and cosine at one frequency, and a constant.
Fit FitAt(const std::vector<double>& x, double frequency, int rate) {
  double s[3][4] = {};
  const double step = 2 * M_PI * frequency / rate;
  for (size_t n = 0; n < x.size(); ++n) {
    const double v[3] = {std::sin(step * static_cast<double>(n)), std::cos(step * static_cast<double>(n)), 1};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) s[i][j] += v[i] * v[j];
      s[i][3] += v[i] * x[n];
    }
  }
  for (int i = 0; i < 3; ++i) {  // Gauss-Jordan; the matrix is well conditioned over many periods
    for (int k = 0; k < 3; ++k) {
      if (k == i) continue;
      const double m = s[k][i] / s[i][i];
      for (int j = 0; j < 4; ++j) s[k][j] -= m * s[i][j];
    }
  }
  const double a = s[0][3] / s[0][0], b = s[1][3] / s[1][1], c = s[2][3] / s[2][2];
  Fit fit;
  fit.amplitude = std::hypot(a, b);
  for (size_t n = 0; n < x.size(); ++n) {
    const double y = a * std::sin(step * static_cast<double>(n)) + b * std::cos(step * static_cast<double>(n));
    fit.error += (x[n] - y - c) * (x[n] - y - c);
    fit.power += y * y;
  }
  return fit;
}

}  // namespace

ToneFit FitTone(const Frames& frames, int rate, double expectedFrequency) {
  std::vector<double> x;
  const size_t margin = static_cast<size_t>(rate) / 10;
  for (size_t i = 2 * margin; i + 2 * margin < frames.size(); i += 2) x.push_back(frames[i]);
  ToneFit result;
  if (x.size() < 16) return result;

  // The frequency: a coarse search over ±1 %, then halving steps around the best.
  double best = expectedFrequency;
  Fit bestFit = FitAt(x, best, rate);
  for (double offset = -0.01; offset <= 0.01; offset += 0.0005) {
    const Fit fit = FitAt(x, expectedFrequency * (1 + offset), rate);
    if (fit.error < bestFit.error) {
      bestFit = fit;
      best = expectedFrequency * (1 + offset);
    }
  }
  for (double step = 0.00025 * expectedFrequency; step > 1e-7 * expectedFrequency; step /= 2) {
    for (const double frequency : {best - step, best + step}) {
      const Fit fit = FitAt(x, frequency, rate);
      if (fit.error < bestFit.error) {
        bestFit = fit;
        best = frequency;
      }
    }
  }
  result.frequency = best;
  result.amplitude = bestFit.amplitude;
  result.residualDb = 10 * std::log10(std::max(bestFit.error, 1e-9) / bestFit.power);

  // A sine's step changes by at most A * 4 sin²(πf/r) from one sample to the next; rounding to
  // whole samples adds up to 2, and a quarter more allows for a coded sound's own noise.
  const double bend = 2 * std::sin(M_PI * best / rate);
  const double limit = 1.25 * bestFit.amplitude * bend * bend + 2 + 0.002 * bestFit.amplitude;
  for (size_t n = 1; n + 1 < x.size(); ++n) {
    if (std::abs(x[n + 1] - 2 * x[n] + x[n - 1]) > limit) ++result.clicks;
  }
  return result;
}

}  // namespace vellora::shell::testing
