#pragma once
// The SELCAL tone decoder of a channel: an adaptive line enhancer cleans
// the block, a windowed 512-point FFT measures the sixteen tones, the two
// strongest make the block's pair, and a sequencer turns two long enough,
// different pairs into a four-letter code.
#include <array>

#include "selcal/selcal_call.h"

struct FftTables;
struct SelcalChannelState;
struct SelcalState;

// The run length (RunCount) at which a pair is taken: the sixth block of a
// run, 0.23-0.28 s into the pair. Earlier blocks may still carry the
// previous pair while the enhancer lets go of its tones.
constexpr int kSelcalLatchRun = 5;

// Start-up: each channel's adaptive weights from their start table.
void InitSelcalWeights(SelcalState& selcal);
// Tone detection on a channel's 512 samples at 11025 Hz, raw 16-bit sample
// values: the block is clamped to +-10000 and left holding the enhancer's
// output. A completed code goes to link.
void DecodeSelcalBlock(SelcalState& selcal, int channel, double* block, SelcalReceiverLink& link);
// The channel's decoder changed: its run and any first pair held are
// forgotten, as at start, so that a pair heard before never completes a
// call after.
void ResetSelcalChannel(SelcalState& selcal, int channel);

// The steps of a block, apart for the tests.
// Hann window and FFT of block; levels[k] is 20 ln |X| at tone k's bin, 0
// when both parts are exactly 0.
void SelcalToneLevels(FftTables& fft, const double* block, std::array<double, 16>& levels);
// The block's pair into s.Lower and s.Upper: the two strongest tones above
// level 0; without one, kSelcalNoPair.
void PickSelcalPair(const std::array<double, 16>& levels, SelcalChannelState& s);
// One block of the sequencer over s.Lower and s.Upper.
void StepSelcalSequencer(SelcalChannelState& s, int channel, SelcalReceiverLink& link);
