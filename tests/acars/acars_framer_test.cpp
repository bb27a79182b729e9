// The framer at bit level: sync, parity, terminator, CRC and what a good
// block sets off, fed with the test transmitter's bits.
#include <gtest/gtest.h>

#include "acars/acars_framer.h"
#include "acars/acars_receiver.h"
#include "acars/recording_link.h"
#include "acars_tx/acars_test_transmitter.h"

namespace {

acars_tx::Message WorkedExample() {
  acars_tx::Message m;
  m.mode = '2';
  m.registration = "JA8089";
  m.ack = 0x15;
  m.label = "H1";
  m.blockId = '1';
  m.msgNo = "M01A";
  m.flightId = "JL0012";
  m.text = "TEST MESSAGE\r\n";
  return m;
}

// The block's bits from "+" on, as sent (no pre-key), and one more
// character's worth: the framer closes a block once a bit past its DEL
// arrives.
std::vector<int> BlockBits(const acars_tx::Message& m) {
  std::vector<int> bits = acars_tx::OnAirBits(m, 0);
  bits.insert(bits.end(), 8, 1);
  return bits;
}

// Hands the bits to the framer: the sync pattern as it is, everything after
// it inverted (the framer stores the complement of what it is handed).
void Feed(AcarsReceiver& rx, RecordingLink& link, const std::vector<int>& bits, int channel = 0) {
  for (size_t i = 0; i < bits.size(); ++i) rx.ReceiveAcarsBit(link, channel, i < 40 ? bits[i] : 1 - bits[i]);
}

TEST(AcarsFramer, PreambleBitsAreThePlusStarSynSynSohWithOddParity) {
  const std::string preamble = "+*\x16\x16\x01";
  for (int c = 0; c < 5; ++c) {
    const uint8_t byte = acars_tx::WithOddParity(static_cast<uint8_t>(preamble[c]));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(AcarsPreambleBits[8 * c + i], (byte >> i) & 1) << c << ":" << i;
  }
}

TEST(AcarsFramer, TransmitterCheckValueIsTheKnownOne) {
  EXPECT_EQ(acars_tx::BlockCheck("123456789"), 0x2189);
}

TEST(AcarsFramer, CrcRegisterEndsAtZeroOnlyOverAnIntactBlock) {
  acars_tx::Message m = WorkedExample();
  std::vector<int> on = BlockBits(m);
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
    RecordingLink link;
    for (int i = 0; i < 24; ++i) rx.ReceiveAcarsBit(link, 0, i == wrong ? 1 - sync[i] : sync[i]);
    EXPECT_FALSE(rx.InBlock(0)) << wrong;
  }
  AcarsReceiver rx;
  RecordingLink link;
  rx.Demod[0].DiffState = 1;
  for (int b : sync) rx.ReceiveAcarsBit(link, 0, 1 - b);
  EXPECT_TRUE(rx.InBlock(0));
  EXPECT_EQ(rx.Demod[0].DiffState, 0);
  EXPECT_EQ(rx.Framer[0].BitPos, 40);
  EXPECT_EQ(rx.Framer[0].EndPos, 1936);
}

TEST(AcarsFramer, WorkedExampleIsAGoodEtxBlockAndItsEtbTwinIsNot) {
  AcarsReceiver rx;
  RecordingLink link;
  Feed(rx, link, BlockBits(WorkedExample()));
  EXPECT_FALSE(rx.InBlock(0));
  EXPECT_EQ(rx.Framer[0].EndPos, 360);
  EXPECT_EQ(rx.Framer[0].EtxFlag, 1);
  ASSERT_EQ(link.parsed.size(), 1u);
  EXPECT_EQ(link.parsed[0].bitCount, 360);
  EXPECT_EQ(link.parsed[0].end, AcarsEndFlag::Etx);
  EXPECT_EQ(link.parsed[0].characters, acars_tx::BlockCharacters(WorkedExample()));
  EXPECT_EQ(link.parsed[0].sourceTag, "Lch");
  EXPECT_EQ(link.events, (std::vector<std::string>{"lamp0:65280", "hold0", "count:good", "parse"}));
  const std::string& peer = rx.AcarsPeerText;
  ASSERT_EQ(peer.size(), 43u);
  EXPECT_EQ(peer.substr(0, 6), std::string("\x2C\x2B\x17\x17\x02\x33"));
  EXPECT_EQ(peer.back(), '\x04');
  EXPECT_EQ(peer.find('\0'), std::string::npos);

  acars_tx::Message etb = WorkedExample();
  etb.etx = false;
  RecordingLink link2;
  Feed(rx, link2, BlockBits(etb), 1);
  EXPECT_EQ(rx.Framer[1].EndPos, 360);
  EXPECT_EQ(rx.Framer[1].EtxFlag, 0);
  ASSERT_EQ(link2.parsed.size(), 1u);
  EXPECT_EQ(link2.parsed[0].end, AcarsEndFlag::Etb);
  EXPECT_EQ(link2.parsed[0].sourceTag, "Rch");
  EXPECT_EQ(link2.events.front(), "lamp1:65280");
  EXPECT_EQ(rx.AcarsPeerText.back(), '\x18');
}

