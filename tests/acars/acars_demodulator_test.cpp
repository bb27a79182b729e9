// The demodulator's filter responses and phase rule against known answers;
// the round trips show the rest.
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

}  // namespace
