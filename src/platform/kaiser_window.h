#pragma once
// The Kaiser window that the decoders' filters are designed with.

// The Kaiser window parameter for 40 dB, computed in full.
double KaiserBeta40dB();
// Modified Bessel function of the first kind, order 0.
double BesselI0(double x);
