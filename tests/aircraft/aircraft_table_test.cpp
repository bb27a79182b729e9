// The received-aircraft table and the list beside it: storing, rejecting,
// replacing, sorting, headings, flight levels, deleting and ageing; rows by
// flight and registration, the LIST log, and what a selected row shows in
// the information window.
#include "aircraft/aircraft_table.h"

#include <gtest/gtest.h>

#include "aircraft/aircraft_list.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::WriteFile;

constexpr TDateTime kMinute = 1.0 / 1440;

class Aircraft : public ::testing::Test {
 protected:
  Aircraft() {
    a.Files = AircraftFilesIn(dir.path());
    Allocate(5, 50);
    platform::EnsureFolder(dir.File("data"));
    platform::EnsureFolder(dir.File("pics"));
    list.ShowNew = list.ListLog = 1;
    list.DeleteTime = 5;
  }
  void Allocate(int records, int points) { a.Aircraft.Allocate(records, points); }
  int Store(const std::string& flight, const std::string& reg, double lat = 35.0, double lon = 139.0,
            const std::string& time = "1234", int altitude = 35000, int heading = 900,
            const std::string& reportId = "XXXX") {
    AircraftPosition p;
    p.Lat = lat;
    p.Lon = lon;
    p.Altitude = altitude;
    p.Heading = heading;
    return UpdateAircraftRecord(a, etc, link, flight, reg, reportId, p, time, "Shannon");
  }
  void Contact(const std::string& flight, const std::string& reg) {
    RegisterContact(a, list, link, flight, reg, "NARITA");
  }
  AircraftRecord& R(int i) { return a.Aircraft.Records[static_cast<size_t>(i)]; }
  TrackPoint& P(int i, int point) { return R(i).Points[static_cast<size_t>(point)]; }
  std::string Ids() {
    std::string ids;
    for (int i = 0; i < a.AircraftCount; ++i) ids += RecordText(R(i).FlightId) + ":" + std::to_string(R(i).Age) + " ";
    return ids;
  }
  std::string Rows() const {
    std::string s;
    for (const AircraftListRow& r : a.List.Rows) s += r.Flight + "/" + r.Registration + " ";
    return s;
  }

  // Not at namespace scope: the date's epoch may not be built yet then.
  const TDateTime kNow = platform::EncodeDateTime(2026, 12, 6, 14, 3, 7);
  testing_support::TempDir dir;
  testing_support::FixedClock clock{kNow};
  AircraftState a;
  ListSettings list{};
  EtcSettings etc{};
  testing_support::RecordingAircraftLink link;
};
using AircraftTable = Aircraft;
using AircraftListRows = Aircraft;

// A new aircraft, then more points of one; a repeated message number, or
// the same place again (HFDL has no report ids), is refused.
TEST_F(AircraftTable, NewRecordsFurtherPointsAndRepeats) {
  EXPECT_EQ(Store("JL0012", "JA8089", 35.5, 139.75, "1234", 35000, 900, "M01A"), 1);
  EXPECT_EQ(Store("NH0005", "JA8090", 34.5, 135.75), 1);
  EXPECT_EQ(Store("JL0012", "JA8089", 36.0, 140.0), 1);
  SetAircraftReportId(a, "JL0012", "M01A");
  EXPECT_EQ(Store("JL0012", "JA8089", 37.0, 141.0, "1234", 35000, 900, "M01A"), 0);
  EXPECT_EQ(Store("NH0005", "JA8090", 34.5, 135.75), 0);
  EXPECT_EQ(Ids(), "JL0012:0 NH0005:1 ");
  EXPECT_EQ(R(0).LastPoint + R(1).LastPoint, 1);
  EXPECT_EQ(FindLatestAircraft(a), 0);
  EXPECT_EQ(link.companies, (std::vector<std::string>{"ALL", "JL", "NH"}));
  EXPECT_EQ(link.firstStored, 1);
  EXPECT_EQ(R(1).Route4 + R(1).AircraftType + R(1).FlightNo7, "XXXX>XXXXXXXX-XXXXXXXXXX");  // no list row
  EXPECT_EQ(FindAircraftByFlightId(a, "NH0005") * 10 + FindAircraftByFlightId(a, "UA0837"), 20);
  // Ids longer than seven find their record.
  EXPECT_EQ(Store("JL00123X", "JA8089XY", 35.0, 139.0) + Store("JL00123X", "JA8089XY", 36.0, 140.0), 2);
  EXPECT_EQ(RecordText(R(2).FlightId), "JL00123");
  EXPECT_EQ(FindAircraftByFlightId(a, "JL00123X"), 3);
}

