// The parser on the program's road: the message values, the PRC and MES
// entries they call for, what the message search would see, the duplicate
// filters and assembly slots, and where the texts are logged.
#include "acars/acars_parser.h"

#include <set>
#include <tuple>

#include "acars/acars_stores.h"
#include "acars/parser_fixture.h"
#include "platform/file_io.h"
#include "platform/log_name_part.h"

namespace {

using C = AcarsCompletion;
using Texts = std::vector<std::string>;
using testing_support::ReadFile;

class AcarsParser : public ParserTest {
 protected:
  std::string LogOf(int kind) const { return ReadFile(f.text.LogPath(kind)); }
  std::string Each(const std::string& name) const { return ReadFile(rig.folder() + "/logs/EachLogs/" + name); }
};

// A message's fields in one line: mode, station, address, label, block id,
// message number, flight id and direction.
std::string FieldsOf(const AcarsMessage& m) {
  const AcarsFields& f = m.Fields;
  return std::string(1, f.Mode) + " " + f.StationName + " (" + f.Address + ") [" + f.Label + ":" + f.BlockId + ":" +
         f.MsgNo + "] " + f.FlightId + (m.Downlink() ? " down" : " up");
}

// The texts the window shows end their lines CR LF (the day's logs, LF, are
// the program's own test).
TEST_F(AcarsParser, WorkedExampleInTheTextsAndLeadingDotsStripped) {
  Receive(Down("TEST MESSAGE\r\n"));
  EXPECT_EQ(FieldsOf(Last()), "2 BROADCAST (JA8089) [H1:1:M01A] JL0012 down");
  EXPECT_EQ(Raw(), "[Lch]2026/12/06 14:03:07>+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST MESSAGE<CR><VF>"
                   "<ETX>\r\n");
  const std::string entry = "Lch------------------------[2026/12/06 14:03:07]\r\n"
                            "JL0012 (JA8089)    [H1:1:M01A] MODE:2   \r\nTEST MESSAGE  \r\n";
  EXPECT_EQ(Prc(), entry);
  EXPECT_EQ(Mes(), entry);
  EXPECT_EQ(Searched(), Texts{"TEST MESSAGE  "});
  Receive(Down("X", "M02A", true, "JL0012", "..JA01X"));
  EXPECT_EQ(Last().Fields.Address, "JA01X");
}

TEST_F(AcarsParser, FlightIdsAreNormalisedAndOtherCharactersDropTheBlock) {
  // {id, JD as JL, 00 as JC, normalised}
  const std::tuple<const char*, bool, bool, const char*> ids[] = {
      {"JL12  ", true, true, "JL0012"}, {"JL123 ", true, true, "JL0123"}, {"JD123 ", true, true, "JL0123"},
      {"JD123 ", false, true, "JD0123"}, {"00 123", true, true, "JC0123"}, {"00 123", true, false, "000123"},
      {"NH1 2 ", true, true, "NH0102"},  {"BA031T", true, true, "BA031T"}, {"DY083J", true, true, "DY083J"}};
  for (const auto& [id, jd, jc, normalised] : ids) EXPECT_EQ(NormaliseFlightId(id, jd, jc), normalised) << id;
  Receive(Down("A", "M01A", true, "JD12  "));
  EXPECT_EQ(Last().Fields.FlightId, "JL0012");
  Receive(Down("HELLO", "M02A", true, "DY083J"));
  EXPECT_EQ(Last().Fields.FlightId, "DY083J");
  rig.ClearText();
  for (const char* id : {"AB12#4", "AB12b4", "AB\x01""234"}) Receive(Down("HELLO", "M03A", true, id));
  EXPECT_TRUE(rig.sink().blocks.empty());
  EXPECT_TRUE(Raw().empty() && Prc().empty());
}

TEST_F(AcarsParser, OutOfSequenceShowsWhatWasStoredAnotherNumberIsASingleBlock) {
  Receive(Down("FIRST ", "M01A", false));
  Receive(Down("M01CTHIRD", "M01C", true));
  EXPECT_EQ(Last().Completion, C::SequenceError);
  EXPECT_TRUE(Has(Prc(), "<<< Stored Up Seaquence Error >>>\r\nFIRST \r\n"));
  EXPECT_TRUE(Mes().empty() && Searched().empty());
  EXPECT_EQ(f.acars.AcarsStore.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);

  Receive(Down("OPEN ", "M02A", false));
  Receive(Down("ALONE", "M07A", true));
  EXPECT_EQ(Last().Completion, C::Single);
  EXPECT_TRUE(Has(Mes(), "ALONE"));
  const int slot = f.acars.AcarsStore.FindAcarsBlockSlot("JA8089");
  ASSERT_NE(slot, AcarsStores::kNoSlot);
  EXPECT_EQ(f.acars.AcarsStore.AcarsSlotText(slot), "OPEN ");
}

TEST_F(AcarsParser, RepeatsAcknowledgementsAndFilteredMessagesReachNoMes) {
  Receive(Up('A', "UPLINK TEXT"));
  rig.ClearText();
  Receive(Up('A', "UPLINK TEXT"));
  // The aircraft list and the watch list see repeats too.
  EXPECT_EQ(Completions(), std::vector<C>{C::Retransmission});
  EXPECT_TRUE(Has(Prc(), "MODE:a   \r\n<<<  Retransmission Message   >>>\r\n"));
  acars_tx::Message ack = Down("", "M02A");
  ack.label = std::string("_\x7F");
  Receive(ack);
  EXPECT_TRUE(Has(Prc(), "<<<  General Acknowledgement  >>>\r\n"));
  f.Txt.FreqNoDisp = f.Txt.TISNoDisp = 1;
  Receive(Down("FRQ 131.45", "M03A"));
  Receive(Down("TIS INFO", "M04A"));
  EXPECT_TRUE(Has(Prc(), "FRQ 131.45"));
  EXPECT_TRUE(Mes().empty() && Searched().empty());
  f.Txt.FreqNoDisp = 0;
  Receive(Down("FRQ 131.45", "M05A"));
  EXPECT_TRUE(Has(Mes(), "FRQ 131.45"));
}

TEST_F(AcarsParser, UplinkTextIsWholeFromStxAndIsSearchedButIsNoAircraftsMessage) {
  Receive(Up('A', "UPLINK TEXT"));
  // The aircraft list, the position decoders and the watch list take
  // downlinks only.
  EXPECT_EQ(FieldsOf(Last()), "a NARITA (JA8089) [C1:A:----] ------ up");
  EXPECT_EQ(Last().Text, "UPLINK TEXT");
  EXPECT_TRUE(Has(Prc(), "MODE:a   \r\nUPLINK TEXT\r\n"));
  EXPECT_TRUE(Has(Mes(), "MODE:a   \r\nUPLINK TEXT\r\n"));

  // Blocks of at least the ten characters a block carries, ETB then ETX,
  // their ids running across case; further blocks carry the first's banner.
  Receive(Up('B', "UPLINK TEXT, ", false));
  EXPECT_TRUE(Has(Prc(), "<<<     Message Stored Up     >>>\r\nUPLINK TEXT, \r\n"));
  Receive(Up('c', "block two ", false));
  Receive(Up('D', "UPLINK TEXT", true));
  EXPECT_EQ(Completions(), (std::vector<C>{C::Single, C::FirstBlock, C::MoreBlocks, C::Assembled}));
  EXPECT_EQ(Prc().find("Messages Stored Up"), std::string::npos);
  EXPECT_TRUE(Has(Prc(), "<<<      Storage Message      >>>\r\nUPLINK TEXT, block two UPLINK TEXT\r\n"));
  EXPECT_EQ(Searched(), (Texts{"UPLINK TEXT", "UPLINK TEXT, block two UPLINK TEXT"}));
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

TEST_F(AcarsParser, TheModeNamesTheStationAndWithTheBlockIdTheDirection) {
  auto as = [](acars_tx::Message m, char mode, char blockId) {
    m.mode = mode;
    m.blockId = blockId;
    return m;
  };
  // Modes without a station keep the previous name. "2" and "`" go by the
  // block id, other modes by their case; each is built in its direction's
  // layout.
  const std::pair<acars_tx::Message, const char*> cases[] = {
      {as(Down("A", "M02A"), 'B', '1'), "B KOBE (JA8089) [H1:1:M02A] JL0012 down"},
      {as(Down("A", "M03A"), '#', '1'), "# KOBE (JA8089) [H1:1:M03A] JL0012 down"},
      {as(Down("A", "M04A"), '3', '1'), "3 VDL (JA8089) [H1:1:M04A] JL0012 down"},
      {as(Down("A", "M09A"), '`', '1'), "` VDL (JA8089) [H1:1:M09A] JL0012 down"},
      {as(Down("TEXT"), '2', '3'), "2 BROADCAST (JA8089) [H1:3:M01A] JL0012 down"},
      {as(Up('G', "UPLINK TEXT"), '`', 'G'), "` BROADCAST (JA8089) [C1:G:----] ------ up"},
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

TEST(AcarsStores, RepeatsAreTheLastNumberOfTheLast500DownlinkAnd100UplinkAddresses) {
  AcarsStores s;
  // {registration, number, a repeat}: the 501st registration overwrites
  // the first, another number replaces the last, seven characters count.
  std::vector<std::tuple<std::string, std::string, int>> downlinks = {{"JA0000", "M01A", 0}, {"JA0000", "M01A", 1}};
  for (int i = 1; i < 500; ++i) downlinks.emplace_back("R" + std::to_string(i), "M01A", 0);
  downlinks.insert(downlinks.end(), {{"JA0000", "M01A", 1}, {"NEWONE", "M01A", 0}, {"JA0000", "M01A", 0},
                                     {"JA0000", "M02A", 0}, {"JA0000", "M01A", 0}, {"JA0000XY", "M01A", 0},
                                     {"JA0000XZ", "M01A", 1}});
  for (const auto& [reg, number, repeat] : downlinks) EXPECT_EQ(s.CheckAcarsDuplicate(reg, number), repeat) << reg;

  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'A'), 0);
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'A'), 1);
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'B'), 0);
  for (int i = 0; i < 100; ++i) s.CheckUplinkDuplicate("U" + std::to_string(i), 'A');
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'B'), 0);
}

