// HFDL frames along the road as the program wires it (what reaches the map,
// the aircraft table, the windows and the texts; failing and malformed
// frames; position reports and flight IDs) and the tables HFDL keeps: ground
// stations, system tables, registration rows and reception statistics.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_forms.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/hfnpdu.h"
#include "hfdl/reception_stats.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/control_char_name.h"
#include "platform/file_io.h"
#include "support/golden_picture.h"
#include "support/reception_rig.h"
#include "support/selected_row_picture.h"

namespace {

using testing_support::Golden;
using testing_support::ReadFile;
using testing_support::ReceptionRig;
using testing_support::WithoutCr;
using testing_support::WriteFile;
using namespace hfdl_tx;

bool Has(const std::string& text, const std::string& line) { return text.find(line + "\r\n") != std::string::npos; }

class HfdlAnalysisTest : public ::testing::Test {
 protected:
  Form1State& form() { return rig_.form(); }
  testing_support::RecordingSink& sink() { return rig_.sink(); }
  const std::string& Ana() { return form().text.Buffer(kHfdlAna); }
  const std::string& Fmt() { return form().text.Buffer(kHfdlFmt); }
  const std::vector<PositionReport>& Positions() { return sink().positions; }
  // The received and failed counts of a statistics row.
  std::string Counted(int row) {
    const auto texts = form().hfdl.HfdlReceptionStats.Texts(row);
    return texts[1] + "/" + texts[2];
  }
  // The flight of the only position report handed on, "" for none.
  std::string Reported() { return Positions().size() == 1 ? Positions()[0].FlightId : ""; }

  // One LPDU in a downlink MPDU (mode 1) or an uplink one (mode 2).
  void Downlink(const Octets& lpdu, int aircraftId = 0x23) {
    DownlinkMpduFields f;
    f.gsId = 7;
    f.aircraftId = aircraftId;
    f.lpdus = {lpdu};
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  }
  void Uplink(const Octets& lpdu, int aircraftId = 0x23) {
    UplinkMpduFields f;
    f.gsId = 7;
    f.aircraft = {{aircraftId, 3, {lpdu}, false}};
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  }
  void Send(const ScenarioFrame& frame) { rig_.AnalyzeOwn(frame.octets, frame.mode, 0); }

  HfdlReception& hfdl() { return form().hfdl; }
  void Load(const std::string& bytes) {
    WriteFile(hfdl().FreqsCsvPath, bytes);
    LoadHfdlSystemTable(hfdl());
  }
  // A station's name and its first frequencies: "Alpha 100 200 300 0".
  std::string Station(int id, int count = 4) {
    std::string text = hfdl().GsNames[id];
    for (int c = 0; c < count; ++c) text += " " + std::to_string(hfdl().GsFrequencies[id][c]);
    return text;
  }
  // An uplink frame of one system-table part.
  void SendPart(int sequence, int partsMinusOne, const Octets& data, int version = 40) {
    UplinkMpduFields f;
    f.aircraft = {{0xFF, 3, {DataLpdu(SystemTableHfnpdu(sequence, partsMinusOne, version, data))}, false}};
    rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  }
  HfdlRegistrationTable& table() { return hfdl().HfdlRegistrations; }
  // A registration row's fields: "Id Gs Icao24 RegNo Lt Aircraft Souce".
  std::string Row(size_t row) {
    if (row >= table().Rows.size()) return "no row " + std::to_string(row);
    const HfdlRegistrationRow& r = table().Rows[row];
    return r.Id + " " + r.Gs + " " + r.Icao24 + " " + r.RegNo + " " + r.Lt + " " + r.Aircraft + " " + r.Souce;
  }
  // An ACARS block carried by HFDL: SOH, mode, then the address.
  void Acars(const std::string& address, const std::string& id, int gs) {
    const std::string text = std::string("+*\x16\x16\x01") + "2" + address + "\x15" + "5Z2\x03xx";
    OnHfdlAcars(hfdl(), lookups_, testing_support::BlockOf(text, true, AcarsBearer::Hfdl, "Lch"), id, gs);
  }
  void Logon(const std::string& id, const std::string& address, int gs = 2) {
    OnHfdlLogon(hfdl(), lookups_, id, address, "HFDL", "-", "-", "-", gs);
  }

  bool Buffered() { return Ana().find("System Table Data Buffed...") != std::string::npos; }

