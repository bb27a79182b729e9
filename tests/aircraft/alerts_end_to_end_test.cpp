// The real program on a recording with a watched aircraft and a watched
// word, in English and in Japanese: the day's SEARCH log, the hit file and
// the mail that a real SMTP server receives (sent in the seconds given at
// program end).
#include <gtest/gtest.h>

#include <regex>

#include "acars/test_messages.h"
#include "acars_tx/acars_test_transmitter.h"
#include "platform/cp932.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "support/smtp_sink.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Masked(const std::string& text) {
  static const std::regex time(R"(\d\d:\d\d:\d\d)");
  return std::regex_replace(text, time, "<time>");
}

struct Outcome {
  std::string searchLog;
  std::vector<std::string> hitFiles;
  std::string hitText;
  std::vector<testing_support::ReceivedMail> mails;
};

Outcome RunAlerts(int language) {
  testing_support::SmtpSink sink;
  EXPECT_EQ(sink.Error(), "");
  std::vector<acars_tx::Burst> bursts;
  for (const acars_tx::Message& m : {Down("A TESTWORD MESSAGE", "M01A"), Down("SECOND", "M02A"),
                                     Down("OTHER", "M01A", true, "UA0837", "N12345")}) {
    bursts.push_back({m, 0, 0.2});
  }
  acars_tx::Options o;
  o.sampleRate = 44100;
  o.snrDb = 30;
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  WriteFile(dir.File("data/flight.csv"), "JL0012,RJTTKSFO,Morning service\n");
  WriteFile(dir.File("data/airport.csv"), "RJTT," + platform::Utf8ToCp932("東京国際空港") + "\nKSFO,San Francisco\n");
  WriteFile(dir.File("data/search.csv"), "JA80**,test remark\r\n");
  WriteFile(dir.File("data/MesgSearchList.txt"), "TESTWORD\r\n");
  EXPECT_TRUE(acars_tx::WriteWave(dir.File("alerts.wav"), acars_tx::Transmit(bursts, o)));
  WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=" + std::to_string(language) +
                                         "\r\n[Wave]\r\nDual=1\r\nDecoderL=0\r\n[Spec]\r\nPopUp=1\r\nSound=1\r\nLog=1\r\n"
                                         "[MsgSrch]\r\nRun=1\r\nPopup=1\r\nSound=1\r\n[Mail]\r\nMailSend=1\r\n"
                                         "MailHost=127.0.0.1:" + std::to_string(sink.Port()) +
                                         "\r\nMailFrom=from@example.org\r\nMailTo=to@example.org\r\n");
  WriteFile(dir.File("empty-alsa.conf"), "");
  const std::string before = platform::FormatDateCompact(platform::Now());
  const testing_support::ProcessResult run = testing_support::RunProgram(
      dir.File("skarvel"), {"--audio-file", dir.File("alerts.wav"), "--fast"},
      {"QT_QPA_PLATFORM=offscreen", "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")}, 60000);
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  std::string date = platform::FormatDateCompact(platform::Now());
  if (!platform::FileExists(dir.File("logs/" + date + "_SEARCH.log"))) date = before;
  Outcome out;
  out.searchLog = ReadFile(dir.File("logs/" + date + "_SEARCH.log"));
  out.hitFiles = platform::ListFiles(dir.File("logs/SrchMesgLogs"), "*");
  if (out.hitFiles.size() == 1) out.hitText = ReadFile(dir.File("logs/SrchMesgLogs/" + out.hitFiles[0]));
  out.mails = sink.Mails(1, 5000);
  return out;
}

const std::string kHeaders =
    "MIME-Version: 1.0\r\nContent-Transfer-Encoding: 7bit\r\nContent-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
    "X-Mailer: Skarvel\r\nSubject: ";
const std::string kAddresses = "\r\nTo: to@example.org\r\nFrom: from@example.org\r\n\r\n";

TEST(AlertsEndToEnd, TheWatchListAndTheSearchAlertLogAndMail) {
  const std::string tokyo = platform::Utf8ToCp932("東京国際空港");
  for (int language : {1, 2}) {
    const Outcome out = RunAlerts(language);
    EXPECT_EQ(Masked(out.searchLog),
              "JA8089 JL0012 RJTT->KSFO <time> (" + tokyo + "\x81\xA8San Francisco) test remark\r\n");
    ASSERT_EQ(out.hitFiles.size(), 1u);
    EXPECT_TRUE(std::regex_match(out.hitFiles[0], std::regex(R"(\d{8}_\d{6}_JL0012_JA8089_TESTWORD\.log)")));
    EXPECT_EQ(out.hitText.rfind("A TESTWORD MESSAGE", 0), 0u);
    ASSERT_EQ(out.mails.size(), 1u);
    const testing_support::ReceivedMail& m = out.mails[0];
    EXPECT_TRUE(m.helo == "127.0.0.1" && m.from == "from@example.org" && m.to == "to@example.org");
    if (language == 1) {
      EXPECT_EQ(Masked(m.content), kHeaders + "=?iso-2022-jp?B?UmVjZWl2ZWQgSkE4MDg5?=" + kAddresses +
                                       "Skarvel received following infomation\r\nReg.No.:JA8089\r\nFlight :JL0012\r\n"
                                       "Dept.  :" + platform::Cp932ToIso2022Jp(tokyo) +
                                       "\r\nDest.  :San Francisco\r\nTime   :<time>\r\nRemarks:test remark\r\n\r\n");
    } else {
      const std::string head = kHeaders + "=?iso-2022-jp?B?SkE4MDg5GyRCJHI8dT8uJDckXiQ3JD8hKhsoQg==?=" + kAddresses;
      ASSERT_EQ(m.content.substr(0, head.size()), head);
      EXPECT_EQ(Masked(platform::Iso2022JpToUtf8(m.content.substr(head.size()))),
                "Skarvelが以下の情報を受信しました\r\n機体番号:JA8089\r\n便　　名:JL0012\r\n出発空港:東京国際空港\r\n"
                "到着空港:San Francisco\r\n時　　刻:<time>\r\n備　　考:test remark\r\n"
                "便名検索:>https://skarvel.example/air/?F=JL0012\r\n");
    }
  }
}

}  // namespace
