#include "hfdl/hfdl_channel_state.h"

#include <algorithm>

#include "hfdl/dsp_tables.h"

void InitHfdlChannel(HfdlChannelState& s) {
  s.NcoPhase = 0.0;
  s.FineOffset = 0.0;
  // Negative, so that the first sample is a strobe.
  s.ClockSign = -10.0;
  std::fill(std::begin(s.PllLoopState), std::end(s.PllLoopState), 0.0);
  // The AGC and clock resonator start where a steady signal leaves them.
  s.AgcState[0] = 10594.8855652922;
  s.AgcState[1] = 10594.8855652922;
  s.AgcState[2] = 10593.9632725435;
  s.ClockResonatorOut[0] = 6159343.42637719;
  s.ClockResonatorOut[1] = 6159343.42637719;
  s.ClockResonatorOut[2] = -869159.603655451;
  ResetHfdlFrameState(s);
}

void ResetHfdlFrameState(HfdlChannelState& s) {
  s.Locked = 0;
  s.SymbolCount = 0;
  s.SegmentIndex = 0;
  s.InProbe = 0;
  s.TrainingActive = 0;
  s.PreambleTraining = 0;
  s.SyncFound = 0;
  s.Constellation = 0;
  for (int b = 0; b < 2; ++b) {
    std::copy(EqualizerStartTaps.begin(), EqualizerStartTaps.end(), s.EqTaps[b]);
    std::fill(std::begin(s.EqDelay[b]), std::end(s.EqDelay[b]), 0.0);
  }
}
