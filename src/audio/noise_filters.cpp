#include "audio/noise_filters.h"

#include <algorithm>
#include <cmath>

#include "audio/audio_state.h"

namespace {

constexpr int kBlock = 512;
constexpr double kInputLimit = 10000.0;

constexpr std::array<double, 51> Mirrored(const std::array<double, 26>& half) {
  std::array<double, 51> t{};
  for (int k = 0; k < 26; ++k) {
    t[k] = half[k];
    t[50 - k] = half[k];
  }
  return t;
}

// One sample of an LMS predictor. The input is clipped in place first; the
// weights learn from this sample's error, made with the old weights.
// Weights that blow up are cleared, so that nothing downstream ever sees a
// value that is not finite.
template <int Taps>
double LmsStep(LmsFilterState<Taps>& s, double& x, int feedFrom, double mu, bool outputPrediction) {
  if (std::isnan(x)) x = 0.0;
  x = std::clamp(x, -kInputLimit, kInputLimit);
  std::copy_backward(s.d, s.d + 9, s.d + 10);
  s.d[0] = x;
  std::copy_backward(s.u, s.u + Taps - 1, s.u + Taps);
  s.u[0] = s.d[feedFrom];
  double y = 0.0;
  for (int k = 0; k < Taps; ++k) y += s.w[k] * s.u[k];
  const double e = x - y;
  bool finite = std::isfinite(y) && std::isfinite(e);
  for (int k = 0; k < Taps; ++k) {
    s.w[k] += s.u[k] * mu * e;
    finite = finite && std::isfinite(s.w[k]);
  }
  if (!finite) {
    std::fill(s.w, s.w + Taps, 0.0);
    return 0.0;
  }
  return outputPrediction ? y : e;
}

template <int Taps>
void RunLms(LmsFilterState<Taps>& s, double* samples, int feedFrom, double mu, bool outputPrediction) {
  for (int i = 0; i < kBlock; ++i) samples[i] = LmsStep(s, samples[i], feedFrom, mu, outputPrediction);
}

bool ValidChannel(int channel) { return channel == 0 || channel == 1; }

}  // namespace

const std::array<double, 51> kBandPassTaps = Mirrored({
    -0.00101280705, 0.000202084129, 0.00346819518, -0.000349309622,
    -0.00515853086, 0.000371558646, 0.00298322955, -0.00882993445,
    -0.0123860041, 0.000377514425, -0.00431466269, -0.0260350224,
    -0.0194742494, 9.4368224e-05, -0.0226750678, -0.0496765801,
    -0.0188478937, -0.000421007101, -0.056999534, -0.0730105356,
    0.00689580051, -0.000924560738, -0.138146811, -0.0875915609,
    0.269433097, 0.498866213,
});

void LmsFilter16(AudioState& audio, int channel) {
  if (!ValidChannel(channel)) return;
  RunLms(audio.LmsFilter16State[channel], audio.FilterBlock[channel], 9, 1e-9, false);
}

void LmsFilter33(AudioState& audio, int channel) {
  if (!ValidChannel(channel)) return;
  RunLms(audio.LmsFilter33State[channel], audio.FilterBlock[channel], 3, 1e-10, true);
}

void FirFilter51(AudioState& audio, int channel) {
  if (!ValidChannel(channel)) return;
  FirFilterState& s = audio.FirFilter51State[channel];
  double* samples = audio.FilterBlock[channel];
  for (int i = 0; i < kBlock; ++i) {
    std::copy_backward(s.z, s.z + 50, s.z + 51);
    s.z[0] = samples[i];
    double y = 0.0;
    for (int k = 0; k < 51; ++k) y += kBandPassTaps[k] * s.z[k];
    samples[i] = y;
  }
}
