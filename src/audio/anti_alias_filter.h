#pragma once
// The anti-alias low-pass filters that bring 44100 and 22050 Hz capture
// down to 11025 Hz: 51 Kaiser-windowed sinc taps each, cut at 5512.5 Hz.
#include <array>

constexpr int kAntiAliasTaps = 51;
using AntiAliasTaps = std::array<double, kAntiAliasTaps>;

// The taps for a capture rate of 44100 or 22050 Hz (computed once).
const AntiAliasTaps& AntiAliasTapsFor(int sampleRate);

// Filters `frames` samples through `taps` with the delay line `delay`
// (newest first; it carries over between calls and ends holding the last
// 51 inputs) and writes every `factor`-th filtered sample (factor 1 to 4),
// starting with the first, to samples[0], samples[1], ... Only the kept
// samples are computed; each sums its 51 products from tap 0 to tap 50, so
// the result is the same as filtering every sample.
void FilterAndDecimate(double* samples, int frames, int factor, const AntiAliasTaps& taps,
                       double (&delay)[kAntiAliasTaps]);
