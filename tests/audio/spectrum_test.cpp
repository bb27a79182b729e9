// The FFT and the waterfall's newest levels: where a tone lands, what a
// channel without a receiver shows, settings out of range; and the
// pictures of the waterfall and the constellation.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <random>

#include "audio/constellation.h"
#include "audio/fft.h"
#include "audio/spectrum_display.h"
#include "audio_rig.h"
#include "support/golden_picture.h"

namespace {

using audio_test::AudioRig;

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

void Draw(AudioRig& r) { DrawSpectrum(r.audio, r.wave, r.etc, r.link); }

TEST(Spectrum, SineKnownAnswerOnAnHfdlChannel) {
  AudioRig r;
  r.Tone(0, 50, 32767.0);
  Draw(r);
  // Bin 50 is cell 20 at 2.5 bins per cell.
  EXPECT_EQ(r.audio.SpectrumLevels[20][0], 264);
  EXPECT_LT(r.audio.SpectrumLevels[19][0], 0);
  EXPECT_LT(r.audio.SpectrumLevels[21][0], 0);
  // The DC bin's imaginary part is exactly 0: level 0.
  EXPECT_EQ(r.audio.SpectrumFft.Im[0], 0.0);
  EXPECT_EQ(r.audio.SpectrumLevels[0][0], 0);
}

TEST(Spectrum, AcarsCellsTakeTheExactFloorOfTheirBin) {
  // 20 x 3.15 rounds up to 63 in doubles; the cell reads bin 62.
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

TEST(Waterfall, RightChannelInSingleModeScrollsSilent) {
  AudioRig r;
  r.wave.WaveDual = 1;
  r.etc.FFTSel = 1;
  r.Tone(0, 50, 20000.0);
  r.Tone(1, 50, 20000.0);
  Draw(r);
  for (int i = 0; i < 55; ++i) EXPECT_EQ(r.audio.SpectrumLevels[i][0], 0) << i;
  // The right channel's marker still shows; the left channel's does not.
  r.link.inFrame[0] = true;
  Draw(r);
  EXPECT_EQ(r.audio.SpectrumLevels[0][0], 0);
  r.link.inFrame[1] = true;
  Draw(r);
  EXPECT_EQ(r.audio.SpectrumLevels[0][0], kLockMarkerLevel);
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
  for (int i = 0; i < 55; ++i) EXPECT_EQ(SingleLevels(r, 1)[i], 0);
}

// Top: two channels' waterfall, newest row first: the left tone moving up
// and growing, the right one moving down, each channel inside a frame for a
// while. Middle: one channel, its tone growing from silence. Bottom: the
// constellation of two channels, three blocks of 8PSK-like symbols.
TEST(Displays, MatchTheGoldenPicture) {
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
  for (int block = 0; block < 3; ++block) {
    for (int ch = 0; ch < 2; ++ch) {
      std::vector<std::pair<int32_t, int32_t>> iq;
      for (int k = 0; k < 40; ++k) {
        const double angle = 2.0 * M_PI * (k % 8) / 8.0 + 0.02 * (k + 13 * block);
        const double radius = (ch == 0 ? 800000.0 : 500000.0) + 15000.0 * (k % 5);
        iq.emplace_back(static_cast<int32_t>(radius * std::cos(angle)), static_cast<int32_t>(radius * std::sin(angle)));
      }
      symbols.link.SetSymbols(ch, iq);
    }
    DrawConstellation(symbols.audio, symbols.etc, symbols.color, symbols.link);
  }
  testing_support::ExpectGoldenPicture(
      {two.audio.SpectrumBitmap.Image(), one.audio.SpectrumBitmap.Image(), symbols.audio.SpectrumBitmap.Image()},
      "displays.png");
}

}  // namespace
