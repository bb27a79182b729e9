// The demodulator's constants, filters and phase rules against known answers.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "acars/acars_demodulator.h"
#include "hfdl/hfdl_tables.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Gain(const std::array<double, 51>& taps, double hz) {
  std::complex<double> sum = 0.0;
  for (int j = 0; j < 51; ++j) sum += taps[j] * std::polar(1.0, -2.0 * kPi * hz * j / 11025.0);
  return std::abs(sum);
}

TEST(AcarsDemodulator, ConstantsHaveTheirKnownValues) {
  const AcarsDemodConstants& c = AcarsDemodTables();
  EXPECT_NEAR(c.PhaseStep, 1.0258261726007487, 1e-15);
  EXPECT_NEAR(std::exp(-kPi * 35.0 / 11025.0), 0.9900762585205849, 1e-15);
  EXPECT_NEAR(c.ResonatorC1, 0.39927033342541274, 1e-15);
  EXPECT_NEAR(c.ResonatorC2, -0.9802509976861201, 1e-15);
  EXPECT_NEAR(c.ResonatorGain, 9.794604955306666e-07, 1e-21);
  EXPECT_NEAR(c.KaiserBeta, 3.3953210522614574, 1e-14);
  EXPECT_DOUBLE_EQ(BesselI0(0.0), 1.0);
  EXPECT_NEAR(BesselI0(1.0), 1.2660658777520082, 1e-15);
}

TEST(AcarsDemodulator, FilterTapsFromTheWindowedFormula) {
  const AcarsDemodConstants& c = AcarsDemodTables();
  EXPECT_NEAR(c.BandPassTaps[25], 0.471655329, 1e-9);
  EXPECT_NEAR(c.LowPassTaps[25], 0.253968254, 1e-9);
  EXPECT_NEAR(c.BandPassTaps[0], -0.00105668512, 1e-11);
  EXPECT_NEAR(c.BandPassTaps[24], 0.222235778, 1e-9);
  EXPECT_NEAR(c.LowPassTaps[0], 0.00167647699, 1e-11);
  EXPECT_NEAR(c.LowPassTaps[24], 0.227350827, 1e-9);
  for (int k = 1; k <= 25; ++k) {
    EXPECT_EQ(c.BandPassTaps[25 + k], c.BandPassTaps[25 - k]) << k;
    EXPECT_EQ(c.LowPassTaps[25 + k], c.LowPassTaps[25 - k]) << k;
  }
}

TEST(AcarsDemodulator, HilbertTapsAreTheTableOddAboutTheCentre) {
  const std::array<double, 51>& h = AcarsDemodTables().HilbertTaps;
  EXPECT_EQ(h[25], 0.0);
  EXPECT_EQ(h[26], 0.634824084);
  EXPECT_EQ(h[24], -0.634824084);
  EXPECT_EQ(h[28], 0.206868099);
  EXPECT_EQ(h[50], 0.00364729617);
  EXPECT_EQ(h[0], -0.00364729617);
  for (int k = 1; k <= 25; ++k) {
    EXPECT_EQ(h[25 + k], -h[25 - k]) << k;
    if (k % 2 == 0) {
      EXPECT_EQ(h[25 + k], 0.0) << k;
    }
  }
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
