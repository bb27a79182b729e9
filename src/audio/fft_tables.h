#pragma once
// The tables of a 512-point FFT. The spectrum display and the SELCAL
// detector each keep a set built by the same builder.
#include <array>

struct FftTables {
  static constexpr int N = 512;
  double TwoPiOverN = 0.0;
  std::array<double, 256> Cos{};       // cos(k * 2pi/512)
  std::array<double, 256> MinusSin{};  // -sin(k * 2pi/512)
  std::array<int, 512> BitReverse{};   // the 9-bit bit-reversal permutation
  std::array<double, 512> Hann{};      // 0.5 - 0.5 cos(k * 2pi/512)
  // Work arrays of the set's user.
  std::array<double, 512> Re{};
  std::array<double, 512> Im{};
  std::array<double, 512> Magnitude{};
};

FftTables BuildFftTables();
