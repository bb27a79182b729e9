#include "audio/fft.h"

#include <cmath>
#include <utility>

void Fft512(FftTables& t) {
  constexpr int n = FftTables::N;
  double* re = t.Re.data();
  double* im = t.Im.data();
  int h = n / 2;
  for (int step = 1; step < n; step *= 2, h /= 2) {
    for (int s = 0; s < n; s += 2 * h) {
      int k = 0;
      for (int i = s; i < s + h; ++i, k += step) {
        const int j = i + h;
        const double dr = re[i] - re[j];
        const double di = im[i] - im[j];
        re[i] += re[j];
        im[i] += im[j];
        re[j] = dr * t.Cos[k] - di * t.MinusSin[k];
        im[j] = di * t.Cos[k] + dr * t.MinusSin[k];
      }
    }
  }
}

void FftMagnitudesInOrder(FftTables& t) {
  constexpr int n = FftTables::N;
  for (int i = 0; i < n; ++i) {
    const double re = t.Re[i];
    const double im = t.Im[i];
    // Exactly 0, as the DC bin of a real signal always is: no log of 0.
    t.Magnitude[i] = re == 0.0 || im == 0.0 ? 0.0 : 20.0 * std::log10(std::sqrt(re * re + im * im));
  }
  for (int i = 0; i < n; ++i) {
    const int r = t.BitReverse[i];
    if (r > i && r < n) std::swap(t.Magnitude[i], t.Magnitude[r]);
  }
}
