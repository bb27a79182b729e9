#include "hfdl/dsp_tables.h"

#include <cmath>

namespace {

constexpr double kSampleRate = 11025.0;

// Kept as the table gives them (rounded to eight decimals), not recomputed.
constexpr LowPassSection kLowPass10Hz = {1.99194039, -0.99197274, 0.00000809, 0.00001617, 0.00000809};
constexpr LowPassSection kLowPass100Hz = {1.91944457, -0.92256588, 0.00078033, 0.00156065, 0.00078033};
constexpr LowPassSection kLowPass200Hz = {1.8391168, -0.85112834, 0.00300289, 0.00600577, 0.00300289};
constexpr LowPassSection kLowPass500Hz = {1.60109239, -0.66836899, 0.01681915, 0.0336383, 0.01681915};

InterleaverMap BuildInterleaver(int columns, int k) {
  InterleaverMap m;
  m.columns = columns;
  m.column.resize(static_cast<size_t>(40 * columns));
  m.row.resize(static_cast<size_t>(40 * columns));
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < 40; ++r) {
      int index = 40 * c + r;
      // A mathematical remainder: C++ % keeps the sign of a negative value.
      long long v = (static_cast<long long>(c) - static_cast<long long>(k) * index) % columns;
      if (v < 0) v += columns;
      m.column[index] = static_cast<int>(v);
      m.row[index] = r;
    }
  }
  return m;
}

DspTables Build() {
  DspTables t;
  t.SamplePeriod = 1.0 / kSampleRate;
  t.SymbolClockResonator = MakeResonator(1800.0, 1.0, 1.0);
  t.CarrierResonator = MakeResonator(1440.0, 50.0, 1.0);
  t.LowPass10Hz = kLowPass10Hz;
  t.LowPass100Hz = kLowPass100Hz;
  t.LowPass200Hz = kLowPass200Hz;
  t.LowPass500Hz = kLowPass500Hz;
  for (int i = 0; i < 40; ++i) t.InterleaverRowOrder[i] = (9 * i) % 40;
  for (int i = 0; i < 6; ++i) t.Interleavers[i] = BuildInterleaver(kInterleaverColumns[i], i < 3 ? 17 : 23);
  t.HfdlModeNames = {"BPSK 300bits/s 1.8s ", "BPSK 600bits/s 1.8s ", "QPSK 1200bits/s 1.8s",
                     "8PSK 1800bits/s 1.8s", "BPSK 300bits/s 4.2s ", "BPSK 600bits/s 4.2s ",
                     "QPSK 1200bits/s 4.2s", "8PSK 1800bits/s 4.2s"};
  return t;
}

}  // namespace

ResonatorCoefficients MakeResonator(double centreHz, double bandwidthHz, double gain) {
  const double T = 1.0 / kSampleRate;
  double r2 = 2.0 * std::exp(-M_PI * bandwidthHz * T);
  return {r2 * std::cos(2.0 * M_PI * centreHz * T), -std::exp(-2.0 * M_PI * bandwidthHz * T),
          gain * std::sin(2.0 * M_PI * centreHz * T)};
}

const DspTables& GetDspTables() {
  static const DspTables tables = Build();
  return tables;
}

// A Kaiser-windowed low-pass at 5500 Hz, rounded to nine significant digits;
// symmetric about tap 16.
const std::array<double, 33> EqualizerStartTaps = {
    -0.000334796315, 0.000462359606, -0.00060243101, 0.000752854333, -0.000911062387, 0.00107413912,
    -0.00123889493,  0.00140195289,  -0.00155984311, 0.00170910211,  -0.00184637404,  0.00196851024,
    -0.00207266378,  0.00215637581,  -0.00221765063, 0.00225501704,  0.997732426,     0.00225501704,
    -0.00221765063,  0.00215637581,  -0.00207266378, 0.00196851024,  -0.00184637404,  0.00170910211,
    -0.00155984311,  0.00140195289,  -0.00123889493, 0.00107413912,  -0.000911062387, 0.000752854333,
    -0.00060243101,  0.000462359606, -0.000334796315};