  ReceptionRig rig_;
  testing_support::FixedLookups lookups_;
};

using HfdlScenario = HfdlAnalysisTest;
using HfdlPosition = HfdlAnalysisTest;
using HfdlFrames = HfdlAnalysisTest;
using HfdlTexts = HfdlAnalysisTest;
using HfdlTables = HfdlAnalysisTest;

QStringList RowTexts(QTreeWidget* view, int row) {
  QStringList texts;
  QTreeWidgetItem* item = view->topLevelItem(row);
  for (int c = 0; item && c < view->columnCount(); ++c) texts << item->text(c);
  return texts;
}

// A report an HFDL frame hands on, "flight registration time station": it
// carries no values beside the place.
std::string Described(const PositionReport& p) {
  EXPECT_EQ(p.Origin, PositionOrigin::Hfdl);
  EXPECT_EQ(p.ReportId + " " + std::to_string(p.Position.Altitude) + " " + std::to_string(p.Position.Heading),
            "XXXX 100000 900");
  return p.FlightId + " " + p.Registration + " " + p.Time + " " + p.AccessStation;
}

// Every kind of frame once, the system table in parts, and what the map,
// the aircraft table and the three HFDL windows get of them.
TEST_F(HfdlScenario, FramesReachTheMapTheTablesAndTheWindows) {
  TForm21 registrations(form());
  TForm22 statistics(form());
  TForm23 systemTable(form());

  Send(ScenarioSquitter());
  const TDateTime timeOfDay = platform::EncodeTime(14, 3, 7);
  for (int id : {1, 7, 0}) EXPECT_NEAR(form().hfdl.GsCheckedTime[id], timeOfDay, 1e-9) << id;
  // An uplink report is shown, not stored.
  Send(ScenarioFrequencyData());
  EXPECT_TRUE(Positions().empty());
  EXPECT_TRUE(form().mapView.PendingRedraw.Empty());

  // JAL is JL; the log-on's address is JA8089 in ICAO24.csv.
  Send(ScenarioLogonRequest("JAL123"));
  ASSERT_EQ(Positions().size(), 1u);
  EXPECT_EQ(Described(Positions()[0]), "JL0123 JA8089 0100 Molokai");
  EXPECT_DOUBLE_EQ(Positions()[0].Position.Lat, 0x1C71C * 180.0 / 524287.0);
  EXPECT_DOUBLE_EQ(Positions()[0].Position.Lon, -0x40000 * 180.0 / 524287.0);
  EXPECT_EQ(form().mapView.PendingRedraw, (MapLayers{MapLayer::Aircraft, MapLayer::SideList, MapLayer::Altitude}));
  // The allocation octet is 0xFF: no registration row.
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());

  Send(ScenarioLogonConfirm());
  // The enveloped block goes to the ACARS texts as a downlink of its flight.
  Send(ScenarioAcars());
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsRaw), "<SOH>2.JA8089<NAK>5Z2<STX>M01AJL12  TEST<ETX>"));
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsPrc), "JL0012 (JA8089)    [5Z:2:M01A] MODE:2   \r\nTEST"));
  ASSERT_EQ(sink().messages.size(), 1u);
  EXPECT_EQ(sink().messages[0].Block.Bearer, AcarsBearer::Hfdl);
  EXPECT_TRUE(sink().messages[0].Downlink());
  // No row names this aircraft: the report says so.
  Send(ScenarioPerformanceData());
  ASSERT_EQ(Positions().size(), 2u);
  EXPECT_EQ(Described(Positions()[1]), "NH0205 NO DATA 1000 Shannon");

  for (int sequence : {2, 0, 2, 1, 0}) Send(ScenarioSystemTablePart(sequence));
  EXPECT_EQ(form().hfdl.SystemVer, 36);
  EXPECT_EQ(rig_.effects().shownForms, std::vector<int>{23});
  // The second ACARS frame from the same aircraft adds no row.
  Send(ScenarioAcars());

  QTreeWidget* stats = statistics.ListView1();
  ASSERT_EQ(stats->topLevelItemCount(), 10);
  EXPECT_EQ(RowTexts(stats, 2), (QStringList{"QPSK 1200bits/s 1.8s", "5", "0", "100.000"}));
  EXPECT_EQ(RowTexts(stats, 3), (QStringList{"8PSK 1800bits/s 1.8s", "2", "0", "100.000"}));
  EXPECT_EQ(RowTexts(stats, 8), (QStringList{"MSK  2400bits/s (VHF)", "0", "0", "0.000"}));
  EXPECT_EQ(RowTexts(stats, 9), (QStringList{"Total", "12", "0", "100.000"}));
  // Every row and column whole, with no scroll bar.
  statistics.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(stats->verticalScrollBar()->isVisible() || stats->horizontalScrollBar()->isVisible());
  const QAbstractItemView& items = *stats;
  for (int c = 0; c < 4; ++c) EXPECT_GE(stats->columnWidth(c), items.sizeHintForColumn(c)) << c;

  QTreeWidget* rows = registrations.ListView1();
  ASSERT_EQ(rows->topLevelItemCount(), 2);
  EXPECT_EQ(RowTexts(rows, 0), (QStringList{"23", "2", "800001", "JA8089", "JL", "B777-200", "HFDL"}));
  EXPECT_EQ(RowTexts(rows, 1), (QStringList{"23", "7", "800001", "JA8089", "JL", "B777-200", "ACARS"}));
  EXPECT_EQ(rows->headerItem()->text(6), "Souce");
  ClearRegistrationRows(form().hfdl.HfdlRegistrations);
  EXPECT_EQ(rows->topLevelItemCount(), 0);

  // The table window shows the table, and so does one made at the next
  // start, from the saved file.
  std::string table = WithoutCr(Golden("system.txt"));
  table.pop_back();
  EXPECT_EQ(systemTable.Memo1()->toPlainText().toStdString(), table);
  Form1State next;
  next.hfdl.SystemTxtPath = form().hfdl.SystemTxtPath;
  TForm23 again(next);
  EXPECT_EQ(again.Memo1()->toPlainText().toStdString(), table);
}

TEST_F(HfdlScenario, CutDoubleByteDescriptionShows) {
  // 62 ASCII bytes and a two-byte character: the cut at 63 splits it.
  testing_support::WriteFile(form().hfdl.Icao24CsvPath, "ABCDEF,B77,JL,JA9999," + std::string(62, 'A') + "\x88\x9f\n");
  TForm21 registrations(form());
  OnHfdlLogon(form().hfdl, NoHfdlLookups(), "44", "ABCDEF", "HFDL", "-", "-", "-", 3);
  ASSERT_EQ(form().hfdl.HfdlRegistrations.Rows.size(), 1u);
  EXPECT_EQ(form().hfdl.HfdlRegistrations.Rows[0].Aircraft.size(), 63u);
  EXPECT_TRUE(registrations.ListView1()->topLevelItem(0)->text(5).startsWith(QString(62, 'A')));
}

