// Airline position reports and an HFDL position through the program's road,
// wired as the program wires it, into the aircraft table and list; and the
// real program on a recording of the same reports: the day's LIST log holds
// one line per aircraft heard, and with "POS" ticked the MES log leaves out
// the messages whose position the table stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "aircraft/aircraft_table.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/file_io.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

std::vector<acars_tx::Message> SevenBlocks() {
  acars_tx::Message nh = Down(NhPosReport("N34300E135450"), "M01A", true, "NH0005", "JA8090");
  nh.label = "16";
  return {Down(kJ1Report, "M01A"),
          Down(kJ1Report, "M01A"),
          Down(kJ1Report, "M02A"),
          nh,
          Down(UaReport("N37300W122230"), "M01A", true, "UA0837", "N12345"),
          Down(J3Report(), "M03A"),
          Down("TEST MESSAGE", "M02A", true, "UA0837", "N12345")};
}

class AircraftRoad : public ParserTest {
 protected:
  AircraftRoad() {
    WriteFile(rig.folder() + "/data/flight.csv", "JL0012,RJTTKSFO,Morning service\n");
    WriteFile(rig.folder() + "/data/aircraft.csv", "JA8089,B767-300\n");
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
  EXPECT_EQ(f.aircraft.List.Rows.size(), 3u);
  for (const AircraftListRow& row : f.aircraft.List.Rows) EXPECT_EQ(row.Pos, "O") << row.Flight;

  // An HFDL performance report of a flight the list does not know, twice.
  const hfdl_tx::ScenarioFrame frame = hfdl_tx::ScenarioPerformanceData();
  for (int twice = 0; twice < 2; ++twice) rig.AnalyzeOwn(frame.octets, frame.mode, 1);
  ASSERT_EQ(f.aircraft.AircraftCount, 4);
  EXPECT_EQ(Summary(3), "NH0205/unknown points 1, last 15.999901 87.976623 100000 ft, FL0 trend 0");
  EXPECT_EQ(std::string(R(3).LastTime, 5), "19:00");
  EXPECT_EQ(f.aircraft.List.Rows.back().Pos, "O");
}

// The second lines of a PRC or MES log's entries: flight, address and
// [label:block:message number].
std::vector<std::string> Entries(const std::string& log) {
  std::vector<std::string> out;
  for (size_t at = log.find("------------------------["); at != std::string::npos;
       at = log.find("------------------------[", at + 1)) {
    const size_t line2 = log.find('\n', at) + 1;
    out.push_back(log.substr(line2, log.find(']', line2) + 1 - line2));
  }
  return out;
}

TEST(AircraftEndToEnd, PositionReportsFillTheListLogAndHoldTheirMessagesBack) {
  std::vector<acars_tx::Burst> bursts;
  for (const acars_tx::Message& m : SevenBlocks()) bursts.push_back({m, 0, 0.2});
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  for (const char* shipped : {"flight.csv", "airport.csv", "aircraft.csv", "letter.csv", "D002.dat"}) {
    std::remove(dir.File(std::string("data/") + shipped).c_str());
  }
  WriteFile(dir.File("data/flight.csv"), "JL0012,RJTTKSFO,Morning service\n");
  WriteFile(dir.File("data/aircraft.csv"), "JA8089,B767-300\n");
  platform::EnsureFolder(dir.File("pics"));
  testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 20, 10, 0x336699);
  ASSERT_TRUE(acars_tx::WriteWave(dir.File("positions.wav"), acars_tx::Transmit(bursts, o)));
  WriteFile(dir.File("skarvel.ini"),
            "[Etc]\r\nLanguage=1\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[List]\r\nLog=1\r\n[Txt]\r\nLog=1\r\nShowPos=1\r\n");
  WriteFile(dir.File("empty-alsa.conf"), "");
  const std::string before = platform::FormatDateCompact(platform::Now());
  const testing_support::ProcessResult run = testing_support::RunProgram(
      dir.File("skarvel"), {"--audio-file", dir.File("positions.wav"), "--fast"},
      {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 60000);
  ASSERT_EQ(run.exitCode, 0) << run.standardError;
  std::string date = platform::FormatDateCompact(platform::Now());
  if (!platform::FileExists(dir.File("logs/" + date + "_LIST.csv"))) date = before;

  EXPECT_EQ(std::regex_replace(ReadFile(dir.File("logs/" + date + "_LIST.csv")), std::regex(R"(\d\d:\d\d:\d\d)"), "<time>"),
            "JL0012,O,JA8089,RJTT,KSFO,B767-300,Morning service,<time>\r\n"
            "NH0005,X,JA8090,----,----,NO DATA,-,<time>\r\n"
            "UA0837,X,N12345,----,----,NO DATA,-,<time>\r\n");
  EXPECT_EQ(Entries(ReadFile(dir.File("logs/" + date + "_ACARS_MES.log"))),
            (std::vector<std::string>{"JL0012 (JA8089)    [H1:1:M02A]", "UA0837 (N12345)    [H1:1:M02A]"}));
  EXPECT_EQ(Entries(ReadFile(dir.File("logs/" + date + "_ACARS_PRC.log"))).size(), 7u);
}

}  // namespace
