// Whole frames along the road, compared byte for byte with texts written
// out by hand: the analysis and compact text in the buffers and the ANA, FMT
// and DAT logs, and what each frame handed on.
#include <gtest/gtest.h>

#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"
#include "support/reception_rig.h"

namespace {

using testing_support::Golden;
using testing_support::ReadFile;
using testing_support::ReceptionRig;
using testing_support::WithoutCr;
using namespace hfdl_tx;

// The DAT line of the frame's first octets, as the buffer holds it.
std::string DatLine(const std::string& tag, const Octets& octets, size_t count) {
  Octets first(octets.begin(), octets.begin() + static_cast<long>(std::min(count, octets.size())));
  first.resize(count, 0);
  return "[" + tag + "]2026/12/06 14:03:07>HFDL<SOH>" + RelayHex(first) + "<ETX>\r\n";
}

// The FMT log holds each frame's compact text followed by an empty line.
std::string FmtLog(const std::string& compact, const std::string& tag) {
  std::string log;
  const std::string text = WithoutCr(compact);
  for (size_t start = 0; start < text.size();) {
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
  testing_support::RecordingSink& sink() { return rig_.sink(); }

  // The buffers and the logs hold the golden texts and the DAT lines.
  void ExpectOutput(const std::string& golden, const std::string& tag, const std::string& datLines) {
    EXPECT_EQ(form().text.Buffer(kHfdlAna), Golden(golden + ".ana"));
    EXPECT_EQ(form().text.Buffer(kHfdlFmt), Golden(golden + ".fmt"));
    EXPECT_EQ(form().text.Buffer(kHfdlDat), datLines);
    EXPECT_EQ(rig_.Log("HFDL_ANA"), WithoutCr(Golden(golden + ".ana")));
    EXPECT_EQ(rig_.Log("HFDL_FMT"), FmtLog(Golden(golden + ".fmt"), tag));
    EXPECT_EQ(rig_.Log("HFDL_DAT"), WithoutCr(datLines));
  }
  std::vector<std::string> RowTexts(size_t row) {
    const auto& rows = form().hfdl.HfdlRegistrations.Rows;
    if (row >= rows.size()) return {"rows: " + std::to_string(rows.size())};
    const HfdlRegistrationRow& r = rows[row];
    return {r.Id, r.Gs, r.Icao24, r.RegNo, r.Lt, r.Aircraft, r.Souce};
  }
  void ExpectCounted(int row, int received, int errors) {
    const auto texts = form().hfdl.HfdlReceptionStats.Texts(row);
    EXPECT_EQ(texts[1], std::to_string(received)) << row;
    EXPECT_EQ(texts[2], std::to_string(errors)) << row;
  }
  // The report an HFDL frame hands on: no values beside the place.
  void ExpectPosition(const PositionReport& p, const std::string& flight, const std::string& registration,
                      const std::string& time, const std::string& station) {
    EXPECT_EQ(p.Origin, PositionOrigin::Hfdl);
    EXPECT_EQ(p.FlightId, flight);
    EXPECT_EQ(p.Registration, registration);
    EXPECT_EQ(p.ReportId, "XXXX");
    EXPECT_EQ(p.Time, time);
    EXPECT_EQ(p.AccessStation, station);
    EXPECT_EQ(p.Position.Altitude, 100000);
    EXPECT_EQ(p.Position.Heading, 900);
  }
  bool AircraftLayersRequested() {
    return form().mapView.PendingRedraw == MapLayers{MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude};
  }

  ReceptionRig rig_;
};

TEST_F(HfdlGolden, SquitterKeepsTheStationTable) {
  const ScenarioFrame frame = ScenarioSquitter();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("squitter", "Lch", DatLine("Lch", frame.octets, 66));
  // Slots 2 and 5 of GS 1 in use; GS 7 and GS 0 announced with none.
  const int32_t active1[6] = {2, 5, 0, 0, 0, 0};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(form().hfdl.GsActiveFreqs[1][c], active1[c]);
    EXPECT_EQ(form().hfdl.GsActiveFreqs[7][c], 0);
  }
  const TDateTime timeOfDay = platform::EncodeTime(14, 3, 7);
  for (int id : {1, 7, 0}) EXPECT_NEAR(form().hfdl.GsCheckedTime[id], timeOfDay, 1e-9) << id;
  ASSERT_EQ(sink().frames.size(), 1u);
  EXPECT_TRUE(sink().frames[0].Squitter);
  EXPECT_TRUE(sink().positions.empty());
  ExpectCounted(0, 1, 0);
}

TEST_F(HfdlGolden, LogonRequestCarryingPerformanceData) {
  const ScenarioFrame frame = ScenarioLogonRequest("JAL123");
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("logon_request", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  // JAL is JL; the log-on's address is JA8089 in ICAO24.csv.
  ASSERT_EQ(sink().positions.size(), 1u);
  ExpectPosition(sink().positions[0], "JL0123", "JA8089", "0100", "Molokai");
  EXPECT_DOUBLE_EQ(sink().positions[0].Position.Lat, 0x1C71C * 180.0 / 524287.0);
  EXPECT_DOUBLE_EQ(sink().positions[0].Position.Lon, -0x40000 * 180.0 / 524287.0);
  EXPECT_TRUE(AircraftLayersRequested());
  // The allocation octet is 0xFF: no registration row.
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  ExpectCounted(1, 1, 0);
}

TEST_F(HfdlGolden, LogonConfirmToTheSecondAircraft) {
  const ScenarioFrame frame = ScenarioLogonConfirm();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 1);

  ExpectOutput("logon_confirm", "Rch", DatLine("Rch", frame.octets, frame.octets.size()));
  EXPECT_EQ(RowTexts(0), (std::vector<std::string>{"23", "2", "800001", "JA8089", "JL", "B777-200", "HFDL"}));
  EXPECT_TRUE(sink().positions.empty());
  ExpectCounted(6, 1, 0);
}

TEST_F(HfdlGolden, DownlinkLogonAllocatesARow) {
  DownlinkMpduFields f;
  f.gsId = 2;
  f.aircraftId = 0xFF;
  f.lpdus = {LogonLpdu(0x8F, 0x800001, 0x23)};
  rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  EXPECT_NE(form().text.Buffer(kHfdlAna).find("Aircraft Address = 23\r\n"), std::string::npos);
  EXPECT_NE(form().text.Buffer(kHfdlFmt).find("   ALLOCATION ID  = 23\r\n"), std::string::npos);
  EXPECT_EQ(RowTexts(0), (std::vector<std::string>{"23", "2", "800001", "JA8089", "JL", "B777-200", "HFDL"}));
}

TEST_F(HfdlGolden, EnvelopedAcarsGoesToTheParserAndTheTable) {
  const ScenarioFrame frame = ScenarioAcars();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("acars", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  // The block from SOH through ETX and its check sequence, parity removed.
  const Octets sent = hfdl_tx::AcarsBlock(AcarsBlockFields());
  std::string characters, checks;
  for (size_t n = 0; n + 1 < sent.size(); ++n) (n + 3 < sent.size() ? characters : checks) += char(sent[n] & 0x7F);
  ASSERT_EQ(sink().messages.size(), 1u);
  const AcarsMessage& m = sink().messages[0];
  EXPECT_EQ(m.Block.Characters, characters);
  EXPECT_EQ(m.Block.CheckSequence, checks);
  EXPECT_EQ(m.Block.End, AcarsEndFlag::Etx);
  EXPECT_EQ(m.Block.Bearer, AcarsBearer::Hfdl);
  EXPECT_EQ(m.Block.SourceTag, "Lch");
  EXPECT_TRUE(m.Downlink());
  EXPECT_EQ(m.Fields.FlightId, "JL0012");
  EXPECT_EQ(RowTexts(0), (std::vector<std::string>{"23", "7", "800001", "JA8089", "JL", "B777-200", "ACARS"}));
}

TEST_F(HfdlGolden, PerformanceDataOnTheDownlinkDataPath) {
  const ScenarioFrame frame = ScenarioPerformanceData();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 1);

  ExpectOutput("performance_data", "Rch", DatLine("Rch", frame.octets, frame.octets.size()));
  // No row names the aircraft: the report says so.
  ASSERT_EQ(sink().positions.size(), 1u);
  ExpectPosition(sink().positions[0], "NH0205", "NO DATA", "1000", "Shannon");
  EXPECT_TRUE(AircraftLayersRequested());
  ExpectCounted(4, 1, 0);
}

TEST_F(HfdlGolden, FrequencyDataOnTheUplinkDataPath) {
  const ScenarioFrame frame = ScenarioFrequencyData();
  rig_.AnalyzeOwn(frame.octets, frame.mode, 0);

  ExpectOutput("frequency_data", "Lch", DatLine("Lch", frame.octets, frame.octets.size()));
  // An uplink report is shown, not stored.
  EXPECT_TRUE(sink().positions.empty());
  EXPECT_TRUE(form().mapView.PendingRedraw.Empty());
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
  EXPECT_EQ(rig_.effects().shownForms, std::vector<int>{23});
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
  const struct {
    const char* name;
    Octets octets;
    std::string text;
  } cases[] = {
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
  for (const auto& c : cases) {
    rig_.ClearText();
    rig_.AnalyzeOwn(c.octets, 1, 0);
    ++failed;
    EXPECT_EQ(form().text.Buffer(kHfdlAna), c.text) << c.name;
    EXPECT_EQ(form().text.Buffer(kHfdlFmt), "") << c.name;
    EXPECT_EQ(form().text.Buffer(kHfdlDat), "") << c.name;
    ASSERT_EQ(sink().frames.size(), 1u) << c.name;
    EXPECT_TRUE(sink().frames[0].Failed()) << c.name;
    EXPECT_TRUE(sink().positions.empty()) << c.name;
    ExpectCounted(1, failed, failed);
  }
  EXPECT_TRUE(form().mapView.PendingRedraw.Empty());
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
  // Relayed frames count nowhere.
  for (int row = 0; row < 10; ++row) ExpectCounted(row, 0, 0);
}

// A downlink that reports a position and then carries the same flight's
// ACARS message hands them on in that order.
TEST_F(HfdlGolden, PositionBeforeTheAcarsMessageOfTheSameFrame) {
  struct Order : ReceptionSink {
    std::vector<std::string> seen;
    bool OnPosition(const PositionReport& p) override {
      seen.push_back("position " + p.FlightId);
      return false;
    }
    void OnAcarsMessage(const AcarsMessage& m) override { seen.push_back("acars " + m.Fields.FlightId); }
  } order;
  rig_.road().AddSink(order);
  DownlinkMpduFields f;
  f.gsId = 7;
  f.aircraftId = 0x23;
  f.rateCode = 4;
  f.lpdus = {DataLpdu(PositionHfnpdu(0xFFD1, "JL12  ", 0x1C71C, 0x1C71C, 0x0708)),
             DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(AcarsBlockFields())))};
  rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 3, 0);
  EXPECT_EQ(order.seen, (std::vector<std::string>{"position JL0012", "acars JL0012"}));
}

}  // namespace
