// The parser as a sequence of calls: fields, flight ids, duplicates,
// multi-block messages, banners, filters and bad input.
#include "acars/acars_parser.h"

#include "acars/parser_fixture.h"
#include "exchange/peer_link_byte_mapping.h"

namespace {

using Calls = std::vector<std::string>;

class AcarsParser : public ParserTest {};

TEST_F(AcarsParser, DownlinkCallsInOrderWithLeadingDotsStripped) {
  f.Net.Server = 1;
  f.Net.DupCheckSend = 1;
  Parse(Down("TEST MESSAGE\r\n"));
  EXPECT_EQ(log.calls, (Calls{"register:JL0012|JA8089|BROADCAST", "relay",
                              "dispatch:TEST MESSAGE  |JL0012|JA8089|H1|M01A|ACARS:BROADCAST",
                              "search:JL0012|JA8089|TEST MESSAGE  ", "hit:JA8089|JL0012"}));
  EXPECT_EQ(f.app.SourceTag, "");
  EXPECT_EQ(f.acars.AcarsParse.AcarsDownlink, 1);
  EXPECT_EQ(f.acars.AcarsParse.AcarsModeName, "BROADCAST");

  ClearBuffers();
  Parse(Down("X", "M02A", true, "JL0012", "..JA01X"));
  EXPECT_EQ(log.calls.front(), "register:JL0012|JA01X|BROADCAST");
}

TEST_F(AcarsParser, FlightIdsAreNormalised) {
  EXPECT_EQ(NormaliseFlightId("JL12  ", true, true), "JL0012");
  EXPECT_EQ(NormaliseFlightId("JL123 ", true, true), "JL0123");
  EXPECT_EQ(NormaliseFlightId("JD123 ", true, true), "JL0123");
  EXPECT_EQ(NormaliseFlightId("JD123 ", false, true), "JD0123");
  EXPECT_EQ(NormaliseFlightId("00 123", true, true), "JC0123");
  EXPECT_EQ(NormaliseFlightId("00 123", true, false), "000123");
  EXPECT_EQ(NormaliseFlightId("NH1 2 ", true, true), "NH0102");

  Parse(Down("A", "M01A", true, "JD12  "));
  EXPECT_EQ(log.calls.front(), "register:JL0012|JA8089|BROADCAST");
}

TEST_F(AcarsParser, LettersInTheFlightNumberPassTheDigitTest) {
  for (const char* id : {"BA031T", "DY083J", "JL0012"}) {
    ClearBuffers();
    Parse(Down("HELLO", "M01A", true, id));
    EXPECT_NE(Raw().find(id), std::string::npos) << id;
    EXPECT_EQ(log.Count("hit:"), 1) << id;
  }
}

TEST_F(AcarsParser, ImplausibleFlightIdDropsTheBlockWithoutTrace) {
  for (const char* id : {"AB12#4", "AB12b4", "AB\x01""234"}) {
    ClearBuffers();
    Parse(Down("HELLO", "M01A", true, id), AcarsSource::Vhf, "Lch");
    EXPECT_TRUE(Raw().empty()) << id;
    EXPECT_TRUE(Prc().empty()) << id;
    EXPECT_TRUE(log.calls.empty()) << id;
    EXPECT_EQ(f.app.SourceTag, "") << id;
  }
}

TEST_F(AcarsParser, ThreeBlockMessageIsAssembled) {
  Parse(Down("FIRST PART ", "M01A", false));
  EXPECT_NE(Prc().find("<<<     Message Stored Up     >>>\r\nFIRST PART \r\n"), std::string::npos);
  Parse(Down("M01BSECOND PART ", "M01B", false));
  EXPECT_NE(Prc().find("<<<     Messages Stored Up    >>>\r\nM01BSECOND PART \r\n"), std::string::npos);
  EXPECT_TRUE(Mes().empty());
  EXPECT_EQ(log.Count("search:"), 0);
  Parse(Down("M01CLAST\r\n", "M01C", true));
  const std::string whole = "FIRST PART SECOND PART LAST\r\n";
  EXPECT_NE(Prc().find("<<<      Storage Message      >>>\r\n" + whole + "\r\n"), std::string::npos);
  EXPECT_NE(Mes().find("MODE:2   \r\n" + whole + "\r\n"), std::string::npos);
  EXPECT_EQ(log.Count("dispatch:" + whole + "|"), 1);
  EXPECT_EQ(log.Count("search:JL0012|JA8089|" + whole), 1);
  EXPECT_EQ(log.Count("hit:"), 3);
  EXPECT_EQ(f.acars.AcarsStore.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);
}

TEST_F(AcarsParser, BlockOutOfSequenceShowsWhatWasStoredAndFreesTheSlot) {
  Parse(Down("FIRST ", "M01A", false));
  Parse(Down("M01CTHIRD", "M01C", true));
  EXPECT_NE(Prc().find("<<< Stored Up Seaquence Error >>>\r\nFIRST \r\n"), std::string::npos);
  EXPECT_TRUE(Mes().empty());
  EXPECT_EQ(f.acars.AcarsStore.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);
}

TEST_F(AcarsParser, OtherMessageNumberIsASingleBlockAndTheSlotStays) {
  Parse(Down("OPEN ", "M01A", false));
  Parse(Down("ALONE", "M07A", true));
  EXPECT_NE(Mes().find("ALONE"), std::string::npos);
  const int slot = f.acars.AcarsStore.FindAcarsBlockSlot("JA8089");
  ASSERT_NE(slot, AcarsStores::kNoSlot);
  EXPECT_EQ(f.acars.AcarsStore.AcarsSlotText(slot), "OPEN ");
}

TEST_F(AcarsParser, RepeatShowsOnlyTheRetransmissionBanner) {
  f.Net.Server = 1;
  f.Net.DupCheckSend = 1;
  Parse(Down("TEST"));
  ClearBuffers();
  Parse(Down("TEST"));
  EXPECT_EQ(log.calls, (Calls{"register:JL0012|JA8089|BROADCAST", "hit:JA8089|JL0012"}));
  EXPECT_NE(Prc().find("MODE:2   \r\n<<<  Retransmission Message   >>>\r\n"), std::string::npos);
  EXPECT_TRUE(Mes().empty());
}

TEST_F(AcarsParser, LinkTestAndGeneralAcknowledgementShowOnlyTheirBanner) {
  acars_tx::Message q0 = Down("LINK TEXT");
  q0.label = "Q0";
  Parse(q0);
  EXPECT_NE(Prc().find("[Q0:1:M01A] MODE:2   \r\n<<<         Link Test         >>>\r\n"), std::string::npos);
  EXPECT_EQ(log.Count("dispatch:LINK TEXT|"), 1);
  EXPECT_TRUE(Mes().empty());
  EXPECT_EQ(log.Count("search:"), 0);

  acars_tx::Message ack = Down("", "M02A");
  ack.label = std::string("_\x7F");
  Parse(ack);
  EXPECT_NE(Prc().find("<<<  General Acknowledgement  >>>\r\n"), std::string::npos);
  EXPECT_TRUE(Mes().empty());
}

TEST_F(AcarsParser, MesFiltersHoldBackFrequencyTisAndPositionMessages) {
  f.Txt.FreqNoDisp = 1;
  f.Txt.TISNoDisp = 1;
  Parse(Down("FRQ 131.45", "M01A"));
  Parse(Down("TIS INFO", "M02A"));
  EXPECT_TRUE(Mes().empty());
  f.Txt.FreqNoDisp = 0;
  Parse(Down("FRQ 131.45", "M03A"));
  EXPECT_NE(Mes().find("FRQ 131.45"), std::string::npos);

  // A position stored by this message holds it back with ShowPos, single
  // and assembled alike.
  ClearBuffers();
  f.Txt.ShowPos = 1;
  acars.positionStored = true;
  Parse(Down("POS N35", "M04A"));
  Parse(Down("POS ", "M05A", false));
  Parse(Down("M05BE139", "M05B", true));
  EXPECT_NE(Prc().find("POS E139"), std::string::npos);
  EXPECT_TRUE(Mes().empty());
  EXPECT_EQ(log.Count("search:"), 0);
  acars.positionStored = false;
  Parse(Down("NO POSITION", "M06A"));
  EXPECT_NE(Mes().find("NO POSITION"), std::string::npos);
}

TEST_F(AcarsParser, UplinkIsNeitherRegisteredNorDispatchedNorWatched) {
  Parse(Up('A', "UPLINK TEXT"));
  EXPECT_EQ(log.calls, (Calls{"search:NARITA|JA8089|UPLINK TEXT"}));
  EXPECT_EQ(f.acars.AcarsParse.AcarsDownlink, 0);
  EXPECT_NE(Mes().find("UPLINK TEXT"), std::string::npos);
}

TEST_F(AcarsParser, SqUplinkIsAddressedUplinkAndNeverADuplicate) {
  f.Txt.SqNoDisp = 1;
  Parse(Up('A', "SQ TEXT 1", true, "SQ"));
  Parse(Up('A', "SQ TEXT 1", true, "SQ"));
  EXPECT_EQ(Prc().find("Retransmission"), std::string::npos);
  EXPECT_NE(Prc().find("NARITA  (Uplink)    [SQ:A] MODE:a   "), std::string::npos);
  EXPECT_TRUE(Mes().empty());
  EXPECT_EQ(log.Count("search:NARITA|Uplink|SQ TEXT 1"), 2);
  f.Txt.SqNoDisp = 0;
  Parse(Up('B', "SQ TEXT 2", true, "SQ"));
  EXPECT_NE(Mes().find("SQ TEXT 2"), std::string::npos);
}

TEST_F(AcarsParser, UplinkBlocksAssembleAcrossCaseAndTheZToAWrap) {
  Parse(Up('A', "block one ", false));
  Parse(Up('b', "block two ", false));
  Parse(Up('C', "block three", true));
  EXPECT_NE(Mes().find("block one block two block three"), std::string::npos);
  EXPECT_EQ(log.Count("search:NARITA|JA8089|block one block two block three"), 1);

  Parse(Up('Z', "block zulu ", false, "C2"));
  Parse(Up('A', "block alpha", true, "C2"));
  EXPECT_NE(Mes().find("block zulu block alpha"), std::string::npos);
}

TEST_F(AcarsParser, UplinkRepeatEndsAtTheRetransmissionBanner) {
  f.Net.Server = 1;
  f.Net.DupCheckSend = 1;
  Parse(Up('A', "UPLINK TEXT"));
  ClearBuffers();
  Parse(Up('A', "UPLINK TEXT"));
  EXPECT_TRUE(log.calls.empty());
  EXPECT_NE(Prc().find("<<<  Retransmission Message   >>>\r\n"), std::string::npos);
  EXPECT_EQ(f.app.SourceTag, "");
}

TEST_F(AcarsParser, OwnTextLosesItsFinalCrLfButTheStoreKeepsIt) {
  Parse(Up('A', "UP ONE\r\n", false));
  EXPECT_NE(Prc().find("UP ONE  \r\n"), std::string::npos);
  Parse(Up('B', "UP TWO\r\n", true));
  EXPECT_NE(Mes().find("UP ONE\r\nUP TWO\r\n\r\n"), std::string::npos);
  Parse(Down("DOWN\r\n"));
  EXPECT_NE(Mes().find("DOWN  \r\n"), std::string::npos);
}

TEST_F(AcarsParser, TextIsShownUpToANulFromTheAirButStoredWhole) {
  Parse(Down(std::string("AB\0CD", 5), "M01A", false));
  EXPECT_NE(Prc().find("Message Stored Up     >>>\r\nAB\r\n"), std::string::npos);
  Parse(Down(std::string("M01BEF", 6), "M01B", true));
  EXPECT_EQ(log.Count(std::string("search:JL0012|JA8089|AB")), 1);
  const int slot = f.acars.AcarsStore.FindAcarsBlockSlot("JA8089");
  EXPECT_EQ(slot, AcarsStores::kNoSlot);
}

TEST_F(AcarsParser, ModeWithoutAStationKeepsThePreviousName) {
  acars_tx::Message m = Down("A");
  m.mode = 'B';
  Parse(m);
  EXPECT_EQ(f.acars.AcarsParse.AcarsModeName, "KOBE");
  m.mode = '#';
  m.msgNo = "M02A";
  Parse(m);
  EXPECT_EQ(f.acars.AcarsParse.AcarsModeName, "KOBE");
  m.mode = '3';
  m.msgNo = "M03A";
  Parse(m);
  EXPECT_EQ(f.acars.AcarsParse.AcarsModeName, "VDL");
  // Modes "2" and "`" are below "a": a downlink whatever was meant.
  m.mode = '`';
  m.msgNo = "M04A";
  Parse(m);
  EXPECT_EQ(f.acars.AcarsParse.AcarsDownlink, 1);
}

TEST_F(AcarsParser, RelayCarriesTheBlockAndTwoCharactersMoreOnlyFromOwnReception) {
  f.Net.Server = 1;
  f.Net.DupCheckSend = 1;
  const std::string characters = acars_tx::BlockCharacters(Down("RELAY"));
  ParseCharacters(characters, true, AcarsSource::Vhf);
  ASSERT_EQ(exchange.relayed.size(), 1u);
  std::string expected;
  for (char c : characters + "\x11\x22") expected += PeerLinkEncodeByte(static_cast<uint8_t>(c));
  EXPECT_EQ(exchange.relayed[0], expected);
  EXPECT_EQ(f.acars.AcarsParse.NetAcarsText, expected);

  ParseCharacters(acars_tx::BlockCharacters(Down("HFDL", "M02A")), true, AcarsSource::Hfdl);
  EXPECT_EQ(exchange.relayed.size(), 1u);
  f.Net.DupCheckSend = 0;
  Parse(Down("NOT RELAYED", "M03A"));
  EXPECT_EQ(exchange.relayed.size(), 1u);
}

TEST_F(AcarsParser, BitCountsOutsideTheBitsEndLikeAShortBlock) {
  const BlockBits b = BitsOf(acars_tx::BlockCharacters(Down("HELLO WORLD")));
  for (int count : {-8, -1, 0, 8 * 30, b.bitCount + static_cast<int>(b.bits.size())}) {
    f.app.SourceTag = "NET";
    f.svc.acars->ParseAcarsBlock(f, b.bits.data(), b.bits.size(), count, AcarsEndFlag::Etx, AcarsSource::Vhf);
    EXPECT_TRUE(Raw().empty()) << count;
    EXPECT_TRUE(log.calls.empty()) << count;
    EXPECT_EQ(f.app.SourceTag, "") << count;
  }
  // One byte past the bits handed over.
  f.svc.acars->ParseAcarsBlock(f, b.bits.data(), b.bits.size() - 1, static_cast<int>(b.bits.size()),
                               AcarsEndFlag::Etx, AcarsSource::Vhf);
  EXPECT_TRUE(Raw().empty());
  f.svc.acars->ParseAcarsBlock(f, nullptr, 0, 0, AcarsEndFlag::Etx, AcarsSource::Vhf);
  EXPECT_TRUE(Raw().empty());

  // 31 characters, the fewest that are parsed: an empty downlink text.
  const BlockBits shortest = BitsOf(acars_tx::BlockCharacters(Down("")).substr(0, 28) + "\x03");
  ASSERT_EQ(shortest.bitCount, 8 * 31);
  f.svc.acars->ParseAcarsBlock(f, shortest.bits.data(), shortest.bits.size(), shortest.bitCount, AcarsEndFlag::Etx,
                               AcarsSource::Vhf);
  EXPECT_FALSE(Raw().empty());
}

TEST_F(AcarsParser, ShortUplinkTextIsNotSeen) {
  // An uplink needs 10 characters after STX to reach 29 characters in all.
  Parse(Up('A', "12345"));
  EXPECT_TRUE(Raw().empty());
  Parse(Up('B', "123456"));
  EXPECT_NE(Raw().find("<STX>#UP#123456<ETX>"), std::string::npos);
  EXPECT_NE(Mes().find("MODE:a   \r\n123456\r\n"), std::string::npos);
}

}  // namespace
