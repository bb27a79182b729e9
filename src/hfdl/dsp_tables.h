#pragma once
// The fixed signal-processing tables that the main window's constructor
// builds before anything else: the HFDL demodulator's resonators and
// low-pass sections, the deinterleaver maps and the mode names.
#include <array>
#include <string>
#include <vector>

// y[n] = a1*y[n-1] + a2*y[n-2] + b*x[n]
struct ResonatorCoefficients {
  double a1, a2, b;
};
ResonatorCoefficients MakeResonator(double centreHz, double bandwidthHz, double gain);

// Second-order Butterworth section in direct form II:
// w = x + a1*w1 + a2*w2; y = b0*w + b1*w1 + b2*w2.
struct LowPassSection {
  double a1, a2, b0, b1, b2;
};

// The column counts of the six interleavers, in table order: 1.8 s BPSK,
// QPSK, 8PSK, then 4.2 s BPSK, QPSK, 8PSK.
constexpr std::array<int, 6> kInterleaverColumns = {54, 108, 162, 126, 252, 378};

struct InterleaverMap {
  int columns = 0;           // N
  std::vector<int> column;   // indexed by 40c + r: (c - k(40c + r)) mod N, in 0..N-1
  std::vector<int> row;      // indexed by 40c + r: r
};

struct DspTables {
  double SamplePeriod = 0.0;  // 1/11025 s
  ResonatorCoefficients SymbolClockResonator{};
  ResonatorCoefficients CarrierResonator{};
  LowPassSection LowPass10Hz{}, LowPass100Hz{}, LowPass200Hz{}, LowPass500Hz{};
  std::array<int, 40> InterleaverRowOrder{};  // 9i mod 40
  std::array<InterleaverMap, 6> Interleavers;
  std::array<std::string, 8> HfdlModeNames;  // 4 x interleave + rate, 20 characters each
};

// Built once, on first use (the constructor makes the first use).
const DspTables& GetDspTables();

// The equaliser's resting coefficients, 33 taps.
extern const std::array<double, 33> EqualizerStartTaps;
