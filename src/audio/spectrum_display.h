#pragma once
// The waterfall of Image5: the spectrum of one or both channels, one
// column per display pass, newest on top, over 42 passes (about 3.9 s).
#include <array>
#include <cstdint>

#include "audio/audio_links.h"
#include "platform/color.h"

class Bitmap24;
struct AudioState;

constexpr int kSpectrumCells = 55;
constexpr int kSpectrumColumns = 42;
// The level that marks a channel inside a frame or block: yellow.
constexpr int kLockMarkerLevel = 1020;

// Bins per cell for a channel's decoder: 3.15 for VHF ACARS, 2.5 for HFDL
// (also for a decoder value that means nothing), 2.6 for SELCAL.
double SpectrumBinStep(int decoder);
// floor(i * step) of the exact product of i and the double step: plain
// double multiplication rounds 20 * 3.15 up to 63.
int ExactSpectrumBin(int i, double step);
// The 55 bins of a decoder's span, built once.
const std::array<int, kSpectrumCells>& SpectrumBins(int decoder);

// Blue (component 0), green (1) or red (2) of a level's colour: black
// through blue and cyan to white, yellow for the lock marker.
uint8_t WaterfallColorComponent(int level, int component);

// The analysed channels and the labels treat an FFTSel outside 0..2 as 0.
int DisplayedChannels(int fftSel);

// One pass of the spectrum and the waterfall: analyse, store a column,
// mark the channels inside a frame, draw into SpectrumBitmap, scroll,
// label, and show it while DispType is 0.
void DrawSpectrum(AudioState& audio, const WaveSettings& wave, const EtcSettings& etc, BlockPipelineLink& link);

// "L" and/or "R" on the picture for the channels FFTSel shows.
void DrawSpectrumLabels(Bitmap24& bitmap, const EtcSettings& etc, TColor colour);
