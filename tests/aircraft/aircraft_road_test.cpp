// Airline position reports and an HFDL position through the program's road,
// wired as the program wires it, into the aircraft table and list; and the
// real program on a recording of the same reports: the day's LIST log holds
// one line per aircraft heard, with "POS" ticked the MES log leaves out the
// messages whose position the table stored, and the alerts log and mail.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "acars/parser_fixture.h"
#include "acars/position_texts.h"
#include "aircraft/aircraft_table.h"
#include "hfdl_tx/hfdl_frames.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/smtp_sink.h"

namespace {

using testing_support::MailHeaders;
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

std::string Masked(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\d\d:\d\d:\d\d)"), "<time>");
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

// The real program on a recording of those reports and a watched word, in
// English and in Japanese: the LIST, MES, SEARCH and hit logs, and the mail
// to a real SMTP server on loopback, sent in the seconds given at its end.
TEST(AircraftEndToEnd, PositionsAndAlertsReachTheLogsAndTheMail) {
  const std::string tokyo = platform::Utf8ToCp932("東京国際空港");
  std::vector<acars_tx::Burst> bursts;
  for (const acars_tx::Message& m : SevenBlocks()) bursts.push_back({m, 0, 0.2});
  bursts.push_back({Down("A TESTWORD MESSAGE", "M04A"), 0, 0.2});
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  for (int language : {1, 2}) {
    testing_support::SmtpSink sink;
    ASSERT_EQ(sink.error, "");
    testing_support::TempDir dir;
    testing_support::CopyProgramFolder(dir.path());
    for (const char* shipped : {"letter.csv", "D002.dat"}) {
      std::remove(dir.File(std::string("data/") + shipped).c_str());
    }
    WriteFile(dir.File("data/flight.csv"), "JL0012,RJTTKSFO,Morning service\n");
    WriteFile(dir.File("data/aircraft.csv"), "JA8089,B767-300\n");
    WriteFile(dir.File("data/airport.csv"), "RJTT," + tokyo + "\nKSFO,San Francisco\n");
    WriteFile(dir.File("data/search.csv"), "JA8089,test remark\r\n");
    WriteFile(dir.File("data/MesgSearchList.txt"), "TESTWORD\r\n");
    testing_support::WriteJpeg(dir.File("pics/JA8089.jpg"), 20, 10, 0x336699);
    ASSERT_TRUE(acars_tx::WriteWave(dir.File("recording.wav"), acars_tx::Transmit(bursts, o)));
    WriteFile(dir.File("skarvel.ini"),
              "[Etc]\r\nLanguage=" + std::to_string(language) +
                  "\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[List]\r\nLog=1\r\n[Txt]\r\nLog=1\r\nShowPos=1\r\n"
                  "[Spec]\r\nPopUp=1\r\nSound=1\r\nLog=1\r\n[MsgSrch]\r\nRun=1\r\nPopup=1\r\nSound=1\r\n"
                  "[Mail]\r\nMailSend=1\r\nMailHost=127.0.0.1:" + std::to_string(sink.Port()) +
                  "\r\nMailFrom=from@example.org\r\nMailTo=to@example.org\r\n");
    WriteFile(dir.File("empty-alsa.conf"), "");
    const testing_support::ProcessResult run = testing_support::RunProgram(
        dir.File("skarvel"), {"--audio-file", dir.File("recording.wav"), "--fast"},
        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 60000);
    ASSERT_EQ(run.exitCode, 0) << run.standardError;
    const std::vector<std::string> search = platform::ListFiles(dir.File("logs"), "*_SEARCH.log");
    ASSERT_EQ(search.size(), 1u);
    const auto log = [&](const std::string& kind) {
      return ReadFile(dir.File("logs/" + search[0].substr(0, 9) + kind));  // the day's
    };
    if (language == 1) {
      EXPECT_EQ(Masked(log("LIST.csv")),
                "JL0012,O,JA8089,RJTT,KSFO,B767-300,Morning service,<time>\r\n"
                "NH0005,X,JA8090,----,----,NO DATA,-,<time>\r\n"
                "UA0837,X,N12345,----,----,NO DATA,-,<time>\r\n");
      EXPECT_EQ(Entries(log("ACARS_MES.log")),
                (std::vector<std::string>{"JL0012 (JA8089)    [H1:1:M02A]", "UA0837 (N12345)    [H1:1:M02A]",
                                          "JL0012 (JA8089)    [H1:1:M04A]"}));
      EXPECT_EQ(Entries(log("ACARS_PRC.log")).size(), 8u);
    }
    // The pair's later messages are repeats.
    EXPECT_EQ(Masked(log("SEARCH.log")),
              "JA8089 JL0012 RJTT->KSFO <time> (" + tokyo + "\x81\xA8San Francisco) test remark\r\n");
    const std::vector<std::string> hits = platform::ListFiles(dir.File("logs/SrchMesgLogs"), "*");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_TRUE(std::regex_match(hits[0], std::regex(R"(\d{8}_\d{6}_JL0012_JA8089_TESTWORD\.log)")));
    EXPECT_EQ(ReadFile(dir.File("logs/SrchMesgLogs/" + hits[0])).rfind("A TESTWORD MESSAGE", 0), 0u);
    std::string envelope, content;
    ASSERT_TRUE(sink.Mail(1, envelope, content));
    EXPECT_EQ(envelope, "127.0.0.1\nfrom@example.org\nto@example.org");
    if (language == 1) {
      EXPECT_EQ(Masked(content), MailHeaders("=?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=") +
                                     "Skarvel received following infomation\r\nReg.No.:JA8089\r\nFlight :JL0012\r\n"
                                     "Dept.  :" + platform::Cp932ToIso2022Jp(tokyo) +
                                     "\r\nDest.  :San Francisco\r\nTime   :<time>\r\nRemarks:test remark\r\n\r\n");
      continue;
    }
    const std::string head = MailHeaders("=?iso-2022-jp?B?SkE4MDg5GyRCJHI8dT8uJDckXiQ3JD8hKhsoQg==?=");
    ASSERT_EQ(content.substr(0, head.size()), head);
    EXPECT_EQ(Masked(platform::Iso2022JpToUtf8(content.substr(head.size()))),
              "Skarvelが以下の情報を受信しました\r\n機体番号:JA8089\r\n便　　名:JL0012\r\n出発空港:東京国際空港\r\n"
              "到着空港:San Francisco\r\n時　　刻:<time>\r\n備　　考:test remark\r\n"
              "便名検索:>https://skarvel.example/air/?F=JL0012\r\n");
  }
}

}  // namespace