TEST(AcarsFramer, DelInTheTextTravelsAs0xFF) {
  acars_tx::Message m = WorkedExample();
  m.text = std::string("A\x7F") + "B";
  AcarsReceiver rx;
  RecordingLink link;
  Feed(rx, link, BlockBits(m));
  ASSERT_EQ(link.parsed.size(), 1u);
  EXPECT_NE(rx.AcarsPeerText.find('\xFF'), std::string::npos);
  EXPECT_EQ(rx.AcarsPeerText.find('\0'), std::string::npos);
}

TEST(AcarsFramer, ParityErrorInTheModeCharacterFailsAndHuntsAgain) {
  std::vector<int> bits = BlockBits(WorkedExample());
  bits[40 + 7] ^= 1;  // the mode character's parity bit
  AcarsReceiver rx;
  RecordingLink link;
  Feed(rx, link, std::vector<int>(bits.begin(), bits.begin() + 49));
  EXPECT_FALSE(rx.InBlock(0));
  EXPECT_EQ(link.events, (std::vector<std::string>{"count:failed", "lamp0:255", "hold0"}));
  // Hunting again: the rest of the block starts nothing and parses nothing.
  Feed(rx, link, BlockBits(WorkedExample()));
  EXPECT_EQ(link.parsed.size(), 1u);
}

TEST(AcarsFramer, BadCrcIsCountedAndDropped) {
  std::vector<int> bits = BlockBits(WorkedExample());
  // Flip two data bits of one character: parity still holds.
  bits[8 * 30] ^= 1;
  bits[8 * 30 + 1] ^= 1;
  AcarsReceiver rx;
  RecordingLink link;
  Feed(rx, link, bits);
  EXPECT_TRUE(link.parsed.empty());
  EXPECT_EQ(link.events, (std::vector<std::string>{"lamp0:255", "hold0", "count:failed"}));
}

TEST(AcarsFramer, BcsBytesThatLookLikeTerminatorsChangeNothing) {
  int found = 0;
  for (int n = 0; n < 20000 && found < 6; ++n) {
    for (bool etx : {true, false}) {
      acars_tx::Message m = WorkedExample();
      m.text = "T" + std::to_string(n);
      m.etx = etx;
      const std::string body = acars_tx::BlockBody(m);
      std::string covered;
      for (char c : body) covered += static_cast<char>(acars_tx::WithOddParity(static_cast<uint8_t>(c)));
      const uint16_t bcs = acars_tx::BlockCheck(covered);
      const int low = bcs & 0x7F, high = (bcs >> 8) & 0x7F;
      if (low != 3 && low != 23 && high != 3 && high != 23) continue;
      AcarsReceiver rx;
      RecordingLink link;
      Feed(rx, link, BlockBits(m));
      EXPECT_EQ(rx.Framer[0].EndPos, 8 * static_cast<int>(5 + body.size() - 1) + 24) << m.text;
      EXPECT_EQ(rx.Framer[0].EtxFlag, etx ? 1 : 0) << m.text;
      EXPECT_EQ(link.parsed.size(), 1u) << m.text;
      ++found;
    }
  }
  EXPECT_GE(found, 6);
}

