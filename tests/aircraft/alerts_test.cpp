// The alerts: the hit mail's encodings by known answers; the mail against
// a scripted server in the test's own thread, with short time-outs (it never
// blocks, reads multi-line, split and early replies, and fails and retries
// per mail); the watch list, its files and its windows in the program
// (offscreen). The program's run mails a real server.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <algorithm>
#include <tuple>

#include "aircraft/hit_mail.h"
#include "aircraft/hit_mailer.h"
#include "aircraft/reference_data.h"
#include "aircraft/smtp_dialogue.h"
#include "aircraft/tform2.h"
#include "aircraft/tform7.h"
#include "aircraft/watch_list.h"
#include "support/main_window_fixture.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/recording_links.h"
#include "support/smtp_sink.h"

namespace {

using platform::Utf8ToCp932;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Iso(const std::string& utf8) { return platform::Cp932ToIso2022Jp(Utf8ToCp932(utf8)); }

TEST(MailCoding, Base64AndJisToShiftJis) {
  EXPECT_EQ(Base64Encode("abc") + Base64Encode("ab") + Base64Encode("a"), "YWJjYWI=YQ==");
  // 57 bytes fill one line of 76; one more byte starts another.
  const std::string line = Base64Encode(std::string(57, 'x'));
  EXPECT_TRUE(line.size() == 76 && line.find('\r') == std::string::npos);
  EXPECT_EQ(Base64Encode(std::string(58, 'x')), line + "\r\neA==");
  for (const auto& [jis, sjis] : {std::pair{0x3021, 0x889F}, {0x2422, 0x82A0}, {0x2121, 0x8140}, {0x5F21, 0xE040}}) {
    uint8_t first = static_cast<uint8_t>(jis >> 8), second = jis & 0xFF;
    JisToShiftJisPair(first, second);
    EXPECT_EQ(first << 8 | second, sjis) << std::hex << jis;
  }
  // Two-byte mode and back; text without escapes is unchanged; SO ends
  // two-byte mode and goes while what follows stays; a cut pair ends it.
  const std::pair<std::string, std::string> texts[] = {{"\x1B$B0!$\"\x1B(BA", "\x88\x9F\x82\xA0" "A"},
                                                       {Utf8ToCp932("JA8089 受信"), Utf8ToCp932("JA8089 受信")},
                                                       {"\x1B$B0!\x0E" "AB\x1B$@0", "\x88\x9F" "AB"}};
  for (auto [text, expected] : texts) {
    JisToShiftJisText(text);
    EXPECT_EQ(text, expected);
  }
}

TEST(MailCoding, SubjectsAndWireText) {
  MailSettings mail{"", "", "to@example.org", 0, 1, 1};
  const HitMailArgs hit{"JA8089", "JL0012", true, "remark", "San Francisco", "Tokyo"};
  auto subject = [&](const HitMailArgs& args, bool english) { return BuildMailRecord(args, mail, english, 0).Subject; };
  // A hit's are the program's run; the test mail's:
  EXPECT_EQ(subject(TestMailArgs(true), true), "=?iso-2022-jp?B?UmVjZWl2ZWQgUmVnTm8=?=");
  // Unencoded at the mobile-carrier domain, or with MIMEConv off.
  const std::string japanese = "JA8089\x1B$B$r<u?.$7$^$7$?!*\x1B(B";
  mail.MailTo = "x@mail.example";
  EXPECT_TRUE(subject(hit, true) == "Received JA8089" && subject(hit, false) == japanese);
  mail = {"", "", "to@example.org", 0, 1, 0};
  EXPECT_EQ(subject(hit, false), japanese);
  // The ISO-2022-JP text on the wire.
  EXPECT_EQ(Iso("便　　名:JL0012"), "\x1B$BJX!!!!L>\x1B(B:JL0012");
  EXPECT_EQ(Iso("～"), "\x1B$B!A\x1B(B");
  EXPECT_EQ(Iso("－"), "\x1B$B!]\x1B(B");
  EXPECT_EQ(Iso("①"), "\x1B$B\".\x1B(B");  // not in JIS X 0208: the geta mark
  EXPECT_EQ(platform::Cp932ToIso2022Jp("\xB6"), "\x1B$B%+\x1B(B");
  // A registration from the air can neither end a line nor the data.
  const MailRecord r = BuildMailRecord({"JA\r\n.80", ".x", false, "", "", ""}, MailSettings{}, true, 0);
  EXPECT_NE(r.Body.find("\r\nReg.No.:JA??.80\r\n"), std::string::npos);
  EXPECT_EQ(WireBody(".x\nFlight :.y"), "..x\r\nFlight :.y");
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct SmtpDialogueTest : ::testing::Test {
  void Start(quint16 port) {
    mailer.reset();
    queue = {};
    link.statusTexts.clear();
    mail = {"127.0.0.1:" + std::to_string(port), "from@example.org", "to@example.org", 0, 1, 1};
    mailer = std::make_unique<HitMailer>(queue, mail, link, MailTimings{1000, 300, 100, 2000});
  }
  bool Shows(const std::string& tail) {
    return testing_support::RunUntil([&] { return EndsWith(queue.StatusText, tail); }, 5000);
  }
  int Count(const std::string& tail) const {
    return static_cast<int>(std::count_if(link.statusTexts.begin(), link.statusTexts.end(),
                                          [&](const std::string& t) { return EndsWith(t, tail); }));
  }
  // The status after the first failed attempt, which is never "Send mail".
  std::string FirstFailure(const char* command, const std::string& reply) {
    testing_support::ScriptedSmtpServer fresh;
    if (command) fresh.replies[command] = reply;
    Start(command ? fresh.Port() : testing_support::UnusedPort());
    mailer->SendHitMail(hit);
    EXPECT_TRUE(Shows("-Retry>1") && Count("Send mail") == 0) << queue.StatusText;
    return queue.StatusText;
  }

  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  testing_support::ScriptedSmtpServer server;
  MailSettings mail;
  HitMailQueue queue;
  testing_support::RecordingMailLink link{queue};
  std::unique_ptr<HitMailer> mailer;
  HitMailArgs hit{"JA8089", "JL0012", true, "test remark", "San Francisco", "Tokyo"};
};

TEST_F(SmtpDialogueTest, SendsWithoutBlockingThroughOddReplies) {
  server.greetingDelayMs = 200;
  // A reply in two pieces with the reply to HELO ahead of its time, a
  // multi-line reply in two pieces, and no reply to QUIT.
  server.replies = {{"GREETING", "220-hello|\r\n220 ready\r\n250 early"}, {"HELO", ""},
                    {"MAIL", "250-a\r\n2|50 b"}, {"DATA", "354 go"}, {"QUIT", ""}};
  Start(server.Port());
  mailer->SendHitMail(hit);
  // Back before the server even accepted: a blocking client starves it.
  EXPECT_EQ(server.connections, 0);
  ASSERT_TRUE(Shows("Send mail"));
  const MailRecord r = BuildMailRecord(hit, mail, true, platform::Now());
  EXPECT_EQ(link.statusTexts,
            (std::vector<std::string>{
                "connecting Socket", "receiving : 220-hello\r\n220 ready\n", "sending   : HELO 127.0.0.1 ",
                "receiving : 250 early", "sending   : MAIL FROM:<from@example.org>", "receiving : 250-a\r\n250 b",
                "sending   : RCPT TO:<to@example.org>", "receiving : 250 ok", "sending   : DATA", "receiving : 354 go",
                "sending   : Subject: " + r.Subject, "sending   : To: to@example.org",
                "sending   : From: from@example.org", "sending   : ", "sending   : " + r.Body, "receiving : 250 ok",
                "** ERROR ** (no reply)", "Send mail"}));
  // The mail buttons rest exactly while the dialogue runs.
  const std::vector<bool>& f = link.inFlight;
  EXPECT_TRUE(f.front() && !f.back() && std::is_partitioned(f.begin(), f.end(), [](bool b) { return b; }));
}

TEST_F(SmtpDialogueTest, FailuresAreRetriedPerMail) {
  std::string huge;
  while (huge.size() < 70 * 1024) huge += "220-" + std::string(60, 'x') + "\r\n";
  // {the command answered so (none: no server), the answer, the status's start}
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {nullptr, "", "Invalid Socket-Retry>1"},
      {"GREETING", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"HELO", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"MAIL", "CLOSE", "** ERROR ** (no reply)-Retry>1"},
      {"GREETING", "", "** ERROR ** (no reply)-Retry>1"},
      {"GREETING", huge, "** ERROR ** 220-xxx"}};
  for (const auto& [command, reply, status] : rows) {
    EXPECT_EQ(FirstFailure(command, reply).substr(0, status.size()), status) << (command ? command : "no server");
  }

  // Four attempts each, even for two mails at once.
  server.replies["RCPT"] = "550 no such user";
  Start(server.Port());
  mailer->SendHitMail(hit);
  mailer->SendHitMail(TestMailArgs(true));
  ASSERT_TRUE(testing_support::RunUntil([&] { return Count("-Transmission failed") == 2; }, 8000));
  EXPECT_TRUE(Count("** ERROR ** 550 no such user-Retry>1") == 2 && Count("-Retry>3") == 2);
  EXPECT_EQ(queue.StatusText, "** ERROR ** 550 no such user-Transmission failed");
  EXPECT_EQ(server.connections, 8);
  // A fresh mail after "-Transmission failed", then after a failure and a
  // successful retry a new mail's failure: each is its own first retry.
  mailer->SendHitMail(hit);
  ASSERT_TRUE(Shows("-Retry>1"));
  server.replies["RCPT"] = "250 ok";
  link.english = false;
  ASSERT_TRUE(Shows("メールを送信しました"));
  server.replies["RCPT"] = "550 no such user";
  mailer->SendHitMail(hit);
  ASSERT_TRUE(Shows("-リトライ>1"));
  EXPECT_TRUE(queue.Pending.size() == 1 && !queue.InFlight());
}

struct WatchListTest : ::testing::Test {
  WatchListTest() { platform::EnsureFolder(dir.File("data")); }
  int Hit(const std::string& registration, const std::string& flight, const std::string& day = "20240501") {
    const std::string log = dir.File("logs/" + day + "_SEARCH.log");
    return CheckSearchHit(w, onHit, {csv, wave, log, reference}, link, registration, flight);
  }

