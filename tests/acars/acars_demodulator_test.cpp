// The demodulator's filters and phase rules against known answers.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "acars/acars_demodulator.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Gain(const std::array<double, 51>& taps, double hz) {
  std::complex<double> sum = 0.0;
  for (int j = 0; j < 51; ++j) sum += taps[j] * std::polar(1.0, -2.0 * kPi * hz * j / 11025.0);
  return std::abs(sum);
}

TEST(AcarsDemodulator, FilterGainsAtSpotFrequencies) {
  const AcarsDemodConstants& c = AcarsDemodTables();
  EXPECT_NEAR(Gain(c.BandPassTaps, 600), 0.774, 0.002);
  EXPECT_NEAR(Gain(c.BandPassTaps, 3000), 0.776, 0.002);
  for (double f = 1000; f <= 2700; f += 50) {
    EXPECT_GE(Gain(c.BandPassTaps, f), 0.99) << f;
    EXPECT_LE(Gain(c.BandPassTaps, f), 1.01) << f;
  }
  EXPECT_NEAR(Gain(c.LowPassTaps, 1200), 0.950, 0.002);
  EXPECT_NEAR(Gain(c.LowPassTaps, 1500), 0.225, 0.002);
  for (double f = 300; f <= 5000; f += 50) {
    EXPECT_GE(Gain(c.HilbertTaps, f), 0.99) << f;
    EXPECT_LE(Gain(c.HilbertTaps, f), 1.004) << f;
  }
}

TEST(AcarsDemodulator, PhaseOfZeroIsZeroWhateverTheSigns) {
  EXPECT_EQ(AcarsPhase(0.0, 0.0), 0.0);
  EXPECT_EQ(AcarsPhase(-0.0, -0.0), 0.0);
  EXPECT_EQ(AcarsPhase(0.0, -0.0), 0.0);
  // I first: a positive real part with no quadrature is +pi/2.
  EXPECT_DOUBLE_EQ(AcarsPhase(1.0, 0.0), kPi / 2);
  EXPECT_DOUBLE_EQ(AcarsPhase(0.0, -1.0), kPi);
}

TEST(AcarsDemodulator, FirstSampleOfABlockUsesTheLastPhaseBefore) {
  AcarsDemodState s;
  s.LastPhase = 2.0;
  double block[512] = {};  // silence: every phase is 0
  DemodulateAcarsSamples(s, block, 1, [](int) {});
  // d = 2.0 - 0 - PhaseStep went into the low-pass line.
  EXPECT_DOUBLE_EQ(s.LowPass(0), 2.0 - AcarsDemodTables().PhaseStep);
  EXPECT_EQ(s.LastPhase, 0.0);
  // A negative difference gains 2 pi.
  s.LastPhase = -1.0;
  DemodulateAcarsSamples(s, block, 1, [](int) {});
  EXPECT_DOUBLE_EQ(s.LowPass(0), -1.0 + 2 * kPi - AcarsDemodTables().PhaseStep);
  EXPECT_DOUBLE_EQ(s.LowPass(1), 2.0 - AcarsDemodTables().PhaseStep);
}

TEST(AcarsDemodulator, SamplesAreReplacedByTheirPhaseInPlace) {
  AcarsDemodState s;
  double block[512];
  for (int i = 0; i < 512; ++i) block[i] = std::cos(2 * kPi * 1800.0 * i / 11025.0);
  DemodulateAcarsSamples(s, block, 512, [](int) {});
  // Past the filters' delay a steady 1800 Hz tone advances by PhaseStep
  // each sample, so the phase falls back by it (modulo 2 pi).
  for (int i = 200; i < 511; ++i) {
    double d = block[i] - block[i + 1];
    if (d < 0) d += 2 * kPi;
    EXPECT_NEAR(d, AcarsDemodTables().PhaseStep, 1e-3) << i;
  }
  EXPECT_EQ(s.LastPhase, block[511]);
}

}  // namespace