TEST(AcarsStores, SlotsFollowTheBlockIdsAndTheTwentyFirstReusesSlotZero) {
  AcarsStores s;
  s.StartAcarsBlockSlot("JA8089", "M01A", "AAA");
  const int slot = s.FindAcarsBlockSlot("JA8089");
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01C", "M01CCCC"), 0);
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01B", "M01BBBB"), 1);
  // A continuation of fewer than 4 characters brings nothing.
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01C", "M0"), 1);
  EXPECT_EQ(s.AcarsSlotText(slot), "AAABBB");
  // Uplink ids run across case, the same block again adds nothing, Z wraps
  // to A.
  for (const std::string blocks : {"AbCCE", "ZA", "yza"}) {
    s.StartUplinkBlockSlot(blocks, blocks[0], blocks.substr(0, 1));
    for (char b : blocks.substr(1)) s.AppendUplinkBlock(s.FindUplinkBlockSlot(blocks), b, std::string(1, b));
    EXPECT_EQ(s.UplinkSlotText(s.FindUplinkBlockSlot(blocks)), blocks == "AbCCE" ? "AbC" : blocks) << blocks;
  }
  AcarsStores full;
  for (int i = 0; i <= 20; ++i) {
    full.StartAcarsBlockSlot("D" + std::to_string(i), "M01A", "text");
    full.StartUplinkBlockSlot("U" + std::to_string(i), 'A', "text");
  }
  EXPECT_EQ(std::pair(full.FindAcarsBlockSlot("D20"), full.FindUplinkBlockSlot("U20")), std::pair(0, 0));
  EXPECT_EQ(std::pair(full.FindAcarsBlockSlot("D0"), full.FindUplinkBlockSlot("U0")),
            std::pair(AcarsStores::kNoSlot, AcarsStores::kNoSlot));
}

