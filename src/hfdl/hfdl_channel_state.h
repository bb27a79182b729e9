#pragma once
// The per-channel state of the HFDL demodulator and frame synchroniser.
#include <cstdint>

struct HfdlChannelState {
  // Oscillator and carrier tracking.
  double NcoPhase = 0.0;     // rad, the down-mixing oscillator
  double FineOffset = 0.0;   // Hz, PLL correction
  double ClockSign = 0.0;    // sign of the clock resonator at the previous sample
  double PllLoopState[3] = {};         // LowPass200Hz section: w0, w1, w2
  double AgcState[3] = {};             // LowPass10Hz section, newest first
  double ClockResonatorOut[3] = {};    // SymbolClockResonator output history, newest first

  // Frame state.
  uint8_t Locked = 0;
  int32_t SymbolCount = 0;
  int32_t SegmentIndex = 0;
  uint8_t InProbe = 0;
  uint8_t TrainingActive = 0;
  uint8_t PreambleTraining = 0;
  int32_t Constellation = 0;  // 0 BPSK, 1 QPSK, 2 8PSK
  uint8_t SyncFound = 0;

  // The equaliser: [0] for I, [1] for Q.
  double EqTaps[2][33] = {};
  double EqDelay[2][33] = {};
};

// The start state of constructor step 3 for one channel.
void InitHfdlChannel(HfdlChannelState& s);
// Back to the start of a frame: what closing the recording device and a
// decoder change clear, leaving filters, oscillators and the AFC alone.
void ResetHfdlFrameState(HfdlChannelState& s);
