#include "platform/kaiser_window.h"

#include <cmath>

double KaiserBeta40dB() { return 0.5842 * std::pow(19.0, 0.4) + 0.07886 * 19.0; }

double BesselI0(double x) {
  double sum = 1.0, term = 1.0, q = x * x / 4.0;
  for (int k = 1; k < 100 && term > 1e-20 * sum; ++k) {
    term *= q / (static_cast<double>(k) * k);
    sum += term;
  }
  return sum;
}
