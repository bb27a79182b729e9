#pragma once
// The second picture of Image5: the HFDL demodulator's symbols of the last
// three blocks per channel, as I/Q points on two axes.
#include <cstdint>

struct Form1State;

struct SymbolGeneration {
  static constexpr int kCapacity = 512;
  int32_t Count = 0;
  double I[kCapacity] = {};
  double Q[kCapacity] = {};
};

struct SymbolHistory {
  // [generation][channel]; generation 2 is the newest block.
  SymbolGeneration Generation[3][2];
};

// One block: the generations move on, the newest takes HfdlBlockSymbols,
// and the picture is drawn into SpectrumBitmap and shown.
void DrawConstellation(Form1State& form);
