#include "audio/constellation.h"

#include <algorithm>
#include <cmath>

#include "app/form1_state.h"
#include "audio/spectrum_display.h"

namespace {

// The demodulator's symbols are drawn at this scale: 3 x 10.
constexpr double kSymbolScale = 3.0 * 10.0;
constexpr int kAxisY = 21;

void MoveGenerations(Form1State& form) {
  SymbolHistory& h = form.audio.ConstellationHistory;
  for (int ch = 0; ch < 2; ++ch) {
    h.Generation[0][ch] = h.Generation[1][ch];
    h.Generation[1][ch] = h.Generation[2][ch];
    const HfdlBlockSymbolList& block = form.hfdl.HfdlBlockSymbols[ch];
    SymbolGeneration& newest = h.Generation[2][ch];
    newest.Count = std::clamp(block.Count, 0, std::min(SymbolGeneration::kCapacity, HfdlBlockSymbolList::kCapacity));
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

void PlotChannel(Form1State& form, int channel, int centreX, double scale) {
  for (const auto& generations : form.audio.ConstellationHistory.Generation) {
    const SymbolGeneration& g = generations[channel];
    for (int k = 0; k < g.Count; ++k) {
      int dx, dy;
      if (PixelOffset(g.Q[k], scale, dx) && PixelOffset(g.I[k], scale, dy)) {
        PutPixel24(centreX - dx, kAxisY - dy, form.audio.SpectrumBitmap, form.Color.ClockText);
      }
    }
  }
}

}  // namespace

void DrawConstellation(Form1State& form) {
  Bitmap24& bitmap = form.audio.SpectrumBitmap;
  const int sel = DisplayedChannels(form.Etc.FFTSel);
  bitmap.Fill(form.Color.ClockBack);
  bitmap.HLine(0, bitmap.Width() - 1, kAxisY, form.Color.LineColor1);
  if (sel == 2) {
    bitmap.VLine(14, 0, bitmap.Height() - 1, form.Color.LineColor1);
    bitmap.VLine(42, 0, bitmap.Height() - 1, form.Color.LineColor1);
  } else {
    bitmap.VLine(28, 0, bitmap.Height() - 1, form.Color.LineColor1);
  }
  MoveGenerations(form);
  if (sel == 2) {
    // One pixel is 80000 demodulator units with two channels, 40000 with one.
    PlotChannel(form, 0, 14, 1.0 / 2400000.0);
    PlotChannel(form, 1, 42, 1.0 / 2400000.0);
  } else {
    PlotChannel(form, sel, 28, 1.0 / 1200000.0);
  }
  DrawSpectrumLabels(form, form.Color.ClockText);
  ShowSpectrumBitmap(form);
}
