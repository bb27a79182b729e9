#include "hfdl/fec_decode.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "hfdl/dsp_tables.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/viterbi.h"

namespace {

constexpr int kMaxSoft = kHfdlFrameBits;  // 8PSK at 4.2 s: 5040 symbols x 3

// The soft values of one decode, before and after deinterleaving.
struct SoftValues {
  std::vector<int64_t> stream = std::vector<int64_t>(kMaxSoft);
  std::vector<int64_t> deinterleaved = std::vector<int64_t>(kMaxSoft);
};

int DataSymbols(const HfdlChannelState& s) { return s.Interleave == 0 ? 2160 : 5040; }

// Gathers the data symbols of the frame (30 of every 45) and undoes the
// scrambling, which counts data symbols only.
template <typename Visit>
void ForEachDataSymbol(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols, Visit visit) {
  const int32_t* values = symbols.Values;
  const auto& scrambler = GetHfdlTables().HfdlScramblerSequence;
  const int count = DataSymbols(s);
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
bool StartDecode(const HfdlChannelState& s, std::array<uint8_t, kHfdlFrameBits>& bits) {
  bits.fill(0);
  return s.Interleave == 0 || s.Interleave == 1;
}

}  // namespace

int64_t HfdlPairAverage(int64_t a, int64_t b) { return (a + b) / 2; }

std::array<int64_t, 3> Hfdl8pskSoftValues(double i, double q) {
  // The points of the table's rows, at (r - 3) x 45 degrees.
  constexpr double h = 0.70710678118654752;
  static constexpr double kPointI[8] = {-h, 0.0, h, 1.0, h, 0.0, -h, -1.0};
  static constexpr double kPointQ[8] = {-h, -1.0, -h, 0.0, h, 1.0, h, 0.0};
  const auto& gray = GetHfdlTables().Hfdl8pskGrayTable;
  double correlation[8];
  for (int r = 0; r < 8; ++r) correlation[r] = i * kPointI[r] + q * kPointQ[r];
  // Max-log: how much closer the nearest point with the bit at +1 lies than
  // the nearest with it at -1. Unlike a sector's +-1 row this keeps how sure
  // the symbol is, which the decoder needs to outvote a wrong neighbour.
  std::array<int64_t, 3> soft{};
  for (int n = 0; n < 3; ++n) {
    double plus = -HUGE_VAL, minus = -HUGE_VAL;
    for (int r = 0; r < 8; ++r) {
      double& best = gray[r][n] > 0 ? plus : minus;
      best = std::max(best, correlation[r]);
    }
    soft[n] = std::llround(plus - minus);
  }
  return soft;
}

void DeinterleaveHfdl(const int64_t* stream, int tableIndex, int64_t* out) {
  const DspTables& t = GetDspTables();
  const InterleaverMap& map = t.Interleavers[tableIndex];
  const int total = 40 * map.columns;
  // The matrix cell (column c, row r) lives at 40c + r.
  std::vector<int64_t> matrix(static_cast<size_t>(total));
  for (int j = 0; j < total; ++j) matrix[static_cast<size_t>(40 * map.column[j] + map.row[j])] = stream[j];
  for (int c = 0; c < map.columns; ++c) {
    for (int i = 0; i < 40; ++i) out[40 * c + i] = matrix[static_cast<size_t>(40 * c + t.InterleaverRowOrder[i])];
  }
}

void DecodeHfdlBpsk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits) {
  if (!StartDecode(s, bits)) return;
  SoftValues v;
  const int count = DataSymbols(s);
  ForEachDataSymbol(s, symbols, [&v](int k, int64_t, int64_t q) { v.stream[k] = q; });
  DeinterleaveHfdl(v.stream.data(), 3 * s.Interleave + 0, v.deinterleaved.data());
  if (s.Rate == 0) {
    // 300 bit/s sends every code bit twice: average the pairs.
    for (int m = 0; m < count / 2; ++m) {
      v.stream[m] = HfdlPairAverage(v.deinterleaved[2 * m], v.deinterleaved[2 * m + 1]);
    }
    RunViterbi(v.stream.data(), count / 2, count / 2, bits.data());
  } else {
    RunViterbi(v.deinterleaved.data(), count, count, bits.data());
  }
}

void DecodeHfdlQpsk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits) {
  if (!StartDecode(s, bits)) return;
  SoftValues v;
  const int count = 2 * DataSymbols(s);
  ForEachDataSymbol(s, symbols, [&v](int k, int64_t i, int64_t q) {
    v.stream[2 * k] = i;
    v.stream[2 * k + 1] = q;
  });
  DeinterleaveHfdl(v.stream.data(), 3 * s.Interleave + 1, v.deinterleaved.data());
  RunViterbi(v.deinterleaved.data(), count, count, bits.data());
}

void DecodeHfdl8psk(const HfdlChannelState& s, const HfdlSoftSymbolStore& symbols,
                    std::array<uint8_t, kHfdlFrameBits>& bits) {
  if (!StartDecode(s, bits)) return;
  SoftValues v;
  const int count = 3 * DataSymbols(s);
  // Values stay within about 6e9 (twice the largest symbol), so even a long
  // frame's metrics keep far inside 64 bits.
  ForEachDataSymbol(s, symbols, [&v](int k, int64_t i, int64_t q) {
    const std::array<int64_t, 3> soft = Hfdl8pskSoftValues(static_cast<double>(i), static_cast<double>(q));
    for (int n = 0; n < 3; ++n) v.stream[3 * k + n] = soft[n];
  });
  DeinterleaveHfdl(v.stream.data(), 3 * s.Interleave + 2, v.deinterleaved.data());
  RunViterbi(v.deinterleaved.data(), count, count, bits.data());
}
