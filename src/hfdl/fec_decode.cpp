#include "hfdl/fec_decode.h"

#include <algorithm>
#include <cmath>

#include "app/form1_state.h"
#include "hfdl/dsp_tables.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/viterbi.h"

namespace {

constexpr int kMaxSoft = kHfdlFrameBits;  // 8PSK at 4.2 s: 5040 symbols x 3

// Scratch for one decode at a time: decoding runs in the GUI thread only.
int64_t g_stream[kMaxSoft];
int64_t g_deinterleaved[kMaxSoft];
int64_t g_matrix[kMaxSoft];

int DataSymbols(const HfdlChannelState& s) { return s.Interleave == 0 ? 2160 : 5040; }

// Gathers the data symbols of the frame (30 of every 45) and undoes the
// scrambling, which counts data symbols only.
template <typename Visit>
void ForEachDataSymbol(const Form1State& form, int channel, Visit visit) {
  const int32_t* values = form.hfdl.HfdlSoftSymbols[channel].Values;
  const auto& scrambler = GetHfdlTables().HfdlScramblerSequence;
  const int count = DataSymbols(form.hfdl.Channels[channel]);
  for (int k = 0; k < count; ++k) {
    int stored = 45 * (k / 30) + k % 30;
    int64_t i = values[stored];
    int64_t q = values[HfdlSoftSymbolStore::kSymbols + stored];
    if (scrambler[k % 120]) {
      i = -i;
      q = -q;
    }
    visit(k, i, q);
  }
}

// Feeds count values and then zeros until need bits are written, each as
// the complement of the decoder's output.
void RunViterbi(const int64_t* values, int count, int need, uint8_t* bits) {
  ViterbiDecoder d;
  ViterbiReset(d);
  ViterbiInit(d);
  int written = 0;
  auto feed = [&](int64_t v) {
    int out = ViterbiFeed(d, v);
    if (d.outputValid && written < need) bits[written++] = static_cast<uint8_t>(1 - out);
  };
  for (int n = 0; n < count; ++n) feed(values[n]);
  while (written < need) feed(0);
}

// Every decode starts from zeroed bits. False when the channel names no
// interleaver, so that nothing can be decoded.
bool StartDecode(Form1State& form, int channel) {
  form.hfdl.HfdlDecodedBits.fill(0);
  const int interleave = form.hfdl.Channels[channel].Interleave;
  return interleave == 0 || interleave == 1;
}

}  // namespace

int64_t HfdlPairAverage(int64_t a, int64_t b) { return (a + b) / 2; }

int Hfdl8pskSector(int64_t i, int64_t q) {
  // Each sector holds its upper boundary; -pi counts as pi.
  static constexpr double kBounds[7] = {-2.748893571891069, -1.9634954084936207, -1.1780972450961724,
                                        -0.39269908169872414, 0.39269908169872414, 1.1780972450961724,
                                        1.9634954084936207};
  static constexpr double kTop = 2.748893571891069;
  double phase = (i == 0 && q == 0) ? 0.0 : std::atan2(static_cast<double>(q), static_cast<double>(i));
  if (phase <= kBounds[0] || phase > kTop) return 7;
  for (int r = 0; r < 6; ++r) {
    if (phase <= kBounds[r + 1]) return r;
  }
  return 6;
}

void DeinterleaveHfdl(const int64_t* stream, int tableIndex, int64_t* out) {
  const DspTables& t = GetDspTables();
  const InterleaverMap& map = t.Interleavers[tableIndex];
  const int total = 40 * map.columns;
  // The matrix cell (column c, row r) lives at 40c + r.
  for (int j = 0; j < total; ++j) g_matrix[40 * map.column[j] + map.row[j]] = stream[j];
  for (int c = 0; c < map.columns; ++c) {
    for (int i = 0; i < 40; ++i) out[40 * c + i] = g_matrix[40 * c + t.InterleaverRowOrder[i]];
  }
}

void DecodeHfdlBpsk(Form1State& form, int channel) {
  if (!StartDecode(form, channel)) return;
  uint8_t* bits = form.hfdl.HfdlDecodedBits.data();
  const HfdlChannelState& s = form.hfdl.Channels[channel];
  const int count = DataSymbols(s);
  ForEachDataSymbol(form, channel, [](int k, int64_t, int64_t q) { g_stream[k] = q; });
  DeinterleaveHfdl(g_stream, 3 * s.Interleave + 0, g_deinterleaved);
  if (s.Rate == 0) {
    // 300 bit/s sends every code bit twice: average the pairs.
    for (int m = 0; m < count / 2; ++m) g_stream[m] = HfdlPairAverage(g_deinterleaved[2 * m], g_deinterleaved[2 * m + 1]);
    RunViterbi(g_stream, count / 2, count / 2, bits);
  } else {
    RunViterbi(g_deinterleaved, count, count, bits);
  }
}

void DecodeHfdlQpsk(Form1State& form, int channel) {
  if (!StartDecode(form, channel)) return;
  uint8_t* bits = form.hfdl.HfdlDecodedBits.data();
  const HfdlChannelState& s = form.hfdl.Channels[channel];
  const int count = 2 * DataSymbols(s);
  ForEachDataSymbol(form, channel, [](int k, int64_t i, int64_t q) {
    g_stream[2 * k] = i;
    g_stream[2 * k + 1] = q;
  });
  DeinterleaveHfdl(g_stream, 3 * s.Interleave + 1, g_deinterleaved);
  RunViterbi(g_deinterleaved, count, count, bits);
}

void DecodeHfdl8psk(Form1State& form, int channel) {
  if (!StartDecode(form, channel)) return;
  uint8_t* bits = form.hfdl.HfdlDecodedBits.data();
  const HfdlChannelState& s = form.hfdl.Channels[channel];
  const int count = 3 * DataSymbols(s);
  const auto& gray = GetHfdlTables().Hfdl8pskGrayTable;
  ForEachDataSymbol(form, channel, [&gray](int k, int64_t i, int64_t q) {
    const int8_t* row = gray[Hfdl8pskSector(i, q)];
    for (int n = 0; n < 3; ++n) g_stream[3 * k + n] = row[n];
  });
  DeinterleaveHfdl(g_stream, 3 * s.Interleave + 2, g_deinterleaved);
  for (int n = 0; n < count; ++n) g_deinterleaved[n] *= 1000;
  RunViterbi(g_deinterleaved, count, count, bits);
}
