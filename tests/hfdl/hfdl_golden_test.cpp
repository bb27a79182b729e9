// Whole frames through the analysis, compared byte for byte with texts
// written out by hand: the analysis and compact text in the buffers and the
// ANA, FMT and DAT logs, and what each frame asked of the other subsystems.
#include <gtest/gtest.h>

#include "analysis_fakes.h"
#include "hfdl/frame_analysis.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"

namespace {

using hfdl_test::AnalysisRig;
using hfdl_test::DatLine;
using hfdl_test::Golden;
using hfdl_test::WithoutCr;
using testing_support::ReadFile;
using namespace hfdl_tx;

// The FMT log holds each frame's compact text followed by an empty line.
std::string FmtLog(const std::string& compact, const std::string& tag) {
  std::string log;
  const std::string text = WithoutCr(compact);
  size_t start = 0;
  while (start < text.size()) {
    size_t next = text.find("\n" + tag + "---", start);
    next = next == std::string::npos ? text.size() : next + 1;
    log += text.substr(start, next - start) + "\n";
    start = next;
  }
  return log;
}

class HfdlGolden : public ::testing::Test {
 protected:
  Form1State& form() { return rig_.form(); }
  std::vector<std::string>& calls() { return rig_.services().calls; }
  std::string Log(const char* kind) { return ReadFile(rig_.folder() + "/logs/20261206_HFDL_" + kind + ".log"); }

  // The buffers and the logs hold the golden texts and the DAT lines.
  void ExpectOutput(const std::string& golden, const std::string& tag, const std::string& datLines) {
    EXPECT_EQ(form().text.TextBuffers[kHfdlAna], Golden(golden + ".ana"));
    EXPECT_EQ(form().text.TextBuffers[kHfdlFmt], Golden(golden + ".fmt"));
    EXPECT_EQ(form().text.TextBuffers[kHfdlDat], datLines);
    EXPECT_EQ(Log("ANA"), WithoutCr(Golden(golden + ".ana")));
    EXPECT_EQ(Log("FMT"), FmtLog(Golden(golden + ".fmt"), tag));
    EXPECT_EQ(Log("DAT"), WithoutCr(datLines));
  }
  // The texts of the only registration row.
  std::vector<std::string> RowTexts() {
    const auto& rows = form().hfdl.HfdlRegistrations.Rows;
    if (rows.size() != 1) return {"rows: " + std::to_string(rows.size())};
    const HfdlRegistrationRow& r = rows[0];
    return {r.Id, r.Gs, r.Icao24, r.RegNo, r.Lt, r.Aircraft, r.Souce};
  }
  // The calls beyond the text buffers and the text window.
  std::vector<std::string> OtherSubsystemCalls() {
    std::vector<std::string> services;
    for (const std::string& c : calls()) {
      if (c.rfind("trim", 0) != 0 && c != "text window") services.push_back(c);
    }
    return services;
  }
  void ExpectCounted(int row, int received, int errors) {
    const auto texts = form().hfdl.HfdlReceptionStats.Texts(row);
    EXPECT_EQ(texts[1], std::to_string(received)) << row;
    EXPECT_EQ(texts[2], std::to_string(errors)) << row;
  }

  AnalysisRig rig_;
};

TEST_F(HfdlGolden, SquitterKeepsTheStationTable) {
  const ScenarioFrame frame = ScenarioSquitter();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("squitter", "Lch", DatLine("Lch", frame.octets, 66));
  const int32_t active1[6] = {2, 5, 0, 0, 0, 0};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(form().hfdl.GsActiveFreqs[1][c], active1[c]);
    EXPECT_EQ(form().hfdl.GsActiveFreqs[7][c], 0);
    EXPECT_EQ(form().hfdl.GsActiveFreqs[0][c], 0);
  }
  const TDateTime timeOfDay = platform::EncodeTime(14, 3, 7);
  for (int id : {1, 7, 0}) EXPECT_NEAR(form().hfdl.GsCheckedTime[id], timeOfDay, 1e-9) << id;
  EXPECT_EQ(std::count(calls().begin(), calls().end(), "frequencies"), 1);
  EXPECT_EQ(form().app.SourceTag, "");
  ExpectCounted(0, 1, 0);
}

