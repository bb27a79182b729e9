// The FEC: the Viterbi decoder, the soft values and a clean frame of every
// mode from the transmitter's symbols.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>

#include "hfdl/fec_decode.h"
#include "hfdl/viterbi.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

TEST(HfdlFec, EncoderFromStateZero) {
  std::vector<uint8_t> expected = {1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 1, 1, 1};
  EXPECT_EQ(hfdl_tx::Encode({1, 0, 1, 1, 0, 0, 1, 0}), expected);
}

TEST(HfdlFec, LargeSoftValuesDoNotWrapTheMetrics) {
  // A 4.2 s QPSK frame at +-800000: the metrics pass 8e9.
  std::mt19937_64 rng(3);
  std::vector<uint8_t> info(5040);
  for (size_t n = 0; n + 6 < info.size(); ++n) info[n] = rng() & 1;
  std::vector<int64_t> soft;
  for (uint8_t b : hfdl_tx::Encode(info)) soft.push_back(b ? 800000 : -800000);
  ViterbiDecoder d;
  ViterbiReset(d);
  ViterbiInit(d);
  std::vector<uint8_t> out;
  for (int64_t v : soft) {
    int bit = ViterbiFeed(d, v);
    if (d.outputValid) out.push_back(static_cast<uint8_t>(1 - bit));
  }
  EXPECT_GT(d.current->metric[d.bestState], 8000000000LL);
  ASSERT_GE(out.size(), 5000u);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), info.begin()));
}

TEST(HfdlFec, PairAverage) {
  EXPECT_EQ(HfdlPairAverage(-3, 0), -1);
  EXPECT_EQ(HfdlPairAverage(3, 0), 1);
}

int Sign(int64_t v) { return (v > 0) - (v < 0); }

TEST(HfdlFec, EightPskSoftValues) {
  // The table's rows, point by point from -135 degrees: the code bits a
  // symbol on that point carries.
  const int rows[8][3] = {{-1, -1, -1}, {+1, -1, -1}, {+1, -1, +1}, {+1, +1, +1},
                          {+1, +1, -1}, {-1, +1, -1}, {-1, +1, +1}, {-1, -1, +1}};
  const double amplitude = 400000.0;
  for (int r = 0; r < 8; ++r) {
    const double at = (r - 3) * M_PI / 4;
    const std::array<int64_t, 3> soft = Hfdl8pskSoftValues(amplitude * std::cos(at), amplitude * std::sin(at));
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(Sign(soft[n]), rows[r][n]) << "point " << r << " value " << n;
      // The nearest point of the other value is at least 45 degrees away.
      EXPECT_GE(std::llabs(soft[n]), static_cast<int64_t>(amplitude * (1 - M_SQRT1_2)));
    }
    // Halfway to the next point: the one differing value is undecided, the
    // others keep the sign both points share.
    const int next = (r + 1) % 8;
    const double half = at + M_PI / 8;
    const std::array<int64_t, 3> edge = Hfdl8pskSoftValues(amplitude * std::cos(half), amplitude * std::sin(half));
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(Sign(edge[n]), rows[r][n] == rows[next][n] ? rows[r][n] : 0) << "boundary " << r << " value " << n;
    }
  }
  // No signal, no opinion; a weaker symbol, a smaller one.
  EXPECT_EQ(Hfdl8pskSoftValues(0, 0), (std::array<int64_t, 3>{0, 0, 0}));
  EXPECT_LT(std::llabs(Hfdl8pskSoftValues(1000, 100)[0]), std::llabs(Hfdl8pskSoftValues(2000, 200)[0]));
}

// The stored symbols a clean burst leaves: the mixer mirrors the
// constellation and the loop locks BPSK on the negative Q axis; QPSK and
// 8PSK are turned a further 45 degrees back.
void StoreFrame(HfdlChannelState& s, HfdlSoftSymbolStore& store, int mode, const std::vector<uint8_t>& payload) {
  std::vector<std::complex<double>> symbols = hfdl_tx::BurstSymbols(mode, payload);
  const size_t dataStart = hfdl_tx::kPrekeySymbols + 254 + 142 + 135;
  const double turn = mode % 4 < 2 ? -M_PI / 2 : -3 * M_PI / 4;
  const std::complex<double> rotation = std::polar(500000.0, turn);
  int32_t* values = store.Values;
  for (size_t n = 0; dataStart + n < symbols.size(); ++n) {
    std::complex<double> v = std::conj(symbols[dataStart + n]) * rotation;
    values[n] = static_cast<int32_t>(v.real());
    values[HfdlSoftSymbolStore::kSymbols + n] = static_cast<int32_t>(v.imag());
  }
  s.Rate = mode % 4;
  s.Interleave = mode / 4;
}

TEST(HfdlFec, EveryModeDecodesACleanFrame) {
  auto channel = std::make_unique<HfdlChannelState>();
  auto store = std::make_unique<HfdlSoftSymbolStore>();
  std::array<uint8_t, kHfdlFrameBits> bits;
  std::mt19937_64 rng(11);
  for (int mode = 0; mode < 8; ++mode) {
    std::vector<uint8_t> payload = hfdl_tx::BuildFrameForMode(mode, rng);
    StoreFrame(*channel, *store, mode, payload);
    bits.fill(7);
    if (mode % 4 < 2) {
      DecodeHfdlBpsk(*channel, *store, bits);
    } else if (mode % 4 == 2) {
      DecodeHfdlQpsk(*channel, *store, bits);
    } else {
      DecodeHfdl8psk(*channel, *store, bits);
    }
    std::vector<uint8_t> info = hfdl_tx::InformationBitsOf(payload, mode);
    EXPECT_TRUE(std::equal(info.begin(), info.end(), bits.begin())) << mode;
    // The flush half is 0 and nothing beyond it is left over.
    EXPECT_TRUE(std::all_of(bits.begin() + info.size(), bits.end(), [](uint8_t b) { return b == 0; })) << mode;
  }
}

}  // namespace
