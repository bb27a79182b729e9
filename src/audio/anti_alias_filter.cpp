#include "audio/anti_alias_filter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxFrames = 2048;

// The zeroth-order modified Bessel function, by its power series until
// the terms no longer change the sum.
double BesselI0(double x) {
  const double half = x / 2.0;
  double sum = 1.0;
  double term = 1.0;
  for (int m = 1;; ++m) {
    term *= (half / m) * (half / m);
    if (sum + term == sum) return sum;
    sum += term;
  }
}

// r = 11025 / capture rate. Not normalised: the taps sum to 0.99712 at
// 44100 Hz and 1.00138 at 22050 Hz, and the known answers rely on it.
AntiAliasTaps MakeTaps(double r) {
  const double beta = 0.5842 * std::pow(19.0, 0.4) + 0.07886 * 19.0;
  const double i0Beta = BesselI0(beta);
  AntiAliasTaps h{};
  for (int j = 0; j < kAntiAliasTaps; ++j) {
    const int k = j - 25;
    const double x = r * k;
    const double sinc = k == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
    const double ratio = k / 25.0;
    const double window = BesselI0(beta * std::sqrt(1.0 - ratio * ratio)) / i0Beta;
    h[static_cast<size_t>(j)] = r * sinc * window;
  }
  return h;
}

}  // namespace

const AntiAliasTaps& AntiAliasTapsFor(int sampleRate) {
  static const AntiAliasTaps taps44100 = MakeTaps(0.25);
  static const AntiAliasTaps taps22050 = MakeTaps(0.5);
  return sampleRate == 44100 ? taps44100 : taps22050;
}

void FilterAndDecimate(double* samples, int frames, int factor, const AntiAliasTaps& taps,
                       double (&delay)[kAntiAliasTaps]) {
  frames = std::min(frames, kMaxFrames);
  if (frames <= 0 || factor <= 0) return;
  // The inputs oldest first: the 51 held in the delay line, then this
  // buffer's, so that input i sits at line[51 + i].
  double line[kAntiAliasTaps + kMaxFrames];
  for (int m = 0; m < kAntiAliasTaps; ++m) line[m] = delay[kAntiAliasTaps - 1 - m];
  std::copy(samples, samples + frames, line + kAntiAliasTaps);

  const double* h = taps.data();
  const int outputs = (frames + factor - 1) / factor;
  int k = 0;
  // Four outputs at a time: independent sums keep the processor busy,
  // while each still adds its products in tap order.
  for (; k + 4 <= outputs; k += 4) {
    const double* x0 = line + kAntiAliasTaps + k * factor;
    const double* x1 = x0 + factor;
    const double* x2 = x1 + factor;
    const double* x3 = x2 + factor;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (int j = 0; j < kAntiAliasTaps; ++j) {
      s0 += h[j] * x0[-j];
      s1 += h[j] * x1[-j];
      s2 += h[j] * x2[-j];
      s3 += h[j] * x3[-j];
    }
    samples[k] = s0;
    samples[k + 1] = s1;
    samples[k + 2] = s2;
    samples[k + 3] = s3;
  }
  for (; k < outputs; ++k) {
    const double* x = line + kAntiAliasTaps + k * factor;
    double s = 0.0;
    for (int j = 0; j < kAntiAliasTaps; ++j) s += h[j] * x[-j];
    samples[k] = s;
  }
  for (int j = 0; j < kAntiAliasTaps; ++j) delay[j] = line[kAntiAliasTaps - 1 + frames - j];
}