// Each failure leaves the lines up to its own, counts the frame as failed
// and writes no compact text and no DAT line.
TEST_F(HfdlFrames, FailuresEndTheFrame) {
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
    std::string text;  // after the head
    bool lastLines = false;
  } cases[] = {
      {"parity", BuildDownlinkMpdu(parity), "MPDU Header Parity Failed\r\n"},
      {"block parity", BuildUplinkMpdu(up), "Up Link\r\nNumber of Aircraft = 1\r\nUplink MPDU Parity Failed\r\n"},
      {"crc", BuildDownlinkMpdu(crc), "Down Link\r\nNumber of LPDU = 1\r\nMPDU Header CRC Failed\r\n"},
      {"squitter", badSquitter, "SPDU CRC Failed\r\n"},
      {"size", BuildDownlinkMpdu(size), "Down Link\r\nNumber of LPDU = 2\r\nMPDU Header Size Failed\r\n"},
      // The report's lines are all written before it is rejected.
      {"rejected position", BuildDownlinkMpdu(noTime), "Longitude = -90.0001716617044\r\nUTC Time = 00:00:00\r\n", true},
  };
  int failed = 0;
  for (const auto& c : cases) {
    rig_.ClearText();
    rig_.AnalyzeOwn(c.octets, 1, 0);
    ++failed;
    const std::string shown =
        c.lastLines ? Ana().substr(0, head.size()) + Ana().substr(Ana().size() - std::min(Ana().size(), c.text.size()))
                    : Ana();
    EXPECT_EQ(shown, head + c.text) << c.name;
    EXPECT_EQ(Fmt(), "") << c.name;
    EXPECT_EQ(form().text.Buffer(kHfdlDat), "") << c.name;
    ASSERT_EQ(sink().frames.size(), 1u) << c.name;
    EXPECT_TRUE(sink().frames[0].Failed()) << c.name;
    EXPECT_TRUE(Positions().empty()) << c.name;
    EXPECT_EQ(Counted(1), std::to_string(failed) + "/" + std::to_string(failed)) << c.name;
  }
}

TEST_F(HfdlFrames, SecondLpduFailsInANetworkFrame) {
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

  EXPECT_EQ(rig_.Log("HFDL_ANA"), WithoutCr(Golden("lpdu_crc_network.ana")));
  EXPECT_EQ(rig_.Log("HFDL_FMT"), WithoutCr(Golden("lpdu_crc_network.fmt")) + "\n");
  EXPECT_EQ(rig_.Log("HFDL_DAT"), "[NET]2026/12/06 14:03:07>HFDL<SOH>" + RelayHex(octets) + "<ETX>\n");
  // Relayed frames count nowhere.
  EXPECT_EQ(Counted(9), "0/0");
}

Octets Report(const std::string& flight, uint32_t lat, uint32_t lon, uint16_t time, uint16_t type = 0xFFD1) {
  return PositionHfnpdu(type, flight, lat, lon, time);
}

TEST_F(HfdlPosition, MostNegativeLatitudeIsRejectedWhereLatitudeIsChecked) {
  // Octets 00 00 08 00 00: latitude 0x80000, -524288 units.
  const Octets report = Report("JL123 ", 0x80000, 0, 0x0708);
  for (const bool uplink : {false, true}) {
    for (const bool logon : {true, false}) {
      const Octets lpdu = logon ? LogonLpdu(0x8F, 0x800001, -1, report) : DataLpdu(report);
      uplink ? Uplink(lpdu) : Downlink(lpdu);
      const bool rejected = !uplink || logon;
      EXPECT_TRUE(Has(Ana(), "Latitude = -180.000343323409")) << uplink << logon;
      EXPECT_EQ(Fmt().empty(), rejected) << uplink << logon;
      EXPECT_TRUE(Positions().empty()) << uplink << logon;
    }
  }
  EXPECT_EQ(Counted(1) + " " + Counted(2), "2/2 2/1");
}