TEST_F(AircraftTable, AFullTableReplacesTheAircraftHeardLeastRecently) {
  Allocate(2, 50);
  for (const char* flight : {"JL0012", "NH0005"}) {
    RegisterContact(a, ListSettings{}, link, flight, "JA0001", "Shannon");
    MarkPositionReceived(a, link, flight, "JA0001");
    Store(flight, "JA0001", 35.5, 139.75);
  }
  link.view = {1, 0, -1, 0, 0};  // the first aircraft selected
  EXPECT_EQ(Store("UA0837", "N12345", 37.5, -122.4), 1);
  EXPECT_EQ(Ids(), "UA0837:0 NH0005:1 ");
  EXPECT_EQ(a.List.Rows[0].Pos + a.List.Rows[1].Pos, "XO");  // JL0012 lost its plot
  // The selection named the replaced aircraft, not the new one.
  EXPECT_EQ(link.view.AircraftSelected + link.view.SelectedAircraft, 0);
  R(0).Age = R(1).Age = 7;  // on a tie the lower index goes
  Store("CA0925", "B2447", 40.0, 116.0);
  EXPECT_EQ(Ids(), "CA0925:0 NH0005:8 ");
}

TEST_F(AircraftTable, AFullTrackDropsItsOldestPointWhole) {
  for (int i = 0; i < 51; ++i) {
    clock.Set(kNow + i * kMinute);
    ASSERT_EQ(Store("JL0012", "JA8089", 10.0 + i, 100.0, "----"), 1);
  }
  EXPECT_EQ(R(0).LastPoint, 49);
  EXPECT_TRUE(P(0, 0).Lat == 11.0 && P(0, 49).Lat == 60.0);
  EXPECT_TRUE(P(0, 0).ReceiveTime == kNow + kMinute && P(0, 49).ReceiveTime == kNow + 50 * kMinute);
}

TEST_F(AircraftTable, ReportTimesInLocalTimeAndTheTrackSortedByThem) {
  const char* const rows[][3] = {{"2330", "9", "08:30"}, {"0130", "-3", "22:30"}, {"----", "9", "--:--"},
                                 {"1260", "0", "--:--"}, {"1A30", "0", "--:--"}};
  for (const auto& [time, offset, shown] : rows) EXPECT_EQ(ReportTimeText(time, std::stoi(offset)), shown) << time;
  // A letter among the digits leaves no time, and the report is stored.
  etc.LocalHourOffset = 9;
  EXPECT_EQ(Store("UA0837", "N12345", 35.5, 139.75, "1A30"), 1);
  EXPECT_EQ(std::string(R(0).LastTime, 5), "--:--");
  EXPECT_EQ(P(0, 0).ReportTime, 0.0);
  // An earlier report moves back; the times of reception stay in place.
  Store("JL0012", "JA8089", 35.0, 139.0, "1240");
  clock.Set(kNow + kMinute);
  Store("JL0012", "JA8089", 34.0, 138.0, "1230");
  EXPECT_EQ(std::string(R(1).LastTime, 5), "21:30");
  EXPECT_TRUE(P(1, 0).Lat == 34.0 && P(1, 1).Lat == 35.0);
  EXPECT_DOUBLE_EQ(P(1, 1).ReportTime, platform::EncodeTime(21, 40, 0));
  EXPECT_EQ(P(1, 1).ReceiveTime, kNow + kMinute);
  // 23:50 then 00:10: a step back of 23 h 40 min is the next day.
  Store("NH0005", "JA8090", 30.0, 130.0, "1450");
  Store("NH0005", "JA8090", 31.0, 131.0, "1510");
  EXPECT_EQ(P(2, 1).Lat, 31.0);
}

