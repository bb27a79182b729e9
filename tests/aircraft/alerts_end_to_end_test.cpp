// The real program on a recording with a watched aircraft and a watched
// word, in English and in Japanese: the day's SEARCH log, the hit file and
// the mail through a real SMTP server on loopback (sent in the seconds
// given at program end).
#include <gtest/gtest.h>

#include <regex>

#include "acars/test_messages.h"
#include "platform/cp932.h"
#include "platform/date_time.h"
#include "support/test_support.h"
#include "support/smtp_sink.h"

namespace {

using testing_support::MailHeaders;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Masked(const std::string& text) {
  return std::regex_replace(text, std::regex(R"(\d\d:\d\d:\d\d)"), "<time>");
}

TEST(AlertsEndToEnd, TheWatchListAndTheSearchAlertLogAndMail) {
  const std::string tokyo = platform::Utf8ToCp932("東京国際空港");
  std::vector<acars_tx::Burst> bursts;
  for (const acars_tx::Message& m : {Down("A TESTWORD MESSAGE", "M01A"), Down("SECOND", "M02A"),
                                     Down("OTHER", "M01A", true, "UA0837", "N12345")}) {
    bursts.push_back({m, 0, 0.2});
  }
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  for (int language : {1, 2}) {
    testing_support::SmtpSink sink;
    ASSERT_EQ(sink.error, "");
    testing_support::TempDir dir;
    testing_support::CopyProgramFolder(dir.path());
    WriteFile(dir.File("data/flight.csv"), "JL0012,RJTTKSFO,Morning service\n");
    WriteFile(dir.File("data/airport.csv"), "RJTT," + tokyo + "\nKSFO,San Francisco\n");
    WriteFile(dir.File("data/search.csv"), "JA80**,test remark\r\n");
    WriteFile(dir.File("data/MesgSearchList.txt"), "TESTWORD\r\n");
    ASSERT_TRUE(acars_tx::WriteWave(dir.File("alerts.wav"), acars_tx::Transmit(bursts, o)));
    WriteFile(dir.File("skarvel.ini"),
              "[Etc]\r\nLanguage=" + std::to_string(language) +
                  "\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[Spec]\r\nPopUp=1\r\nSound=1\r\nLog=1\r\n[MsgSrch]\r\nRun=1\r\n"
                  "Popup=1\r\nSound=1\r\n[Mail]\r\nMailSend=1\r\nMailHost=127.0.0.1:" + std::to_string(sink.Port()) +
                  "\r\nMailFrom=from@example.org\r\nMailTo=to@example.org\r\n");
    WriteFile(dir.File("empty-alsa.conf"), "");
    const testing_support::ProcessResult run = testing_support::RunProgram(
        dir.File("skarvel"), {"--audio-file", dir.File("alerts.wav"), "--fast"},
        {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 60000);
    ASSERT_EQ(run.exitCode, 0) << run.standardError;
    // The day's log; the second message is a repeat of the pair.
    const std::vector<std::string> logs = platform::ListFiles(dir.File("logs"), "*_SEARCH.log");
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(Masked(ReadFile(dir.File("logs/" + logs[0]))),
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
