#include "acars/acars_demodulator.h"

#include <cmath>

#include "platform/kaiser_window.h"

namespace {

constexpr double kPi = 3.14159265358979323846264338327950288;
constexpr double kSampleRate = 11025.0;

// The Hilbert transformer's odd taps c(1), c(3) .. c(25). They come from a
// table, not from a formula: the window that made them is not known, and a
// regenerated set does not decode.
constexpr double kHilbertOdd[13] = {0.634824084,  0.206868099,  0.118585992,   0.0790393318, 0.0559684517,
                                    0.0406163239, 0.0296358295, 0.0214702576,  0.0152888452, 0.0105955104,
                                    0.00706262686, 0.00445331369, 0.00364729617};

AcarsDemodConstants Compute() {
  AcarsDemodConstants c{};
  const double t = 1.0 / kSampleRate;
  c.PhaseStep = 2.0 * kPi * 1800.0 * t;
  const double f0 = 2400.0;
  const double bandwidth = 35.0;
  const double r = std::exp(-kPi * bandwidth * t);
  c.ResonatorC1 = 2.0 * r * std::cos(2.0 * kPi * f0 * t);
  c.ResonatorC2 = -std::exp(-2.0 * kPi * bandwidth * t);
  c.ResonatorGain = 1e-6 * std::sin(2.0 * kPi * f0 * t);
  c.KaiserBeta = KaiserBeta40dB();
  const double i0Beta = BesselI0(c.KaiserBeta);
  for (int k = -25; k <= 25; ++k) {
    const double ratio = k / 25.0;
    const double w = BesselI0(c.KaiserBeta * std::sqrt(1.0 - ratio * ratio)) / i0Beta;
    double band, low;
    if (k == 0) {
      band = 2.0 * (3100.0 - 500.0) * t;
      low = 2.0 * 1400.0 * t;
    } else {
      band = (std::sin(2.0 * kPi * 3100.0 * k * t) - std::sin(2.0 * kPi * 500.0 * k * t)) / (kPi * k);
      low = std::sin(2.0 * kPi * 1400.0 * k * t) / (kPi * k);
    }
    c.BandPassTaps[25 + k] = band * w;
    c.LowPassTaps[25 + k] = low * w;
  }
  c.HilbertTaps.fill(0.0);
  for (int n = 0; n < 13; ++n) {
    const int k = 2 * n + 1;
    c.HilbertTaps[25 + k] = kHilbertOdd[n];
    c.HilbertTaps[25 - k] = -kHilbertOdd[n];
  }
  return c;
}

}  // namespace

double AcarsPhase(double i, double q) {
  if (i == 0.0 && q == 0.0) return 0.0;
  return std::atan2(i, q);
}

const AcarsDemodConstants& AcarsDemodTables() {
  static const AcarsDemodConstants constants = Compute();
  return constants;
}
