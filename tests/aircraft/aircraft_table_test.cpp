// The received-aircraft table: storing, rejecting, replacing, sorting,
// headings, flight levels, deleting and ageing, with the list beside it.
#include "aircraft/aircraft_table.h"

#include <gtest/gtest.h>

#include "aircraft/aircraft_list.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::FixedClock;
using testing_support::RecordingAircraftLink;

const TDateTime kStart = platform::EncodeDateTime(2026, 12, 6, 14, 0, 0);
const TDateTime kMinute = 1.0 / 1440;

class AircraftTable : public ::testing::Test {
 protected:
  AircraftTable() { Allocate(5, 50); }
  void Allocate(int records, int points) { a.Aircraft.Allocate(records, points); }

  int Store(const std::string& flight, const std::string& reg, double lat, double lon, const std::string& time = "1234",
            int altitude = 35000, int heading = 900, const std::string& reportId = "XXXX") {
    AircraftPosition p;
    p.Lat = lat;
    p.Lon = lon;
    p.Altitude = altitude;
    p.Heading = heading;
    return UpdateAircraftRecord(a, etc, link, flight, reg, reportId, p, time, "Shannon");
  }
  AircraftRecord& R(int i) { return a.Aircraft.Records[static_cast<size_t>(i)]; }
  TrackPoint& P(int i, int point) { return R(i).Points[static_cast<size_t>(point)]; }
  std::vector<int> Ages() {
    std::vector<int> ages;
    for (int i = 0; i < a.AircraftCount; ++i) ages.push_back(R(i).Age);
    return ages;
  }

  FixedClock clock{kStart};
  AircraftState a;
  EtcSettings etc{};
  RecordingAircraftLink link;
};

TEST_F(AircraftTable, NewRecordsThenFurtherPointsOfTheSameAircraft) {
  EXPECT_EQ(Store("JL0012", "JA8089", 35.5, 139.75), 1);
  EXPECT_EQ(Store("NH0005", "JA8090", 34.5, 135.75), 1);
  EXPECT_EQ(Store("JL0012", "JA8089", 36.0, 140.0), 1);
  EXPECT_EQ(a.AircraftCount, 2);
  EXPECT_EQ(R(0).LastPoint, 1);
  EXPECT_EQ(Ages(), (std::vector<int>{0, 1}));
  EXPECT_EQ(FindLatestAircraft(a), 0);
  EXPECT_EQ(link.companies, (std::vector<std::string>{"ALL", "JL", "NH"}));
  EXPECT_EQ(link.firstStored, 1);
  // No list row: the placeholders.
  EXPECT_EQ(R(1).Route4 + R(1).AircraftType + R(1).FlightNo7, "XXXX>XXXXXXXX-XXXXXXXXXX");
  EXPECT_EQ(FindAircraftByFlightId(a, "NH0005"), 2);
  EXPECT_EQ(FindAircraftByFlightId(a, "UA0837"), 0);
}

TEST_F(AircraftTable, ARepeatOrTheSamePositionChangesNothing) {
  Store("JL0012", "JA8089", 35.5, 139.75, "1234", 35000, 900, "M01A");
  Store("NH0005", "JA8090", 34.5, 135.75);
  SetAircraftReportId(a, "JL0012", "M01A");
  EXPECT_EQ(RecordText(R(0).LastReportId), "M01A");
  const std::vector<int> ages = Ages();
  // The message number of the last stored message: a repeat, even
  // elsewhere.
  EXPECT_EQ(Store("JL0012", "JA8089", 36.0, 140.0, "1234", 35000, 900, "M01A"), 0);
  // HFDL has no report ids: the same place again is refused.
  EXPECT_EQ(Store("NH0005", "JA8090", 34.5, 135.75), 0);
  EXPECT_EQ(Ages(), ages);
  EXPECT_EQ(R(0).LastPoint, 0);
  EXPECT_EQ(R(1).LastPoint, 0);
}

TEST_F(AircraftTable, AFullTableReplacesTheAircraftHeardLeastRecently) {
  Allocate(2, 50);
  for (const char* flight : {"JL0012", "NH0005"}) {
    RegisterContact(a, ListSettings{}, link, flight, "JA0001", "Shannon");
    MarkPositionReceived(a, link, flight, "JA0001");
  }
  Store("JL0012", "JA0001", 35.5, 139.75);
  Store("NH0005", "JA0001", 34.5, 135.75);
  link.view = {1, 0, -1, 0, 0};  // the first aircraft selected
  EXPECT_EQ(Store("UA0837", "N12345", 37.5, -122.4), 1);
  EXPECT_EQ(a.AircraftCount, 2);
  EXPECT_EQ(RecordText(R(0).FlightId), "UA0837");
  EXPECT_EQ(a.List.Rows[0].Pos, "X");  // JL0012 lost its plot
  EXPECT_EQ(a.List.Rows[1].Pos, "O");
  // The selection named the replaced aircraft, not the new one.
  EXPECT_EQ(link.view.AircraftSelected, 0);
  EXPECT_EQ(link.view.SelectedAircraft, 0);

  // On a tie the lower index goes.
  R(0).Age = R(1).Age = 7;
  Store("CA0925", "B2447", 40.0, 116.0);
  EXPECT_EQ(RecordText(R(0).FlightId), "CA0925");
  EXPECT_EQ(RecordText(R(1).FlightId), "NH0005");
}

