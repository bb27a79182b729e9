#pragma once
// The VHF ACARS MSK demodulator: band-pass, analytic signal, phase
// discriminator, low-pass and a 2400 Hz clock resonator that decides one bit
// per bit period. Plain samples in, bits out; no widget, no form.
#include <array>
#include <cstdint>

// Filter taps and resonator coefficients at 11025 Hz, computed once.
struct AcarsDemodConstants {
  static constexpr int kTaps = 51;
  double PhaseStep;      // phase advance per sample of an 1800 Hz tone
  double ResonatorC1;
  double ResonatorC2;
  double ResonatorGain;
  double KaiserBeta;
  std::array<double, kTaps> BandPassTaps;
  std::array<double, kTaps> LowPassTaps;
  std::array<double, kTaps> HilbertTaps;
};

const AcarsDemodConstants& AcarsDemodTables();

// The instantaneous phase of the analytic sample (I first). Both parts
// exactly zero give 0: atan2 of two zeros may answer ±π.
double AcarsPhase(double i, double q);

// One channel's demodulator. The three delay lines are stored twice over
// (a sample goes in at head and head + 51) so that the 51 newest samples
// are always contiguous, newest first, without shifting.
struct AcarsDemodState {
  static constexpr int kTaps = AcarsDemodConstants::kTaps;
  double BandPassLine[2 * kTaps] = {};
  double HilbertLine[2 * kTaps] = {};
  double LowPassLine[2 * kTaps] = {};
  int Head = 0;  // index of the newest sample in each line
  double LastPhase = 0.0;
  double ResonatorY1 = 0.0;
  double ResonatorY2 = 0.0;
  int ResonatorSign = 0;
  int DiffState = 0;

  // Element j of a line as the filters see it: 0 is the newest sample.
  double BandPass(int j) const { return BandPassLine[Head + j]; }
  double Hilbert(int j) const { return HilbertLine[Head + j]; }
  double LowPass(int j) const { return LowPassLine[Head + j]; }
};

// Demodulates count samples in place: each becomes its phase. Every bit
// decided is handed to onBit(bit) at once, so that a sync found by the
// framer can reset DiffState before the next bit.
template <typename OnBit>
void DemodulateAcarsSamples(AcarsDemodState& s, double* samples, int count, OnBit&& onBit);

// ---- implementation ----

namespace acars_detail {

constexpr int kTaps = AcarsDemodConstants::kTaps;

inline void Push(double* line, int head, double x) {
  line[head] = x;
  line[head + kTaps] = x;
}

// Symmetric 51-tap filter over the line, newest first.
inline double SymmetricFir(const std::array<double, kTaps>& h, const double* line) {
  double sum = h[25] * line[25];
  for (int k = 1; k <= 25; ++k) sum += h[25 + k] * (line[25 + k] + line[25 - k]);
  return sum;
}

// The Hilbert taps are zero at even offsets and odd about the centre.
inline double HilbertFir(const std::array<double, kTaps>& h, const double* line) {
  double sum = 0.0;
  for (int k = 1; k <= 25; k += 2) sum += h[25 + k] * (line[25 + k] - line[25 - k]);
  return sum;
}

}  // namespace acars_detail

template <typename OnBit>
void DemodulateAcarsSamples(AcarsDemodState& s, double* samples, int count, OnBit&& onBit) {
  using namespace acars_detail;
  static constexpr double kTwoPi = 6.283185307179586476925286766559;
  const AcarsDemodConstants& c = AcarsDemodTables();
  double previous = s.LastPhase;
  for (int i = 0; i < count; ++i) {
    s.Head = s.Head == 0 ? kTaps - 1 : s.Head - 1;
    const int h = s.Head;
    Push(s.BandPassLine, h, samples[i]);
    const double band = SymmetricFir(c.BandPassTaps, s.BandPassLine + h);
    Push(s.HilbertLine, h, band);
    const double q = HilbertFir(c.HilbertTaps, s.HilbertLine + h);
    const double phase = AcarsPhase(s.HilbertLine[h + 25], q);
    samples[i] = phase;
    double d = previous - phase;
    if (d < 0.0) d += kTwoPi;
    d -= c.PhaseStep;
    previous = phase;
    Push(s.LowPassLine, h, d);
    const double l = SymmetricFir(c.LowPassTaps, s.LowPassLine + h);
    const double y = c.ResonatorGain * (l < 0.0 ? -l : l) + c.ResonatorC1 * s.ResonatorY1 + c.ResonatorC2 * s.ResonatorY2;
    s.ResonatorY2 = s.ResonatorY1;
    s.ResonatorY1 = y;
    const int sign = y >= 0.0 ? 10 : -10;
    if (sign > s.ResonatorSign) {
      if (l < 0.0) s.DiffState ^= 1;
      s.ResonatorSign = sign;
      onBit(s.DiffState == 0 ? 1 : 0);
    } else {
      s.ResonatorSign = sign;
    }
  }
  if (count > 0) s.LastPhase = previous;
}
