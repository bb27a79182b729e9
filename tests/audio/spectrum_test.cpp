// The FFT, the level cells and the waterfall drawn into SpectrumBitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <random>

#include "audio/fft.h"
#include "audio/spectrum_display.h"
#include "display_fixture.h"

namespace {

using audio_test::DisplayFixture;
using audio_test::kBlack;
using audio_test::kYellow;

TColor Bgr(int blue, int green, int red) { return platform::MakeColor(red, green, blue); }

TEST(Spectrum, FftEqualsADirectDft) {
  FftTables t = BuildFftTables();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-30000.0, 30000.0);
  std::vector<std::complex<double>> x(512);
  for (int i = 0; i < 512; ++i) {
    x[i] = {value(random), value(random)};
    t.Re[i] = x[i].real();
    t.Im[i] = x[i].imag();
  }
  Fft512(t);
  double largest = 0.0;
  std::vector<std::complex<long double>> direct(512);
  for (int k = 0; k < 512; ++k) {
    std::complex<long double> sum = 0;
    for (int n = 0; n < 512; ++n) {
      const long double a = -2.0L * 3.14159265358979323846264338327950288L * ((n * k) % 512) / 512.0L;
      sum += std::complex<long double>(x[n].real(), x[n].imag()) * std::complex<long double>(std::cos(a), std::sin(a));
    }
    direct[k] = sum;
    largest = std::max(largest, static_cast<double>(std::abs(sum)));
  }
  for (int i = 0; i < 512; ++i) {
    // The result is in bit-reversed order.
    const std::complex<long double>& want = direct[t.BitReverse[i]];
    EXPECT_NEAR(t.Re[i], static_cast<double>(want.real()), 1e-9 * largest) << i;
    EXPECT_NEAR(t.Im[i], static_cast<double>(want.imag()), 1e-9 * largest) << i;
  }
}

TEST(Spectrum, SineKnownAnswerOnAnHfdlChannel) {
  DisplayFixture d;
  d.form.Wave.DecoderL = 1;
  d.Tone(0, 50, 32767.0);
  DrawSpectrum(d.form);
  // Bin 50 is cell 20 at 2.5 bins per cell.
  EXPECT_EQ(d.form.audio.SpectrumLevels[20][0], 264);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(20, 0), Bgr(255, 9, 0));
  EXPECT_LT(d.form.audio.SpectrumLevels[19][0], 0);
  EXPECT_LT(d.form.audio.SpectrumLevels[21][0], 0);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(19, 0), kBlack);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(21, 0), kBlack);
  // The DC bin's imaginary part is exactly 0: level 0, black.
  EXPECT_EQ(d.form.audio.SpectrumFft.Im[0], 0.0);
  EXPECT_EQ(d.form.audio.SpectrumLevels[0][0], 0);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kBlack);
}

TEST(Spectrum, BinTableExact) {
  EXPECT_EQ(SpectrumBins(0)[20], 62);
  EXPECT_EQ(SpectrumBins(0)[40], 125);
  EXPECT_EQ(SpectrumBins(0)[54], 170);
  EXPECT_EQ(SpectrumBins(1)[54], 135);
  EXPECT_EQ(SpectrumBins(2)[54], 140);
  // floor(i * K) of the exact rational product: K = m * 2^e with m whole.
  for (int decoder = 0; decoder < 3; ++decoder) {
    const double k = SpectrumBinStep(decoder);
    int e = 0;
    const double fraction = std::frexp(k, &e);
    const auto m = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - e;
    for (int i = 0; i < 55; ++i) {
      EXPECT_EQ(SpectrumBins(decoder)[i], static_cast<int>((i * m) >> shift)) << decoder << " " << i;
    }
  }
  // A decoder value that means nothing spans as HFDL does.
  EXPECT_EQ(&SpectrumBins(3), &SpectrumBins(1));
  EXPECT_EQ(&SpectrumBins(-1), &SpectrumBins(1));
}

TEST(Waterfall, ColourRamp) {
  struct Case {
    int level, blue, green, red;
  };
  for (Case c : {Case{0, 0, 0, 0}, Case{254, 254, 0, 0}, Case{255, 255, 0, 0}, Case{510, 255, 255, 0},
                 Case{764, 255, 255, 254}, Case{-3, 0, 0, 0}, Case{1020, 0, 255, 255}, Case{765, 255, 255, 255},
                 Case{1019, 255, 255, 255}, Case{5000, 255, 255, 255}}) {
    EXPECT_EQ(WaterfallColorComponent(c.level, 0), c.blue) << c.level;
    EXPECT_EQ(WaterfallColorComponent(c.level, 1), c.green) << c.level;
    EXPECT_EQ(WaterfallColorComponent(c.level, 2), c.red) << c.level;
  }
}

// Levels of one channel alone, for comparison.
std::vector<int> SingleLevels(DisplayFixture& d, int fftSel) {
  d.form.Etc.FFTSel = fftSel;
  DrawSpectrum(d.form);
  std::vector<int> levels(55);
  for (int i = 0; i < 55; ++i) levels[i] = d.form.audio.SpectrumLevels[i][0];
  return levels;
}