TEST(AcarsFramer, NoTerminatorClosesAt1944WithinTheBits) {
  AcarsReceiver rx;
  RecordingLink link;
  std::vector<int> bits(AcarsPreambleBits, AcarsPreambleBits + 40);
  for (int c = 0; c < 300; ++c) {
    const uint8_t byte = acars_tx::WithOddParity('A');
    for (int i = 0; i < 8; ++i) bits.push_back((byte >> i) & 1);
  }
  size_t handed = 0;
  for (; handed < bits.size(); ++handed) {
    rx.ReceiveAcarsBit(link, 0, handed < 40 ? bits[handed] : 1 - bits[handed]);
    if (handed >= 40 && !rx.InBlock(0)) break;
  }
  EXPECT_EQ(rx.Framer[0].BitPos, 1944);
  EXPECT_EQ(rx.Framer[0].EndPos, 1936);
  EXPECT_EQ(link.events, (std::vector<std::string>{"lamp0:255", "hold0", "count:failed"}));
  for (int i = 0; i < kAcarsBlockBitsSize; ++i) ASSERT_EQ(rx.AcarsBlockBits[1][i], 0) << i;
}

TEST(AcarsFramer, LateTerminatorStaysInsideTheBits) {
  // ETX as character 242, examined at bit 1944: the block closes at 1968.
  AcarsReceiver rx;
  RecordingLink link;
  std::vector<int> bits(AcarsPreambleBits, AcarsPreambleBits + 40);
  auto put = [&](uint8_t c) {
    const uint8_t byte = acars_tx::WithOddParity(c);
    for (int i = 0; i < 8; ++i) bits.push_back((byte >> i) & 1);
  };
  for (int c = 5; c < 242; ++c) put('A');
  put(3);
  for (int c = 0; c < 10; ++c) put('B');
  for (size_t i = 0; i < bits.size(); ++i) {
    rx.ReceiveAcarsBit(link, 0, i < 40 ? bits[i] : 1 - bits[i]);
    if (i >= 40 && !rx.InBlock(0)) break;
  }
  EXPECT_EQ(rx.Framer[0].EndPos, 1960);
  EXPECT_EQ(rx.Framer[0].BitPos, 1968);
  for (int i = 0; i < kAcarsBlockBitsSize; ++i) ASSERT_EQ(rx.AcarsBlockBits[1][i], 0) << i;
}

TEST(AcarsFramer, LinkStateDecidesWhoSendsAndWhoParses) {
  const std::vector<int> bits = BlockBits(WorkedExample());
  {
    AcarsReceiver rx;
    RecordingLink client;
    client.netConnected = true;
    Feed(rx, client, bits);
    EXPECT_EQ(client.events, (std::vector<std::string>{"lamp0:65280", "hold0", "count:good", "sendServer"}));
    EXPECT_EQ(client.sent[0], rx.AcarsPeerText);
  }
  {
    AcarsReceiver rx;
    RecordingLink server;
    server.netConnected = server.server = true;
    Feed(rx, server, bits);
    EXPECT_EQ(server.events,
              (std::vector<std::string>{"lamp0:65280", "hold0", "count:good", "sendAll", "parse", "hold2"}));
    EXPECT_EQ(server.parsed[0].sourceTag, "Lch");
  }
  {
    // The parser relays after its duplicate check: the framer sends nothing.
    AcarsReceiver rx;
    RecordingLink server;
    server.netConnected = server.server = server.dupCheckSend = true;
    Feed(rx, server, bits);
    EXPECT_EQ(server.events, (std::vector<std::string>{"lamp0:65280", "hold0", "count:good", "parse", "hold2"}));
  }
  {
    AcarsReceiver rx;
    RecordingLink alone;
    alone.server = true;  // a server that did not start is not connected
    Feed(rx, alone, bits);
    EXPECT_EQ(alone.events, (std::vector<std::string>{"lamp0:65280", "hold0", "count:good", "parse"}));
  }
}

TEST(AcarsFramer, ChannelResetLeavesTheBlockAndBlanksTheLamp) {
  AcarsReceiver rx;
  RecordingLink link;
  const std::vector<int> bits = BlockBits(WorkedExample());
  Feed(rx, link, std::vector<int>(bits.begin(), bits.begin() + 100), 1);
  EXPECT_TRUE(rx.InBlock(1));
  rx.ResetChannel(link, 1);
  EXPECT_FALSE(rx.InBlock(1));
  EXPECT_EQ(link.events.back(), "lamp1:0");
}

}  // namespace
