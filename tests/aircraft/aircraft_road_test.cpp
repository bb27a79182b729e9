// Airline position reports and an HFDL position through the program's road,
// wired as the program wires it, into the aircraft table and list.
#include <gtest/gtest.h>

#include <cstdio>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "aircraft/aircraft_table.h"
#include "hfdl_tx/hfdl_frames.h"

namespace {

// The seven blocks of the end-to-end run, in its order.
std::vector<acars_tx::Message> SevenBlocks() {
  acars_tx::Message nh = Down(NhPosReport("N34300E135450"), "M01A", true, "NH0005", "JA8090");
  nh.label = "16";
  return {
      Down(kJ1Report, "M01A"),
      Down(kJ1Report, "M01A"),
      Down(kJ1Report, "M02A"),
      nh,
      Down(UaReport("N37300W122230"), "M01A", true, "UA0837", "N12345"),
      Down(J3Report(), "M03A"),
      Down("TEST MESSAGE", "M02A", true, "UA0837", "N12345"),
  };
}

class AircraftRoad : public ParserTest {
 protected:
  AircraftRoad() {
    testing_support::WriteFile(rig.folder() + "/data/flight.csv", "JL0012,RJTTKSFO,Morning service\n");
    testing_support::WriteFile(rig.folder() + "/data/aircraft.csv", "JA8089,B767-300\n");
  }
  const AircraftRecord& R(int i) const { return f.aircraft.Aircraft.Records[static_cast<size_t>(i)]; }
  // A record's ids, points and newest point, positions to 1e-6.
  std::string Summary(int i) const {
    const AircraftRecord& r = R(i);
    const TrackPoint& p = r.Points[static_cast<size_t>(r.LastPoint)];
    char line[160];
    std::snprintf(line, sizeof line, "%s/%s points %d, last %.6f %.6f %d ft, FL%d trend %d",
                  RecordText(r.FlightId).c_str(), RecordText(r.Registration).c_str(), r.LastPoint + 1, p.Lat, p.Lon,
                  p.Altitude, r.FlightLevel, r.AltTrend);
    return line;
  }
};

TEST_F(AircraftRoad, AirlineReportsThenAnHfdlPositionFillTheTable) {
  for (const acars_tx::Message& m : SevenBlocks()) Receive(m);

  ASSERT_EQ(f.aircraft.AircraftCount, 3);
  EXPECT_EQ(Summary(0), "JL0012/JA8089 points 3, last 36.500000 140.500000 37000 ft, FL370 trend 4");
  EXPECT_EQ(Summary(1), "NH0005/JA8090 points 1, last 34.500000 135.750000 35000 ft, FL350 trend 1");
  EXPECT_EQ(Summary(2), "UA0837/N12345 points 1, last 37.500000 -122.383333 35000 ft, FL350 trend 1");
  // Its row existed before its first report.
  EXPECT_EQ(R(0).AircraftType + " " + R(0).Route4 + " " + RecordText(R(0).LastReportId), "B767-300 RJTT>KSFO M03A");
  for (const AircraftListRow& row : f.aircraft.List.Rows) EXPECT_EQ(row.Pos, "O") << row.Flight;
  EXPECT_EQ(f.aircraft.List.Rows.size(), 3u);

  // An HFDL performance report of a flight the list does not know.
  const hfdl_tx::ScenarioFrame frame = hfdl_tx::ScenarioPerformanceData();
  rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  ASSERT_EQ(f.aircraft.AircraftCount, 4);
  EXPECT_EQ(Summary(3), "NH0205/unknown points 1, last 15.999901 87.976623 100000 ft, FL0 trend 0");
  EXPECT_EQ(std::string(R(3).LastTime, 5), "19:00");
  EXPECT_EQ(f.aircraft.List.Rows.back().Pos, "O");
  rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  EXPECT_EQ(f.aircraft.AircraftCount, 4);
  EXPECT_EQ(R(3).LastPoint, 0);
  EXPECT_EQ(R(3).Age, 0);
}

}  // namespace