TEST(Waterfall, BothChannelsSideBySide) {
  DisplayFixture d;
  d.form.Wave.WaveDual = 2;
  d.form.Wave.DecoderL = 1;
  d.form.Wave.DecoderR = 0;
  d.Tone(0, 52, 20000.0);  // cell 21 at 2.5
  d.Tone(1, 85, 20000.0);  // cell 27 at 3.15
  const std::vector<int> left = SingleLevels(d, 0);
  const std::vector<int> right = SingleLevels(d, 1);
  d.form.Etc.FFTSel = 2;
  DrawSpectrum(d.form);
  for (int c = 1; c < 27; ++c) EXPECT_EQ(d.form.audio.SpectrumLevels[c][0], std::max(left[2 * c + 1], 0)) << c;
  for (int c = 1; c < 27; ++c) EXPECT_EQ(d.form.audio.SpectrumLevels[27 + c][0], std::max(right[2 * c + 1], 0)) << c;
  EXPECT_EQ(d.form.audio.SpectrumLevels[54][0], std::max(right[54], 0));
  EXPECT_GT(d.form.audio.SpectrumLevels[10][0], 200);
  EXPECT_GT(d.form.audio.SpectrumLevels[27 + 13][0], 200);
  EXPECT_EQ(d.form.audio.SpectrumLevels[0][0], 0);
  EXPECT_EQ(d.form.audio.SpectrumLevels[27][0], 0);

  // The lock markers: the left in an HFDL frame, the right in an ACARS block.
  d.form.hfdl.Channels[0].Locked = 1;
  d.acarsInBlock[1] = true;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kYellow);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(27, 0), kYellow);
  EXPECT_NE(d.form.audio.SpectrumBitmap.Pixel(1, 0), kYellow);
  EXPECT_NE(d.form.audio.SpectrumBitmap.Pixel(26, 0), kYellow);
}

TEST(Waterfall, TheAcarsFramersBlockFlagMarksItsChannel) {
  DisplayFixture d;
  d.form.svc.acars = &DefaultAcarsServices();
  d.form.acars.AcarsRx.Framer[0].InBlock = 1;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kYellow);
  d.form.acars.AcarsRx.Framer[0].InBlock = 0;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kBlack);
}

TEST(Waterfall, RightChannelInSingleModeScrollsBlack) {
  DisplayFixture d;
  d.form.Wave.WaveDual = 1;
  d.form.Etc.FFTSel = 1;
  d.Tone(0, 50, 20000.0);
  d.Tone(1, 50, 20000.0);
  DrawSpectrum(d.form);
  for (int i = 0; i < 55; ++i) EXPECT_EQ(d.form.audio.SpectrumLevels[i][0], 0) << i;
  for (int x = 0; x < 54; ++x) EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(x, 0), kBlack) << x;
  // The right channel's marker still shows; the left channel's does not.
  d.form.hfdl.Channels[0].Locked = 1;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kBlack);
  d.acarsInBlock[1] = true;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 0), kYellow);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(0, 1), kBlack);
}

TEST(Waterfall, AColumnScrollsDownOneRowPerPassFor42Passes) {
  DisplayFixture d;
  d.Tone(0, 50, 32767.0);
  DrawSpectrum(d.form);
  d.Tone(0, 50, 0.0);
  const TColor tone = Bgr(255, 9, 0);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(20, 0), tone);
  for (int pass = 2; pass <= 43; ++pass) {
    DrawSpectrum(d.form);
    int rows = 0;
    for (int r = 0; r < 42; ++r) rows += d.form.audio.SpectrumBitmap.Pixel(20, r) == tone;
    if (pass <= 42) {
      EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(20, pass - 1), tone) << pass;
      EXPECT_EQ(rows, 1) << pass;
    } else {
      EXPECT_EQ(rows, 0);
    }
  }
}

TEST(Waterfall, ShownWhileDispTypeIs0AndLabelled) {
  DisplayFixture d;
  d.form.Etc.FFTSel = 2;
  DrawSpectrum(d.form);
  EXPECT_EQ(d.shown, std::vector<std::string>{"Image5"});
  // Yellow "L" at (3, 31) and "R" at (46, 31).
  auto yellowIn = [&d](int x0, int x1) {
    int n = 0;
    for (int y = 31; y < 42; ++y)
      for (int x = x0; x <= x1; ++x) n += d.form.audio.SpectrumBitmap.Pixel(x, y) == kYellow;
    return n;
  };
  EXPECT_GT(yellowIn(3, 12), 3);
  EXPECT_GT(yellowIn(46, 54), 3);
  EXPECT_EQ(yellowIn(13, 45), 0);
  // Still drawn, not shown, under the constellation.
  d.form.Etc.DispType = 1;
  d.form.Etc.FFTSel = 0;
  d.Tone(0, 50, 32767.0);
  DrawSpectrum(d.form);
  EXPECT_EQ(d.shown.size(), 1u);
  EXPECT_EQ(d.form.audio.SpectrumBitmap.Pixel(20, 0), Bgr(255, 9, 0));
}

TEST(Waterfall, SettingsOutOfRangeDrawLikeTheirDefaults) {
  DisplayFixture d;
  d.form.Wave.DecoderL = 1;
  d.Tone(0, 62, 20000.0);
  const std::vector<int> hfdl = SingleLevels(d, 0);
  for (int decoder : {3, -1}) {
    d.form.Wave.DecoderL = decoder;
    EXPECT_EQ(SingleLevels(d, 0), hfdl) << decoder;
    EXPECT_EQ(SingleLevels(d, 5), hfdl) << decoder;
  }
  d.form.Wave.WaveDual = 0;
  EXPECT_EQ(SingleLevels(d, -2), hfdl);
  for (int i = 0; i < 55; ++i) EXPECT_EQ(SingleLevels(d, 1)[i], 0);
}

}  // namespace
