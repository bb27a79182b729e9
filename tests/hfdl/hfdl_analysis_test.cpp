// Frames along the road as the program wires it: what reaches the map, the
// aircraft table and the HFDL windows, the texts of failing and malformed
// frames, position reports, flight IDs, the bounds of untrusted frames, and
// where the texts go.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>
#include <functional>

#include "hfdl/hfdl_forms.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/hfnpdu.h"
#include "hfdl/lpdu.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/control_char_name.h"
#include "platform/file_io.h"
#include "support/reception_rig.h"

namespace {

using testing_support::Golden;
using testing_support::ReceptionRig;
using testing_support::WithoutCr;
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
  int Failed(int row) { return std::stoi(form().hfdl.HfdlReceptionStats.Texts(row)[2]); }
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

  ReceptionRig rig_;
};

using HfdlScenario = HfdlAnalysisTest;
using HfdlPosition = HfdlAnalysisTest;
using HfdlFrames = HfdlAnalysisTest;
using HfdlTexts = HfdlAnalysisTest;

QStringList RowTexts(QTreeWidget* view, int row) {
  QStringList texts;
  QTreeWidgetItem* item = view->topLevelItem(row);
  for (int c = 0; item && c < view->columnCount(); ++c) texts << item->text(c);
  return texts;
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

// Every kind of frame once, the system table in parts, and what the map,
// the aircraft table and the three HFDL windows get of them.
TEST_F(HfdlScenario, FramesReachTheMapTheTablesAndTheWindows) {
  TForm21 registrations(form());
  TForm22 statistics(form());
  TForm23 systemTable(form());
  EXPECT_EQ(systemTable.Memo1()->toPlainText(), "");

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
  ExpectPosition(Positions()[0], "JL0123", "JA8089", "0100", "Molokai");
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
  ExpectPosition(Positions()[1], "NH0205", "NO DATA", "1000", "Shannon");

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
  EXPECT_TRUE(form().mapView.PendingRedraw.Empty());
  EXPECT_FALSE(platform::FileExists(rig_.folder() + "/logs/20261206_HFDL_FMT.log"));
  EXPECT_FALSE(platform::FileExists(rig_.folder() + "/logs/20261206_HFDL_DAT.log"));
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
  const struct {
    const char* name;
    std::function<void()> send;
    bool rejected;
  } places[] = {
      {"downlink log-on", [&] { Downlink(LogonLpdu(0x8F, 0x800001, -1, report)); }, true},
      {"downlink data", [&] { Downlink(DataLpdu(report)); }, true},
      {"uplink log-on", [&] { Uplink(LogonLpdu(0x8F, 0x800001, -1, report)); }, true},
      {"uplink data", [&] { Uplink(DataLpdu(report)); }, false},
  };
  int failed = 0;
  for (const auto& p : places) {
    p.send();
    EXPECT_TRUE(Has(Ana(), "Latitude = -180.000343323409")) << p.name;
    EXPECT_EQ(Fmt().empty(), p.rejected) << p.name;
    EXPECT_TRUE(Positions().empty()) << p.name;
    failed += p.rejected;
    EXPECT_EQ(Failed(1) + Failed(2), failed) << p.name;
  }
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
  EXPECT_EQ(Failed(1), 3);
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
  EXPECT_EQ(LpduTypeName(0x0D), "Unnumbered Data");
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
  const int32_t expected[6] = {1, 2, 3, 4, 5, 6};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(form().hfdl.GsActiveFreqs[3][c], expected[c]);
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
  EXPECT_EQ(frame.ModeCode, 20);
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

}  // namespace
