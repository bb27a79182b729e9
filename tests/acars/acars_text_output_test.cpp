// The bytes of the RAW, PRC and MES texts in the buffers and the logs, the
// choice of log file, the name sanitiser and the buffer trim.
#include "acars/acars_text_output.h"

#include <sys/stat.h>

#include "acars/parser_fixture.h"
#include "platform/file_io.h"
#include "platform/write_failure.h"

namespace {

using testing_support::ReadFile;

const char kRawLine[] =
    "[Lch]2024/05/01 13:05:27>+*<SYN><SYN><SOH>2.JA8089<NAK>H11<STX>M01AJL0012TEST MESSAGE<CR><VF><ETX>\r\n";
const char kHeader[] = "Lch------------------------[2024/05/01 13:05:27]";
const char kLine2[] = "JL0012 (JA8089)    [H1:1:M01A] MODE:2   ";

class AcarsTextOutput : public ParserTest {
 protected:
  void LogEverything() {
    f.Txt.TxtLog = 1;
    f.Txt.LogOutACASRAW = f.Txt.LogOutACASPRC = f.Txt.LogOutACASMES = 1;
  }
  std::string Each(const std::string& name) const { return dir.File("logs/EachLogs/" + name); }
};

TEST_F(AcarsTextOutput, WorkedExampleGoldenBytes) {
  LogEverything();
  Parse(Down("TEST MESSAGE\r\n"));
  const std::string entry = std::string(kHeader) + "\r\n" + kLine2 + "\r\nTEST MESSAGE  \r\n";
  EXPECT_EQ(Raw(), kRawLine);
  EXPECT_EQ(Prc(), entry);
  EXPECT_EQ(Mes(), entry);
  EXPECT_EQ(ReadFile(f.text.AcarsRawLogPath), kRawLine);
  const std::string logEntry = std::string(kHeader) + "\n" + kLine2 + "\nTEST MESSAGE  \n";
  EXPECT_EQ(ReadFile(f.text.AcarsPrcLogPath), logEntry);
  EXPECT_EQ(ReadFile(f.text.AcarsMesLogPath), logEntry);
  EXPECT_EQ(f.text.AcarsRawLogPath, dir.File("logs/20240501_ACARS_RAW.log"));

  // The same block again: the banner ends the entry, MES stays as it was.
  Parse(Down("TEST MESSAGE\r\n"));
  EXPECT_EQ(Prc(), entry + kHeader + "\r\n" + kLine2 + "\r\n<<<  Retransmission Message   >>>\r\n");
  EXPECT_EQ(Mes(), entry);
  EXPECT_EQ(ReadFile(f.text.AcarsPrcLogPath),
            logEntry + kHeader + "\n" + kLine2 + "\n<<<  Retransmission Message   >>>\n");
}

TEST_F(AcarsTextOutput, UplinkSecondLineHasTheStationAndNoMessageNumber) {
  Parse(Up('A', "UPLINK TEXT"));
  EXPECT_NE(Prc().find("\r\nNARITA  (JA8089)    [C1:A] MODE:a   \r\nUPLINK TEXT\r\n"), std::string::npos);
  ClearBuffers();
  Parse(Up('B', "SQUITTER 1", true, "SQ"));
  EXPECT_NE(Prc().find("\r\nNARITA  (Uplink) "), std::string::npos);
  ClearBuffers();
  Parse(Down("SEVEN", "M09A", true, "JL0012", "N123456"));
  EXPECT_NE(Prc().find("\r\nJL0012 (N123456)   ["), std::string::npos);
}

TEST_F(AcarsTextOutput, SaveTypeChoosesTheLogFile) {
  LogEverything();
  Parse(Down("DAILY", "M01A"));
  EXPECT_NE(ReadFile(f.text.AcarsPrcLogPath).find("DAILY"), std::string::npos);

  f.Txt.TxtSaveType = 1;
  Parse(Down("BY FLIGHT", "M02A"));
  EXPECT_NE(ReadFile(Each("JL0012_PRC.log")).find("BY FLIGHT"), std::string::npos);
  EXPECT_NE(ReadFile(Each("JL0012_MES.log")).find("BY FLIGHT"), std::string::npos);
  EXPECT_NE(ReadFile(Each("JL0012_RAW.log")).find("BY FLIGHT"), std::string::npos);
  Parse(Up('A', "UPLINK BY STATION"));
  EXPECT_NE(ReadFile(Each("NARITA_PRC.log")).find("UPLINK BY STATION"), std::string::npos);
  EXPECT_NE(ReadFile(Each("NARITA_RAW.log")).find("UPLINK BY STATION"), std::string::npos);

  f.Txt.TxtSaveType = 2;
  Parse(Down("BY REGISTRATION", "M03A"));
  EXPECT_NE(ReadFile(Each("JA8089_PRC.log")).find("BY REGISTRATION"), std::string::npos);
  EXPECT_EQ(ReadFile(f.text.AcarsPrcLogPath).find("BY REGISTRATION"), std::string::npos);
}

TEST_F(AcarsTextOutput, SwitchesOffWriteNoLog) {
  LogEverything();
  f.Txt.TxtLog = 0;
  Parse(Down("NOTHING", "M01A"));
  f.Txt.TxtLog = 1;
  f.Txt.LogOutACASPRC = 0;
  Parse(Down("NO PRC", "M02A"));
  EXPECT_FALSE(platform::FileExists(f.text.AcarsPrcLogPath));
  EXPECT_EQ(ReadFile(f.text.AcarsRawLogPath).find("NOTHING"), std::string::npos);
  EXPECT_NE(ReadFile(f.text.AcarsRawLogPath).find("NO PRC"), std::string::npos);
  EXPECT_NE(ReadFile(f.text.AcarsMesLogPath).find("NO PRC"), std::string::npos);
}

TEST_F(AcarsTextOutput, ImportedFileIsNeverWrittenInto) {
  LogEverything();
  f.text.ImportPath = f.text.AcarsPrcLogPath;
  Parse(Down("WHILE IMPORTING"));
  EXPECT_FALSE(platform::FileExists(f.text.AcarsPrcLogPath));
  EXPECT_NE(ReadFile(dir.File("logs/20240501_ACARS_PRC_c.log")).find("WHILE IMPORTING"), std::string::npos);
  EXPECT_NE(ReadFile(f.text.AcarsMesLogPath).find("WHILE IMPORTING"), std::string::npos);
}

TEST_F(AcarsTextOutput, ReceivedNamesStayInsideEachLogs) {
  EXPECT_EQ(LogNamePart("JL0012"), "JL0012");
  EXPECT_EQ(LogNamePart("JA8089"), "JA8089");
  EXPECT_EQ(LogNamePart("NARITA"), "NARITA");
  EXPECT_EQ(LogNamePart("A/../.."), "A_.._..");
  EXPECT_EQ(LogNamePart(".."), "_");
  EXPECT_EQ(LogNamePart(""), "_");
  EXPECT_EQ(LogNamePart("a\\b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
  EXPECT_EQ(LogNamePart(std::string("x\x01y\x7Fz")), "x_y_z");
  EXPECT_EQ(LogNamePart("\x93\x8C\x8B\x9E"), "東京");

  LogEverything();
  f.Txt.TxtSaveType = 2;
  Parse(Down("ESCAPE", "M01A", true, "JL0012", "A/../.."));
  EXPECT_NE(ReadFile(Each("A_.._.._PRC.log")).find("ESCAPE"), std::string::npos);
}

TEST_F(AcarsTextOutput, MissingFoldersAreMadeAndAFailedFileIsReportedOnce) {
  LogEverything();
  Parse(Down("FIRST", "M01A"));
  EXPECT_TRUE(platform::FileExists(f.text.AcarsPrcLogPath));

  std::vector<std::string> reported;
  platform::ResetWriteFailureReports();
  platform::SetWriteFailureHandler([&](const std::string& path) { reported.push_back(path); });
  // A folder where the PRC log should be: it cannot be opened.
  std::remove(f.text.AcarsPrcLogPath.c_str());
  ASSERT_EQ(::mkdir(f.text.AcarsPrcLogPath.c_str(), 0777), 0);
  Parse(Down("SECOND", "M02A"));
  Parse(Down("THIRD", "M03A"));
  platform::SetWriteFailureHandler(nullptr);
  platform::ResetWriteFailureReports();
  EXPECT_EQ(reported, std::vector<std::string>{f.text.AcarsPrcLogPath});
  EXPECT_NE(Prc().find("THIRD"), std::string::npos);
  EXPECT_NE(ReadFile(f.text.AcarsMesLogPath).find("THIRD"), std::string::npos);
}

TEST_F(AcarsTextOutput, TrimKeepsBuffersBelowMaxBytesAndRefreshesOnlyTheKindOnView) {
  f.Txt.MaxBytes = 1000;
  f.text.TextBuffers[kAcarsPrc] = std::string(999, 'a');
  TrimTextBuffer(f, kAcarsPrc);
  EXPECT_EQ(f.text.TextBuffers[kAcarsPrc].size(), 999u);
  f.text.TextBuffers[kAcarsPrc] = "b" + std::string(999, 'a');
  TrimTextBuffer(f, kAcarsPrc);
  EXPECT_EQ(f.text.TextBuffers[kAcarsPrc], std::string(999, 'a'));
  f.text.TextBuffers[kAcarsPrc] = std::string(500, 'c') + std::string(999, 'a');
  TrimTextBuffer(f, kAcarsPrc);
  EXPECT_EQ(f.text.TextBuffers[kAcarsPrc], std::string(999, 'a'));
  EXPECT_EQ(log.Count("refresh:"), 0);

  f.Txt.TxtType = kAcarsPrc;
  TrimTextBuffer(f, kAcarsRaw);
  TrimTextBuffer(f, kAcarsPrc);
  TrimTextBuffer(f, 9);
  EXPECT_EQ(log.calls, std::vector<std::string>{"refresh:1"});

  f.Txt.TxtType = kAcarsMes;
  log.calls.clear();
  Parse(Down("ON VIEW"));
  EXPECT_EQ(log.Count("refresh:2"), 1);
}

}  // namespace