TEST_F(AcarsParser, EndlessMessagesStopAt5999CharactersAndStillComeOut) {
  for (int i = 0; i < 40; ++i) Receive(Up(static_cast<char>('A' + i % 26), std::string(220, 'x'), i == 39));
  EXPECT_TRUE(Has(Mes(), "MODE:a   \r\n" + std::string(5999, 'x') + "\r\n"));
  EXPECT_EQ(f.acars.AcarsStore.FindUplinkBlockSlot("JA8089"), AcarsStores::kNoSlot);
  Receive(Down(std::string(210, 'a'), "M01A", false));
  for (int i = 1; i < 40; ++i) {
    const std::string msgNo = std::string("M01") + static_cast<char>('A' + i);
    Receive(Down(msgNo + std::string(206, 'b'), msgNo, i == 39));
  }
  EXPECT_TRUE(Has(Mes(), std::string(210, 'a') + std::string(5999 - 210, 'b') + "\r\n"));
  EXPECT_FALSE(Has(Mes(), std::string(5999 - 210 + 1, 'b')));
  // An address of dots only keeps its text.
  Receive(Up('A', "first half ", false, "C1", "......."));
  Receive(Up('B', "second half", true, "C1", "......."));
  EXPECT_TRUE(Has(Mes(), "NARITA  ()          [C1:B] MODE:a   \r\nfirst half second half\r\n"));
}

