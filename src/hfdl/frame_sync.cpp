#include "hfdl/frame_sync.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "app/form1_state.h"
#include "exchange/exchange_services.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/fec_decode.h"
#include "hfdl/hfdl_services.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/hfdl_text.h"

namespace {

constexpr int kPreambleBits = 254;
constexpr int kModeBits = 142;
constexpr int kHistoryBits = kPreambleBits + kModeBits;
static_assert(kHistoryBits == sizeof(HfdlChannelState::SyncHistory), "the window holds preamble and mode");
constexpr int kPreambleThreshold = 70;
constexpr int kModeThreshold = 41;
constexpr int kNoRate = 4;
constexpr int kNoInterleave = 3;

std::string FormatFixed(double v, int decimals) {
  char buf[64];
  auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr;
  return std::string(buf, end);
}

int Correlate(const uint8_t* a, const uint8_t* b, int n, uint8_t invert) {
  int agree = 0;
  for (int k = 0; k < n; ++k) agree += (a[k] == (b[k] ^ invert));
  return 2 * agree - n;
}

void LoadTaps(HfdlChannelState& s, const double* taps) {
  for (int b = 0; b < 2; ++b) std::copy(taps, taps + 33, s.EqTaps[b]);
}

void Search(Form1State& form, int channel, int bit) {
  HfdlChannelState& s = form.hfdl.Channels[channel];
  const HfdlTables& tables = GetHfdlTables();
  s.SyncFound = 0;
  std::memmove(s.SyncHistory, s.SyncHistory + 1, kHistoryBits - 1);
  s.SyncHistory[kHistoryBits - 1] = static_cast<uint8_t>(bit != 0);

  s.PreambleScore = Correlate(s.SyncHistory, tables.HfdlPreambleSequence.data(), kPreambleBits, 0);
  if (s.PreambleScore > kPreambleThreshold) {
    s.Locked = 1;
    s.Inverted = 0;
  } else if (s.PreambleScore < -kPreambleThreshold) {
    s.Locked = 1;
    s.Inverted = 1;
    s.PreambleScore = -s.PreambleScore;
  } else {
    s.Locked = 0;
    return;
  }

  s.ModeIndex = 0;
  s.ModeScore = 0;
  for (int m = 0; m < 8; ++m) {
    s.ModeScores[m] =
        Correlate(s.SyncHistory + kPreambleBits, tables.HfdlModeSequences[m], kModeBits, s.Inverted);
    // Strictly greater: ties keep the lower mode.
    if (s.ModeScores[m] > s.ModeScore) {
      s.ModeIndex = m;
      s.ModeScore = s.ModeScores[m];
    }
  }
  if (s.ModeScore < kModeThreshold) {
    s.Locked = 0;
    return;
  }

  s.SyncFound = 1;
  s.SymbolCount = -135;
  s.Rate = s.ModeIndex % 4;
  s.Interleave = s.ModeIndex / 4;
  s.Constellation = s.Rate < 2 ? 0 : s.Rate - 1;

  // The analysis text is shared: a frame running on the other channel keeps it.
  if (!form.hfdl.Channels[1 - channel].SyncFound) form.text.TextBuffers[kHfdlAna].clear();
  WriteHfdlAnaLog(form, channel == 0 ? "/Data Receiving(Lch)/----------------------------------"
                                     : "/Data Receiving(Rch)/----------------------------------",
                  kHfdlAna);
  WriteHfdlAnaLog(form, GetDspTables().HfdlModeNames[s.ModeIndex], kHfdlAna);
  WriteHfdlAnaLog(form, FrequencyErrorLine(s.FreqError), kHfdlAna);
  if (form.Txt.TxtType == kHfdlAna) form.svc.exchange->RefreshTextWindow(form);

  s.TrainingActive = 1;
  LoadTaps(s, tables.EqualizerSyncTaps.data());
  for (int b = 0; b < 2; ++b) std::fill(s.RefDelay[b] + 1, s.RefDelay[b] + 9, 0.0);
}

std::string MeasureErrorRatio(const Form1State& form, int channel, int segments) {
  const HfdlTables& tables = GetHfdlTables();
  const int32_t* q = form.hfdl.HfdlSoftSymbols[channel].Values + HfdlSoftSymbolStore::kSymbols;
  int right = 0;
  for (int seg = 0; seg < segments; ++seg) {
    for (int j = 0; j < 15; ++j) {
      int sign = q[45 * seg + 30 + j] >= 0 ? 1 : -1;
      right += sign == tables.HfdlProbeSequence[j];
    }
  }
  const int probes = 15 * segments;
  return ErrorRatioLine(static_cast<double>(probes - right) / probes);
}

void PassFrameOn(Form1State& form, int channel) {
  HfdlChannelState& s = form.hfdl.Channels[channel];
  const int modeCode = s.Interleave * 10 + s.Rate;
  const int octets = HfdlModeOctets(4 * s.Interleave + s.Rate);
  const uint8_t* bits = form.hfdl.HfdlDecodedBits.data();
  const std::string relay = std::string("HFDL\x01", 5) + HfdlBitsToHex(bits, octets) + '\x03';
  const char* ownTag = channel == 0 ? "Lch" : "Rch";
  auto analyze = [&] {
    form.app.SourceTag = ownTag;
    form.svc.hfdl->AnalyzeHfdlFrame(form, bits, 8 * static_cast<size_t>(octets), modeCode, channel);
  };
  if (!form.exchange.NetConnected) {
    analyze();
  } else if (form.Net.Server) {
    // Slow frames reach the clients first, fast ones after the analysis.
    if (s.Rate < 2) {
      form.svc.exchange->SendToAllClients(form, relay);
      analyze();
    } else {
      analyze();
      form.svc.exchange->SendToAllClients(form, relay);
    }
    form.audio.RxLampHold[2] = 0;
  } else {
    form.svc.exchange->SendToServer(form, relay);
  }
}

void ReturnToSearching(HfdlChannelState& s) {
  s.Locked = 0;
  s.Constellation = 0;
  s.InProbe = 0;
  s.TrainingActive = 0;
  s.FreqError = 0.0;
  s.Rate = kNoRate;
  s.Interleave = kNoInterleave;
  std::fill(std::begin(s.SyncHistory), std::end(s.SyncHistory), uint8_t{0});
  for (int b = 0; b < 2; ++b) std::fill(std::begin(s.EqDelay[b]), std::end(s.EqDelay[b]), 0.0);
  LoadTaps(s, EqualizerStartTaps.data());
}

void Receive(Form1State& form, int channel, int32_t i, int32_t q) {
  HfdlChannelState& s = form.hfdl.Channels[channel];
  if (s.SymbolCount >= 0 && s.SymbolCount < HfdlSoftSymbolStore::kSymbols) {
    int32_t* values = form.hfdl.HfdlSoftSymbols[channel].Values;
    // Symbol values are kept inside +-(2^31 - 1), so negation is safe.
    values[s.SymbolCount] = s.Inverted ? -i : i;
    values[HfdlSoftSymbolStore::kSymbols + s.SymbolCount] = s.Inverted ? -q : q;
  }
  s.SymbolCount += 1;

  bool complete = false;
  if ((s.Interleave == 0 && s.SymbolCount > 3240) || (s.Interleave == 1 && s.SymbolCount > 7560)) {
    complete = true;
    form.hfdl.ErrorRatioText[channel] = MeasureErrorRatio(form, channel, s.Interleave == 0 ? 72 : 168);
  } else if (s.SymbolCount > 7560) {
    complete = true;
    s.Rate = kNoRate;
  }
  if (!complete) return;

  if (s.Rate != kNoRate) {
    if (s.Rate < 2) {
      DecodeHfdlBpsk(form, channel);
    } else if (s.Rate == 2) {
      DecodeHfdlQpsk(form, channel);
    } else {
      DecodeHfdl8psk(form, channel);
    }
    PassFrameOn(form, channel);
  }
  ReturnToSearching(s);
}

}  // namespace

std::string FrequencyErrorLine(double freqError) {
  // printf's "%0.4f", whose sign rule the text keeps: -0.00004 reads -0.0000.
  std::string text = FormatFixed(freqError, 4);
  return (freqError >= 0.0 ? "Frequency Error = +" : "Frequency Error = ") + text + " Hz";
}

std::string ErrorRatioLine(double ratio) { return "ErrorRatio = " + FormatFixed(ratio, 5); }

int HfdlModeOctets(int modeIndex) {
  static constexpr int kOctets[8] = {135, 270, 540, 810, 315, 630, 1260, 1890};
  return kOctets[modeIndex];
}

void ProcessHfdlSymbol(Form1State& form, int channel, int bit, int32_t i, int32_t q) {
  if (form.hfdl.Channels[channel].Locked) {
    Receive(form, channel, i, q);
  } else {
    Search(form, channel, bit);
  }
}
