#pragma once
// The HFDL demodulator: from one channel's 512-sample block at 11025 Hz to
// PSK symbols, each handed to ProcessHfdlSymbol at its strobe.
struct Form1State;

// Overwrites the channel's AudioBlock row with the band-passed, levelled
// signal, fills HfdlBlockSymbols and sets the channel's lock lamp.
void DemodulateHfdlBlock(Form1State& form, int channel);
// A decoder change: frame state, ACARS block, SELCAL flags and lamp start
// afresh; filters, oscillators and the AFC keep their state.
void ResetDemodulatorChannel(Form1State& form, int channel);