TEST_F(HfdlPosition, NoTimeRejectsOnTheDownlinkLogonPathOnly) {
  const Octets report = Report("JL123 ", 0x1C71C, 0x1C71C, 0);
  Downlink(LogonLpdu(0x8F, 0x800001, -1, report));
  EXPECT_TRUE(Fmt().empty());
  EXPECT_TRUE(Positions().empty());
  Uplink(LogonLpdu(0x8F, 0x800001, -1, report));
  EXPECT_TRUE(Has(Fmt(), "   UTC TIME       = 00:00:00"));
  ASSERT_EQ(Reported(), "JL0123");
  EXPECT_EQ(Positions()[0].Registration, "JA8089");
  EXPECT_EQ(Positions()[0].Time, "0000");
  Downlink(DataLpdu(report));
  EXPECT_EQ(Reported(), "JL0123");
  // A zero longitude and an empty flight ID.
  Downlink(LogonLpdu(0x8F, 0x800001, -1, Report("JL123 ", 0x1C71C, 0, 0x0708)));
  EXPECT_TRUE(Fmt().empty());
  Downlink(DataLpdu(Report("", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Fmt().empty());
  EXPECT_TRUE(Positions().empty());
  EXPECT_EQ(Counted(1), "4/3");
}

TEST_F(HfdlPosition, PassListKeepsAirlinesOut) {
  form().Etc.PassList = "JL,NH";
  Downlink(DataLpdu(Report("JL123 ", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = JL0123"));
  EXPECT_TRUE(Positions().empty());
  Downlink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(AcarsBlockFields()))));
  EXPECT_TRUE(Has(Ana(), "ACARS Message = <SOH>2.JA8089<NAK>5Z2<STX>M01AJL12  TEST<ETX>"));
  EXPECT_TRUE(sink().messages.empty());
  AcarsBlockFields nh;
  nh.flight = "NH0205";
  Downlink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(nh))));
  EXPECT_TRUE(sink().messages.empty());
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  // Another airline goes through.
  Downlink(DataLpdu(Report("BA0012", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_EQ(Reported(), "BA0012");
}

TEST_F(HfdlPosition, FlightIds) {
  // A numeric flight on the downlink log-on path takes the operator code.
  Downlink(LogonLpdu(0x8F, 0x800001, -1, Report("12345", 0x1C71C, 0x1C71C, 0xFFFF)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = JL1234"));
  // Hours pass 23 as they come.
  EXPECT_TRUE(Has(Ana(), "UTC Time = 36:24:30"));
  // An airline letter.csv does not know keeps its raw ID.
  Downlink(DataLpdu(Report("XYZ9", 0x1C71C, 0x1C71C, 0x0708)));
  EXPECT_TRUE(Has(Fmt(), "   FLIGHT ID      = XYZ9"));
  EXPECT_EQ(NormaliseFlightNumber("JL12"), "JL0012");
  EXPECT_EQ(NormaliseFlightNumber("JL123456"), "JL1234");
  EXPECT_EQ(NormaliseFlightNumber("JL1A2"), "JL0001");
}

TEST_F(HfdlPosition, AcarsFlightIdFieldAndPassList) {
  auto field = [](const std::string& flight, bool convJD, bool convJC, char mode = '2') {
    AcarsBlockFields f;
    f.mode = mode;
    f.flight = flight;
    f.text = "A TEXT LONG ENOUGH FOR ANY BLOCK";
    std::string characters = kAcarsSyncCharacters;
    const Octets octets = hfdl_tx::AcarsBlock(f);
    for (size_t n = 0; n + 1 < octets.size(); ++n) characters += static_cast<char>(octets[n] & 0x7F);
    return ExtractFlightIdField(testing_support::BlockOf(characters, f.etx, AcarsBearer::Hfdl, "Lch"), convJD, convJC);
  };
  EXPECT_EQ(field("JL12  ", false, false), "JL0012");
  EXPECT_EQ(field("JL1 2 ", false, false), "JL0102");
  EXPECT_EQ(field("JD012 ", false, false), "JD0012");
  EXPECT_EQ(field("JD012 ", true, false), "JL0012");
  EXPECT_EQ(field("  12  ", true, false), "000012");
  EXPECT_EQ(field("  12  ", true, true), "JC0012");
  // An uplink block has no flight.
  EXPECT_EQ(field("JL12  ", false, false, 'a'), "------");
  // Fewer than 29 characters from the "+".
  EXPECT_EQ(ExtractFlightIdField(testing_support::BlockOf(std::string(30, '\0'), true, AcarsBearer::Hfdl, "Lch"),
                                 false, false),
            "------");

  // A block without a flight ID passes unless "--" is listed.
  const std::pair<const char*, const char*> notListed[] = {
      {"JL0012", ""}, {"------", ""}, {"LH0012", "JL,NH"}};
  const std::pair<const char*, const char*> listed[] = {
      {"JL00", ""}, {"JL 012", ""}, {"JL0000", ""}, {"------", "--"}, {"NH0012", "JL,NH"}, {"JL0012", "--,JL"}};
  for (const auto& [flight, list] : notListed) EXPECT_TRUE(IsAirlineNotListed(flight, list)) << flight << " in " << list;
  for (const auto& [flight, list] : listed) EXPECT_FALSE(IsAirlineNotListed(flight, list)) << flight << " in " << list;
}

TEST_F(HfdlFrames, AnUplinkFramesBlockIsAnUplink) {
  // A category A uplink: mode "2", its text right after STX.
  AcarsBlockFields up;
  up.address = ".N010AB";
  up.label = "B6";
  up.blockId = 'F';
  up.msgNo = up.flight = "";
  up.text = "HFDL UPLINK TEXT 10";
  Uplink(DataLpdu(EnvelopedHfnpdu(hfdl_tx::AcarsBlock(up))));
  ASSERT_EQ(sink().messages.size(), 1u);
  EXPECT_FALSE(sink().messages[0].Downlink());
  // The rig loads no ground-station names.
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsPrc), "  (N010AB)    [B6:F] MODE:2   \r\nHFDL UPLINK TEXT 10"));
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsMes), "MODE:2   \r\nHFDL UPLINK TEXT 10"));
  EXPECT_TRUE(Has(form().text.Buffer(kAcarsRaw), "<SOH>2.N010AB<NAK>B6F<STX>HFDL UPLINK TEXT 10<ETX>"));
}

TEST_F(HfdlFrames, LpduTypesAndReasons) {
  Downlink(LogonLpdu(0x4F, 0x800001, 0x24));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Resume"));
  EXPECT_TRUE(Has(Ana(), "Aircraft Address = 24"));
  Downlink(LogonLpdu(0x9F, 0x800001, 0xFF, {0xD2}));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Confirm"));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = System Table Request"));
  EXPECT_FALSE(Has(Ana(), "Aircraft Address = FF"));
  // A type outside the table has no name, and nothing more is read.
  Downlink(LogonLpdu(0x77, 0x800001, 0x24));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = "));
  EXPECT_FALSE(Has(Ana(), "Aircraft ICAO Address = 800001"));
  Downlink(LogonLpdu(0x2F, 0x800001, 2));
  EXPECT_TRUE(Has(Ana(), "Reason = HFDL Ground Station Sub-system does not support RLS"));
  Downlink(LogonLpdu(0x3F, 0x800001, 9), 0xFF);
  EXPECT_TRUE(Has(Ana(), "Reason = Reserved"));
  EXPECT_FALSE(Has(Fmt(), "   AIRCRAFT ID    = FF"));
  // Reserved uplink data rates.
  for (int code : {0, 5, 6, 7}) {
    DownlinkMpduFields f;
    f.rateCode = code;
    rig_.ClearText();
    rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
    EXPECT_TRUE(Has(Ana(), "Uplink Data Rate = Reserved")) << code;
  }
}

