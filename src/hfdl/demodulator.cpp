#include "hfdl/hfdl_receiver.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "hfdl/dsp_tables.h"
#include "hfdl/frame_sync.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_tables.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kCarrierHz = 1440.0;

// A delay line with the newest sample at element 0.
template <int N>
inline void Push(double (&line)[N], double x) {
  std::memmove(line + 1, line, sizeof(double) * (N - 1));
  line[0] = x;
}

template <int N>
inline double Dot(const double* taps, const double (&line)[N]) {
  // Four partial sums keep the adder pipeline busy.
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  int k = 0;
  for (; k + 4 <= N; k += 4) {
    s0 += taps[k] * line[k];
    s1 += taps[k + 1] * line[k + 1];
    s2 += taps[k + 2] * line[k + 2];
    s3 += taps[k + 3] * line[k + 3];
  }
  for (; k < N; ++k) s0 += taps[k] * line[k];
  return (s0 + s1) + (s2 + s3);
}

template <int N>
inline double Fir(const double* taps, double (&line)[N], double x) {
  Push(line, x);
  return Dot(taps, line);
}

// Direct form II, state newest first.
inline double LowPass(const LowPassSection& c, double (&w)[3], double x) {
  w[0] = x + c.a1 * w[1] + c.a2 * w[2];
  double y = c.b0 * w[0] + c.b1 * w[1] + c.b2 * w[2];
  w[2] = w[1];
  w[1] = w[0];
  return y;
}

// Output history newest first: (y, y1, y2).
inline double Resonate(const ResonatorCoefficients& c, double (&y)[3], double x) {
  double out = c.b * x + c.a1 * y[1] + c.a2 * y[2];
  y[2] = y[1];
  y[1] = out;
  y[0] = out;
  return out;
}

inline double AdvancePhase(double phase, double hz, double samplePeriod) {
  phase += hz * kTwoPi * samplePeriod;
  // Once, not fmod: the step never exceeds a turn.
  if (phase >= kTwoPi) phase -= kTwoPi;
  return phase;
}

// Truncates toward zero; values beyond int32 saturate (a diverging
// equaliser on junk audio reaches them, and the conversion would be
// undefined). The range is symmetric so that negating a stored symbol
// stays inside it.
inline int32_t ToSymbolValue(double v) {
  constexpr double kMax = 2147483647.0;
  if (!(v > -kMax)) return v != v ? 0 : -2147483647;
  if (v >= kMax) return 2147483647;
  return static_cast<int32_t>(v);
}

void RunTrainingSchedule(HfdlChannelState& s) {
  if (!s.TrainingActive) return;
  if (!s.InProbe && s.SymbolCount == -135) {
    // Sync was found at this symbol: the probes after the preamble train.
    s.InProbe = 1;
    s.PreambleTraining = 1;
    s.SegmentIndex = 0;
    s.PreambleRepeat = 0;
    s.ProbeIndex = 0;
  } else if (!s.InProbe && s.SymbolCount >= 0) {
    int d = s.SymbolCount - 45 * s.SegmentIndex;
    if (d > 0 && d % 30 == 0) {
      s.InProbe = 1;
      s.PreambleTraining = 0;
      s.SegmentIndex += 1;
      s.PreambleRepeat = 0;
      s.ProbeIndex = 0;
    }
  } else if (s.InProbe) {
    s.ProbeIndex += 1;
    if (s.ProbeIndex >= 15) {
      s.ProbeIndex = 0;
      if (!s.PreambleTraining) {
        s.InProbe = 0;
      } else {
        s.PreambleRepeat += 1;
        if (s.PreambleRepeat > 8) {
          s.InProbe = 0;
          s.PreambleTraining = 0;
          s.PreambleRepeat = 0;
        }
      }
    }
  }
}

double SymbolPhaseError(const HfdlChannelState& s, double i, double q) {
  double theta = (i == 0.0 && q == 0.0) ? 0.0 : std::atan2(q, i);
  // An infinite output (a diverged equaliser) has no phase; it must not
  // reach the loop filter, which would never recover.
  if (!std::isfinite(theta)) return 0.0;
  theta += kPi;
  const bool eightAsQpsk = s.Constellation == 2 && s.InProbe;
  if (s.Constellation == 1 || eightAsQpsk) {
    theta *= 2.0;
  } else if (s.Constellation == 2) {
    theta = (theta + kPi / 8.0) * 4.0;
  }
  int k = static_cast<int>(theta / kPi);
  if (k >= 1) theta -= k * kPi;
  theta -= kPi / 2.0;
  if (s.Constellation == 1 || eightAsQpsk) return theta * -2.0;
  if (s.Constellation == 2) return theta * -1.0;
  return theta * -4.0;
}

// Adapts once per known symbol, on the value at its strobe: that value is
// what the decoder sees. Adapting at every sample of the symbol pulls the
// output towards a flat top instead, which costs eye opening and lets
// equaliser and symbol clock drag each other along. The step is three times
// the per-sample one, as there are about six samples to a symbol.
void TrainEqualizer(HfdlChannelState& s, const HfdlTables& tables, double iOut, double qOut) {
  if (!s.TrainingActive || !s.InProbe) return;
  constexpr double kStep = 7.5e-14;
  const double reference = tables.HfdlProbeSequence[s.ProbeIndex] * (s.Inverted ? -10000.0 : 10000.0);
  if (s.Constellation == 0) {
    // BPSK lies on Q: train Q and let I follow.
    double error = reference - 0.002 * qOut;
    for (int k = 0; k < 33; ++k) s.EqTaps[1][k] += kStep * s.EqDelay[1][k] * error;
    std::memcpy(s.EqTaps[0], s.EqTaps[1], sizeof s.EqTaps[1]);
  } else {
    const double out[2] = {iOut, qOut};
    for (int b = 0; b < 2; ++b) {
      double error = reference - 0.002 * out[b];
      for (int k = 0; k < 33; ++k) s.EqTaps[b][k] += kStep * s.EqDelay[b][k] * error;
    }
  }
}

}  // namespace