TEST_F(HfdlGolden, LogonRequestCarryingPerformanceData) {
  const ScenarioFrame frame = ScenarioLogonRequest("JAL123");
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("logon_request", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  const std::vector<std::string> expected = {
      "airline JAL123",
      "contact JL0123 JA8089 Molokai",
      "position JL0123 JA8089",
      "record JL0123 JA8089 XXXX 900 100000 900 900 900 0100 Molokai",
      "redraw 0111",
  };
  EXPECT_EQ(OtherSubsystemCalls(), expected);
  ASSERT_EQ(rig_.services().positions.size(), 1u);
  EXPECT_DOUBLE_EQ(rig_.services().positions[0].Lat, 0x1C71C * 180.0 / 524287.0);
  EXPECT_DOUBLE_EQ(rig_.services().positions[0].Lon, -0x40000 * 180.0 / 524287.0);
  // The allocation octet is 0xFF: no registration row.
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  ExpectCounted(1, 1, 0);
}

TEST_F(HfdlGolden, LogonConfirmToTheSecondAircraft) {
  const ScenarioFrame frame = ScenarioLogonConfirm();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 1);

  ExpectOutput("logon_confirm", "Rch", DatLine("Rch", frame.octets, frame.octets.size()));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"23", "2", "800001", "JA8089", "JL", "B777-200", "HFDL"}));
  // On the uplink the row is made before the allocation is written.
  ASSERT_EQ(rig_.services().analysisAtTypeLookup.size(), 1u);
  const std::string& before = rig_.services().analysisAtTypeLookup[0];
  EXPECT_NE(before.find("Aircraft ICAO Address = 800001"), std::string::npos);
  EXPECT_EQ(before.find("Aircraft Address = 23"), std::string::npos);
  ExpectCounted(6, 1, 0);
}

TEST_F(HfdlGolden, DownlinkLogonWritesItsLinesBeforeTheRow) {
  DownlinkMpduFields f;
  f.gsId = 2;
  f.aircraftId = 0xFF;
  f.lpdus = {LogonLpdu(0x8F, 0x800001, 0x23)};
  rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  ASSERT_EQ(rig_.services().analysisAtTypeLookup.size(), 1u);
  EXPECT_NE(rig_.services().analysisAtTypeLookup[0].find("Aircraft Address = 23\r\n"), std::string::npos);
  EXPECT_NE(form().text.TextBuffers[kHfdlFmt].find("   ALLOCATION ID  = 23\r\n"), std::string::npos);
  EXPECT_EQ(form().hfdl.HfdlRegistrations.Rows.size(), 1u);
}

TEST_F(HfdlGolden, EnvelopedAcarsGoesToTheParserAndTheTable) {
  const ScenarioFrame frame = ScenarioAcars();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("acars", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  ASSERT_EQ(rig_.services().parsed.size(), 1u);
  const hfdl_test::ParsedBlock& block = rig_.services().parsed[0];
  EXPECT_EQ(block.bitCount, 8 * (36 - 1));
  EXPECT_EQ(block.bitsSize, 32u + 8 * 255);
  EXPECT_EQ(block.endFlag, AcarsEndFlag::Etx);
  EXPECT_EQ(block.source, AcarsSource::Hfdl);
  // "+", "*", SYN, SYN, then the block from SOH through its check sequence,
  // and nothing after what the parser is told.
  Octets expected = {0xAB, 0x2A, 0x16, 0x16};
  const Octets acars = AcarsBlock(AcarsBlockFields());
  expected.insert(expected.end(), acars.begin(), acars.end() - 1);  // without DEL
  ASSERT_EQ(expected.size(), 35u);
  for (size_t n = 0; n < block.bits.size(); ++n) {
    const int want = n / 8 < expected.size() ? (expected[n / 8] >> (n % 8)) & 1 : 0;
    ASSERT_EQ(block.bits[n], want) << n;
  }
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"23", "7", "800001", "JA8089", "JL", "B777-200", "ACARS"}));
  EXPECT_NE(std::find(calls().begin(), calls().end(), "downlink 1"), calls().end());
}

