// The real program on a recording of airline position reports: the day's
// LIST log holds one line per aircraft heard, and with "POS" ticked the MES
// log leaves out the messages whose position the table stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "acars/position_texts.h"
#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Masked(const std::string& text) {
  static const std::regex time(R"(\d\d:\d\d:\d\d)");
  return std::regex_replace(text, time, "<time>");
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
  acars_tx::Message nh = Down(NhPosReport("N34300E135450"), "M01A", true, "NH0005", "JA8090");
  nh.label = "16";
  const std::vector<acars_tx::Message> messages = {
      Down(kJ1Report, "M01A"),
      Down(kJ1Report, "M01A"),
      Down(kJ1Report, "M02A"),
      nh,
      Down(UaReport("N37300W122230"), "M01A", true, "UA0837", "N12345"),
      Down(J3Report(), "M03A"),
      Down("TEST MESSAGE", "M02A", true, "UA0837", "N12345"),
  };
  std::vector<acars_tx::Burst> bursts;
  for (const acars_tx::Message& m : messages) bursts.push_back({m, 0, 0.2});
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;

  TempDir dir;
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

  EXPECT_EQ(Masked(ReadFile(dir.File("logs/" + date + "_LIST.csv"))),
            "JL0012,O,JA8089,RJTT,KSFO,B767-300,Morning service,<time>\r\n"
            "NH0005,X,JA8090,----,----,NO DATA,-,<time>\r\n"
            "UA0837,X,N12345,----,----,NO DATA,-,<time>\r\n");
  EXPECT_EQ(Entries(ReadFile(dir.File("logs/" + date + "_ACARS_MES.log"))),
            (std::vector<std::string>{"JL0012 (JA8089)    [H1:1:M02A]", "UA0837 (N12345)    [H1:1:M02A]"}));
  EXPECT_EQ(Entries(ReadFile(dir.File("logs/" + date + "_ACARS_PRC.log"))).size(), 7u);
}

}  // namespace
