#pragma once
// The forced SELCAL monitor's optional filters, each run in place on the
// 512 samples of a channel's FilterBlock: an adaptive notch (AN), an
// adaptive noise reduction (NR) and a voice band-pass. Their states start
// at zero with the program and carry over from block to block for good.
#include <array>

struct AudioState;

template <int Taps>
struct LmsFilterState {
  double w[Taps] = {};  // weights
  double u[Taps] = {};  // tap line, newest first
  double d[10] = {};    // input delay line, newest first
};

struct FirFilterState {
  double z[51] = {};  // newest first
};

// 250..3000 Hz at 11025 Hz: a Kaiser-windowed ideal band-pass (beta from
// Kaiser's rule for 40 dB), to 9 significant digits; symmetric.
extern const std::array<double, 51> kBandPassTaps;

// AN: 16 taps fed from 9 samples back, step 1e-9; the output is the
// prediction error, so steady tones go.
void LmsFilter16(AudioState& audio, int channel);
// NR: 33 taps fed from 3 samples back, step 1e-10; the output is the
// prediction, so what is correlated (voice, tones) stays and noise goes.
void LmsFilter33(AudioState& audio, int channel);
void FirFilter51(AudioState& audio, int channel);
