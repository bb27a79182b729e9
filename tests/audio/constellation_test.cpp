// The constellation of the HFDL symbols of the last three blocks.
#include <gtest/gtest.h>

#include <climits>

#include "audio/constellation.h"
#include "audio/spectrum_display.h"
#include "display_fixture.h"

namespace {

using audio_test::DisplayFixture;
using audio_test::kBack;
using audio_test::kLit;
using audio_test::kUnlit;

void Symbols(Form1State& form, int channel, std::vector<std::pair<int, int>> iq) {
  HfdlBlockSymbolList& s = form.hfdl.HfdlBlockSymbols[channel];
  s.Count = static_cast<int32_t>(iq.size());
  for (size_t k = 0; k < iq.size(); ++k) {
    s.I[k] = iq[k].first;
    s.Q[k] = iq[k].second;
  }
}

int LitPixels(const Bitmap24& b) {
  int n = 0;
  for (int y = 0; y < 31; ++y)  // above the labels
    for (int x = 0; x < 55; ++x) n += b.Pixel(x, y) == kLit;
  return n;
}

TEST(Constellation, ASymbolLandsOnItsPixel) {
  DisplayFixture d;
  d.form.Etc.DispType = 1;
  Symbols(d.form, 0, {{40000, -40000}});
  DrawConstellation(d.form);
  const Bitmap24& b = d.form.audio.SpectrumBitmap;
  EXPECT_EQ(b.Pixel(29, 20), kLit);
  EXPECT_EQ(LitPixels(b), 1);
  // The axes: y = 21 across, x = 28 down.
  EXPECT_EQ(b.Pixel(0, 21), kUnlit);
  EXPECT_EQ(b.Pixel(54, 21), kUnlit);
  EXPECT_EQ(b.Pixel(28, 0), kUnlit);
  EXPECT_EQ(b.Pixel(28, 41), kUnlit);
  EXPECT_EQ(b.Pixel(0, 0), kBack);
  EXPECT_EQ(d.shown, std::vector<std::string>{"Image5"});

  DisplayFixture two;
  two.form.Etc.FFTSel = 2;
  Symbols(two.form, 0, {{40000, -40000}});
  Symbols(two.form, 1, {{40000, -40000}});
  DrawConstellation(two.form);
  EXPECT_EQ(two.form.audio.SpectrumBitmap.Pixel(14, 21), kLit);
  EXPECT_EQ(two.form.audio.SpectrumBitmap.Pixel(42, 21), kLit);
  EXPECT_EQ(two.form.audio.SpectrumBitmap.Pixel(14, 0), kUnlit);
  EXPECT_EQ(two.form.audio.SpectrumBitmap.Pixel(42, 0), kUnlit);
  EXPECT_EQ(two.form.audio.SpectrumBitmap.Pixel(28, 0), kBack);
}

TEST(Constellation, ThreeGenerationsAreDrawnAndTheFourthIsGone) {
  DisplayFixture d;
  // One pixel is 40000 units: four symbols on four points of the I axis.
  const int is[4] = {-200000, -120000, 120000, 200000};
  for (int i : is) {
    Symbols(d.form, 0, {{i, 0}});
    DrawConstellation(d.form);
  }
  const Bitmap24& b = d.form.audio.SpectrumBitmap;
  EXPECT_EQ(b.Pixel(28, 21 + 5), kUnlit);  // the first: gone, axis again
  EXPECT_EQ(b.Pixel(28, 21 + 3), kLit);
  EXPECT_EQ(b.Pixel(28, 21 - 3), kLit);
  EXPECT_EQ(b.Pixel(28, 21 - 5), kLit);
  // Generations move only when the step runs: a channel not in HFDL mode
  // keeps its last symbols, which count as a new generation.
  DrawConstellation(d.form);
  EXPECT_EQ(b.Pixel(28, 21 + 3), kUnlit);
  EXPECT_EQ(b.Pixel(28, 21 - 5), kLit);
  EXPECT_EQ(d.form.audio.ConstellationHistory.Generation[1][0].Count, 1);
  EXPECT_EQ(d.form.audio.ConstellationHistory.Generation[2][0].I[0], 200000.0 * 30.0);
}

TEST(Constellation, PointsOutsideAreDroppedAndCountsBounded) {
  DisplayFixture d;
  d.form.Etc.FFTSel = 1;
  d.form.Wave.WaveDual = 2;
  Symbols(d.form, 1, {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {0, 1200000}, {-900000, 0}, {0, 0}});
  DrawConstellation(d.form);
  // Only (28, 21) and (28, 21 + 22) lie inside; the second is below the
  // bottom row 41 too.
  EXPECT_EQ(LitPixels(d.form.audio.SpectrumBitmap), 1);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(28, 21), kLit);
  d.form.hfdl.HfdlBlockSymbols[1].Count = 100000;
  DrawConstellation(d.form);
  EXPECT_EQ(d.form.audio.ConstellationHistory.Generation[2][1].Count, 512);
  d.form.hfdl.HfdlBlockSymbols[1].Count = -5;
  DrawConstellation(d.form);
  EXPECT_EQ(d.form.audio.ConstellationHistory.Generation[2][1].Count, 0);
}

TEST(Constellation, LeftoversStayInColumn54AfterSwitchingBack) {
  DisplayFixture d;
  d.form.Etc.DispType = 1;
  DrawConstellation(d.form);
  d.form.Etc.DispType = 0;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(54, 21), kUnlit);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(54, 0), kBack);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(53, 21), audio_test::kBlack);
}

}  // namespace
