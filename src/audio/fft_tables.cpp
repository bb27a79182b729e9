#include "audio/fft_tables.h"

#include <cmath>

FftTables BuildFftTables() {
  FftTables t;
  const double step = 2.0 * M_PI / FftTables::N;
  t.TwoPiOverN = step;
  for (int k = 0; k < 256; ++k) {
    t.Cos[k] = std::cos(k * step);
    t.MinusSin[k] = -std::sin(k * step);
  }
  // Built by doubling: the upper half of each prefix is the lower half plus h.
  t.BitReverse[0] = 0;
  int h = FftTables::N / 2;
  for (int m = 1; m < FftTables::N; m *= 2) {
    for (int j = 0; j < m; ++j) t.BitReverse[m + j] = t.BitReverse[j] + h;
    h /= 2;
  }
  for (int k = 0; k < FftTables::N; ++k) t.Hann[k] = 0.5 - 0.5 * std::cos(k * step);
  return t;
}