  testing_support::TempDir dir;
  std::string csv = dir.File("data/search.csv"), wave = dir.File("wave.wav");
  std::string log = dir.File("logs/20240501_SEARCH.log");
  AircraftFiles reference = AircraftFilesIn(dir.path());
  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  SpecSettings onHit{0, 0, 1};
  WatchList w;
  testing_support::RecordingAlertsLink link;
};

TEST_F(WatchListTest, MatchTable) {
  AddSearchRow(w, "JA80***", "");
  EXPECT_TRUE(FindSearchMatch(w, "JA8089") == 1 && FindSearchMatch(w, "JA808") == 1);
  EXPECT_EQ(FindSearchMatch(w, "JA7089"), 0);
  w.Rows[0].Search = "JA8089";
  EXPECT_TRUE(FindSearchMatch(w, "JA80891") == 0 && FindSearchMatch(w, "JA8089") == 1);
  // The first matching row wins; a registration beats a flight elsewhere.
  w.Rows[0].Search = "JL0012";
  AddSearchRow(w, "JA80**", "first");
  AddSearchRow(w, "JA8089", "second");
  EXPECT_EQ(Hit("JA8089", "JL0012"), 1);
  EXPECT_TRUE(w.Panel3 == "first" && w.Rows[1].Hit == "JL0012" && w.Rows[0].Hit == "------");
}

TEST_F(WatchListTest, RepeatsOnlyUpdateTheirTime) {
  onHit = {1, 1, 1};
  WriteFile(wave, "RIFF");
  w.MailButtonDown = 1;
  AddSearchRow(w, "JL0001", "");
  AddSearchRow(w, "JA8089", "");
  EXPECT_EQ(Hit("unknown", "JL0001"), 1);
  EXPECT_EQ(w.Rows[0].Hit, "unknown");
  clock.Set(platform::EncodeDateTime(2024, 5, 1, 13, 6, 0));
  EXPECT_EQ(Hit("unknown", "JL0001"), 0);
  EXPECT_EQ(w.Rows[0].LastTime, "13:06:00");
  EXPECT_TRUE(w.Memo.size() == 1 && link.watchListShown == 1 && link.mails.size() == 1 && link.played.size() == 1);
  EXPECT_FALSE(link.mails[0].ByRegistration);  // the mail names the flight
  // The same registration on a new flight is a new hit.
  EXPECT_TRUE(Hit("JA8089", "JL0012") == 1 && Hit("JA8089", "JL0013") == 1);
}

TEST_F(WatchListTest, SearchCsvRoundTrips) {
  WriteFile(csv, "JA80**,remark, with, commas\r\n\r\nJL0012\r\nNH0005,x\n123456789,abc");
  const std::string saved = "JA80**,remark, with, commas\r\nJL0012,\r\nNH0005,x\r\n12345678,abc\r\n";
  for (int round = 0; round < 2; ++round) {
    LoadSearchList(w, csv);
    SaveSearchList(w, csv);
    EXPECT_EQ(ReadFile(csv), saved);
  }
  w.Rows.clear();
  SaveSearchList(w, csv);
  EXPECT_TRUE(platform::FileExists(csv) && ReadFile(csv).empty());
}

TEST_F(WatchListTest, TheDaysSearchLogSurvivesARestartAndANewDayStartsAfresh) {
  AddSearchRow(w, "JA80**", "");
  SaveSearchList(w, csv);
  Hit("JA8089", "JL0012");
  w = WatchList();
  OpenWatchList(w, MailSettings{}, {csv, wave, log, reference});
  EXPECT_EQ(w.Memo.size(), 1u);
  EXPECT_EQ(Hit("JA8090", "JL0013"), 1);
  const std::string day1 = ReadFile(log);
  EXPECT_EQ(std::count(day1.begin(), day1.end(), '\n'), 2);
  clock.Set(platform::EncodeDateTime(2024, 5, 2, 0, 0, 1));
  EXPECT_EQ(Hit("JA8091", "JL0014", "20240502"), 1);
  EXPECT_EQ(ReadFile(dir.File("logs/20240502_SEARCH.log")),
            "JA8091 JL0014 ----->---- 00:00:01 (----\x81\xA8----) \r\n");
  EXPECT_EQ(ReadFile(log), day1);
}

using WatchListWindow = MainWindowTest;

TEST_F(WatchListWindow, AHitPopsUpAndSoundsByTheSwitches) {
  testing_support::WaveRecorder sounds;
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  AlertsWiring& alerts = w.Reception().Alerts();
  AddSearchRow(f.watchList, "JA80**", "");
  const std::pair<SpecSettings, const char*> hits[] = {
      {{0, 1, 0}, "JL0012"}, {{1, 0, 0}, "JL0013"}, {{1, 1, 0}, "JL0014"}};
  for (const auto& [onHit, flight] : hits) {
    const bool waveExists = platform::FileExists(f.app.WaveFilePath);
    CheckSearchHit(f.watchList, onHit, alerts.WatchFiles(), alerts, "JA8089", flight);
    EXPECT_EQ(w.Form(2)->isVisible(), onHit.SpecPopUp != 0);
    EXPECT_EQ(sounds.played, std::vector<std::string>(onHit.SpecSound && waveExists, f.app.WaveFilePath));
    WriteFile(f.app.WaveFilePath, "RIFF");
  }
  auto* list = static_cast<TForm2*>(w.Form(2));
  EXPECT_TRUE(list->Panel(2)->text() == "JL0014" && list->Memo1()->toPlainText().count('\n') == 2);
  Close();
}

TEST_F(WatchListWindow, MailNeedsAServerName) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Mail]\r\nMailHost=h\r\nMailFrom=a@b\r\nMailTo=c@d\r\n");
  auto* list = static_cast<TForm2*>(w.Form(2));
  EXPECT_TRUE(list->SpeedButton(6)->isEnabled());
  auto* settings = static_cast<TForm7*>(w.Form(7));
  settings->show();
  settings->Edit(1)->clear();
  settings->findChild<QAbstractButton*>("Button1")->click();
  EXPECT_TRUE(settings->isVisible() && boxes_.Texts().back() == "SMTP Server name is blank");
  EXPECT_FALSE(list->SpeedButton(1)->isEnabled() || list->SpeedButton(6)->isEnabled());
  Close();
}

}  // namespace
