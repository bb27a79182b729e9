// Frame synchronisation symbol by symbol, and the demodulator's block: what
// the receiver tells its link.
#include <gtest/gtest.h>

#include <cmath>

#include "hfdl/frame_sync.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/hfdl_text.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/recording_links.h"

namespace {

using testing_support::RecordingHfdlLink;

std::vector<uint8_t> SyncBits(int mode, bool inverted) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> bits(t.HfdlPreambleSequence.begin(), t.HfdlPreambleSequence.end());
  bits.insert(bits.end(), t.HfdlModeSequences[mode], t.HfdlModeSequences[mode] + 142);
  if (inverted) {
    for (uint8_t& b : bits) b ^= 1;
  }
  return bits;
}

class HfdlSync : public ::testing::Test {
 protected:
  void SetUp() override {
    for (HfdlChannelState& s : hfdl_.Channels) InitHfdlChannel(s);
  }
  void Send(int channel, const std::vector<uint8_t>& bits) {
    for (uint8_t b : bits) ProcessHfdlSymbol(hfdl_, link_, channel, b, 0, 0);
  }
  // After sync: 135 training symbols, then data whose probes are right
  // (sign -1: right once negated). Returns the data symbols it took to
  // complete the frame.
  int FeedFrame(int channel, int32_t sign = 1) {
    const auto& probe = GetHfdlTables().HfdlProbeSequence;
    const size_t before = link_.frames.size();
    for (int n = 0; n < 135; ++n) ProcessHfdlSymbol(hfdl_, link_, channel, 0, 0, 0);
    for (int n = 0; n < 8000; ++n) {
      const int position = n % 45;
      const int32_t q = position >= 30 ? sign * probe[position - 30] * 1000 : sign * 500;
      ProcessHfdlSymbol(hfdl_, link_, channel, 0, 7 * sign, q);
      if (link_.frames.size() > before) return n + 1;
    }
    return -1;
  }
  // Whether the preamble and mode bits give a sync, and of which mode.
  int SyncedMode(const std::vector<uint8_t>& bits) {
    SetUp();
    link_.syncs.clear();
    Send(0, bits);
    return link_.syncs.empty() ? -1 : link_.syncs.back().modeIndex;
  }

  HfdlReception hfdl_;
  RecordingHfdlLink link_;
};

TEST_F(HfdlSync, PreambleAndModeGiveTheFrame) {
  hfdl_.Channels[1].FreqError = 7.30834;
  Send(1, SyncBits(2, false));
  ASSERT_EQ(link_.syncs.size(), 1u);
  EXPECT_EQ(link_.syncs[0].channel, 1);
  EXPECT_EQ(link_.syncs[0].modeIndex, 2);
  EXPECT_EQ(link_.syncs[0].freqError, 7.30834);
  EXPECT_FALSE(link_.syncs[0].otherChannelReceiving);
  EXPECT_EQ(FeedFrame(1), 3241);
  ASSERT_EQ(link_.frames.size(), 1u);
  const HfdlFrameInput& f = link_.frames[0];
  EXPECT_EQ(f.ModeCode, 2);
  EXPECT_EQ(f.Channel, 1);
  EXPECT_EQ(f.SourceTag, "Rch");
  EXPECT_EQ(f.Octets.size(), 540u);
  EXPECT_EQ(f.BitCount, 8 * 540u);
  EXPECT_EQ(f.ErrorRatioLine, "ErrorRatio = 0.00000");
  // Searching again: a 4.2 s frame follows and takes its own length.
  Send(1, SyncBits(7, false));
  EXPECT_EQ(FeedFrame(1), 7561);
  EXPECT_EQ(link_.frames.back().ModeCode, 13);
  EXPECT_EQ(link_.frames.back().Octets.size(), 1890u);
}

TEST_F(HfdlSync, InvertedPreambleNegatesTheSymbols) {
  Send(0, SyncBits(2, true));
  ASSERT_EQ(link_.syncs.size(), 1u);
  EXPECT_EQ(link_.syncs[0].modeIndex, 2);
  // Probes that are right once negated count as right.
  EXPECT_EQ(FeedFrame(0, -1), 3241);
  EXPECT_EQ(link_.frames.at(0).ErrorRatioLine, "ErrorRatio = 0.00000");
}

TEST_F(HfdlSync, ErrorRatioCountsWrongProbes) {
  Send(0, SyncBits(0, false));
  // Every Q of 0 counts as +1: the probe's seven -1 values are wrong.
  for (int n = 0; n < 135 + 3241; ++n) ProcessHfdlSymbol(hfdl_, link_, 0, 0, 0, 0);
  ASSERT_EQ(link_.frames.size(), 1u);
  EXPECT_EQ(link_.frames[0].ErrorRatioLine, "ErrorRatio = 0.46667");
}