TEST_F(AcarsParser, SaveTypeAndSwitchesChooseTheLogFileAndNamesStayInsideEachLogs) {
  f.Txt.TxtLog = 0;
  Receive(Down("NOTHING", "M01A"));
  f.Txt.TxtLog = 1;
  f.Txt.LogOutACASPRC = 0;
  Receive(Down("NO PRC", "M02A"));
  EXPECT_FALSE(platform::FileExists(f.text.LogPath(kAcarsPrc)));
  EXPECT_FALSE(Has(LogOf(kAcarsRaw), "NOTHING"));
  EXPECT_TRUE(Has(LogOf(kAcarsRaw), "NO PRC") && Has(LogOf(kAcarsMes), "NO PRC"));
  f.Txt.LogOutACASPRC = 1;

  f.Txt.TxtSaveType = 1;
  Receive(Down("BY FLIGHT", "M03A"));
  for (const char* kind : {"PRC", "MES", "RAW"}) {
    EXPECT_TRUE(Has(Each(std::string("JL0012_") + kind + ".log"), "BY FLIGHT")) << kind;
  }
  Receive(Up('A', "UPLINK BY STATION"));
  EXPECT_TRUE(Has(Each("NARITA_PRC.log"), "UPLINK BY STATION"));
  f.Txt.TxtSaveType = 2;
  Receive(Down("BY REGISTRATION", "M04A"));
  EXPECT_TRUE(Has(Each("JA8089_PRC.log"), "BY REGISTRATION"));
  EXPECT_FALSE(Has(LogOf(kAcarsRaw), "BY REGISTRATION"));
  Receive(Down("ESCAPE", "M05A", true, "JL0012", "A/../.."));
  EXPECT_TRUE(Has(Each("A_.._.._PRC.log"), "ESCAPE"));
  const std::pair<std::string, std::string> names[] = {
      {"..", "_"}, {"", "_"}, {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"}, {"x\x01y\x7Fz", "x_y_z"},
      {"\x93\x8C\x8B\x9E", "東京"}};
  for (const auto& [name, part] : names) EXPECT_EQ(LogNamePart(name), part) << name;
}

TEST_F(AcarsParser, AnImportedFileIsNeverWrittenInto) {
  f.text.SetImportPath(f.text.LogPath(kAcarsPrc));
  Receive(Down("WHILE IMPORTING"));
  EXPECT_FALSE(platform::FileExists(f.text.LogPath(kAcarsPrc)));
  EXPECT_TRUE(Has(rig.Log("ACARS_PRC_c"), "WHILE IMPORTING"));
  EXPECT_TRUE(Has(LogOf(kAcarsMes), "WHILE IMPORTING"));
}

TEST_F(AcarsParser, BuffersStayBelowMaxBytesAndTheViewerHearsOfEachKind) {
  std::set<int> changed;
  f.text.Changed = [&](int kind) { changed.insert(kind); };
  f.Txt.MaxBytes = 1000;
  for (int i = 10; i < 30; ++i) Receive(Down("MESSAGE NUMBER " + std::to_string(i), "M" + std::to_string(i) + "A"));
  for (int kind : {kAcarsRaw, kAcarsPrc, kAcarsMes}) {
    const std::string& buffer = f.text.Buffer(kind);
    // Cut from the front to one below the limit; the newest entry stays.
    EXPECT_EQ(buffer.size(), 999u) << kind;
    const std::string newest = kind == kAcarsRaw ? "MESSAGE NUMBER 29<ETX>\r\n" : "MESSAGE NUMBER 29\r\n";
    EXPECT_EQ(buffer.substr(buffer.size() - newest.size()), newest) << kind;
  }
  EXPECT_EQ(changed, (std::set<int>{kAcarsRaw, kAcarsPrc, kAcarsMes}));
}

}  // namespace
