// Transmitter audio through the demodulator and framer: what was sent is
// what the parser is handed; and through the program's wiring to the
// parser's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "acars/acars_receiver.h"
#include "acars/parser_fixture.h"
#include "acars/test_messages.h"
#include "support/recording_links.h"

namespace {

using acars_tx::Burst;
using acars_tx::Message;
using testing_support::RecordingAcarsLink;

constexpr double kTwoPi = 6.283185307179586;

std::string RandomText(std::mt19937& rng, int length) {
  std::uniform_int_distribution<int> c(0x20, 0x7E);
  std::string s;
  for (int i = 0; i < length; ++i) s += static_cast<char>(c(rng));
  return s;
}

// One channel of 11025 Hz audio in blocks of 512, as the pipeline feeds
// it: the blocks the framer hands on, "+" through the terminator.
std::vector<std::string> Decoded(std::vector<double> samples) {
  samples.resize((samples.size() + 511) / 512 * 512, 0.0);
  AcarsReceiver rx;
  RecordingAcarsLink link;
  for (size_t at = 0; at < samples.size(); at += 512) rx.DemodulateAcarsBlock(link, 0, samples.data() + at);
  std::vector<std::string> out;
  for (const AcarsBlock& b : link.blocks) out.push_back(Sent(b));
  return out;
}

// A mixed set: single and 3-block downlinks, uplinks of every kind, and the
// longest text a block holds.
std::vector<Burst> MixedTraffic(std::mt19937& rng) {
  std::vector<Burst> b;
  b.push_back({Down("TEST MESSAGE\r\n")});
  b.push_back({Down(RandomText(rng, 150), "M02A", false)});
  b.push_back({Down("M02B" + RandomText(rng, 150), "M02B", false)});
  b.push_back({Down("M02C" + RandomText(rng, 40), "M02C", true)});
  b.push_back({Up('A', RandomText(rng, 30), true, "SQ")});
  b.push_back({Up('A', RandomText(rng, 220), false)});  // 220 characters after STX
  b.push_back({Up('b', RandomText(rng, 220), false)});
  b.push_back({Up('C', RandomText(rng, 12), true)});
  b.push_back({Up('Z', RandomText(rng, 50), false, "C2")});
  b.push_back({Up('A', RandomText(rng, 50), true, "C2")});
  b.push_back({Down(RandomText(rng, 210), "M03A")});
  b.push_back({Down("", "M04A")});
  return b;
}

TEST(AcarsRoundTrip, CleanAndNoisyWaveFilesDecodeEveryBlock) {
  for (double snr : {std::numeric_limits<double>::infinity(), 20.0}) {
    for (int p = 0; p < 4; ++p) {
      std::mt19937 rng(100 + p);
      acars_tx::Options o;
      o.snrDb = snr;
      o.seed = 7 + p;
      o.startPhase = kTwoPi * p / 4 + 0.3;
      testing_support::TempDir dir;
      const acars_tx::Signal sent = acars_tx::Transmit(MixedTraffic(rng), o);
      ASSERT_TRUE(acars_tx::WriteWave(dir.File("acars.wav"), sent));
      acars_tx::Signal back;
      ASSERT_TRUE(acars_tx::ReadWave(dir.File("acars.wav"), back));
      EXPECT_EQ(Decoded(back.channel(0)), sent.sent) << "snr " << snr << " phase " << o.startPhase;
    }
  }
}

TEST(AcarsRoundTrip, SmallBitRateOffsetsDecodeEveryBlock) {
  for (double offset : {-0.005, 0.005}) {
    std::mt19937 rng(5);
    std::vector<Burst> bursts;
    for (int len = 0; len <= 210; len += 15) bursts.push_back({Down(RandomText(rng, len))});
    acars_tx::Options o;
    o.rateOffset = offset;
    o.startPhase = 1.0;
    const acars_tx::Signal s = acars_tx::Transmit(bursts, o);
    EXPECT_EQ(Decoded(s.channel(0)), s.sent) << offset;
  }
}

TEST(AcarsRoundTrip, OnePercentOffsetsDecodeMostShortBlocks) {
  for (double offset : {-0.01, 0.01}) {
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> len(0, 100);
    std::uniform_real_distribution<double> phase(0, kTwoPi);
    int good = 0;
    for (int i = 0; i < 20; ++i) {
      acars_tx::Options o;
      o.rateOffset = offset;
      o.startPhase = phase(rng);
      const acars_tx::Signal s = acars_tx::Transmit({{Down(RandomText(rng, len(rng)))}}, o);
      good += Decoded(s.channel(0)) == s.sent;
    }
    EXPECT_GE(good, 15) << offset;
  }
}

TEST(AcarsRoundTrip, BackToBackBurstsGiveTwoBlocks) {
  const acars_tx::Signal s = acars_tx::Transmit({{Down("FIRST")}, {Down("SECOND", "M02A"), 0, 0.0}}, {});
  EXPECT_EQ(Decoded(s.channel(0)), s.sent);
}

// Both channels of a stereo recording, block by block in turn as the
// pipeline runs them, through the program's wiring: the lamps, the
// statistics and the parser's messages of each channel.
class AcarsRoundTripWiring : public ParserTest {};

TEST_F(AcarsRoundTripWiring, StereoChannelsDecodeIndependentlyIntoMessages) {
  std::mt19937 rng(3);
  acars_tx::Options o;
  o.stereo = true;
  o.snrDb = 25;
  std::vector<Burst> bursts;
  std::vector<std::string> wantLeft, wantRight;
  for (int i = 0; i < 4; ++i) {
    const std::string down = RandomText(rng, 30 + 20 * i), up = RandomText(rng, 80 - 15 * i);
    bursts.push_back({Down(down, "M1" + std::to_string(i) + "A"), 0, 0.05});
    bursts.push_back({Up(static_cast<char>('A' + i), up), 1, 0.02});
    wantLeft.push_back(down);
    wantRight.push_back(up);
  }
  const acars_tx::Signal s = acars_tx::Transmit(bursts, o);
  std::vector<double> l = s.channel(0), r = s.channel(1);
  for (size_t at = 0; at + 512 <= l.size(); at += 512) {
    rig.wiring().DecodeBlock(0, DecoderKind::VhfAcars, l.data() + at);
    rig.wiring().DecodeBlock(1, DecoderKind::VhfAcars, r.data() + at);
  }
  std::vector<std::string> left, right;
  for (const AcarsMessage& m : Messages()) {
    EXPECT_EQ(m.Block.SourceTag, m.Downlink() ? "Lch" : "Rch");
    (m.Downlink() ? left : right).push_back(m.Text);
  }
  EXPECT_EQ(left, wantLeft);
  EXPECT_EQ(right, wantRight);
  const std::vector<std::string>& lamps = rig.effects().lamps;
  EXPECT_EQ(std::count(lamps.begin(), lamps.end(), "left:65280"), 4);
  EXPECT_EQ(std::count(lamps.begin(), lamps.end(), "right:65280"), 4);
  const ReceptionStatsRow& vhf = f.hfdl.HfdlReceptionStats.Rows[8];
  EXPECT_EQ(vhf.Received, 8);
  EXPECT_EQ(vhf.Error, 0);
}

}  // namespace
