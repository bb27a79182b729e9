// The framer at bit level: sync, parity, terminator, CRC and the block a
// good one hands on, fed with the test transmitter's bits.
#include <gtest/gtest.h>

#include "acars/acars_framer.h"
#include "acars/acars_receiver.h"
#include "acars/test_messages.h"
#include "support/recording_links.h"

namespace {

using testing_support::RecordingAcarsLink;
using Strings = std::vector<std::string>;

acars_tx::Message WorkedExample() { return Down("TEST MESSAGE\r\n"); }

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

TEST(AcarsFramer, CrcRegisterEndsAtZeroOnlyOverAnIntactBlock) {
  // The transmitter's check against the known check value of this CRC.
  EXPECT_EQ(acars_tx::BlockCheck("123456789"), 0x2189);
  const std::vector<int> on = BlockBits(WorkedExample());
  // Mode through the BCS: from bit 40 up to the DEL.
  std::vector<uint8_t> bits(on.begin(), on.end() - 16);
  const int end = static_cast<int>(bits.size());
  EXPECT_TRUE(AcarsCrcIsZero(bits.data(), 40, end));
  for (int i = 40; i < end; ++i) {
    bits[i] ^= 1;
    EXPECT_FALSE(AcarsCrcIsZero(bits.data(), 40, end)) << i;
    bits[i] ^= 1;
  }
}

TEST(AcarsFramer, SyncNeedsAll24BitsInEitherSense) {
  const std::vector<int> sync(AcarsPreambleBits + 16, AcarsPreambleBits + 40);
  for (int wrong = 0; wrong < 24; ++wrong) {
    AcarsReceiver rx;
    RecordingAcarsLink link;
    for (int i = 0; i < 24; ++i) rx.ReceiveAcarsBit(link, 0, i == wrong ? 1 - sync[i] : sync[i]);
    EXPECT_FALSE(rx.InBlock(0)) << wrong;
  }
  for (int sense : {0, 1}) {
    AcarsReceiver rx;
    RecordingAcarsLink link;
    for (int b : sync) rx.ReceiveAcarsBit(link, 0, b ^ sense);
    EXPECT_TRUE(rx.InBlock(0)) << sense;
  }
}

TEST(AcarsFramer, GoodBlocksAreHandedOnWithTheirEndFlagChannelAndCheckSequence) {
  AcarsReceiver rx;
  RecordingAcarsLink link;
  Feed(rx, link, BlockBits(WorkedExample()));
  acars_tx::Message etb = WorkedExample();
  etb.etx = false;
  Feed(rx, link, BlockBits(etb), 1);

  ASSERT_EQ(link.blocks.size(), 2u);
  const AcarsBlock& left = link.blocks[0];
  EXPECT_EQ(Sent(left), acars_tx::BlockCharacters(WorkedExample()));
  EXPECT_EQ(left.CheckSequence, CheckSequence(WorkedExample()));
  EXPECT_EQ(left.End, AcarsEndFlag::Etx);
  EXPECT_EQ(left.Bearer, AcarsBearer::Vhf);
  EXPECT_EQ(left.Channel, 0);
  EXPECT_EQ(left.SourceTag, "Lch");
  const AcarsBlock& right = link.blocks[1];
  EXPECT_EQ(Sent(right), acars_tx::BlockCharacters(etb));
  EXPECT_EQ(right.CheckSequence, CheckSequence(etb));
  EXPECT_EQ(right.End, AcarsEndFlag::Etb);
  EXPECT_EQ(right.Channel, 1);
  EXPECT_EQ(right.SourceTag, "Rch");
  EXPECT_EQ(link.lamps, (Strings{"0:65280", "1:65280"}));
  EXPECT_EQ(link.holds, (std::vector<int>{0, 1}));
  EXPECT_EQ(link.goodBlocks, 2);
  EXPECT_EQ(link.failedBlocks, 0);
}

TEST(AcarsFramer, ParityErrorInTheModeCharacterFailsAndHuntsAgain) {
  std::vector<int> bits = BlockBits(WorkedExample());
  bits[40 + 7] ^= 1;  // the mode character's parity bit
  AcarsReceiver rx;
  RecordingAcarsLink link;
  Feed(rx, link, bits);
  EXPECT_FALSE(rx.InBlock(0));
  EXPECT_EQ(link.failedBlocks, 1);
  EXPECT_EQ(link.lamps, Strings{"0:255"});
  EXPECT_EQ(link.holds, std::vector<int>{0});
  // Hunting again: the next block is found whole.
  Feed(rx, link, BlockBits(WorkedExample()));
  EXPECT_EQ(link.blocks.size(), 1u);
}

TEST(AcarsFramer, BadCrcIsCountedAndDropped) {
  std::vector<int> bits = BlockBits(WorkedExample());
  // Flip two data bits of one character: parity still holds.
  bits[8 * 30] ^= 1;
  bits[8 * 30 + 1] ^= 1;
  AcarsReceiver rx;
  RecordingAcarsLink link;
  Feed(rx, link, bits);
  EXPECT_TRUE(link.blocks.empty());
  EXPECT_EQ(link.failedBlocks, 1);
  EXPECT_EQ(link.lamps, Strings{"0:255"});
}

TEST(AcarsFramer, BcsBytesThatLookLikeTerminatorsChangeNothing) {
  int found = 0;
  for (int n = 0; n < 20000 && found < 6; ++n) {
    for (bool etx : {true, false}) {
      acars_tx::Message m = WorkedExample();
      m.text = "T" + std::to_string(n);
      m.etx = etx;
      const std::string bcs = CheckSequence(m);
      if (bcs.find_first_of("\x03\x17") == std::string::npos) continue;
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

// The block's bits end at 2000: a block without a terminator, or with a
// late one, must close inside them.
TEST(AcarsFramer, MissingOrLateTerminatorClosesInsideTheBits) {
  {
    AcarsReceiver rx;
    RecordingAcarsLink link;
    Feed(rx, link, CharacterBits("+*\x16\x16\x01" + std::string(300, 'A')));
    EXPECT_FALSE(rx.InBlock(0));
    EXPECT_EQ(rx.Framer[0].BitPos, 1944);
    EXPECT_EQ(link.failedBlocks, 1);
    EXPECT_EQ(link.lamps, Strings{"0:255"});
  }
  {
    // ETX as character 242, examined at bit 1944: the block closes at 1968.
    AcarsReceiver rx;
    RecordingAcarsLink link;
    Feed(rx, link, CharacterBits("+*\x16\x16\x01" + std::string(237, 'A') + "\x03" + std::string(10, 'B')));
    EXPECT_FALSE(rx.InBlock(0));
    EXPECT_EQ(rx.Framer[0].BitPos, 1968);
  }
}

TEST(AcarsFramer, ChannelResetLeavesTheBlockAndBlanksTheLamp) {
  AcarsReceiver rx;
  RecordingAcarsLink link;
  const std::vector<int> bits = BlockBits(WorkedExample());
  Feed(rx, link, std::vector<int>(bits.begin(), bits.begin() + 100), 1);
  EXPECT_TRUE(rx.InBlock(1));
  rx.ResetChannel(link, 1);
  EXPECT_FALSE(rx.InBlock(1));
  EXPECT_EQ(link.lamps, Strings{"1:0"});
}

}  // namespace
