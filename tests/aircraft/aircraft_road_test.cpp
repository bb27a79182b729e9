// Airline position reports and an HFDL position through the program's road,
// wired as the program wires it, into the aircraft table and list.
#include <gtest/gtest.h>

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
    f.Txt.ShowPos = 1;
  }
  const AircraftRecord& R(int i) const { return f.aircraft.Aircraft.Records[static_cast<size_t>(i)]; }
  const TrackPoint& Head(int i) const { return R(i).Points[static_cast<size_t>(R(i).LastPoint)]; }
};

TEST_F(AircraftRoad, AirlineReportsThenAnHfdlPositionFillTheTable) {
  for (const acars_tx::Message& m : SevenBlocks()) Receive(m);

  ASSERT_EQ(f.aircraft.AircraftCount, 3);
  EXPECT_EQ(RecordText(R(0).FlightId) + "/" + RecordText(R(0).Registration), "JL0012/JA8089");
  EXPECT_EQ(R(0).LastPoint, 2);
  EXPECT_NEAR(Head(0).Lat, 36.5, 1e-9);
  EXPECT_NEAR(Head(0).Lon, 140.5, 1e-9);
  EXPECT_EQ(Head(0).Altitude, 37000);
  EXPECT_EQ(R(0).FlightLevel, 370);
  EXPECT_EQ(R(0).AltTrend, 4);
  // Its row existed before its first report.
  EXPECT_EQ(R(0).AircraftType, "B767-300");
  EXPECT_EQ(R(0).Route4, "RJTT>KSFO");
  EXPECT_EQ(RecordText(R(0).LastReportId), "M03A");
  EXPECT_EQ(RecordText(R(1).FlightId) + "/" + RecordText(R(1).Registration), "NH0005/JA8090");
  EXPECT_NEAR(Head(1).Lat, 34.5, 1e-9);
  EXPECT_NEAR(Head(1).Lon, 135.75, 1e-9);
  EXPECT_EQ(Head(1).Altitude, 35000);
  EXPECT_EQ(RecordText(R(2).FlightId) + "/" + RecordText(R(2).Registration), "UA0837/N12345");
  EXPECT_NEAR(Head(2).Lat, 37.5, 1e-9);
  EXPECT_NEAR(Head(2).Lon, -122.383333, 1e-6);
  EXPECT_EQ(Head(2).Altitude, 35000);
  for (const AircraftListRow& row : f.aircraft.List.Rows) EXPECT_EQ(row.Pos, "O") << row.Flight;
  EXPECT_EQ(f.aircraft.List.Rows.size(), 3u);

  // The MES text keeps the messages whose position was not stored: the
  // repeated place of M02A and the text without a report.
  std::vector<std::string> kept;
  const std::string& mes = Mes();
  for (size_t at = mes.find("------------------------["); at != std::string::npos;
       at = mes.find("------------------------[", at + 1)) {
    const size_t line2 = mes.find("\r\n", at) + 2;
    kept.push_back(mes.substr(line2, mes.find(']', line2) + 1 - line2));
  }
  EXPECT_EQ(kept, (std::vector<std::string>{"JL0012 (JA8089)    [H1:1:M02A]", "UA0837 (N12345)    [H1:1:M02A]"}));

  // An HFDL performance report of a flight the list does not know.
  const hfdl_tx::ScenarioFrame frame = hfdl_tx::ScenarioPerformanceData();
  rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  ASSERT_EQ(f.aircraft.AircraftCount, 4);
  EXPECT_EQ(RecordText(R(3).FlightId) + "/" + RecordText(R(3).Registration), "NH0205/unknown");
  EXPECT_EQ(R(3).LastPoint, 0);
  EXPECT_NEAR(Head(3).Lat, 15.9999, 1e-4);
  EXPECT_NEAR(Head(3).Lon, 87.9766, 1e-4);
  EXPECT_EQ(std::string(R(3).LastTime, 5), "19:00");
  EXPECT_EQ(f.aircraft.List.Rows.back().Pos, "O");
  rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  EXPECT_EQ(f.aircraft.AircraftCount, 4);
  EXPECT_EQ(R(3).LastPoint, 0);
  EXPECT_EQ(R(3).Age, 0);
}

}  // namespace
