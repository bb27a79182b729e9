#include <gtest/gtest.h>

#include <cmath>

#include "hfdl/dsp_tables.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

TEST(HfdlTables, BandPassTapsKnownValues) {
  const auto& taps = GetHfdlTables().HfdlBandPassTaps;
  EXPECT_EQ(taps[25], 0.43537415);
  EXPECT_EQ(taps[24], 0.273588036);
  EXPECT_EQ(taps[26], 0.273588036);
  EXPECT_EQ(taps[0], 0.000355852559);
  EXPECT_EQ(taps[50], 0.000355852559);
  for (int k = 0; k < 51; ++k) EXPECT_EQ(taps[k], taps[50 - k]) << k;
  EXPECT_NEAR(KaiserBeta40dB(), 3.39532105, 1e-8);
}

TEST(HfdlTables, BasebandTapsKeepFullPrecision) {
  const auto& taps = GetHfdlTables().HfdlBasebandTaps;
  EXPECT_DOUBLE_EQ(taps[24], 0.5683098861837907);
  EXPECT_DOUBLE_EQ(taps[23], 0.4872476792022163);
  EXPECT_DOUBLE_EQ(taps[25], 0.4872476792022163);
  EXPECT_DOUBLE_EQ(taps[22], 0.2893162348162752);
  EXPECT_DOUBLE_EQ(taps[26], 0.2893162348162752);
  EXPECT_DOUBLE_EQ(taps[0], 0.002225943260026508);
  EXPECT_DOUBLE_EQ(taps[48], 0.002225943260026508);
}

TEST(HfdlTables, EqualizerStartTapsFollowTheirRule) {
  // A 5500 Hz low-pass at 11025 Hz under the same Kaiser window, half-length 16.
  const double beta = KaiserBeta40dB();
  for (int k = 0; k < 33; ++k) {
    int m = k - 16;
    double h = m == 0 ? 11000.0 / 11025.0 : std::sin(M_PI * m * 11000.0 / 11025.0) / (M_PI * m);
    double r = m / 16.0;
    double w = BesselI0(beta * std::sqrt(1.0 - r * r)) / BesselI0(beta);
    EXPECT_EQ(RoundToNineDigits(h * w), EqualizerStartTaps[k]) << k;
  }
}

TEST(HfdlTables, SequencesAgreeWithTheTransmittersRules) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> a = hfdl_tx::SequenceA();
  for (int i = 0; i < 254; ++i) EXPECT_EQ(t.HfdlPreambleSequence[i], a[i % 127]) << i;
  for (int m = 0; m < 8; ++m) {
    std::vector<uint8_t> row = hfdl_tx::ModeBits(m);
    for (int i = 0; i < 142; ++i) ASSERT_EQ(t.HfdlModeSequences[m][i], row[i]) << m << " " << i;
  }
  // The receiver sees bit 0 as a negative value.
  std::vector<uint8_t> probe = hfdl_tx::SequenceT();
  for (int i = 0; i < 15; ++i) EXPECT_EQ(t.HfdlProbeSequence[i], probe[i] ? 1 : -1) << i;
  std::vector<uint8_t> scrambler = hfdl_tx::ScramblerBits();
  for (int i = 0; i < 120; ++i) EXPECT_EQ(t.HfdlScramblerSequence[i], scrambler[i]) << i;
  for (int m = 0; m < 8; ++m) EXPECT_EQ(GetDspTables().HfdlModeNames[m], hfdl_tx::ModeName(m));
}

TEST(HfdlTables, EightPskTableIsAGrayCode) {
  // Neighbouring sectors differ in exactly one soft value.
  const auto& g = GetHfdlTables().Hfdl8pskGrayTable;
  for (int r = 0; r < 8; ++r) {
    int differences = 0;
    for (int i = 0; i < 3; ++i) differences += g[r][i] != g[(r + 1) % 8][i];
    EXPECT_EQ(differences, 1) << r;
  }
  EXPECT_EQ(g[3][0] + g[3][1] + g[3][2], 3);  // 0 degrees: +1 +1 +1
}

}  // namespace
