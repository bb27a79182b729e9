// The clock panel: its picture against a golden one, and the level meters
// with their holds.
#include <gtest/gtest.h>

#include <vector>

#include "audio/clock_panel.h"
#include "audio_rig.h"
#include "support/golden_picture.h"

namespace {

using audio_test::AudioRig;
using audio_test::Frames;

// The panel as the program draws it with its default colours, twice over:
// two channels (HFDL left, VHF ACARS right) with levels and a held peak
// at 09:05:30, then one channel (SELCAL, the right bar OFF) at 23:59:59.
TEST(ClockPanel, MatchesTheGoldenPicture) {
  const std::vector<int16_t> loud = Frames(512, 8000, 3000);
  const std::vector<int16_t> softer = Frames(512, 4000, 3000);
  AudioRig two, one;
  two.wave.WaveDual = 2;
  two.wave.DecoderL = DecoderKind::Hfdl;
  two.wave.DecoderR = DecoderKind::VhfAcars;
  two.audio.ClockCache = "09:05:30";
  DrawClockFace(two.audio, two.color);
  for (int pass = 0; pass < 3; ++pass) DrawLevelMeters(two.audio, two.wave, two.color, two.link, loud.data(), 512);
  DrawLevelMeters(two.audio, two.wave, two.color, two.link, softer.data(), 512);
  one.wave.WaveDual = 1;
  one.wave.DecoderL = DecoderKind::Selcal;
  one.audio.ClockCache = "23:59:59";
  DrawClockFace(one.audio, one.color);
  DrawLevelMeters(one.audio, one.wave, one.color, one.link, nullptr, 0);
  testing_support::ExpectGoldenPicture({two.audio.ClockBitmap.Image(), one.audio.ClockBitmap.Image()}, "clock_panel.png");
}

TEST(Meter, PositiveExcursionsOfTheFirst512FramesOnly) {
  std::vector<int16_t> f = Frames(2048, -32768, 1000);
  f[2 * 600] = 32767;  // past frame 511: not counted
  f[2 * 511] = 4000;
  LevelMeter left, right;
  UpdateLevelMeter(left, f.data(), 2048, 0);
  UpdateLevelMeter(right, f.data(), 2048, 1);
  EXPECT_EQ(left.Peak, 4000.0);
  EXPECT_EQ(right.Peak, 1000.0);
  LevelMeter negative;
  std::vector<int16_t> down = Frames(512, -20000, -20000);
  UpdateLevelMeter(negative, down.data(), 512, 0);
  EXPECT_EQ(negative.Peak, 0.0);
  EXPECT_EQ(negative.Meter, 0);
}

TEST(Meter, APeakHoldsForElevenPassesThenFallsBack) {
  AudioRig r;
  r.wave.WaveDual = 2;
  const std::vector<int16_t> loud = Frames(512, 32767, 32767);
  const std::vector<int16_t> quiet = Frames(512, 0, 0);
  std::vector<int> meters, holds;
  for (int pass = 1; pass <= 14; ++pass) {
    DrawLevelMeters(r.audio, r.wave, r.color, r.link, pass == 1 ? loud.data() : quiet.data(), 512);
    meters.push_back(r.audio.InputLevelMeter[0].Meter);
    // Where the next pass would mark it, were no new peak to come.
    holds.push_back(r.audio.InputLevelMeter[0].Hold);
  }
  EXPECT_EQ(std::vector<int>(meters.begin(), meters.begin() + 4), (std::vector<int>{18, 18, 18, 0}));
  // Marked on passes 1 to 11: the hold still stands after pass 10.
  EXPECT_EQ(holds, (std::vector<int>{18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 0, 0, 0, 0}));
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 0);
}

TEST(Meter, TheRightMeterMovesWhileNotShown) {
  AudioRig r;
  r.wave.WaveDual = 1;
  const std::vector<int16_t> loud = Frames(512, 0, 32767);
  const std::vector<int16_t> quiet = Frames(512, 0, 0);
  for (int i = 0; i < 3; ++i) DrawLevelMeters(r.audio, r.wave, r.color, r.link, loud.data(), 512);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 54);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 54);
  // The peak ages while hidden: a switch to two channels shows the
  // current level and hold, not the old peak.
  for (int i = 0; i < 20; ++i) DrawLevelMeters(r.audio, r.wave, r.color, r.link, quiet.data(), 512);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 0);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 0);
  // And a level that is still there shows at once.
  DrawLevelMeters(r.audio, r.wave, r.color, r.link, loud.data(), 512);
  r.wave.WaveDual = 2;
  DrawLevelMeters(r.audio, r.wave, r.color, r.link, loud.data(), 512);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 36);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 36);
}

}  // namespace
