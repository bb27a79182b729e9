#include "selcal/selcal_decoder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "audio/fft.h"
#include "selcal/selcal_state.h"
#include "selcal/selcal_tables.h"

namespace {

// The enhancer works on raw 16-bit values: with this clamp its step keeps
// it stable (1e-10 x 128 x 10000^2 = 1.28, below 2).
constexpr double kClamp = 10000.0;
constexpr double kStep = 1e-10;
constexpr int kDelay = 10;
// A pair counts once its run reaches 10 blocks; a first pair waits at most
// 40 blocks for its second.
constexpr int kShortestRun = 8;
constexpr int kLongestWait = 40;

void StartWeights(SelcalChannel& c) {
  c.Weights[0] = 0.0;
  std::copy(SelcalLmsStartWeights.begin(), SelcalLmsStartWeights.end(), c.Weights.begin() + 1);
}

// The block becomes the enhancer's prediction of itself from 10 samples
// back: the tones stay, the noise goes.
void Enhance(SelcalChannel& c, double* block) {
  double* delay = c.DelayLine.data();
  double* p = c.PredictorLine.data();
  double* w = c.Weights.data();
  for (int n = 0; n < 512; ++n) {
    const double x = std::clamp(block[n], -kClamp, kClamp);
    std::copy_backward(delay, delay + kDelay, delay + kDelay + 1);
    delay[0] = x;
    std::copy_backward(p, p + 127, p + 128);
    p[0] = delay[kDelay];
    double y = 0.0;
    for (int k = 0; k < 128; ++k) y += w[k] * p[k];
    if (!std::isfinite(y)) {
      // Clamped input keeps the filter finite; should it fail all the same
      // (a NaN sample), it starts over rather than stay lost.
      StartWeights(c);
      block[n] = 0.0;
      continue;
    }
    block[n] = y;
    const double step = kStep * (x - y);
    for (int k = 0; k < 128; ++k) w[k] += step * p[k];
  }
}

}  // namespace

void InitSelcalWeights(SelcalState& selcal) {
  for (SelcalChannel& c : selcal.Channels) StartWeights(c);
}

void SelcalToneLevels(FftTables& fft, const double* block, std::array<double, 16>& levels) {
  for (int i = 0; i < FftTables::N; ++i) {
    fft.Re[i] = fft.Hann[i] * block[i];
    fft.Im[i] = 0.0;
  }
  Fft512(fft);
  // The FFT leaves bin b at the bit reversal of b; only the tone bins get
  // their logarithm.
  for (int k = 0; k < 16; ++k) {
    const int at = fft.BitReverse[SelcalToneBins[k]];
    const double re = fft.Re[at];
    const double im = fft.Im[at];
    levels[k] = re == 0.0 && im == 0.0 ? 0.0 : 20.0 * std::log(std::sqrt(re * re + im * im));
  }
}

void PickSelcalPair(const std::array<double, 16>& levels, SelcalChannelState& s) {
  // Silence between calls (a squelch, a recording) must end the call's last
  // run: kept, its pair would run on into the next call and join it.
  s.Lower = kSelcalNoPair;
  s.Upper = kSelcalNoPair;
  double best = 0.0;
  for (int k = 0; k < 16; ++k) {
    if (levels[k] > best) {
      s.Lower = k;
      best = levels[k];
    }
  }
  double second = 0.0;
  for (int k = 0; k < 16; ++k) {
    if (k != s.Lower && levels[k] > second) {
      s.Upper = k;
      second = levels[k];
    }
  }
  // A lone tone above 0 is no pair either.
  if (s.Upper == kSelcalNoPair) s.Lower = kSelcalNoPair;
  if (s.Upper < s.Lower) std::swap(s.Lower, s.Upper);
}

void StepSelcalSequencer(SelcalChannelState& s, int channel, SelcalReceiverLink& link) {
  // Only the lower tone decides whether a run goes on.
  if (s.Lower == s.PrevLower) {
    if (++s.RunCount == kSelcalLatchRun) {
      s.LatchedLower = s.Lower;
      s.LatchedUpper = s.Upper;
    }
  } else {
    // A run without a pair ends like any other but is never taken.
    if (s.RunCount > kShortestRun && s.LatchedLower != kSelcalNoPair) {
      if (s.HeldValid) {
        // A second pair sharing a tone with the first is no call.
        if (s.HeldLower != s.LatchedLower && s.HeldUpper != s.LatchedUpper) {
          SelcalCall call;
          call.Code = {SelcalLetters[s.HeldLower], SelcalLetters[s.HeldUpper], SelcalLetters[s.LatchedLower],
                       SelcalLetters[s.LatchedUpper]};
          call.Channel = channel;
          s.HeldValid = 0;
          link.CallDecoded(call);
        }
        s.HeldAge = 0;
      } else {
        s.HeldLower = s.LatchedLower;
        s.HeldUpper = s.LatchedUpper;
        s.HeldValid = 1;
        s.HeldAge = 0;
      }
    }
    s.RunCount = 0;
    s.PrevLower = s.Lower;
    s.PrevUpper = s.Upper;
  }
  if (s.HeldValid && ++s.HeldAge > kLongestWait) {
    s.HeldValid = 0;
    s.RunCount = 0;
    s.HeldAge = 0;
  }
}

void DecodeSelcalBlock(SelcalState& selcal, int channel, double* block, SelcalReceiverLink& link) {
  if (channel != 0 && channel != 1) return;
  SelcalChannel& c = selcal.Channels[channel];
  Enhance(c, block);
  std::array<double, 16> levels;
  SelcalToneLevels(selcal.SelcalFft, block, levels);
  PickSelcalPair(levels, c.Sequencer);
  StepSelcalSequencer(c.Sequencer, channel, link);
}

void ResetSelcalChannel(SelcalState& selcal, int channel) {
  if (channel != 0 && channel != 1) return;
  selcal.Channels[channel].Sequencer = SelcalChannelState{};
}