TEST_F(AircraftTable, AFullTrackDropsItsOldestPointWhole) {
  for (int i = 0; i < 51; ++i) {
    clock.Set(kStart + i * kMinute);
    ASSERT_EQ(Store("JL0012", "JA8089", 10.0 + i, 100.0, "----"), 1);
  }
  EXPECT_EQ(R(0).LastPoint, 49);
  EXPECT_EQ(P(0, 0).Lat, 11.0);
  EXPECT_EQ(P(0, 49).Lat, 60.0);
  EXPECT_EQ(P(0, 0).ReceiveTime, kStart + kMinute);
  EXPECT_EQ(P(0, 49).ReceiveTime, kStart + 50 * kMinute);
}

TEST_F(AircraftTable, ReportTimesInLocalTime) {
  EXPECT_EQ(ReportTimeText("2330", 9), "08:30");
  EXPECT_EQ(ReportTimeText("0130", -3), "22:30");
  EXPECT_EQ(ReportTimeText("----", 9), "--:--");
  EXPECT_EQ(ReportTimeText("1260", 0), "--:--");
  // A letter among the digits leaves no time, and the report is stored.
  EXPECT_EQ(ReportTimeText("1A30", 0), "--:--");
  etc.LocalHourOffset = 9;
  EXPECT_EQ(Store("JL0012", "JA8089", 35.5, 139.75, "1A30"), 1);
  EXPECT_EQ(std::string(R(0).LastTime, 5), "--:--");
  EXPECT_EQ(P(0, 0).ReportTime, 0.0);
  Store("JL0012", "JA8089", 36.0, 140.0, "1000");
  EXPECT_EQ(std::string(R(0).LastTime, 5), "19:00");
  EXPECT_DOUBLE_EQ(P(0, 1).ReportTime, platform::EncodeTime(19, 0, 0));
}

TEST_F(AircraftTable, TheTrackIsSortedByReportTimeExceptAcrossMidnight) {
  etc.LocalHourOffset = 9;
  Store("JL0012", "JA8089", 35.0, 139.0, "1240");
  clock.Set(kStart + kMinute);
  Store("JL0012", "JA8089", 34.0, 138.0, "1230");
  // The earlier report moves back; the times of reception stay in place.
  EXPECT_EQ(P(0, 0).Lat, 34.0);
  EXPECT_EQ(P(0, 1).Lat, 35.0);
  EXPECT_DOUBLE_EQ(P(0, 1).ReportTime, platform::EncodeTime(21, 40, 0));
  EXPECT_EQ(P(0, 1).ReceiveTime, kStart + kMinute);

  // 23:50 then 00:10: a step back of 23 h 40 min is the next day.
  Store("NH0005", "JA8090", 30.0, 130.0, "1450");
  Store("NH0005", "JA8090", 31.0, 131.0, "1510");
  EXPECT_EQ(P(1, 1).Lat, 31.0);
}

TEST_F(AircraftTable, FlightLevelsAndTheirTrend) {
  Store("JL0012", "JA8089", 35.0, 139.0, "1234", 35000);
  EXPECT_EQ(R(0).FlightLevel, 350);
  EXPECT_EQ(R(0).AltTrend, 1);
  Store("JL0012", "JA8089", 35.1, 139.0, "1235", 37000);
  EXPECT_EQ(R(0).FlightLevel, 370);
  EXPECT_EQ(R(0).AltTrend, 4);
  Store("JL0012", "JA8089", 35.2, 139.0, "1236", 90000);
  EXPECT_EQ(R(0).FlightLevel, 370);
  EXPECT_EQ(R(0).AltTrend, 4);
  Store("JL0012", "JA8089", 35.3, 139.0, "1237", 34499);
  EXPECT_EQ(R(0).FlightLevel, 340);
  EXPECT_EQ(R(0).AltTrend, 3);
  Store("NH0005", "JA8090", 35.0, 139.0, "1234", 100000);
  EXPECT_EQ(R(1).AltTrend, 0);
}

