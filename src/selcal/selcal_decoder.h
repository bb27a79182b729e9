#pragma once
// The SELCAL tone decoder of a channel.
struct SelcalState;

// Start-up: each channel's adaptive weights from their start table.
void InitSelcalWeights(SelcalState& selcal);
// Tone detection on a channel's 512 samples at 11025 Hz.
void DecodeSelcalBlock(SelcalState& selcal, int channel, double* block);
// The channel's decoder changed: the first-pair flag, the run and the wait
// for the second pair start again.
void ResetSelcalChannel(SelcalState& selcal, int channel);
// Stops the SELCAL panel's timed monitor.
void DisableTimer1(SelcalState& selcal);
