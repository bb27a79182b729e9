// The status panel's pictures: the waterfall's newest levels, the level
// meters with their holds, the pictures against their goldens and as the
// main window shows them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>

#include "support/main_window_fixture.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/spectrum_display.h"
#include "audio_rig.h"
#include "support/golden_picture.h"

namespace {

using audio_test::AudioRig;
using audio_test::Frames;

void Draw(AudioRig& r) { DrawSpectrum(r.audio, r.wave, r.etc, r.link); }
void Meters(AudioRig& r, const std::vector<int16_t>& frames) {
  DrawLevelMeters(r.audio, r.wave, r.color, r.link, frames.data(), static_cast<int>(frames.size() / 2));
}

TEST(Spectrum, WhereAToneLands) {
  AudioRig r;
  r.Tone(0, 50, 32767.0);
  Draw(r);
  // Bin 50 is cell 20 at 2.5 bins per cell; the DC bin reads level 0.
  EXPECT_EQ(r.audio.SpectrumLevels[20][0], 264);
  EXPECT_LT(r.audio.SpectrumLevels[19][0], 0);
  EXPECT_LT(r.audio.SpectrumLevels[21][0], 0);
  EXPECT_EQ(r.audio.SpectrumLevels[0][0], 0);
  // 20 x 3.15 rounds up to 63 in doubles; the ACARS cell reads bin 62.
  EXPECT_EQ(SpectrumBins(0)[20], 62);
  EXPECT_EQ(SpectrumBins(0)[54], 170);
}

// The newest levels of one channel alone.
std::vector<int> SingleLevels(AudioRig& r, int fftSel) {
  r.etc.FFTSel = fftSel;
  Draw(r);
  std::vector<int> levels(55);
  for (int i = 0; i < 55; ++i) levels[i] = r.audio.SpectrumLevels[i][0];
  return levels;
}

TEST(Waterfall, RightChannelInSingleModeScrollsSilentButShowsItsMarker) {
  AudioRig r;
  r.Tone(0, 50, 20000.0);
  r.Tone(1, 50, 20000.0);
  EXPECT_EQ(SingleLevels(r, 1), std::vector<int>(55, 0));
  r.link.inFrame[0] = true;
  EXPECT_EQ(SingleLevels(r, 1)[0], 0);
  r.link.inFrame[1] = true;
  EXPECT_EQ(SingleLevels(r, 1)[0], kLockMarkerLevel);
}

TEST(Waterfall, SettingsOutOfRangeDrawLikeTheirDefaults) {
  AudioRig r;
  r.Tone(0, 62, 20000.0);
  const std::vector<int> hfdl = SingleLevels(r, 0);
  for (int decoder : {3, -1}) {
    r.wave.DecoderL = static_cast<DecoderKind>(decoder);
    EXPECT_EQ(SingleLevels(r, 0), hfdl) << decoder;
    EXPECT_EQ(SingleLevels(r, 5), hfdl) << decoder;
  }
  r.wave.WaveDual = 0;
  EXPECT_EQ(SingleLevels(r, -2), hfdl);
  EXPECT_EQ(SingleLevels(r, 1), std::vector<int>(55, 0));
}

// A meter reads the positive peak of the first 512 frames only; a peak
// holds for eleven passes, then falls back.
TEST(Meter, PositivePeaksOfTheFirst512FramesHoldForElevenPasses) {
  std::vector<int16_t> f = Frames(2048, -32768, 1000);
  f[2 * 600] = 32767;  // past frame 511: not counted
  f[2 * 511] = 4000;
  LevelMeter left, right;
  UpdateLevelMeter(left, f.data(), 2048, 0);
  UpdateLevelMeter(right, f.data(), 2048, 1);
  EXPECT_EQ(left.Peak, 4000.0);
  EXPECT_EQ(right.Peak, 1000.0);

  AudioRig r;
  std::vector<int> meters, holds;
  for (int pass = 1; pass <= 14; ++pass) {
    Meters(r, Frames(512, pass == 1 ? 32767 : -20000, 0));
    meters.push_back(r.audio.InputLevelMeter[0].Meter);
    // Where the next pass would mark it, were no new peak to come.
    holds.push_back(r.audio.InputLevelMeter[0].Hold);
  }
  EXPECT_EQ(std::vector<int>(meters.begin(), meters.begin() + 4), (std::vector<int>{18, 18, 18, 0}));
  // Marked on passes 1 to 11: the hold still stands after pass 10.
  EXPECT_EQ(holds, (std::vector<int>{18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 0, 0, 0, 0}));
}

// The peak ages while hidden: a switch to two channels shows the current
// level and hold, not the old peak, and a level still there at once.
TEST(Meter, TheRightMeterMovesWhileNotShown) {
  AudioRig r;
  const std::vector<int16_t> loud = Frames(512, 0, 32767), quiet = Frames(512, 0, 0);
  for (int i = 0; i < 3; ++i) Meters(r, loud);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 54);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 54);
  for (int i = 0; i < 20; ++i) Meters(r, quiet);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 0);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 0);
  Meters(r, loud);
  r.wave.WaveDual = 2;
  Meters(r, loud);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Meter, 36);
  EXPECT_EQ(r.audio.InputLevelMeter[1].Hold, 36);
}