TEST_F(AircraftTable, HeadingsWorkedOutFromTheTrack) {
  Store("JL0012", "JA8089", 35.0, 139.0, "1234", 35000, 123);
  EXPECT_EQ(P(0, 0).Heading, 123);  // a single point keeps what came
  Store("JL0012", "JA8089", 35.0, 140.0, "1235");
  EXPECT_EQ(P(0, 1).Heading, 90);
  Store("NH0005", "JA8090", 0.0, 179.5, "1234");
  Store("NH0005", "JA8090", 0.0, -179.5, "1235");
  EXPECT_EQ(P(1, 1).Heading, 90);
  // The cosine of the latitude in degrees: 2 x cos 61 east of 1 north.
  Store("UA0837", "N12345", 60.0, 0.0, "1234");
  Store("UA0837", "N12345", 61.0, 2.0, "1235");
  EXPECT_EQ(P(2, 1).Heading, 44);
  Store("UA0837", "N12345", 61.0, 2.0001, "1236", 35000, 270);
  EXPECT_EQ(P(2, 2).Heading, 270);
  // Tracks of a single point: the new point replaces the old one and keeps
  // what came, with nothing before it to head from.
  Allocate(5, 1);
  a.AircraftCount = 0;
  Store("JL0012", "JA8089", 35.0, 139.0, "1234");
  EXPECT_EQ(Store("JL0012", "JA8089", 35.0, 140.0, "1235"), 1);
  EXPECT_EQ(R(0).LastPoint, 0);
  EXPECT_EQ(P(0, 0).Lon, 140.0);
  EXPECT_EQ(P(0, 0).Heading, 900);
}

TEST_F(AircraftTable, IdsLongerThanSevenFindTheirRecord) {
  EXPECT_EQ(Store("JL00123X", "JA8089XY", 35.0, 139.0), 1);
  EXPECT_EQ(Store("JL00123X", "JA8089XY", 36.0, 140.0), 1);
  EXPECT_EQ(a.AircraftCount, 1);
  EXPECT_EQ(RecordText(R(0).FlightId), "JL00123");
  EXPECT_EQ(FindAircraftByFlightId(a, "JL00123X"), 1);
}

TEST_F(AircraftTable, DeletingKeepsTheSelectionOnItsAircraft) {
  for (int i = 0; i < 5; ++i) Store("JL000" + std::to_string(i), "JA000" + std::to_string(i), 30.0 + i, 130.0);
  link.view = {1, 4, -1, 0, 0};
  EXPECT_EQ(DeleteAircraft(a, link, 5), 0);
  EXPECT_EQ(DeleteAircraft(a, link, 2), 1);
  EXPECT_EQ(a.AircraftCount, 4);
  EXPECT_EQ(RecordText(R(2).FlightId), "JL0003");
  EXPECT_EQ(RecordText(R(3).FlightId), "JL0004");
  EXPECT_EQ(R(4).Visible, 0);
  EXPECT_EQ(link.view.SelectedAircraft, 3);
  EXPECT_EQ(link.view.KeepViewOnce, 1);
  // The selected aircraft itself goes: nothing is selected.
  EXPECT_EQ(DeleteAircraft(a, link, 3), 1);
  EXPECT_EQ(link.view.AircraftSelected, 0);
  EXPECT_EQ(link.view.SelectedAircraft, 0);
  EXPECT_EQ(link.emptied, 0);
  while (a.AircraftCount > 0) DeleteAircraft(a, link, 0);
  EXPECT_EQ(link.emptied, 1);
}

TEST_F(AircraftTable, TheLastRecordOfAnAirlineTakesItsSelectorItem) {
  Store("JL0012", "JA8089", 35.0, 139.0);
  Store("NH0005", "JA8090", 34.0, 135.0);
  Store("JL0034", "JA8091", 33.0, 135.0);
  link.companyIndex = 2;
  DeleteAircraft(a, link, 0);
  EXPECT_EQ(link.companies, (std::vector<std::string>{"ALL", "JL", "NH"}));
  DeleteAircraft(a, link, 0);
  EXPECT_EQ(link.companies, (std::vector<std::string>{"ALL", "JL"}));
  EXPECT_EQ(link.companyIndex, 0);
}

TEST_F(AircraftTable, PointsFadeByTheirAge) {
  Store("JL0012", "JA8089", 35.0, 139.0);
  MapSettings map{};
  map.TimeAdjustMin = 5;
  UpdateTrackAges(a, map, link, kStart + 12 * kMinute);
  EXPECT_EQ(P(0, 0).AgeClass, 3);
  EXPECT_EQ(link.viewRedraws, 1);
  UpdateTrackAges(a, map, link, kStart + 14 * kMinute);
  EXPECT_EQ(link.viewRedraws, 1);  // still class 3: nothing to draw
  UpdateTrackAges(a, map, link, kStart + 190 * kMinute);
  EXPECT_EQ(P(0, 0).AgeClass, 39);
  UpdateTrackAges(a, map, link, kStart + 500 * kMinute);
  EXPECT_EQ(P(0, 0).AgeClass, 39);  // the last class
}

}  // namespace
