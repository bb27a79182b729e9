#pragma once
// The 512-point FFT over a table set (SpectrumFft for the waterfall,
// SelcalFft for the SELCAL detector).
#include "audio/fft_tables.h"

// In place on t.Re and t.Im: the forward transform (kernel e^(-i 2pi nk/N)),
// radix 2, decimation in frequency, left in bit-reversed order.
void Fft512(FftTables& t);

// t.Magnitude[k] = 20 log10 |X[k]| in natural order from a bit-reversed
// result; a bin whose real or imaginary part is exactly 0 gets 0.
void FftMagnitudesInOrder(FftTables& t);
