// The parser on the program's road: the message values (fields, completion,
// text), the PRC and MES entries they call for, what the message search
// would see, and bad input.
#include "acars/acars_parser.h"

#include "acars/parser_fixture.h"

namespace {

using C = AcarsCompletion;
using Texts = std::vector<std::string>;

class AcarsParser : public ParserTest {};

// A message's fields in one line: mode, station, address, label, block id,
// message number, flight id and direction.
std::string FieldsOf(const AcarsMessage& m) {
  const AcarsFields& f = m.Fields;
  return std::string(1, f.Mode) + " " + f.StationName + " (" + f.Address + ") [" + f.Label + ":" + f.BlockId + ":" +
         f.MsgNo + "] " + f.FlightId + (m.Downlink() ? " down" : " up");
}

TEST_F(AcarsParser, DownlinkFieldsWithLeadingDotsStripped) {
  Receive(Down("TEST MESSAGE\r\n"));
  ASSERT_EQ(rig.sink().blocks.size(), 1u);
  const AcarsMessage& m = Last();
  EXPECT_EQ(FieldsOf(m), "2 BROADCAST (JA8089) [H1:1:M01A] JL0012 down");
  EXPECT_EQ(m.Fields.Text, "TEST MESSAGE\r\n");
  EXPECT_EQ(m.Completion, C::Single);
  EXPECT_EQ(m.Text, "TEST MESSAGE  ");
  EXPECT_EQ(m.RawText, "+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST MESSAGE<CR><VF><ETX>");
  EXPECT_EQ(m.Block.CheckSequence, "\x11\x22");
  EXPECT_EQ(Searched(), Texts{"TEST MESSAGE  "});

  Receive(Down("X", "M02A", true, "JL0012", "..JA01X"));
  EXPECT_EQ(Last().Fields.Address, "JA01X");
}

TEST_F(AcarsParser, FlightIdsAreNormalised) {
  EXPECT_EQ(NormaliseFlightId("JL12  ", true, true), "JL0012");
  EXPECT_EQ(NormaliseFlightId("JL123 ", true, true), "JL0123");
  EXPECT_EQ(NormaliseFlightId("JD123 ", true, true), "JL0123");
  EXPECT_EQ(NormaliseFlightId("JD123 ", false, true), "JD0123");
  EXPECT_EQ(NormaliseFlightId("00 123", true, true), "JC0123");
  EXPECT_EQ(NormaliseFlightId("00 123", true, false), "000123");
  EXPECT_EQ(NormaliseFlightId("NH1 2 ", true, true), "NH0102");

  Receive(Down("A", "M01A", true, "JD12  "));
  EXPECT_EQ(Last().Fields.FlightId, "JL0012");
}

TEST_F(AcarsParser, FlightIdDigitTestPassesLettersAndDropsOtherCharactersWithoutTrace) {
  for (const char* id : {"BA031T", "DY083J"}) {
    Receive(Down("HELLO", "M01A", true, id));
    EXPECT_EQ(Last().Fields.FlightId, id);
    EXPECT_TRUE(Has(Raw(), id));
  }
  rig.ClearText();
  for (const char* id : {"AB12#4", "AB12b4", "AB\x01""234"}) Receive(Down("HELLO", "M02A", true, id));
  EXPECT_TRUE(rig.sink().blocks.empty());
  EXPECT_TRUE(Raw().empty());
  EXPECT_TRUE(Prc().empty());
}

TEST_F(AcarsParser, ThreeBlockDownlinkIsAssembled) {
  Receive(Down("FIRST PART ", "M01A", false));
  EXPECT_TRUE(Has(Prc(), "<<<     Message Stored Up     >>>\r\nFIRST PART \r\n"));
  Receive(Down("M01BSECOND PART ", "M01B", false));
  EXPECT_TRUE(Has(Prc(), "<<<     Messages Stored Up    >>>\r\nM01BSECOND PART \r\n"));
  EXPECT_TRUE(Mes().empty());
  Receive(Down("M01CLAST\r\n", "M01C", true));
  const std::string whole = "FIRST PART SECOND PART LAST\r\n";
  EXPECT_EQ(Completions(), (std::vector<C>{C::FirstBlock, C::MoreBlocks, C::Assembled}));
  EXPECT_EQ(Last().Text, whole);
  EXPECT_TRUE(Has(Prc(), "<<<      Storage Message      >>>\r\n" + whole + "\r\n"));
  EXPECT_TRUE(Has(Mes(), "MODE:2   \r\n" + whole + "\r\n"));
  EXPECT_EQ(Searched(), Texts{whole});
  EXPECT_EQ(f.acars.AcarsStore.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);
}

TEST_F(AcarsParser, BlockOutOfSequenceShowsWhatWasStoredAndFreesTheSlot) {
  Receive(Down("FIRST ", "M01A", false));
  Receive(Down("M01CTHIRD", "M01C", true));
  EXPECT_EQ(Last().Completion, C::SequenceError);
  EXPECT_TRUE(Has(Prc(), "<<< Stored Up Seaquence Error >>>\r\nFIRST \r\n"));
  EXPECT_TRUE(Mes().empty());
  EXPECT_TRUE(Searched().empty());
  EXPECT_EQ(f.acars.AcarsStore.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);
}

TEST_F(AcarsParser, OtherMessageNumberIsASingleBlockAndTheSlotStays) {
  Receive(Down("OPEN ", "M01A", false));
  Receive(Down("ALONE", "M07A", true));
  EXPECT_EQ(Last().Completion, C::Single);
  EXPECT_TRUE(Has(Mes(), "ALONE"));
  const int slot = f.acars.AcarsStore.FindAcarsBlockSlot("JA8089");
  ASSERT_NE(slot, AcarsStores::kNoSlot);
  EXPECT_EQ(f.acars.AcarsStore.AcarsSlotText(slot), "OPEN ");
}

TEST_F(AcarsParser, RepeatsShowOnlyTheRetransmissionBannerAndStillReachTheSinks) {
  Receive(Down("TEST"));
  Receive(Up('A', "UPLINK TEXT"));
  rig.ClearText();
  Receive(Down("TEST"));
  Receive(Up('A', "UPLINK TEXT"));
  // The aircraft list and the watch list see repeats too.
  EXPECT_EQ(Completions(), (std::vector<C>{C::Retransmission, C::Retransmission}));
  EXPECT_TRUE(Has(Prc(), "MODE:2   \r\n<<<  Retransmission Message   >>>\r\n"));
  EXPECT_TRUE(Has(Prc(), "MODE:a   \r\n<<<  Retransmission Message   >>>\r\n"));
  EXPECT_TRUE(Mes().empty());
  EXPECT_TRUE(Searched().empty());
}

TEST_F(AcarsParser, LinkTestAndGeneralAcknowledgementShowOnlyTheirBanner) {
  acars_tx::Message q0 = Down("LINK TEXT");
  q0.label = "Q0";
  Receive(q0);
  EXPECT_TRUE(Has(Prc(), "[Q0:1:M01A] MODE:2   \r\n<<<         Link Test         >>>\r\n"));
  // A whole message for the position decoders all the same.
  EXPECT_TRUE(Last().Whole());

  acars_tx::Message ack = Down("", "M02A");
  ack.label = std::string("_\x7F");
  Receive(ack);
  EXPECT_TRUE(Has(Prc(), "<<<  General Acknowledgement  >>>\r\n"));
  EXPECT_TRUE(Mes().empty());
  EXPECT_TRUE(Searched().empty());
}

TEST_F(AcarsParser, MesFiltersHoldBackFrequencyAndTisMessages) {
  f.Txt.FreqNoDisp = 1;
  f.Txt.TISNoDisp = 1;
  Receive(Down("FRQ 131.45", "M01A"));
  Receive(Down("TIS INFO", "M02A"));
  EXPECT_TRUE(Mes().empty());
  EXPECT_TRUE(Searched().empty());
  EXPECT_TRUE(Has(Prc(), "FRQ 131.45"));
  f.Txt.FreqNoDisp = 0;
  Receive(Down("FRQ 131.45", "M03A"));
  EXPECT_TRUE(Has(Mes(), "FRQ 131.45"));
}

// The texts of a message whose position was stored, set on the value by
// hand and written directly (the aircraft tests store real ones).
TEST_F(AcarsParser, StoredPositionHoldsSingleAndAssembledMessagesBackWithShowPos) {
  const AcarsTextOutput out{f.text, f.Txt, rig.folder() + "/logs/EachLogs"};
  auto parse = [&](const acars_tx::Message& m) {
    return ParseAcarsBlock(
        f.acars, f.Etc,
        testing_support::BlockOf(acars_tx::BlockCharacters(m) + "\x11\x22", m.etx, AcarsBearer::Vhf, "Lch"));
  };
  f.Txt.ShowPos = 1;
  std::optional<AcarsMessage> single = parse(Down("POS N35", "M04A"));
  ASSERT_TRUE(parse(Down("POS ", "M05A", false)));
  std::optional<AcarsMessage> assembled = parse(Down("M05BE139", "M05B", true));
  ASSERT_TRUE(single && assembled);
  ASSERT_EQ(assembled->Completion, C::Assembled);
  for (AcarsMessage* m : {&*single, &*assembled}) {
    m->PositionStored = true;
    WriteAcarsTexts(out, *m);
    EXPECT_TRUE(AcarsMesHeld(*m, f.Txt));
    EXPECT_FALSE(AcarsSearched(*m, f.Txt));
  }
  EXPECT_TRUE(Has(Prc(), "POS N35"));
  EXPECT_TRUE(Has(Prc(), "POS E139"));
  EXPECT_TRUE(Mes().empty());

  f.Txt.ShowPos = 0;
  WriteAcarsTexts(out, *single);
  EXPECT_TRUE(Has(Mes(), "POS N35"));
}

TEST_F(AcarsParser, UplinkTextIsWholeFromStxAndIsSearchedButIsNoAircraftsMessage) {
  Receive(Up('A', "UPLINK TEXT"));
  // The aircraft list, the position decoders and the watch list take
  // downlinks only.
  EXPECT_EQ(FieldsOf(Last()), "a NARITA (JA8089) [C1:A:----] ------ up");
  EXPECT_EQ(Last().Text, "UPLINK TEXT");
  EXPECT_TRUE(Has(Prc(), "MODE:a   \r\nUPLINK TEXT\r\n"));
  EXPECT_TRUE(Has(Mes(), "MODE:a   \r\nUPLINK TEXT\r\n"));

  // Two blocks, ETB then ETX, each of at least the ten characters a block
  // carries.
  Receive(Up('B', "UPLINK TEXT, ", false));
  EXPECT_TRUE(Has(Prc(), "<<<     Message Stored Up     >>>\r\nUPLINK TEXT, \r\n"));
  Receive(Up('C', "UPLINK TEXT", true));
  EXPECT_EQ(Completions(), (std::vector<C>{C::Single, C::FirstBlock, C::Assembled}));
  EXPECT_TRUE(Has(Prc(), "<<<      Storage Message      >>>\r\nUPLINK TEXT, UPLINK TEXT\r\n"));
  EXPECT_EQ(Searched(), (Texts{"UPLINK TEXT", "UPLINK TEXT, UPLINK TEXT"}));
}

TEST_F(AcarsParser, SqUplinkIsAddressedUplinkAndNeverARepeat) {
  f.Txt.SqNoDisp = 1;
  Receive(Up('A', "SQUITTER 1", true, "SQ"));
  Receive(Up('A', "SQUITTER 1", true, "SQ"));
  EXPECT_EQ(Completions(), (std::vector<C>{C::Single, C::Single}));
  EXPECT_TRUE(Has(Prc(), "NARITA  (Uplink)    [SQ:A] MODE:a   "));
  EXPECT_TRUE(Mes().empty());
  // Searched even without their MES entry.
  EXPECT_EQ(Searched(), (Texts{"SQUITTER 1", "SQUITTER 1"}));
  f.Txt.SqNoDisp = 0;
  Receive(Up('B', "SQUITTER 2", true, "SQ"));
  EXPECT_TRUE(Has(Mes(), "SQUITTER 2"));
}

TEST_F(AcarsParser, UplinkBlocksAssembleAcrossCase) {
  Receive(Up('A', "block one ", false));
  Receive(Up('b', "block two ", false));
  Receive(Up('C', "block three", true));
  EXPECT_EQ(Completions(), (std::vector<C>{C::FirstBlock, C::MoreBlocks, C::Assembled}));
  // An uplink's further blocks carry the first block's banner.
  EXPECT_EQ(Prc().find("Messages Stored Up"), std::string::npos);
  EXPECT_EQ(Searched(), Texts{"block one block two block three"});
  EXPECT_TRUE(Has(Mes(), "MODE:a   \r\nblock one block two block three\r\n"));
}

TEST_F(AcarsParser, ShownTextLosesAFinalCrLfAndEndsAtANulButTheStoreKeepsBoth) {
  Receive(Up('A', "UPLINK ONE\r\n", false));
  EXPECT_EQ(Last().Text, "UPLINK ONE  ");
  Receive(Up('B', "UPLINK TWO\r\n", true));
  EXPECT_EQ(Last().Text, "UPLINK ONE\r\nUPLINK TWO\r\n");
  EXPECT_TRUE(Has(Mes(), "UPLINK ONE\r\nUPLINK TWO\r\n\r\n"));
  Receive(Down(std::string("AB\0CD", 5), "M01A", false));
  EXPECT_TRUE(Has(Prc(), "Message Stored Up     >>>\r\nAB\r\n"));
  Receive(Down("M01BEF\r\n", "M01B", true));
  EXPECT_EQ(Last().Completion, C::Assembled);
  EXPECT_EQ(Last().Text, "AB");
}

TEST_F(AcarsParser, ModeWithoutAStationKeepsThePreviousName) {
  acars_tx::Message m = Down("A");
  const std::pair<char, const char*> modes[] = {{'B', "KOBE"}, {'#', "KOBE"}, {'3', "VDL"}};
  for (const auto& [mode, station] : modes) {
    m.mode = mode;
    m.msgNo[2] = static_cast<char>(m.msgNo[2] + 1);
    Receive(m);
    EXPECT_EQ(Last().Fields.StationName, station) << mode;
  }
  // "`" with a digit for its block id is a downlink.
  m.mode = '`';
  m.msgNo = "M09A";
  Receive(m);
  EXPECT_EQ(FieldsOf(Last()), "` VDL (JA8089) [H1:1:M09A] JL0012 down");
}

TEST_F(AcarsParser, ModeTwoAndBacktickGoByTheBlockIdOtherModesByTheirCase) {
  acars_tx::Message lines = Up('F', "", true, "B6", "N010AB");
  lines.mode = '2';
  lines.text = "LINE ONE\r\nLINE TWO";
  Receive(lines);
  EXPECT_EQ(FieldsOf(Last()), "2 BROADCAST (N010AB) [B6:F:----] ------ up");
  EXPECT_TRUE(Has(Raw(), "<SOH>2.N010AB<NAK>B6F<STX>LINE ONE<CR><VF>LINE TWO<ETX>"));
  EXPECT_TRUE(Has(Prc(), "BROADCAST  (N010AB)    [B6:F] MODE:2   \r\nLINE ONE\r\nLINE TWO\r\n"));
  EXPECT_TRUE(Has(Mes(), "MODE:2   \r\nLINE ONE\r\nLINE TWO\r\n"));

  // Each built in its direction's layout; the parser goes by mode and block id.
  auto as = [](acars_tx::Message m, char mode, char blockId) {
    m.mode = mode;
    m.blockId = blockId;
    return m;
  };
  const std::pair<acars_tx::Message, const char*> cases[] = {
      {as(Up('G', "UPLINK TEXT"), '`', 'G'), "` BROADCAST (JA8089) [C1:G:----] ------ up"},
      {as(Down("TEXT"), '2', '3'), "2 BROADCAST (JA8089) [H1:3:M01A] JL0012 down"},
      {as(Up('5', "UPLINK TEXT"), 'a', '5'), "a NARITA (JA8089) [C1:5:----] ------ up"},
      {as(Down("TEXT", "M02A"), 'D', 'A'), "D KOMATSU (JA8089) [H1:A:M02A] JL0012 down"},
  };
  for (const auto& [m, fields] : cases) {
    Receive(m);
    EXPECT_EQ(FieldsOf(Last()), fields);
  }
}

TEST_F(AcarsParser, ShortBlocksGiveNothing) {
  // 29 characters "+" through the terminator are the fewest parsed.
  const std::string shortest = acars_tx::BlockCharacters(Down("")).substr(0, 28) + "\x03";
  rig.ReceiveAcars(shortest.substr(0, 27) + "\x03\x11\x22", true);
  rig.ReceiveAcars("", true);
  EXPECT_TRUE(rig.sink().blocks.empty());
  EXPECT_TRUE(Raw().empty());
  rig.ReceiveAcars(shortest + "\x11\x22", true);
  EXPECT_EQ(rig.sink().blocks.size(), 1u);

  // An uplink needs 10 characters after STX to reach them, and shows
  // them all.
  rig.ClearText();
  Receive(Up('A', "123456789"));
  EXPECT_TRUE(Raw().empty());
  Receive(Up('B', "1234567890"));
  EXPECT_TRUE(Has(Raw(), "<STX>1234567890<ETX>"));
  EXPECT_TRUE(Has(Mes(), "MODE:a   \r\n1234567890\r\n"));
}

}  // namespace