TEST_F(AircraftTable, FlightLevelsAndTheirTrend) {
  // {altitude, flight level, trend}: 90,000 ft or more is no level.
  const int rows[][3] = {{35000, 350, 1}, {37000, 370, 4}, {90000, 370, 4}, {34499, 340, 3}};
  for (int i = 0; i < 4; ++i) {
    Store("JL0012", "JA8089", 35.0 + i / 10.0, 139.0, "123" + std::to_string(i), rows[i][0]);
    EXPECT_EQ(R(0).FlightLevel * 10 + R(0).AltTrend, rows[i][1] * 10 + rows[i][2]) << rows[i][0];
  }
}

TEST_F(AircraftTable, HeadingsWorkedOutFromTheTrack) {
  Store("JL0012", "JA8089", 35.0, 139.0, "1234", 35000, 123);
  Store("JL0012", "JA8089", 35.0, 140.0, "1235");
  Store("NH0005", "JA8090", 0.0, 179.5, "1234");
  Store("NH0005", "JA8090", 0.0, -179.5, "1235");  // across the date line, both ways
  Store("CA0925", "B2447", 0.0, -179.5, "1234");
  Store("CA0925", "B2447", 0.0, 179.5, "1235");
  // The cosine of the latitude in degrees: 2 x cos 61 east of 1 north.
  Store("UA0837", "N12345", 60.0, 0.0, "1234");
  Store("UA0837", "N12345", 61.0, 2.0, "1235");
  Store("UA0837", "N12345", 61.0, 2.0001, "1236", 35000, 270);  // too close: what came
  const int headings[] = {P(0, 0).Heading, P(0, 1).Heading, P(1, 1).Heading, P(2, 1).Heading,
                          P(3, 1).Heading, P(3, 2).Heading};
  EXPECT_EQ(std::vector<int>(std::begin(headings), std::end(headings)), (std::vector<int>{123, 90, 90, -90, 44, 270}));
  // Tracks of a single point: the new point replaces the old one and keeps
  // what came, with nothing before it to head from.
  Allocate(5, 1);
  a.AircraftCount = 0;
  Store("JL0012", "JA8089", 35.0, 139.0, "1234");
  EXPECT_EQ(Store("JL0012", "JA8089", 35.0, 140.0, "1235"), 1);
  EXPECT_TRUE(R(0).LastPoint == 0 && P(0, 0).Lon == 140.0);
  EXPECT_EQ(P(0, 0).Heading, 900);
}

// The selection stays on its aircraft; the last record of an airline takes
// its selector item.
TEST_F(AircraftTable, DeletingKeepsTheSelectionAndTheAirlines) {
  for (int i = 0; i < 4; ++i) Store("JL000" + std::to_string(i), "JA000" + std::to_string(i), 30.0 + i, 130.0);
  Store("NH0005", "JA8090");
  link.view = {1, 4, -1, 0, 0};
  link.companyIndex = 2;
  EXPECT_EQ(DeleteAircraft(a, link, 5), 0);
  EXPECT_EQ(DeleteAircraft(a, link, 2), 1);
  EXPECT_EQ(Ids(), "JL0000:4 JL0001:3 JL0003:1 NH0005:0 ");
  EXPECT_EQ(R(4).Visible, 0);
  EXPECT_EQ(link.view.SelectedAircraft * 10 + link.view.KeepViewOnce, 31);
  // The selected aircraft itself goes: nothing is selected.
  EXPECT_EQ(DeleteAircraft(a, link, 3), 1);
  EXPECT_EQ(link.view.AircraftSelected + link.view.SelectedAircraft + link.emptied, 0);
  EXPECT_EQ(link.companies, (std::vector<std::string>{"ALL", "JL"}));
  EXPECT_EQ(link.companyIndex, 0);
  while (a.AircraftCount > 0) DeleteAircraft(a, link, 0);
  EXPECT_EQ(link.emptied, 1);
}

TEST_F(AircraftTable, PointsFadeByTheirAge) {
  Store("JL0012", "JA8089");
  MapSettings map{};
  map.TimeAdjustMin = 5;
  std::vector<int> classes;
  for (int minutes : {12, 190, 500}) {
    UpdateTrackAges(a, map, link, kNow + minutes * kMinute);
    classes.push_back(P(0, 0).AgeClass);
  }
  EXPECT_EQ(classes, (std::vector<int>{3, 39, 39}));  // 39: the last class
}