void DemodulateHfdlBlock(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, double* block) {
  const DspTables& dsp = GetDspTables();
  const HfdlTables& tables = GetHfdlTables();
  const double Ts = dsp.SamplePeriod;
  HfdlChannelState& s = hfdl.Channels[channel];
  HfdlBlockSymbolList& symbols = hfdl.HfdlBlockSymbols[channel];
  symbols.Count = 0;

  for (int n = 0; n < 512; ++n) {
    // 1-3: band-pass, level, band-pass again.
    double x = Fir(tables.HfdlBandPassTaps.data(), s.BandPassDelay[0], block[n]);
    double envelope = LowPass(dsp.LowPass10Hz, s.AgcState, std::fabs(x));
    if (envelope < 1.0) envelope = 1.0;
    x = std::clamp(x * 3000.0 / envelope, -10000.0, 10000.0);
    x = Fir(tables.HfdlBandPassTaps.data(), s.BandPassDelay[1], x);
    block[n] = x;

    // 4-7: the carrier and its offset, measured while no frame runs.
    double r = Resonate(dsp.CarrierResonator, s.CarrierResonatorOut, x);
    double level = LowPass(dsp.LowPass100Hz, s.CarrierLevelState, std::fabs(r));
    s.AfcPhase = AdvancePhase(s.AfcPhase, s.AfcOffset + kCarrierHz, Ts);
    double p = 3000.0 * std::sin(s.AfcPhase) * r;
    s.AfcOffset = 1.25e-6 * LowPass(dsp.LowPass500Hz, s.AfcLoopState, p);
    if (level <= 30000.0) {
      s.CarrierCount = 0;
      s.CarrierOffsetSum = 0.0;
    } else {
      s.CarrierCount += 1;
      s.CarrierOffsetSum += s.AfcOffset;
      if (s.CarrierCount > 512 && !s.Locked) {
        // 513 samples over 512: kept, it is what the offset line shows.
        s.FreqError = s.CarrierOffsetSum / 512.0;
        s.CarrierOffsetSum = 0.0;
        s.CarrierCount = 0;
      }
    }

    // 8-9: down to baseband; the oscillator uses the previous FineOffset.
    s.NcoPhase = AdvancePhase(s.NcoPhase, s.FineOffset + kCarrierHz + s.FreqError, Ts);
    double psi = s.Constellation == 0 ? s.NcoPhase : s.NcoPhase - kPi / 4.0;
    double i = 3000.0 * std::cos(psi) * x;
    double q = 3000.0 * std::sin(psi) * x;
    s.FineOffset = 5.0 * LowPass(dsp.LowPass200Hz, s.PllLoopState, s.PhaseError);

    // 10-11: matched filter and equaliser.
    i = std::clamp(Fir(tables.HfdlBasebandTaps.data(), s.BasebandDelay[0], i), -1e8, 1e8);
    q = std::clamp(Fir(tables.HfdlBasebandTaps.data(), s.BasebandDelay[1], q), -1e8, 1e8);
    const double scale = s.TrainingActive ? 0.1 : 1.0 / 3.0;
    double iOut = Fir(s.EqTaps[0], s.EqDelay[0], i) * scale;
    double qOut = Fir(s.EqTaps[1], s.EqDelay[1], q) * scale;

    // 12: a rising zero crossing of the clock resonator is a symbol.
    double c = Resonate(dsp.SymbolClockResonator, s.ClockResonatorOut, std::fabs(qOut));
    double sign = c >= 0.0 ? 1.0 : -1.0;
    if (s.ClockSign < sign) {
      int bit = qOut >= 0.0 ? 1 : 0;
      int32_t isym = ToSymbolValue(0.1 * iOut);
      int32_t qsym = ToSymbolValue(0.1 * qOut);
      if (symbols.Count < HfdlBlockSymbolList::kCapacity) {
        symbols.I[symbols.Count] = isym;
        symbols.Q[symbols.Count] = qsym;
        symbols.Count += 1;
      }
      ProcessHfdlSymbol(hfdl, link, channel, bit, isym, qsym);
      // ProbeIndex still names this symbol; the schedule moves it on.
      TrainEqualizer(s, tables, iOut, qOut);
      RunTrainingSchedule(s);
      s.PhaseError = SymbolPhaseError(s, iOut, qOut);
    }
    s.ClockSign = sign;
  }

  // A measured offset holds for 11 more blocks unless a frame runs.
  if (s.FreqError == 0.0) {
    s.FreqErrorAge = 0;
  } else if (s.FreqErrorAge < 11 || s.Locked) {
    s.FreqErrorAge += 1;
  } else {
    s.FreqErrorAge = 0;
    s.FreqError = 0.0;
  }
  link.LockLamp(channel, s.Locked != 0);
}

void ResetHfdlChannel(HfdlReception& hfdl, HfdlReceiverLink& link, int channel) {
  ResetHfdlFrameState(hfdl.Channels[channel]);
  link.LockLamp(channel, false);
}
