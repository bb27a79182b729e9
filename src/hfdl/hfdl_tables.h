#pragma once
// The fixed tables of the HFDL demodulator, frame synchroniser and decoder
// beside those of dsp_tables.h, built once on first use.
#include <array>
#include <cstdint>

struct HfdlTables {
  std::array<double, 51> HfdlBandPassTaps{};  // 240..2640 Hz, Kaiser-windowed
  std::array<double, 49> HfdlBasebandTaps{};  // half a root-raised-cosine, 4 samples per symbol
  std::array<double, 33> EqualizerSyncTaps{};
  std::array<int8_t, 15> HfdlProbeSequence{};        // +1/-1
  std::array<uint8_t, 254> HfdlPreambleSequence{};   // the 127-bit sequence twice
  uint8_t HfdlModeSequences[8][142] = {};
  std::array<uint8_t, 120> HfdlScramblerSequence{};
  // Per constellation point (at (r - 3) x 45 degrees) the signs of its three
  // soft values, in the order they are produced.
  int8_t Hfdl8pskGrayTable[8][3] = {};
};

const HfdlTables& GetHfdlTables();

// Rounds to nine significant digits, as the stored taps are.
double RoundToNineDigits(double v);