TEST_F(AircraftListRows, OneRowPerFlightAndRegistrationSortedByFlight) {
  EXPECT_EQ(ListStatusText(a), "0 contacts");
  WriteFile(a.Files.AircraftCsvPath, "JA8089,B767-300\n");
  Contact("NH0005", "JA8090");
  Contact("JL0001", "unknown");
  Store("JL0001", "unknown");
  EXPECT_EQ(ListStatusText(a), "2 contacts");
  // The row learns its registration and type, and so does its record.
  Contact("JL0001", "JA8089");
  EXPECT_EQ(Rows(), "JL0001/JA8089 NH0005/JA8090 ");
  EXPECT_EQ(a.List.Rows[0].Aircraft, "B767-300");
  EXPECT_EQ(RecordText(R(0).Registration) + " " + R(0).AircraftType, "JA8089 B767-300");
  // "unknown" matches on the row's side only; a new row of a flight comes
  // after the rows it already has.
  for (const char* reg : {"unknown", "JA8091", "JA8092"}) Contact("JL0001", reg);
  EXPECT_EQ(Rows(), "JL0001/JA8089 JL0001/JA8091 JL0001/JA8092 NH0005/JA8090 ");
  EXPECT_EQ(FindRowByRegAndFlight(a, "JA8092", "JL0001"), 3);
  EXPECT_EQ(RowRegistration(a, FindRowByFlight(a, "NH0005")), "JA8090");
  // Only new rows are logged and selected.
  EXPECT_EQ(std::count(link.listLog.begin(), link.listLog.end(), '\n'), 4);
  EXPECT_EQ(a.List.Selected, 3);
  EXPECT_EQ(link.shown.back().Registration, "JA8092");
}

// Rows move as others are inserted; the selection moves with its aircraft.
TEST_F(AircraftListRows, ARowInsertedAtOrAboveTheSelectionKeepsItOnItsAircraft) {
  list.ShowNew = 0;
  Contact("JL0012", "JA8089");
  Contact("NH0005", "JA8090");
  SelectRow(a, link, 2);
  // Below it, after the rows of its own flight, at its row, above it.
  for (const auto& [flight, reg] : {std::pair{"UA0837", "N12345"}, {"NH0005", "JA8091"}, {"JL0013", "JA8092"},
                                    {"CA0925", "B2447"}}) {
    Contact(flight, reg);
    EXPECT_EQ(RowRegistration(a, a.List.Selected), "JA8090") << flight << " " << reg;
  }
  EXPECT_EQ(a.List.Selected, 4);
}

// The program's run checks the log's English lines.
TEST_F(AircraftListRows, TheListLogMarksPhotographsInPicsOnlyWhileItIsOn) {
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 8, 8, 0x00FF00);
  WriteFile(dir.File("x.jpg"), "outside pics/");
  link.english = false;
  Contact("JL0012", "JA8089");
  Contact("UA0837", "../x");
  EXPECT_EQ(link.listLog,
            "JL0012,\x81\x9b,JA8089,----,----,NO DATA,-,14:03:07\r\n"
            "UA0837,\x81\x7e,../x,----,----,NO DATA,-,14:03:07\r\n");
  EXPECT_EQ(a.List.Rows[0].Pos, "\x81\x7e");
  list.ListLog = 0;
  Contact("CA0925", "B2447");
  EXPECT_EQ(std::count(link.listLog.begin(), link.listLog.end(), '\n'), 2);
}

TEST_F(AircraftListRows, RowsAgeOutByTheirLastContactAcrossMidnightAndDays) {
  Contact("JL0012", "JA8089");
  Store("JL0012", "JA8089");
  clock.Set(kNow + kMinute / 60);
  Contact("NH0005", "JA8090");
  clock.Set(kNow + 5 * kMinute + kMinute / 60);
  link.running = false;
  AgeListRows(a, list, link);
  EXPECT_EQ(a.List.Rows.size(), 2u);  // nothing runs once the window closes
  link.running = true;
  AgeListRows(a, list, link);
  // Strictly older than five minutes: JL0012 and its record go.
  EXPECT_EQ(Rows(), "NH0005/JA8090 ");
  EXPECT_EQ(a.AircraftCount, 0);
  // Four minutes across midnight stay; a day and a minute do not.
  clock.Set(platform::EncodeDateTime(2026, 12, 6, 23, 58, 0));
  Contact("JL0012", "JA8089");
  clock.Set(platform::EncodeDateTime(2026, 12, 7, 0, 2, 0));
  AgeListRows(a, list, link);
  EXPECT_EQ(Rows(), "JL0012/JA8089 ");
  clock.Set(platform::EncodeDateTime(2026, 12, 7, 23, 59, 0));
  AgeListRows(a, list, link);
  EXPECT_EQ(ListStatusText(a), "0 contacts");
}

