// The bytes of the RAW, PRC and MES texts in the buffers and the logs, the
// choice of log file, the name sanitiser and the buffer limit.
#include "acars/acars_text_output.h"

#include <set>

#include "acars/parser_fixture.h"
#include "platform/file_io.h"
#include "platform/log_name_part.h"

namespace {

using testing_support::ReadFile;

const char kRawLine[] =
    "[Lch]2026/12/06 14:03:07>+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST MESSAGE<CR><VF><ETX>\r\n";
const char kHeader[] = "Lch------------------------[2026/12/06 14:03:07]";
const char kLine2[] = "JL0012 (JA8089)    [H1:1:M01A] MODE:2   ";

class AcarsTextOutput : public ParserTest {
 protected:
  std::string LogOf(int kind) const { return ReadFile(f.text.LogPath(kind)); }
  std::string Each(const std::string& name) const { return ReadFile(rig.folder() + "/logs/EachLogs/" + name); }
};

TEST_F(AcarsTextOutput, WorkedExampleGoldenBytes) {
  Receive(Down("TEST MESSAGE\r\n"));
  const std::string entry = std::string(kHeader) + "\r\n" + kLine2 + "\r\nTEST MESSAGE  \r\n";
  EXPECT_EQ(Raw(), kRawLine);
  EXPECT_EQ(Prc(), entry);
  EXPECT_EQ(Mes(), entry);
  EXPECT_EQ(rig.Log("ACARS_RAW"), kRawLine);
  const std::string logEntry = std::string(kHeader) + "\n" + kLine2 + "\nTEST MESSAGE  \n";
  EXPECT_EQ(rig.Log("ACARS_PRC"), logEntry);
  EXPECT_EQ(rig.Log("ACARS_MES"), logEntry);

  // The same block again: the banner ends the entry, MES stays as it was.
  Receive(Down("TEST MESSAGE\r\n"));
  EXPECT_EQ(Prc(), entry + kHeader + "\r\n" + kLine2 + "\r\n<<<  Retransmission Message   >>>\r\n");
  EXPECT_EQ(Mes(), entry);
  EXPECT_EQ(rig.Log("ACARS_PRC"), logEntry + kHeader + "\n" + kLine2 + "\n<<<  Retransmission Message   >>>\n");
}

TEST_F(AcarsTextOutput, SaveTypeChoosesTheLogFile) {
  Receive(Down("DAILY", "M01A"));
  EXPECT_TRUE(Has(LogOf(kAcarsPrc), "DAILY"));

  f.Txt.TxtSaveType = 1;
  Receive(Down("BY FLIGHT", "M02A"));
  for (const char* kind : {"PRC", "MES", "RAW"}) {
    EXPECT_TRUE(Has(Each(std::string("JL0012_") + kind + ".log"), "BY FLIGHT")) << kind;
  }
  Receive(Up('A', "UPLINK BY STATION"));
  EXPECT_TRUE(Has(Each("NARITA_PRC.log"), "UPLINK BY STATION"));
  EXPECT_TRUE(Has(Each("NARITA_RAW.log"), "UPLINK BY STATION"));

  f.Txt.TxtSaveType = 2;
  Receive(Down("BY REGISTRATION", "M03A"));
  EXPECT_TRUE(Has(Each("JA8089_PRC.log"), "BY REGISTRATION"));
  EXPECT_FALSE(Has(LogOf(kAcarsPrc), "BY REGISTRATION"));
}

TEST_F(AcarsTextOutput, SwitchesOffWriteNoLog) {
  f.Txt.TxtLog = 0;
  Receive(Down("NOTHING", "M01A"));
  f.Txt.TxtLog = 1;
  f.Txt.LogOutACASPRC = 0;
  Receive(Down("NO PRC", "M02A"));
  EXPECT_FALSE(platform::FileExists(f.text.LogPath(kAcarsPrc)));
  EXPECT_FALSE(Has(LogOf(kAcarsRaw), "NOTHING"));
  EXPECT_TRUE(Has(LogOf(kAcarsRaw), "NO PRC"));
  EXPECT_TRUE(Has(LogOf(kAcarsMes), "NO PRC"));
}

TEST_F(AcarsTextOutput, ImportedFileIsNeverWrittenInto) {
  f.text.SetImportPath(f.text.LogPath(kAcarsPrc));
  Receive(Down("WHILE IMPORTING"));
  EXPECT_FALSE(platform::FileExists(f.text.LogPath(kAcarsPrc)));
  EXPECT_TRUE(Has(rig.Log("ACARS_PRC_c"), "WHILE IMPORTING"));
  EXPECT_TRUE(Has(LogOf(kAcarsMes), "WHILE IMPORTING"));
}

TEST_F(AcarsTextOutput, ReceivedNamesStayInsideEachLogs) {
  EXPECT_EQ(LogNamePart("JL0012"), "JL0012");
  EXPECT_EQ(LogNamePart("A/../.."), "A_.._..");
  EXPECT_EQ(LogNamePart(".."), "_");
  EXPECT_EQ(LogNamePart(""), "_");
  EXPECT_EQ(LogNamePart("a\\b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
  EXPECT_EQ(LogNamePart(std::string("x\x01y\x7Fz")), "x_y_z");
  EXPECT_EQ(LogNamePart("\x93\x8C\x8B\x9E"), "東京");

  f.Txt.TxtSaveType = 2;
  Receive(Down("ESCAPE", "M01A", true, "JL0012", "A/../.."));
  EXPECT_TRUE(Has(Each("A_.._.._PRC.log"), "ESCAPE"));
}

TEST_F(AcarsTextOutput, BuffersStayBelowMaxBytesAndTheViewerHearsOfEachKind) {
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
