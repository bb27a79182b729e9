#include "audio/anti_alias_filter.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The inputs oldest first, the 51 held in the delay line and then this
// buffer's, so that input i is number 51 + i, split by number modulo F:
// number n sits at phase[n % F][n / F]. For one tap, consecutive outputs
// then read consecutive elements of one phase. Every output adds its
// products in tap order, so the result is that of filtering every sample.
template <int F>
void FilterAndDecimateBy(double* samples, int frames, const AntiAliasTaps& taps, double (&delay)[kAntiAliasTaps]) {
  constexpr int kPhaseLength = (kAntiAliasTaps + kMaxFrames + F - 1) / F;
  double phase[F][kPhaseLength];
  const int total = kAntiAliasTaps + frames;
  for (int n = 0; n < kAntiAliasTaps; ++n) phase[n % F][n / F] = delay[kAntiAliasTaps - 1 - n];
  for (int n = kAntiAliasTaps; n < total; ++n) phase[n % F][n / F] = samples[n - kAntiAliasTaps];

  // Output k sums h[j] * input number 51 + k * F - j over j = 0..50; where
  // each tap's inputs start for output 0.
  const double* first[kAntiAliasTaps];
  for (int j = 0; j < kAntiAliasTaps; ++j) {
    const int n = kAntiAliasTaps - j;
    first[j] = &phase[n % F][n / F];
  }
  const double* h = taps.data();
  const int outputs = (frames + F - 1) / F;
  int k = 0;
#if defined(__SSE2__)
  // Sixteen outputs side by side, two to a register: a vector product and
  // sum round as the scalar ones do.
  for (; k + 16 <= outputs; k += 16) {
    __m128d sum[8];
    for (__m128d& s : sum) s = _mm_setzero_pd();
    for (int j = 0; j < kAntiAliasTaps; ++j) {
      const double* x = first[j] + k;
      const __m128d c = _mm_set1_pd(h[j]);
      for (int r = 0; r < 8; ++r) sum[r] = _mm_add_pd(sum[r], _mm_mul_pd(c, _mm_loadu_pd(x + 2 * r)));
    }
    for (int r = 0; r < 8; ++r) _mm_storeu_pd(samples + k + 2 * r, sum[r]);
  }
#endif
  for (; k < outputs; ++k) {
    double s = 0.0;
    for (int j = 0; j < kAntiAliasTaps; ++j) s += h[j] * first[j][k];
    samples[k] = s;
  }
  for (int j = 0; j < kAntiAliasTaps; ++j) {
    const int n = total - 1 - j;
    delay[j] = phase[n % F][n / F];
  }
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
  if (frames <= 0) return;
  switch (factor) {
    case 1: FilterAndDecimateBy<1>(samples, frames, taps, delay); break;
    case 2: FilterAndDecimateBy<2>(samples, frames, taps, delay); break;
    case 3: FilterAndDecimateBy<3>(samples, frames, taps, delay); break;
    case 4: FilterAndDecimateBy<4>(samples, frames, taps, delay); break;
    default: break;
  }
}