TEST_F(AircraftListRows, TheDeleteKeyTakesTheRowItAskedAboutWhateverCameMeanwhile) {
  for (const auto& [flight, reg] : {std::pair{"JL0012", "JA8089"}, {"NH0005", "JA8090"}}) {
    Contact(flight, reg);
    Store(flight, reg);
  }
  SelectRow(a, link, 2);
  // While the question is open a new row arrives and takes the selection.
  link.whileAsking = [&] { Contact("UA0837", "N12345"); };
  DeleteSelectedRow(a, link);
  EXPECT_EQ(link.questions.back(), "Delete NH0005,OK?");
  EXPECT_EQ(Rows(), "JL0012/JA8089 UA0837/N12345 ");
  EXPECT_EQ(Ids(), "JL0012:1 ");
  // Or the row asked about ages out meanwhile: nothing else goes.
  SelectRow(a, link, 1);
  link.whileAsking = [&] {
    clock.Set(kNow + 6 * kMinute);
    Contact("UA0837", "N12345");
    AgeListRows(a, list, link);
  };
  DeleteSelectedRow(a, link);
  EXPECT_EQ(Rows(), "UA0837/N12345 ");
}

TEST_F(AircraftListRows, ASelectedRowFillsTheInformationWindow) {
  WriteFile(a.Files.FlightCsvPath, "JL0012,RJTTKSFO,RJAA\nNH0005,RJTTRJBB,Evening\n");
  WriteFile(a.Files.AirportCsvPath, "RJTT,Haneda\nRJAA,Narita\n");
  WriteFile(a.Files.LetterCsvPath, "JL,JAL,JAL,Japan Airlines\n");
  WriteFile(a.Files.AircraftCsvPath, "JA8089,B767-300\n");
  testing_support::WriteJpeg(dir.File("pics/noimage.jpg"), 8, 8, 0x808080);
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 40, 20, 0x0000FF);
  const std::string photo = testing_support::ReadFile(dir.File("pics/JA8089.jpg"));
  const auto shown = [&] {
    const AircraftInformation& i = link.shown.back();
    return i.Flight + "|" + i.Registration + "|" + i.Airline + "|" + i.Departure + "|" + i.Destination + "|" +
           i.Remarks + "|" + i.AircraftType + "|" + i.AircraftTypeHint + "|" + i.Position +
           (i.PositionLink ? "|link " : " ") + std::to_string(i.Picture.Width());
  };
  Contact("JL0012", "JA8089");
  EXPECT_EQ(shown(), "JL0012|JA8089|Japan Airlines|Haneda|KSFO|Narita|B767-300|B767-300|None 40");
  // A position arrives: the label of the aircraft shown follows.
  MarkPositionReceived(a, link, "JL0012", "JA8089");
  EXPECT_EQ(shown(), "JL0012|JA8089|Japan Airlines|Haneda|KSFO|Narita|B767-300|B767-300|Have|link 40");
  MarkPositionReceived(a, link, "UA0837", "N12345");  // no row: nothing
  EXPECT_EQ(link.shown.size(), 2u);
  // A damaged photograph gives way to noimage.jpg; an unknown type is "-".
  WriteFile(dir.File("pics/JA8089.jpg"), photo.substr(0, photo.size() / 2));
  SelectRow(a, link, FindRowByFlight(a, "JL0012"));
  EXPECT_EQ(shown(), "JL0012|JA8089|Japan Airlines|Haneda|KSFO|Narita|B767-300|B767-300|have|link 8");
  link.icao24 = "----";
  link.english = false;
  Contact("NH0005", "JA9999");
  EXPECT_EQ(shown(), "NH0005|JA9999|-|Haneda|RJBB|Evening|-||\x82\xc8\x82\xb5 8");
  // The empty window with the fallback photograph.
  ClearAllRows(a);
  ResetInformation(a, link);
  EXPECT_EQ(shown(), "------|------|-|----|----|-|-||\x82\xc8\x82\xb5 8");
}

}  // namespace
