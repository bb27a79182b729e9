// Audio to blocks: the demodulator's filters, the framer at bit level, and
// the test transmitter's audio through both and the program's wiring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "acars/acars_receiver.h"
#include "acars/parser_fixture.h"
#include "support/recording_links.h"

namespace {

using acars_tx::Burst;
using testing_support::RecordingAcarsLink;
using Strings = std::vector<std::string>;

constexpr double kPi = 3.14159265358979323846;

double Gain(const std::array<double, 51>& taps, double hz) {
  std::complex<double> sum = 0.0;
  for (int j = 0; j < 51; ++j) sum += taps[j] * std::polar(1.0, -2.0 * kPi * hz * j / 11025.0);
  return std::abs(sum);
}

TEST(AcarsDemodulator, FilterGainsAndThePhaseOfZero) {
  const AcarsDemodConstants& c = AcarsDemodTables();
  // Each filter's gain from one frequency to another in steps of 50 Hz.
  const std::tuple<const std::array<double, 51>*, double, double, double, double> bands[] = {
      {&c.BandPassTaps, 600, 600, 0.772, 0.776},   {&c.BandPassTaps, 3000, 3000, 0.774, 0.778},
      {&c.BandPassTaps, 1000, 2700, 0.99, 1.01},   {&c.LowPassTaps, 1200, 1200, 0.948, 0.952},
      {&c.LowPassTaps, 1500, 1500, 0.223, 0.227},  {&c.HilbertTaps, 300, 5000, 0.99, 1.004}};
  for (const auto& [taps, from, to, low, high] : bands) {
    for (double f = from; f <= to; f += 50) EXPECT_TRUE(Gain(*taps, f) >= low && Gain(*taps, f) <= high) << f;
  }
  for (double i : {0.0, -0.0}) {
    for (double q : {0.0, -0.0}) EXPECT_EQ(AcarsPhase(i, q), 0.0);
  }
  // I first: a positive real part with no quadrature is +pi/2.
  EXPECT_DOUBLE_EQ(AcarsPhase(1.0, 0.0), kPi / 2);
  EXPECT_DOUBLE_EQ(AcarsPhase(0.0, -1.0), kPi);
}

// The block's bits from "+" on, as sent (no pre-key), and one more
// character's worth: the framer closes a block once a bit past its DEL
// arrives.
std::vector<int> BlockBits(const acars_tx::Message& m) {
  std::vector<int> bits = acars_tx::OnAirBits(m, 0);
  bits.insert(bits.end(), 8, 1);
  return bits;
}

std::vector<int> CharacterBits(const std::string& characters) {
  std::vector<int> bits;
  for (char c : characters) {
    const uint8_t byte = acars_tx::WithOddParity(static_cast<uint8_t>(c));
    for (int i = 0; i < 8; ++i) bits.push_back((byte >> i) & 1);
  }
  return bits;
}

// Hands the bits to the framer: the sync pattern as it is, everything after
// it inverted (the framer stores the complement of what it is handed).
// Stops where the framer leaves the block.
void Feed(AcarsReceiver& rx, RecordingAcarsLink& link, const std::vector<int>& bits, int channel = 0) {
  for (size_t i = 0; i < bits.size(); ++i) {
    rx.ReceiveAcarsBit(link, channel, i < 40 ? bits[i] : 1 - bits[i]);
    if (i >= 40 && !rx.InBlock(channel)) return;
  }
}

// The two characters of the block check sequence as the framer reads them.
std::string CheckSequence(const acars_tx::Message& m) {
  std::string covered;
  for (char c : acars_tx::BlockBody(m)) covered += static_cast<char>(acars_tx::WithOddParity(static_cast<uint8_t>(c)));
  const uint16_t bcs = acars_tx::BlockCheck(covered);
  return {static_cast<char>(bcs & 0x7F), static_cast<char>((bcs >> 8) & 0x7F)};
}

TEST(AcarsFramer, TheCrcHoldsOnlyOverAnIntactBlockAndGoodBlocksAreHandedOnWhole) {
  // The transmitter's check against the known check value of this CRC.
  EXPECT_EQ(acars_tx::BlockCheck("123456789"), 0x2189);
  const acars_tx::Message etx = Down("TEST MESSAGE\r\n"), etb = Down("TEST MESSAGE\r\n", "M01A", false);
  const std::vector<int> on = BlockBits(etx);
  // Mode through the BCS: from bit 40 up to the DEL.
  std::vector<uint8_t> bits(on.begin(), on.end() - 16);
  const int end = static_cast<int>(bits.size());
  EXPECT_TRUE(AcarsCrcIsZero(bits.data(), 40, end));
  for (int i = 40; i < end; ++i) {
    bits[i] ^= 1;
    EXPECT_FALSE(AcarsCrcIsZero(bits.data(), 40, end)) << i;
    bits[i] ^= 1;
  }
  AcarsReceiver rx;
  RecordingAcarsLink link;
  Feed(rx, link, on);
  Feed(rx, link, BlockBits(etb), 1);
  ASSERT_EQ(link.blocks.size(), 2u);
  for (const auto& [b, m] : {std::pair{link.blocks[0], etx}, {link.blocks[1], etb}}) {
    EXPECT_EQ(Sent(b), acars_tx::BlockCharacters(m));
    EXPECT_EQ(b.CheckSequence, CheckSequence(m));
    EXPECT_EQ(b.End, m.etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb);
  }
}

TEST(AcarsFramer, SyncNeedsAll24BitsInEitherSense) {
  const std::vector<int> sync(AcarsPreambleBits + 16, AcarsPreambleBits + 40);
  for (int wrong = -2; wrong < 24; ++wrong) {
    AcarsReceiver rx;
    RecordingAcarsLink link;
    for (int i = 0; i < 24; ++i) rx.ReceiveAcarsBit(link, 0, (i == wrong) ^ (wrong == -2) ^ sync[i]);
    EXPECT_EQ(rx.InBlock(0), wrong < 0) << wrong;  // -1 as sent, -2 inverted
  }
}

TEST(AcarsFramer, BadBlocksFailLightRedAndTheNextIsFoundWhole) {
  std::vector<int> parity = BlockBits(Down("TEST MESSAGE\r\n")), crc = parity;
  parity[40 + 7] ^= 1;  // the mode character's parity bit
  // Two data bits of one character: parity still holds.
  crc[8 * 30] ^= 1;
  crc[8 * 30 + 1] ^= 1;
  // The block's bits end at 2000: a block without a terminator must close
  // inside them.
  const std::vector<int> endless = CharacterBits("+*\x16\x16\x01" + std::string(300, 'A'));
  for (const auto& [name, bits, closedAt] : {std::tuple{"parity", parity, -1}, {"crc", crc, -1},
                                             {"no terminator", endless, 1944}}) {
    AcarsReceiver rx;
    RecordingAcarsLink link;
    Feed(rx, link, bits);
    EXPECT_FALSE(rx.InBlock(0)) << name;
    if (closedAt > 0) {
      EXPECT_EQ(rx.Framer[0].BitPos, closedAt) << name;
    }
    EXPECT_EQ(link.failedBlocks, 1) << name;
    EXPECT_EQ(link.lamps, Strings{"0:255"}) << name;
    Feed(rx, link, BlockBits(Down("TEST MESSAGE\r\n")));
    EXPECT_EQ(link.blocks.size(), 1u) << name;
  }
  // ETX as character 242, examined at bit 1944: the block closes at 1968.
  AcarsReceiver rx;
  RecordingAcarsLink link;
  Feed(rx, link, CharacterBits("+*\x16\x16\x01" + std::string(237, 'A') + "\x03" + std::string(10, 'B')));
  EXPECT_EQ(rx.Framer[0].BitPos, 1968);
}

TEST(AcarsFramer, BcsBytesThatLookLikeTerminatorsChangeNothing) {
  int found = 0;
  for (int n = 0; n < 20000 && found < 6; ++n) {
    for (bool etx : {true, false}) {
      const acars_tx::Message m = Down("T" + std::to_string(n), "M01A", etx);
      if (CheckSequence(m).find_first_of("\x03\x17") == std::string::npos) continue;
      AcarsReceiver rx;
      RecordingAcarsLink link;
      Feed(rx, link, BlockBits(m));
      ASSERT_EQ(link.blocks.size(), 1u) << m.text;
      EXPECT_EQ(Sent(link.blocks[0]), acars_tx::BlockCharacters(m)) << m.text;
      EXPECT_EQ(link.blocks[0].End, etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb) << m.text;
      ++found;
    }
  }
  EXPECT_GE(found, 6);
}

TEST(AcarsFramer, ChannelResetLeavesTheBlockAndBlanksTheLamp) {
  AcarsReceiver rx;
  RecordingAcarsLink link;
  const std::vector<int> bits = BlockBits(Down("TEST MESSAGE\r\n"));
  Feed(rx, link, std::vector<int>(bits.begin(), bits.begin() + 100), 1);
  ASSERT_TRUE(rx.InBlock(1));
  rx.ResetChannel(link, 1);
  EXPECT_FALSE(rx.InBlock(1));
  EXPECT_EQ(link.lamps, Strings{"1:0"});
}

std::string RandomText(std::mt19937& rng, int length) {
  std::uniform_int_distribution<int> c(0x20, 0x7E);
  std::string s;
  for (int i = 0; i < length; ++i) s += static_cast<char>(c(rng));
  return s;
}

// One channel of 11025 Hz audio in blocks of 512, as the pipeline feeds
// it: the blocks the framer hands on, "+" through the terminator.
Strings Decoded(std::vector<double> samples) {
  samples.resize((samples.size() + 511) / 512 * 512, 0.0);
  AcarsReceiver rx;
  RecordingAcarsLink link;
  for (size_t at = 0; at < samples.size(); at += 512) rx.DemodulateAcarsBlock(link, 0, samples.data() + at);
  Strings out;
  for (const AcarsBlock& b : link.blocks) out.push_back(Sent(b));
  return out;
}

TEST(AcarsRoundTrip, EveryBlockDecodesCleanNoisyAtAnyPhaseAndOffBitRate) {
  std::mt19937 rng(100);
  // Single and 3-block downlinks, uplinks of every kind, the longest text
  // a block holds, and two bursts back to back.
  const std::vector<Burst> mixed = {
      {Down("TEST MESSAGE\r\n")}, {Down(RandomText(rng, 150), "M02A", false)},
      {Down("M02B" + RandomText(rng, 150), "M02B", false)}, {Down("M02C" + RandomText(rng, 40), "M02C", true)},
      {Up('A', RandomText(rng, 30), true, "SQ")}, {Up('A', RandomText(rng, 220), false)},
      {Up('b', RandomText(rng, 220), false)}, {Up('C', RandomText(rng, 12), true)},
      {Up('Z', RandomText(rng, 50), false, "C2")}, {Down(RandomText(rng, 210), "M03A")},
      {Down("", "M04A")}, {Down("SECOND", "M05A"), 0, 0.0}};
  // {snr, phase, rate offset}
  const std::tuple<double, double, double> runs[] = {
      {INFINITY, 0.3, 0},         {20, 0.3, 0},  {20, 0.3 + kPi / 2, 0}, {20, 0.3 + kPi, 0}, {20, 0.3 + 1.5 * kPi, 0},
      {INFINITY, 1.0, -0.005}, {INFINITY, 1.0, 0.005}};
  for (const auto& [snr, phase, offset] : runs) {
    acars_tx::Options o;
    o.snrDb = snr;
    o.startPhase = phase;
    o.rateOffset = offset;
    const acars_tx::Signal s = acars_tx::Transmit(mixed, o);
    EXPECT_EQ(Decoded(s.channel(0)), s.sent) << "snr " << snr << " phase " << phase << " offset " << offset;
  }
  // At 1 % off, most short blocks at any phase.
  for (double offset : {-0.01, 0.01}) {
    std::uniform_int_distribution<int> len(0, 100);
    std::uniform_real_distribution<double> phase(0, 2 * kPi);
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

// Both channels of a stereo recording, block by block in turn as the
// pipeline runs them, through the program's wiring: the lamps, the
// statistics and the parser's messages of each channel.
using AcarsRoundTripWiring = ParserTest;

TEST_F(AcarsRoundTripWiring, StereoChannelsDecodeIndependentlyIntoMessages) {
  std::mt19937 rng(3);
  acars_tx::Options o;
  o.stereo = true;
  o.snrDb = 25;
  std::vector<Burst> bursts;
  Strings wantLeft, wantRight;
  for (int i = 0; i < 4; ++i) {
    wantLeft.push_back(RandomText(rng, 30 + 20 * i));
    wantRight.push_back(RandomText(rng, 80 - 15 * i));
    bursts.push_back({Down(wantLeft.back(), "M1" + std::to_string(i) + "A"), 0, 0.05});
    bursts.push_back({Up(static_cast<char>('A' + i), wantRight.back()), 1, 0.02});
  }
  const acars_tx::Signal s = acars_tx::Transmit(bursts, o);
  std::vector<double> l = s.channel(0), r = s.channel(1);
  for (size_t at = 0; at + 512 <= l.size(); at += 512) {
    rig.wiring().DecodeBlock(0, DecoderKind::VhfAcars, l.data() + at);
    rig.wiring().DecodeBlock(1, DecoderKind::VhfAcars, r.data() + at);
  }
  Strings left, right;
  for (const AcarsMessage& m : Messages()) {
    EXPECT_EQ(m.Block.SourceTag, m.Downlink() ? "Lch" : "Rch");
    (m.Downlink() ? left : right).push_back(m.Text);
  }
  EXPECT_EQ(left, wantLeft);
  EXPECT_EQ(right, wantRight);
  const Strings& lamps = rig.effects().lamps;
  EXPECT_EQ(std::count(lamps.begin(), lamps.end(), "left:65280"), 4);
  EXPECT_EQ(std::count(lamps.begin(), lamps.end(), "right:65280"), 4);
  const ReceptionStatsRow& vhf = f.hfdl.HfdlReceptionStats.Rows[8];
  EXPECT_EQ(vhf.Received, 8);
  EXPECT_EQ(vhf.Error, 0);
}

}  // namespace
