// The FEC: the Viterbi decoder, the soft values and a clean frame of every
// mode from the transmitter's symbols.
#include <gtest/gtest.h>

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

TEST(HfdlFec, PairAverageAndEightPskSectors) {
  EXPECT_EQ(HfdlPairAverage(-3, 0), -1);
  EXPECT_EQ(HfdlPairAverage(3, 0), 1);
  EXPECT_EQ(Hfdl8pskSector(0, 0), 3);
  EXPECT_EQ(Hfdl8pskSector(1000, 414), 3);
  EXPECT_EQ(Hfdl8pskSector(1000, 415), 4);
  EXPECT_EQ(Hfdl8pskSector(-1000, 0), 7);
  EXPECT_EQ(Hfdl8pskSector(-1000, -1), 7);
  EXPECT_EQ(Hfdl8pskSector(0, -1000), 1);
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
