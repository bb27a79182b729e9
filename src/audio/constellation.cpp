#include "audio/constellation.h"

#include <algorithm>
#include <cmath>

#include "audio/audio_state.h"
#include "audio/spectrum_display.h"

namespace {

// The demodulator's symbols are drawn at this scale: 3 x 10.
constexpr double kSymbolScale = 3.0 * 10.0;
constexpr int kAxisY = 21;

void MoveGenerations(SymbolHistory& h, const BlockPipelineLink& link) {
  for (int ch = 0; ch < 2; ++ch) {
    h.Generation[0][ch] = h.Generation[1][ch];
    h.Generation[1][ch] = h.Generation[2][ch];
    const BlockSymbols block = link.HfdlSymbols(ch);
    SymbolGeneration& newest = h.Generation[2][ch];
    newest.Count = block.I && block.Q ? std::clamp(block.Count, 0, SymbolGeneration::kCapacity) : 0;
    for (int k = 0; k < newest.Count; ++k) {
      newest.I[k] = block.I[k] * kSymbolScale;
      newest.Q[k] = block.Q[k] * kSymbolScale;
    }
  }
}

// Offsets of a point from its centre, in pixels; points far outside are
// dropped before they become integers.
bool PixelOffset(double value, double scale, int& offset) {
  const double t = std::trunc(value * scale);
  if (!(std::fabs(t) < 1e6)) return false;
  offset = static_cast<int>(t);
  return true;
}

void PlotChannel(AudioState& audio, TColor colour, int channel, int centreX, double scale) {
  for (const auto& generations : audio.ConstellationHistory.Generation) {
    const SymbolGeneration& g = generations[channel];
    for (int k = 0; k < g.Count; ++k) {
      int dx, dy;
      if (PixelOffset(g.Q[k], scale, dx) && PixelOffset(g.I[k], scale, dy)) {
        PutPixel24(centreX - dx, kAxisY - dy, audio.SpectrumBitmap, colour);
      }
    }
  }
}

}  // namespace

void DrawConstellation(AudioState& audio, const EtcSettings& etc, const ColorSettings& color, BlockPipelineLink& link) {
  Bitmap24& bitmap = audio.SpectrumBitmap;
  const int sel = DisplayedChannels(etc.FFTSel);
  bitmap.Fill(color.ClockBack);
  bitmap.HLine(0, bitmap.Width() - 1, kAxisY, color.LineColor1);
  if (sel == 2) {
    bitmap.VLine(14, 0, bitmap.Height() - 1, color.LineColor1);
    bitmap.VLine(42, 0, bitmap.Height() - 1, color.LineColor1);
  } else {
    bitmap.VLine(28, 0, bitmap.Height() - 1, color.LineColor1);
  }
  MoveGenerations(audio.ConstellationHistory, link);
  if (sel == 2) {
    // One pixel is 80000 demodulator units with two channels, 40000 with one.
    PlotChannel(audio, color.ClockText, 0, 14, 1.0 / 2400000.0);
    PlotChannel(audio, color.ClockText, 1, 42, 1.0 / 2400000.0);
  } else {
    PlotChannel(audio, color.ClockText, sel, 28, 1.0 / 1200000.0);
  }
  DrawSpectrumLabels(bitmap, etc, color.ClockText);
  link.ShowPicture(AudioPicture::Spectrum, bitmap);
}
