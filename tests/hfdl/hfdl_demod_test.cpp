#include <gtest/gtest.h>

#include <cmath>

#include "hfdl/demodulator.h"
#include "hfdl/dsp_tables.h"
#include "hfdl_harness.h"

namespace {

std::vector<double> Tone(double hz, int samples, double amplitude = 8000.0) {
  std::vector<double> v(samples);
  for (int n = 0; n < samples; ++n) v[n] = amplitude * std::sin(2.0 * M_PI * hz * n / 11025.0);
  return v;
}

// The offsets measured during a steady tone, one per non-zero value seen
// at the end of a block.
std::vector<double> MeasuredOffsets(double hz) {
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  std::vector<double> tone = Tone(hz, 512 * 200);
  std::vector<double> seen;
  for (int block = 0; block < 200; ++block) {
    std::copy(tone.begin() + 512 * block, tone.begin() + 512 * (block + 1), form->audio.AudioBlock[0]);
    DemodulateHfdlBlock(*form, 0);
    if (block >= 40 && form->hfdl.Channels[0].FreqError != 0.0) seen.push_back(form->hfdl.Channels[0].FreqError);
  }
  return seen;
}

TEST(HfdlDemod, ToneGivesTheCarrierOffset) {
  for (double offset : {0.0, 10.0}) {
    std::vector<double> seen = MeasuredOffsets(1440.0 + offset);
    ASSERT_GT(seen.size(), 100u);
    for (double v : seen) EXPECT_NEAR(v, offset, 0.1);
  }
}

TEST(HfdlDemod, ResetClearsTheFrameAndKeepsTheTracking) {
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  std::vector<double> tone = Tone(1450.0, 512 * 20);
  hfdl_test::FeedChannel(*form, 1, tone);
  HfdlChannelState& s = form->hfdl.Channels[1];
  s.Locked = s.InProbe = s.TrainingActive = s.PreambleTraining = s.SyncFound = 1;
  s.SymbolCount = 55;
  s.SegmentIndex = 3;
  s.Constellation = 2;
  s.EqTaps[0][3] = s.EqTaps[1][7] = 0.5;
  s.EqDelay[1][2] = 9.0;
  const HfdlChannelState before = s;
  recorder.lamps.clear();

  ResetDemodulatorChannel(*form, 1);
  EXPECT_EQ(s.Locked + s.InProbe + s.TrainingActive + s.PreambleTraining + s.SyncFound, 0);
  EXPECT_EQ(s.SymbolCount, 0);
  EXPECT_EQ(s.SegmentIndex, 0);
  EXPECT_EQ(s.Constellation, 0);
  for (int b = 0; b < 2; ++b) {
    for (int k = 0; k < 33; ++k) {
      EXPECT_EQ(s.EqTaps[b][k], EqualizerStartTaps[k]);
      EXPECT_EQ(s.EqDelay[b][k], 0.0);
    }
  }
  EXPECT_EQ(s.FreqError, before.FreqError);
  EXPECT_NE(s.FreqError, 0.0);
  EXPECT_EQ(s.AfcPhase, before.AfcPhase);
  EXPECT_EQ(s.NcoPhase, before.NcoPhase);
  EXPECT_EQ(s.BandPassDelay[1][10], before.BandPassDelay[1][10]);
  EXPECT_EQ(s.AgcState[0], before.AgcState[0]);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"acars reset 1", "selcal reset 1"}));
  EXPECT_EQ(recorder.lamps, (std::vector<std::pair<Lamp, TColor>>{{Lamp::Right, 0}}));
}

TEST(HfdlDemod, LampFollowsTheLock) {
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  form->hfdl.Channels[0].Locked = 1;
  form->hfdl.Channels[0].SymbolCount = -100000;  // a frame that does not end in this block
  form->hfdl.Channels[0].Interleave = 1;
  DemodulateHfdlBlock(*form, 0);
  form->hfdl.Channels[0].Locked = 0;
  DemodulateHfdlBlock(*form, 0);
  EXPECT_EQ(recorder.lamps, (std::vector<std::pair<Lamp, TColor>>{{Lamp::Left, 65280}, {Lamp::Left, 0}}));
}

TEST(HfdlDemod, BlockIsLevelledInPlace) {
  // Whatever the input level, an in-band tone leaves the block at the AGC
  // level: a mean magnitude of 3000, so a peak of 3000 pi / 2.
  for (double amplitude : {200.0, 20000.0}) {
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, Tone(1440.0, 512 * 40, amplitude));
    double peak = *std::max_element(form->audio.AudioBlock[0], form->audio.AudioBlock[0] + 512);
    EXPECT_NEAR(peak, 3000.0 * M_PI / 2.0, 300.0) << amplitude;
  }
}

}  // namespace