TEST_F(HfdlFrames, FieldsInTheCheckSequenceAreNotRead) {
  // S = 5: the address fits, octet 4 would be the check sequence.
  Downlink(LogonLpdu(0x8F, 0x800001, -1));
  EXPECT_TRUE(Has(Ana(), "Aircraft ICAO Address = 800001"));
  EXPECT_EQ(Ana().find("Aircraft Address"), std::string::npos);
  EXPECT_TRUE(form().hfdl.HfdlRegistrations.Rows.empty());
  // S = 4: not even the address.
  Downlink(Lpdu({0x8F, 0x01, 0x00}));
  EXPECT_TRUE(Has(Ana(), "LPDU TYPE = Log-on Request (Normal)"));
  EXPECT_TRUE(Has(Fmt(), "   AIRCRAFT ID    = 23"));
  EXPECT_EQ(Ana().find("ICAO"), std::string::npos);
  // A position report one octet short, Enveloped Data with no character.
  Octets report = Report("JL123 ", 0x1C71C, 0x1C71C, 0x0708);
  report.pop_back();
  Downlink(DataLpdu(report));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = Performance Data Downlink"));
  EXPECT_EQ(Ana().find("Flight ID"), std::string::npos);
  EXPECT_TRUE(Positions().empty());
  Downlink(DataLpdu({0xFF, 0xFF, 0x01, 0x02}));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = Enveloped Data"));
  EXPECT_TRUE(sink().frames.at(0).Deliveries.empty());
  // None of these fails the frame.
  EXPECT_EQ(Counted(1), "4/0");

  // Tiny LPDUs fail their check; the third is found after S + 1 octets of
  // each, and the DAT line ends after it.
  DownlinkMpduFields f;
  f.lpdus = {Octets{0x0D}, Octets{0x0D, 0x0D}, DataLpdu(TypeOnlyHfnpdu(0xFFD2))};
  rig_.ClearText();
  rig_.AnalyzeOwn(BuildDownlinkMpdu(f), 1, 0);
  EXPECT_TRUE(Has(Ana(), "LPDU Number 1 CRC Failed"));
  EXPECT_TRUE(Has(Ana(), "LPDU Number 2 CRC Failed"));
  EXPECT_TRUE(Has(Ana(), "HFNPDU TYPE = System Table Request"));
  EXPECT_EQ(sink().frames.at(0).DatOctets, 11 + 1 + 2 + 5);
}

