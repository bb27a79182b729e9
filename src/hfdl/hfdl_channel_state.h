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

  // Training.
  uint8_t Inverted = 0;
  int32_t ProbeIndex = 0;      // 0..14 in the probe sequence
  int32_t PreambleRepeat = 0;  // completed 15-symbol runs after the preamble

  // Frequency tracking.
  double FreqError = 0.0;      // Hz, the offset measured on the carrier
  int32_t FreqErrorAge = 0;    // blocks since FreqError became non-zero
  double AfcPhase = 0.0;       // rad
  double AfcOffset = 0.0;      // Hz
  int32_t CarrierCount = 0;
  double CarrierOffsetSum = 0.0;
  double PhaseError = 0.0;     // of the last symbol, held until the next

  // Filter states; delay lines hold the newest sample at element 0.
  double BandPassDelay[2][51] = {};  // the two band-pass passes
  double BasebandDelay[2][49] = {};  // I, Q
  double CarrierResonatorOut[3] = {};
  double CarrierLevelState[3] = {};  // LowPass100Hz section
  double AfcLoopState[3] = {};       // LowPass500Hz section

  // Frame synchronisation.
  uint8_t SyncHistory[396] = {};  // hard bits, oldest first
  int32_t PreambleScore = 0;
  int32_t ModeScores[8] = {};
  int32_t ModeIndex = 0;
  int32_t ModeScore = 0;
  int32_t Rate = 0;        // 0..3 = 300, 600, 1200, 1800 bit/s; 4 none
  int32_t Interleave = 0;  // 0 = 1.8 s, 1 = 4.2 s; 3 none
};

// The symbols of the current block of one channel, for the constellation view.
struct HfdlBlockSymbolList {
  static constexpr int kCapacity = 512;
  int32_t Count = 0;
  int32_t I[kCapacity] = {};
  int32_t Q[kCapacity] = {};
};

// The integer I and Q of the symbols of the frame being received; symbol n
// has I at n and Q at kSymbols + n.
struct HfdlSoftSymbolStore {
  static constexpr int kSymbols = 7560;
  int32_t Values[2 * kSymbols] = {};
};

// One byte per bit, the most any frame decodes to.
constexpr int kHfdlFrameBits = 15120;

// The start state of constructor step 3 for one channel.
void InitHfdlChannel(HfdlChannelState& s);
// Back to the start of a frame: what closing the recording device and a
// decoder change clear, leaving filters, oscillators and the AFC alone.
void ResetHfdlFrameState(HfdlChannelState& s);