// displays.png, top: two channels' waterfall, newest row first: the left
// tone moving up and growing, the right one moving down, each channel
// inside a frame for a while. Middle: one channel, its tone growing from
// silence. Bottom: the constellation of two channels, three blocks of
// 8PSK-like symbols; a fourth before them, a small ring, is gone.
// clock_panel.png: the panel with its default colours, two channels (HFDL
// left, VHF ACARS right) with levels and a held peak at 09:05:30, then one
// channel (SELCAL, the right bar OFF) at 23:59:59.
TEST(Pictures, MatchTheirGoldens) {
  AudioRig two, one, symbols;
  two.wave.WaveDual = 2;
  two.wave.DecoderR = DecoderKind::VhfAcars;
  two.etc.FFTSel = 2;
  for (int pass = 0; pass < 42; ++pass) {
    two.Tone(0, 20 + 2 * pass, 18.0 * (pass + 1) * (pass + 1));
    two.Tone(1, 150 - 2 * pass, 20000.0);
    two.link.inFrame[0] = pass >= 10 && pass < 20;
    two.link.inFrame[1] = pass >= 30 && pass < 36;
    Draw(two);
    one.Tone(0, 60 + pass % 3, 32767.0 * pass / 41.0);
    Draw(one);
  }
  symbols.wave.WaveDual = 2;
  symbols.etc.FFTSel = 2;
  for (int block = 0; block < 4; ++block) {
    for (int ch = 0; ch < 2; ++ch) {
      std::vector<std::pair<int32_t, int32_t>> iq;
      for (int k = 0; k < 40; ++k) {
        const double angle = 2.0 * M_PI * (k % 8) / 8.0 + 0.02 * (k + 13 * block);
        const double radius = (block == 0 ? 250000.0 : ch == 0 ? 800000.0 : 500000.0) + 15000.0 * (k % 5);
        iq.emplace_back(static_cast<int32_t>(radius * std::cos(angle)), static_cast<int32_t>(radius * std::sin(angle)));
      }
      symbols.link.SetSymbols(ch, iq);
    }
    DrawConstellation(symbols.audio, symbols.etc, symbols.color, symbols.link);
  }
  testing_support::ExpectGoldenPicture(
      {two.audio.SpectrumBitmap.Image(), one.audio.SpectrumBitmap.Image(), symbols.audio.SpectrumBitmap.Image()},
      "displays.png");

  AudioRig twoClock, oneClock;
  twoClock.wave.WaveDual = 2;
  twoClock.wave.DecoderR = DecoderKind::VhfAcars;
  twoClock.audio.ClockCache = "09:05:30";
  DrawClockFace(twoClock.audio, twoClock.color);
  for (int pass = 0; pass < 3; ++pass) Meters(twoClock, Frames(512, 8000, 3000));
  Meters(twoClock, Frames(512, 4000, 3000));
  oneClock.wave.DecoderL = DecoderKind::Selcal;
  oneClock.audio.ClockCache = "23:59:59";
  DrawClockFace(oneClock.audio, oneClock.color);
  DrawLevelMeters(oneClock.audio, oneClock.wave, oneClock.color, oneClock.link, nullptr, 0);
  testing_support::ExpectGoldenPicture({twoClock.audio.ClockBitmap.Image(), oneClock.audio.ClockBitmap.Image()},
                                       "clock_panel.png");
}

using MainWindowPictures = MainWindowTest;

TEST_F(MainWindowPictures, WaterfallAndClockPanelAreShownInImage5AndImage6) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  f.Wave.DecoderL = DecoderKind::Hfdl;
  f.Etc.FFTSel = 0;
  f.Etc.DispType = 0;
  for (int n = 0; n < 512; ++n) f.audio.FilterBlock[0][n] = 32767.0 * std::sin(2.0 * M_PI * 50 * n / 512.0);
  DrawSpectrum(f.audio, f.Wave, f.Etc, w.Audio());
  const QImage waterfall = w.Image(5)->pixmap().toImage().convertToFormat(QImage::Format_BGR888);
  EXPECT_EQ(waterfall, f.audio.SpectrumBitmap.Image());
  f.audio.ClockCache = "12:34:56";
  DrawClockFace(f.audio, f.Color);
  DrawLevelMeters(f.audio, f.Wave, f.Color, w.Audio(), nullptr, 0);
  const QImage clock = w.Image(6)->pixmap().toImage().convertToFormat(QImage::Format_BGR888);
  EXPECT_EQ(clock, f.audio.ClockBitmap.Image());
  EXPECT_NE(clock, waterfall);
  Close();
}

}  // namespace