TEST_F(HfdlGolden, PerformanceDataOnTheDownlinkDataPath) {
  form().controls.SpeedButton8Down = 1;
  const ScenarioFrame frame = ScenarioPerformanceData();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 1);

  ExpectOutput("performance_data", "Rch", DatLine("Rch", frame.octets, frame.octets.size()));
  const std::vector<std::string> expected = {
      "list row NH0205",
      "contact NH0205 unknown Shannon",
      "position NH0205 unknown",
      "record NH0205 unknown XXXX 900 100000 900 900 900 1000 Shannon",
      "latest",
      "redraw 0111",
  };
  EXPECT_EQ(OtherSubsystemCalls(), expected);
  EXPECT_EQ(form().mapView.SelectedAircraft, 3);
  ExpectCounted(4, 1, 0);
}

TEST_F(HfdlGolden, FrequencyDataOnTheUplinkDataPath) {
  const ScenarioFrame frame = ScenarioFrequencyData();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("frequency_data", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  EXPECT_TRUE(OtherSubsystemCalls().empty());
  ExpectCounted(7, 1, 0);
}

TEST_F(HfdlGolden, SystemTableOfThreeParts) {
  std::string datLines;
  for (int sequence : {2, 0, 2, 1, 0}) {
    const ScenarioFrame frame = ScenarioSystemTablePart(sequence);
    rig_.AnalyzeOwn(frame.octets, frame.mode, 0);
    datLines += DatLine("Lch", frame.octets, frame.octets.size());
  }
  ExpectOutput("system_table", "Lch", datLines);

  EXPECT_EQ(form().hfdl.SystemVer, 36);
  EXPECT_EQ(std::count(calls().begin(), calls().end(), "show 23"), 1);
  EXPECT_EQ(ReadFile(form().hfdl.SystemTxtPath), Golden("system.txt"));
  EXPECT_EQ(ReadFile(form().hfdl.FreqsCsvPath), Golden("freqs_after_table.csv"));
  std::string memo;
  for (const std::string& line : form().hfdl.SystemTableText.Lines) memo += line + "\r\n";
  EXPECT_EQ(memo, Golden("system.txt"));
  EXPECT_EQ(form().hfdl.GsFrequencies[1][0], 454);
  EXPECT_EQ(form().hfdl.GsFrequencies[1][1], 21934);
  EXPECT_EQ(form().hfdl.GsFrequencies[1][2], 0);
  EXPECT_EQ(form().hfdl.GsFrequencies[9][19], 2998);
  ExpectCounted(2, 5, 0);
}

// Each failure leaves the lines up to its own, counts the frame as failed
// and writes no compact text and no DAT line.
TEST_F(HfdlGolden, FailuresEndTheFrame) {
  const std::string head =
      "/Data Analysis(Lch)/" + std::string(35, '-') + "\r\nMode = BPSK 600bits/s 1.8s \r\nErrorRatio = 0.00000\r\n";
  DownlinkMpduFields down;
  down.gsId = 2;
  down.lpdus = {DataLpdu(TypeOnlyHfnpdu(0xFFD2))};
  UplinkMpduFields up;
  up.aircraft = {{0x05, 3, {DataLpdu(TypeOnlyHfnpdu(0xFFD2))}, true}};

  struct Case {
    const char* name;
    Octets octets;
    std::string text;
  };
  DownlinkMpduFields parity = down, crc = down, size = down;
  parity.breakParity = true;
  crc.breakHeaderCrc = true;
  // Two LPDUs of 255 octets do not fit in a frame of 270.
  size.lpdus.push_back(size.lpdus[0]);
  size.sizes = {255, 255};
  Octets badSquitter = ScenarioSquitter().octets;
  badSquitter[10] ^= 1;
  DownlinkMpduFields noTime = down;
  noTime.lpdus = {LogonLpdu(0x8F, 0x800001, -1, PositionHfnpdu(0xFFD1, "JL123 ", 0x1C71C, 0xC0000, 0))};
  const Case cases[] = {
      {"parity", BuildDownlinkMpdu(parity), head + "MPDU Header Parity Failed\r\n"},
      {"block parity", BuildUplinkMpdu(up),
       head + "Up Link\r\nNumber of Aircraft = 1\r\nUplink MPDU Parity Failed\r\n"},
      {"crc", BuildDownlinkMpdu(crc), head + "Down Link\r\nNumber of LPDU = 1\r\nMPDU Header CRC Failed\r\n"},
      {"squitter", badSquitter, head + "SPDU CRC Failed\r\n"},
      {"size", BuildDownlinkMpdu(size), head + "Down Link\r\nNumber of LPDU = 2\r\nMPDU Header Size Failed\r\n"},
      {"rejected position", BuildDownlinkMpdu(noTime),
       head + "Down Link\r\nNumber of LPDU = 1\r\n/MPDU Information(Lch)/" + std::string(32, '-') +
           "\r\nGround Station ID = 2\r\nGround Station Name = Molokai\r\nUTC Link = Synchronized\r\n"
           "Aircraft ID = FF\r\nUplink Data Rate = 300bits/s\r\nLPDU Size [1] = 20\r\n/LPDU Information(Lch)/" +
           std::string(32, '-') +
           "\r\nLPDU TYPE = Log-on Request (Normal)\r\nAircraft ICAO Address = 800001\r\n"
           "HFNPDU TYPE = Performance Data Downlink\r\nFlight ID = JL123 \r\nLatitude = 39.9999237059092\r\n"
           "Longitude = -90.0001716617044\r\nUTC Time = 00:00:00\r\n"},
  };
  int failed = 0;
  for (const Case& c : cases) {
    rig_.ClearText();
    rig_.AnalyzeOwn(c.octets, 1, 0);
    ++failed;
    EXPECT_EQ(form().text.TextBuffers[kHfdlAna], c.text) << c.name;
    EXPECT_EQ(form().text.TextBuffers[kHfdlFmt], "") << c.name;
    EXPECT_EQ(form().text.TextBuffers[kHfdlDat], "") << c.name;
    EXPECT_EQ(form().app.SourceTag, "Lch") << c.name;
    EXPECT_EQ(calls(), std::vector<std::string>{"text window"}) << c.name;
    ExpectCounted(1, failed, failed);
  }
  EXPECT_FALSE(platform::FileExists(rig_.folder() + "/logs/20261206_HFDL_FMT.log"));
  EXPECT_FALSE(platform::FileExists(rig_.folder() + "/logs/20261206_HFDL_DAT.log"));
}

TEST_F(HfdlGolden, SecondLpduFailsInANetworkFrame) {
  DownlinkMpduFields f;
  f.gsId = 15;
  f.aircraftId = 0x52;
  f.rateCode = 3;
  Octets broken = DataLpdu(TypeOnlyHfnpdu(0xFFD2));
  broken.back() ^= 0x01;
  f.lpdus = {LogonLpdu(0x3F, 0x86D0A0, 7), broken, LogonLpdu(0x2F, 0x4840D6, 9)};
  const Octets octets = BuildDownlinkMpdu(f);
  ASSERT_EQ(octets.size(), 30u);
  rig_.AnalyzeNetwork(octets);

  ExpectOutput("lpdu_crc_network", "NET", DatLine("NET", octets, 30));
  for (int row = 0; row < 10; ++row) ExpectCounted(row, 0, 0);
}

}  // namespace