TEST_F(HfdlSync, PreambleThreshold) {
  auto withFlips = [](int flips, bool inverted) {
    std::vector<uint8_t> bits = SyncBits(2, false);
    for (int k = 0; k < flips; ++k) bits[k] ^= 1;
    if (inverted) {
      for (int k = 0; k < 254; ++k) bits[k] ^= 1;
    }
    return bits;
  };
  EXPECT_EQ(SyncedMode(withFlips(92, false)), -1);  // score 70
  EXPECT_EQ(SyncedMode(withFlips(92, true)), -1);   // score -70
  EXPECT_EQ(SyncedMode(withFlips(91, false)), 2);   // score 72
  EXPECT_EQ(SyncedMode(withFlips(91, true)), -1);   // an inverted preamble needs inverted mode bits
}

TEST_F(HfdlSync, ModeThresholdAndTies) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> preamble(t.HfdlPreambleSequence.begin(), t.HfdlPreambleSequence.end());
  auto withMode = [&](const std::vector<uint8_t>& modeBits) {
    std::vector<uint8_t> bits = preamble;
    bits.insert(bits.end(), modeBits.begin(), modeBits.end());
    return bits;
  };
  // Scores of 142 bits are even: 40 is refused, 42 accepted.
  for (int flips : {51, 50}) {
    std::vector<uint8_t> bits(t.HfdlModeSequences[6], t.HfdlModeSequences[6] + 142);
    for (int k = 0; k < flips; ++k) bits[2 * k] ^= 1;
    EXPECT_EQ(SyncedMode(withMode(bits)), flips == 50 ? 6 : -1) << flips;
  }
  // Equal scores for modes 3 and 5: the lower index wins.
  std::vector<uint8_t> tie(142);
  bool toFirst = true;
  for (int i = 0; i < 142; ++i) {
    const uint8_t a = t.HfdlModeSequences[3][i], b = t.HfdlModeSequences[5][i];
    tie[i] = a == b ? a : (toFirst ? a : b);
    if (a != b) toFirst = !toFirst;
  }
  EXPECT_EQ(SyncedMode(withMode(tie)), 3);
}

TEST_F(HfdlSync, SyncTellsOfAFrameOnTheOtherChannel) {
  Send(0, SyncBits(4, false));
  Send(1, SyncBits(5, false));
  ASSERT_EQ(link_.syncs.size(), 2u);
  EXPECT_FALSE(link_.syncs[0].otherChannelReceiving);
  EXPECT_TRUE(link_.syncs[1].otherChannelReceiving);
  // Once both have finished, a new sync finds the other channel idle.
  FeedFrame(0);
  FeedFrame(1);
  ProcessHfdlSymbol(hfdl_, link_, 0, 0, 0, 0);
  ProcessHfdlSymbol(hfdl_, link_, 1, 0, 0, 0);
  Send(0, SyncBits(4, false));
  ASSERT_EQ(link_.syncs.size(), 3u);
  EXPECT_FALSE(link_.syncs[2].otherChannelReceiving);
}

std::vector<double> Tone(double hz, int samples, double amplitude = 8000.0) {
  std::vector<double> v(static_cast<size_t>(samples));
  for (int n = 0; n < samples; ++n) v[static_cast<size_t>(n)] = amplitude * std::sin(2.0 * M_PI * hz * n / 11025.0);
  return v;
}

TEST_F(HfdlSync, BlockIsLevelledInPlace) {
  // Whatever the input level, an in-band tone leaves the block at the AGC
  // level: a mean magnitude of 3000, so a peak of 3000 pi / 2.
  for (double amplitude : {200.0, 20000.0}) {
    SetUp();
    std::vector<double> tone = Tone(1440.0, 512 * 40, amplitude);
    for (size_t n = 0; n < tone.size(); n += 512) DemodulateHfdlBlock(hfdl_, link_, 0, tone.data() + n);
    const double peak = *std::max_element(tone.end() - 512, tone.end());
    EXPECT_NEAR(peak, 3000.0 * M_PI / 2.0, 300.0) << amplitude;
  }
}

// A decoder change in the middle of a burst: the lamp goes out and the next
// burst is received whole.
TEST_F(HfdlSync, ResetInTheMiddleOfAFrame) {
  std::mt19937_64 rng(5);
  const std::vector<uint8_t> payload = hfdl_tx::BuildFrameForMode(4, rng);
  const std::vector<double> audio = hfdl_tx::Render({{4, payload, false}}, {});
  const std::vector<double> half(audio.begin(), audio.begin() + static_cast<long>(audio.size() / 2));
  testing_support::FeedHfdl(hfdl_, link_, 0, half);
  ASSERT_TRUE(link_.locks[0]);
  ResetHfdlChannel(hfdl_, link_, 0);
  EXPECT_FALSE(link_.locks[0]);
  testing_support::FeedHfdl(hfdl_, link_, 0, audio);
  EXPECT_FALSE(link_.locks[0]);
  ASSERT_EQ(link_.frames.size(), 1u);
  std::vector<uint8_t> sent = payload;
  sent.resize(link_.frames[0].Octets.size(), 0);
  EXPECT_TRUE(link_.frames[0].Octets == sent);
}

}  // namespace
