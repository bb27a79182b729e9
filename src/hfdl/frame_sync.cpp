#include "hfdl/frame_sync.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "hfdl/dsp_tables.h"
#include "hfdl/fec_decode.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
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

int Correlate(const uint8_t* a, const uint8_t* b, int n, uint8_t invert) {
  int agree = 0;
  for (int k = 0; k < n; ++k) agree += (a[k] == (b[k] ^ invert));
  return 2 * agree - n;
}

void LoadTaps(HfdlChannelState& s, const double* taps) {
  for (int b = 0; b < 2; ++b) std::copy(taps, taps + 33, s.EqTaps[b]);
}

void Search(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, int bit) {
  HfdlChannelState& s = hfdl.Channels[channel];
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

  link.SyncFound(channel, s.ModeIndex, s.FreqError, hfdl.Channels[1 - channel].SyncFound != 0);

  s.TrainingActive = 1;
  LoadTaps(s, tables.EqualizerSyncTaps.data());
}

std::string MeasureErrorRatio(const HfdlReception& hfdl, int channel, int segments) {
  const HfdlTables& tables = GetHfdlTables();
  const int32_t* q = hfdl.HfdlSoftSymbols[channel].Values + HfdlSoftSymbolStore::kSymbols;
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

void PassFrameOn(HfdlReception& hfdl, HfdlReceiverLink& link, int channel) {
  const HfdlChannelState& s = hfdl.Channels[channel];
  const int octets = HfdlModeOctets(4 * s.Interleave + s.Rate);
  const uint8_t* bits = hfdl.HfdlDecodedBits.data();
  HfdlFrameInput frame;
  frame.Octets.assign(static_cast<size_t>(octets), 0);
  for (int k = 0; k < octets; ++k) {
    uint8_t octet = 0;
    for (int b = 0; b < 8; ++b) octet |= static_cast<uint8_t>((bits[8 * k + b] & 1) << b);
    frame.Octets[static_cast<size_t>(k)] = octet;
  }
  frame.BitCount = 8 * static_cast<size_t>(octets);
  frame.ModeCode = s.Interleave * 10 + s.Rate;
  frame.Channel = channel;
  frame.SourceTag = channel == 0 ? "Lch" : "Rch";
  frame.ErrorRatioLine = hfdl.ErrorRatioText[static_cast<size_t>(channel)];
  link.FrameDecoded(std::move(frame));
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

void Receive(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, int32_t i, int32_t q) {
  HfdlChannelState& s = hfdl.Channels[channel];
  if (s.SymbolCount >= 0 && s.SymbolCount < HfdlSoftSymbolStore::kSymbols) {
    int32_t* values = hfdl.HfdlSoftSymbols[channel].Values;
    // Symbol values are kept inside +-(2^31 - 1), so negation is safe.
    values[s.SymbolCount] = s.Inverted ? -i : i;
    values[HfdlSoftSymbolStore::kSymbols + s.SymbolCount] = s.Inverted ? -q : q;
  }
  s.SymbolCount += 1;

  bool complete = false;
  if ((s.Interleave == 0 && s.SymbolCount > 3240) || (s.Interleave == 1 && s.SymbolCount > 7560)) {
    complete = true;
    hfdl.ErrorRatioText[static_cast<size_t>(channel)] = MeasureErrorRatio(hfdl, channel, s.Interleave == 0 ? 72 : 168);
  } else if (s.SymbolCount > 7560) {
    complete = true;
    s.Rate = kNoRate;
  }
  if (!complete) return;

  if (s.Rate != kNoRate) {
    const HfdlSoftSymbolStore& symbols = hfdl.HfdlSoftSymbols[channel];
    if (s.Rate < 2) {
      DecodeHfdlBpsk(s, symbols, hfdl.HfdlDecodedBits);
    } else if (s.Rate == 2) {
      DecodeHfdlQpsk(s, symbols, hfdl.HfdlDecodedBits);
    } else {
      DecodeHfdl8psk(s, symbols, hfdl.HfdlDecodedBits);
    }
    PassFrameOn(hfdl, link, channel);
  }
  ReturnToSearching(s);
}

}  // namespace

int HfdlModeOctets(int modeIndex) {
  static constexpr int kOctets[8] = {135, 270, 540, 810, 315, 630, 1260, 1890};
  return kOctets[modeIndex];
}

void ProcessHfdlSymbol(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, int bit, int32_t i, int32_t q) {
  if (hfdl.Channels[channel].Locked) {
    Receive(hfdl, link, channel, i, q);
  } else {
    Search(hfdl, link, channel, bit);
  }
}