TEST_F(HfdlFrames, SquitterTableBounds) {
  SquitterFields f;
  f.gsId = 25;
  f.mask1 = 0xFFFFF;
  f.gsId2 = 3;
  f.mask2 = 0xFF0FF;  // slots 1-8 and 13-20
  f.gsId3 = 127;
  f.version = 3;
  form().hfdl.GsActiveFreqs[19][0] = 9;
  rig_.AnalyzeOwn(BuildSquitter(f), 0, 0);
  EXPECT_TRUE(Has(Ana(), "Ground Station Name = "));
  EXPECT_TRUE(Has(Ana(), "  [ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ]"));
  EXPECT_TRUE(Has(Ana(), "  [ 1 2 3 4 5 6 7 8 13 14 15 16 17 18 19 20 ]"));
  const int32_t* active = form().hfdl.GsActiveFreqs[3];
  EXPECT_EQ(std::vector<int32_t>(active, active + 6), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(form().hfdl.GsActiveFreqs[19][0], 9);
  EXPECT_TRUE(Has(Fmt(), "   FREQUENCIES    = [ 17985kHz 15025kHz 11184kHz ] (Reykjavik)"));
  EXPECT_TRUE(Has(Fmt(), "   FREQUENCIES    = [ ] ()"));
  // Bit 4 is no part of the version.
  EXPECT_TRUE(Has(Ana(), "SPDU Version = 3"));
  Octets withBit4 = BuildSquitter(f);
  withBit4[0] |= 0x10;
  rig_.ClearText();
  rig_.AnalyzeNetwork(withBit4);
  EXPECT_TRUE(Has(Ana(), "SPDU CRC Failed"));
}

TEST_F(HfdlFrames, NetworkFrameShorterThanItsHeader) {
  // A squitter cut to 40 octets fails its CRC instead of reading on.
  const Octets squitter = ScenarioSquitter().octets;
  rig_.AnalyzeNetwork(Octets(squitter.begin(), squitter.begin() + 40));
  EXPECT_TRUE(Has(Ana(), "SPDU CRC Failed"));
  rig_.ClearText();
  const Octets logon = ScenarioLogonConfirm().octets;
  rig_.AnalyzeNetwork(Octets(logon.begin(), logon.end() - 1));
  EXPECT_TRUE(Has(Ana(), "MPDU Header Size Failed"));
  EXPECT_TRUE(form().text.Buffer(kHfdlDat).empty());
}

// A client of a linked copy leaves its own frames to its server; a server
// decodes them as a copy on its own does.
TEST_F(HfdlFrames, ClientLeavesItsFramesToTheServer) {
  form().exchange.NetConnected = 1;
  Send(ScenarioSquitter());
  EXPECT_TRUE(sink().frames.empty());
  EXPECT_TRUE(Ana().empty());
  form().Net.Server = 1;
  Send(ScenarioSquitter());
  EXPECT_EQ(sink().frames.size(), 1u);
  EXPECT_TRUE(Has(Ana(), "Ground Station ID = 1"));
}

TEST_F(HfdlTexts, SyncLinesNameTheChannelModeAndOffset) {
  WriteHfdlSyncLines(form().text, form().Txt, 0, false, 2, -1.2345);
  const std::string left =
      "/Data Receiving(Lch)/" + std::string(34, '-') + "\r\nQPSK 1200bits/s 1.8s\r\nFrequency Error = -1.2345 Hz\r\n";
  EXPECT_EQ(Ana(), left);
  // A frame running on the other channel keeps the text.
  WriteHfdlSyncLines(form().text, form().Txt, 1, true, 0, 7.30834);
  const std::string right =
      "/Data Receiving(Rch)/" + std::string(34, '-') + "\r\nBPSK 300bits/s 1.8s \r\nFrequency Error = +7.3083 Hz\r\n";
  EXPECT_EQ(Ana(), left + right);
  EXPECT_EQ(rig_.Log("HFDL_ANA"), WithoutCr(left + right));
  // Otherwise it starts afresh.
  WriteHfdlSyncLines(form().text, form().Txt, 1, false, 0, 7.30834);
  EXPECT_EQ(Ana(), right);
  EXPECT_EQ(FrequencyErrorLine(0.0), "Frequency Error = +0.0000 Hz");
  EXPECT_EQ(FrequencyErrorLine(-0.00004), "Frequency Error = -0.0000 Hz");
}

// With logging off a frame's texts reach the windows and no log.
TEST_F(HfdlTexts, LoggingOffWritesNoLog) {
  form().Txt.TxtLog = 0;
  Send(ScenarioSquitter());
  for (int kind : {kHfdlAna, kHfdlFmt, kHfdlDat}) EXPECT_FALSE(platform::FileExists(form().text.LogPath(kind))) << kind;
  EXPECT_TRUE(Has(Ana(), "Ground Station ID = 1"));
  EXPECT_EQ(form().text.Buffer(kHfdlDat),
            "[Lch]2026/12/06 14:03:07>HFDL<SOH>" + RelayHex(ScenarioSquitter().octets) + "<ETX>\r\n");
}

TEST_F(HfdlTexts, RelayHexForm) {
  const uint8_t octet = 0xA5;
  EXPECT_EQ(HfdlOctetsToHex(&octet, 1), "5A");
  // The digit rule keeps only the low four bits: "5a" is "5A"; an odd
  // digit count ends inside an octet.
  HfdlFrameInput frame;
  ASSERT_TRUE(HfdlHexToInput("5a7", frame));
  EXPECT_EQ(frame.Octets, (std::vector<uint8_t>{0xA5, 0x07}));
  EXPECT_EQ(frame.BitCount, 12u);
}

TEST(HfdlControlChars, NamesAndBack) {
  for (const auto& [value, name] : std::vector<std::pair<uint8_t, std::string>>{
           {10, "<VF>"}, {65, "A"}, {127, "<DEL>"}, {1, "<SOH>"}, {0xB1, "\xB1"}}) {
    EXPECT_EQ(ControlCharName(value), name) << int(value);
  }
  for (int v = 0; v < 128; ++v) {
    const auto back = ControlCharValue(ControlCharName(static_cast<uint8_t>(v)));
    EXPECT_EQ(back.has_value(), v < 32 || v == 127) << v;
    EXPECT_EQ(back.value_or(v), v);
  }
}

TEST_F(HfdlTables, ReadingFreqsCsvAndSystemTxt) {
  const std::string longName(70, 'N');
  Load("Alpha,100,200,300\r\n\"Bravo\",5\r\n" + longName + ",12345678901234567,abc,-5,2147483648,7 ,21\r\nDelta,7");
  EXPECT_EQ(Station(1), "Alpha 100 200 300 0");
  EXPECT_EQ(Station(2), "Bravo 5 0 0 0");
  // Long fields are cut (the number to 15 digits, past the int range), bad
  // numbers are 0, and loading goes on after them.
  EXPECT_EQ(Station(3, 6), std::string(63, 'N') + " 0 0 -5 0 0 21");
  // A last line without a line feed is read whole, its last number too.
  EXPECT_EQ(Station(4, 1), "Delta 7");
  // Fewer lines than stations: the rest stay empty; GS 0 is never loaded.
  EXPECT_EQ(Station(5, 1), " 0");
  EXPECT_EQ(Station(0, 1), " 0");

  // Nineteen stations and no more; twenty numbers each.
  std::string numbers, text;
  for (int n = 1; n <= 21; ++n) numbers += "," + std::to_string(n);
  for (int id = 1; id <= 21; ++id) text += "S" + std::to_string(id) + "," + std::to_string(id) + numbers + "\n";
  Load(text);
  EXPECT_EQ(Station(19, 1), "S19 19");
  EXPECT_EQ(hfdl().GsFrequencies[19][19], 19);
  // A missing file leaves the table empty.
  std::remove(hfdl().FreqsCsvPath.c_str());
  LoadHfdlSystemTable(hfdl());
  EXPECT_EQ(Station(19, 1), " 0");
  WriteFile(hfdl().SystemTxtPath, "one\r\ntwo\nthree");
  LoadSystemTableText(hfdl());
  EXPECT_EQ(hfdl().SystemTableText.Lines, (std::vector<std::string>{"one", "two", "three"}));

  Load(ReadFile(std::string(SKARVEL_SOURCE_DIR) + "/data/freqs.csv"));
  EXPECT_EQ(hfdl().GsNames[1], "San Francisco / California");
  for (int id = 1; id <= 19; ++id) EXPECT_FALSE(hfdl().GsNames[id].empty()) << id;
}

TEST_F(HfdlTables, SystemTableParts) {
  const Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}});
  // A table of one part completes on its second arrival.
  SendPart(0, 0, data);
  EXPECT_TRUE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 35);
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_FALSE(Buffered());
  EXPECT_EQ(hfdl().SystemVer, 40);
  EXPECT_EQ(Station(4, 2), "Riverhead 8912 0");
  rig_.ClearText();
  SendPart(0, 0, data);
  EXPECT_NE(Ana().find("This System Table Data is Already Received"), std::string::npos);

  SendPart(0, 1, data, 41);
  // A part whose number is not below the part count changes nothing.
  SendPart(5, 1, data, 41);
  EXPECT_EQ(hfdl().SystemVer, 40);
  // Another version starts again: part 1 of 42 does not complete it with
  // part 0 of 41.
  SendPart(1, 1, data, 42);
  SendPart(1, 1, data, 42);
  EXPECT_EQ(hfdl().SystemVer, 40);
  SendPart(0, 1, data, 42);
  EXPECT_EQ(hfdl().SystemVer, 42);
}

