#include "audio/spectrum_display.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "audio/audio_state.h"
#include "audio/fft.h"

namespace {

constexpr TColor kYellow = 0x0000FFFF;
// With both channels each gets half of the waterfall.
constexpr int kRightHalf = 27;

// A level is the magnitude in half decibels, truncated toward zero.
int LevelOf(double magnitude) {
  const double level = std::trunc(2.0 * magnitude);
  // Finite input keeps far inside; anything else would be undefined.
  if (!(std::fabs(level) < 1e6)) return 0;
  return static_cast<int>(level);
}

// Hann window, FFT and magnitudes of one channel's block; zeros when the
// channel is not live.
void Analyse(FftTables& fft, const double* samples) {
  for (int i = 0; i < FftTables::N; ++i) {
    fft.Re[i] = samples ? fft.Hann[i] * samples[i] : 0.0;
    fft.Im[i] = 0.0;
  }
  Fft512(fft);
  FftMagnitudesInOrder(fft);
}

void DrawWaterfall(AudioState& audio) {
  Bitmap24& bitmap = audio.SpectrumBitmap;
  const int rows = std::min(kSpectrumColumns, bitmap.Height());
  // Cell 54 holds the right channel's last level with two channels; it is
  // never drawn.
  const int cells = std::min(kSpectrumCells - 1, bitmap.Width());
  for (int r = 0; r < rows; ++r) {
    uint8_t* line = bitmap.ScanLine(r);
    for (int x = 0; x < cells; ++x) {
      const int level = audio.SpectrumLevels[x][r];
      for (int c = 0; c < 3; ++c) line[3 * x + c] = WaterfallColorComponent(level, c);
    }
  }
  for (auto& cell : audio.SpectrumLevels) std::copy_backward(cell, cell + kSpectrumColumns - 1, cell + kSpectrumColumns);
}

}  // namespace

double SpectrumBinStep(int decoder) {
  switch (decoder) {
    case 0: return 3.15;
    case 2: return 2.6;
    default: return 2.5;
  }
}

int ExactSpectrumBin(int i, double step) {
  const double p = i * step;
  // The rounding error of the product, exactly.
  const double e = std::fma(static_cast<double>(i), step, -p);
  const double whole = std::floor(p);
  return static_cast<int>(p == whole && e < 0.0 ? whole - 1.0 : whole);
}

const std::array<int, kSpectrumCells>& SpectrumBins(int decoder) {
  static const std::array<std::array<int, kSpectrumCells>, 3> tables = [] {
    std::array<std::array<int, kSpectrumCells>, 3> t{};
    for (int d = 0; d < 3; ++d) {
      for (int i = 0; i < kSpectrumCells; ++i) t[d][i] = ExactSpectrumBin(i, SpectrumBinStep(d));
    }
    return t;
  }();
  return tables[decoder == 0 ? 0 : decoder == 2 ? 2 : 1];
}

uint8_t WaterfallColorComponent(int level, int component) {
  if (component < 0 || component > 2 || level < 0) return 0;
  if (level == kLockMarkerLevel) return component == 0 ? 0 : 255;
  // 765 and above: white.
  if (level >= 765) return 255;
  const int q = level / 255;
  const int r = level - 255 * q;
  // Blue fills first, then green, then red.
  if (component < q) return 255;
  return static_cast<uint8_t>(component == q ? r : 0);
}

int DisplayedChannels(int fftSel) { return fftSel == 1 || fftSel == 2 ? fftSel : 0; }

void DrawSpectrum(AudioState& audio, const WaveSettings& wave, const EtcSettings& etc, BlockPipelineLink& link) {
  const int sel = DisplayedChannels(etc.FFTSel);
  const bool dual = wave.WaveDual == 2;
  const int passes = sel == 2 ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int channel = sel == 2 ? pass : sel;
    // Without a second receiver the right channel is analysed as silence.
    Analyse(audio.SpectrumFft, channel == 0 || dual ? audio.FilterBlock[channel] : nullptr);
    const auto& bins = SpectrumBins(static_cast<int>(wave.Decoder(channel)));
    for (int i = 0; i < kSpectrumCells; ++i) {
      const int level = LevelOf(audio.SpectrumFft.Magnitude[bins[i]]);
      if (sel == 2) {
        // Later writes win: the odd cells end up in each half.
        audio.SpectrumLevels[i / 2 + kRightHalf * pass][0] = std::max(level, 0);
      } else {
        audio.SpectrumLevels[i][0] = level;
      }
    }
    if (sel == 2) {
      audio.SpectrumLevels[0][0] = link.InFrame(0) ? kLockMarkerLevel : 0;
      audio.SpectrumLevels[kRightHalf][0] = link.InFrame(1) ? kLockMarkerLevel : 0;
    } else if (link.InFrame(channel)) {
      audio.SpectrumLevels[0][0] = kLockMarkerLevel;
    }
  }
  DrawWaterfall(audio);
  DrawSpectrumLabels(audio.SpectrumBitmap, etc, kYellow);
  if (etc.DispType == 0) link.ShowPicture(AudioPicture::Spectrum, audio.SpectrumBitmap);
}

void DrawSpectrumLabels(Bitmap24& bitmap, const EtcSettings& etc, TColor colour) {
  switch (DisplayedChannels(etc.FFTSel)) {
    case 2:
      bitmap.TextOut(3, 31, "L", colour);
      bitmap.TextOut(46, 31, "R", colour);
      break;
    case 1: bitmap.TextOut(46, 31, "R", colour); break;
    default: bitmap.TextOut(46, 31, "L", colour); break;
  }
}