TEST_F(HfdlTables, SystemTableRecordsMustLieInsideTheTable) {
  // A record announcing three frequencies with room for two: the first
  // record is used, the cut one dropped.
  Octets data = SystemTableData({{4, true, 0, 0, {Frequency(89120, 1)}}, {5, true, 0, 0, {}}});
  Octets cut = SystemTableData({{6, true, 0, 0, {Frequency(1, 0), Frequency(2, 0), Frequency(3, 0)}}});
  cut.resize(cut.size() - 4);
  data.insert(data.end(), cut.begin(), cut.end());
  hfdl().GsFrequencies[6][0] = 77;
  SendPart(0, 0, data);
  SendPart(0, 0, data);
  ASSERT_EQ(hfdl().SystemVer, 40);
  const auto& memo = hfdl().SystemTableText.Lines;
  EXPECT_EQ(std::count(memo.begin(), memo.end(), std::string(60, '.')), 2);
  EXPECT_EQ(hfdl().GsFrequencies[6][0], 77);
  // Six octets of a record are not a record.
  SendPart(0, 0, Octets(6, 0), 42);
  SendPart(0, 0, Octets(6, 0), 42);
  ASSERT_EQ(hfdl().SystemVer, 42);
  EXPECT_EQ(hfdl().SystemTableText.Lines.size(), 2u);

  // S = 7: the part's lines are written, but it carries no data.
  rig_.ClearText();
  SendPart(0, 0, {}, 43);
  EXPECT_NE(Ana().find("PDU Sequence Number = 0"), std::string::npos);
  SendPart(0, 0, {}, 43);
  EXPECT_EQ(hfdl().SystemVer, 42);
  // S = 6: the header does not fit before the check sequence.
  rig_.ClearText();
  UplinkMpduFields f;
  f.aircraft = {{0xFF, 3, {DataLpdu({0xFF, 0xD0, 0x00, 0x80})}, false}};
  rig_.AnalyzeOwn(BuildUplinkMpdu(f), 2, 0);
  EXPECT_NE(Ana().find("HFNPDU TYPE = System Table Uplink\r\n"), std::string::npos);
  EXPECT_EQ(Ana().find("System Table Version"), std::string::npos);
  EXPECT_NE(form().text.Buffer(kHfdlDat), "");
}

TEST_F(HfdlTables, RegistrationRowsFromLogonsAndAcars) {
  Acars(".JA801A", "31", 2);
  EXPECT_EQ(Row(0), "31 2 86D0A0 JA801A NH BOEING 787-8 ACARS");
  // A log-on of the same address and ID only changes the source.
  Logon("31", "86D0A0");
  EXPECT_EQ(Row(0), "31 2 86D0A0 JA801A NH BOEING 787-8 HFDL");
  // A new ID adds a row, with what ICAO24.csv tells; an unlisted address
  // has no data.
  Logon("32", "86D0A0");
  EXPECT_EQ(Row(1), "32 2 86D0A0 JA801A NH BOEING 787-8 HFDL");
  Logon("33", "ABCDEF");
  EXPECT_EQ(Row(2), "33 2 ABCDEF NO DATA - NO DATA HFDL");
  ClearRegistrationRows(table());

  // aircraft.csv before ICAO24.csv for the type.
  Acars(".JA8089", "23", 7);
  EXPECT_EQ(Row(0), "23 7 800001 JA8089 JL B777-200 ACARS");
  // The same registration again: one row; another one: a second row.
  Acars(".JA8089", "23", 7);
  Acars("..JA807", "23", 7);
  EXPECT_EQ(Row(1), "23 7 ------ JA807 -- - ACARS");
  // ID "FF" never matches and adds nothing.
  Acars(".JA8089", "FF", 7);
  EXPECT_EQ(table().Rows.size(), 2u);
  EXPECT_EQ(FindRowByIdAndGs(table(), "FF", 7, "JL"), -1);
}

TEST_F(HfdlTables, RegistrationLookupsAndUpdates) {
  AddRegistrationRow(table(), "23", 7, "ACARS", "JL", "JA8089", "-", "800001");
  AddRegistrationRow(table(), "23", 7, "ACARS", "JLX", "JA8090", "-", "800002");
  AddRegistrationRow(table(), "23", 8, "ACARS", "JL", "JA8091", "-", "800003");
  // The last match, 1-based; 0 for none.
  const std::vector<int> found = {FindRowByIdAndGs(table(), "23", 7, "JL0012"), FindRowByIdAndGs(table(), "23", 7, "NH"),
                                  FindRowByIdAndGs(table(), "24", 7, "JL"), FindRowByIdAndGs(table(), "23", 8, "JL")};
  EXPECT_EQ(found, (std::vector<int>{2, 0, 0, 3}));
  EXPECT_EQ(GetRegistrationByRow(table(), 2) + " " + GetRegistrationByRow(table(), 4), "JA8090 NO DATA");
  EXPECT_EQ(FindRowByIcao24(table(), "800003"), 2);

  ClearRegistrationRows(table());
  AddRegistrationRow(table(), "23", 7, "HFDL", "JL", "-", "-", "800001");
  // ID "FF", the operator and the address never replace; "-" and "JA0000" not
  // the registration or type.
  UpdateRegistrationRow(table(), 0, "FF", "ACARS", "NH", "JA8089", "B772", "999999");
  EXPECT_EQ(Row(0), "23 7 800001 JA8089 JL B772 ACARS");
  UpdateRegistrationRow(table(), 0, "24", "HFDL", "-", "JA0000", "-", "-");
  EXPECT_EQ(Row(0), "24 7 800001 JA8089 JL B772 HFDL");
}

// A clicked row shows its texts in the highlight colours, inside the
// cells' frames, in both HFDL tables.
TEST_F(HfdlTables, ASelectedRowOfEachTableIsReadable) {
  Acars(".JA801A", "31", 2);
  Logon("32", "86D0A0");
  Logon("33", "ABCDEF");
  for (int code : {1, 1, 13, 30}) CountFrame(hfdl().HfdlReceptionStats, code, code == 13);
  TForm21 registrations(form());
  testing_support::ExpectGoldenPicture({testing_support::SelectedRowPicture(*registrations.ListView1(), 1)},
                                       "registrations-selected.png", "hfdl");
  registrations.hide();
  TForm22 statistics(form());
  testing_support::ExpectGoldenPicture({testing_support::SelectedRowPicture(*statistics.ListView1(), 1)},
                                       "reception-stats-selected.png", "hfdl");
}

TEST_F(HfdlTables, Icao24FileRules) {
  const std::string description(70, 'D');
  WriteFile(hfdl().Icao24CsvPath,
            "ABC,X,Y,JA0001\n"                       // four fields: no match by registration
            "0000011,SSSS,OOOO,JA00022X,desc one\n"  // fields cut to 6, 3, 3, 7
            "000002,S,O,JA0003,first,extra\n"
            "000002,S,O,JA0003,second\n"
            "000004,S,O,JA0004," +
                description +
                "\n"
                "000005,S,O,JA0005,crlf\r\n"
                "000006,S,O,JA0006,after\xFF,x\n"
                "000007,S,O,JA0007,gone\n");
  Icao24Record r;
  EXPECT_EQ(LookupIcao24ByRegistration(hfdl(), "JA0001", r), "------");
  EXPECT_EQ(LookupIcao24File(hfdl(), "ABC", r), "JA0001");
  EXPECT_EQ(LookupIcao24File(hfdl(), "000001", r), "JA00022");
  EXPECT_EQ(r.ShortCode + " " + r.Operator, "SSS OOO");
  // The first match, cut to 63; CR kept; a byte 0xFF ends the file.
  std::vector<std::string> descriptions;
  for (const char* r : {"JA0003", "JA0004", "JA0005", "JA0006", "JA0007"})
    descriptions.push_back(LookupIcao24Description(hfdl(), r));
  EXPECT_EQ(descriptions, (std::vector<std::string>{"first", std::string(63, 'D'), "crlf\r", "after", "NO DATA"}));
  EXPECT_EQ(LookupIcao24File(hfdl(), "000007", r), "NO DATA");
  // Only the address with a comma after it matches: "00000" is no address.
  EXPECT_EQ(LookupIcao24File(hfdl(), "00000", r), "NO DATA");

  // The file is read again when it changes, and missing it finds nothing.
  WriteFile(hfdl().Icao24CsvPath, "800001,B77,JL,JA8090,BOEING 777-300\n");
  EXPECT_EQ(LookupIcao24File(hfdl(), "800001", r), "JA8090");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA8090"), "BOEING 777-300");
  std::remove(hfdl().Icao24CsvPath.c_str());
  r = Icao24Record();
  r.Operator = "kept";
  EXPECT_EQ(LookupIcao24File(hfdl(), "800001", r), "NO DATA");
  EXPECT_EQ(LookupIcao24ByRegistration(hfdl(), "JA8090", r), "------");
  EXPECT_EQ(r.Operator, "kept");
  EXPECT_EQ(LookupIcao24Description(hfdl(), "JA8090"), "NO DATA");
}

TEST(HfdlStats, RatiosAndTheTotal) {
  using Texts = std::array<std::string, 4>;
  ReceptionStats stats;
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "0", "0", "0.000"}));
  for (int code : {1, 1, 13}) CountFrame(stats, code, false);
  // Frames from a linked copy (20) and unknown codes count nowhere; VHF
  // ACARS blocks (30) have their own row and join the total.
  for (int code : {1, 20, 7, 30}) CountFrame(stats, code, true);
  EXPECT_EQ(stats.Texts(1), (Texts{"BPSK 600bits/s  1.8s", "3", "1", "66.667"}));
  EXPECT_EQ(stats.Texts(8), (Texts{"MSK  2400bits/s (VHF)", "1", "1", "0.000"}));
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "5", "2", "60.000"}));
}

}  // namespace
