// The watch list: the match table, repeats, the memo line and the SEARCH
// log across runs and days, search.csv, and its windows in the program.
#include "aircraft/watch_list.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <algorithm>

#include "aircraft/reference_data.h"
#include "aircraft/tform2.h"
#include "aircraft/tform6.h"
#include "aircraft/tform7.h"
#include "app/main_window_fixture.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/wave_player.h"
#include "support/recording_links.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

class WatchListTest : public ::testing::Test {
 protected:
  int Hit(const std::string& registration, const std::string& flight) {
    return CheckSearchHit(w, spec, files, link, registration, flight);
  }
  std::vector<std::string> Patterns() const {
    std::vector<std::string> out;
    for (const SearchListRow& r : w.Rows) out.push_back(r.Search + "|" + r.Remarks);
    return out;
  }

  testing_support::TempDir dir;
  std::string csv = dir.File("data/search.csv"), wave = dir.File("wave.wav"), log = dir.File("logs/20240501_SEARCH.log");
  AircraftFiles reference = AircraftFilesIn(dir.path());
  WatchListFiles files{csv, wave, log, reference};
  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 5, 1, 13, 5, 27)};
  SpecSettings spec{0, 0, 1};
  WatchList w;
  testing_support::RecordingAlertsLink link;
};

TEST_F(WatchListTest, MatchTable) {
  AddSearchRow(w, "JA80***", "");
  EXPECT_EQ(FindSearchMatch(w, "JA8089"), 1);
  EXPECT_EQ(FindSearchMatch(w, "JA808"), 1);
  EXPECT_EQ(FindSearchMatch(w, "JA7089"), 0);
  w.Rows[0].Search = "JA8089";
  EXPECT_EQ(FindSearchMatch(w, "JA80891"), 0);
  EXPECT_EQ(FindSearchMatch(w, "JA8089"), 1);
  // The first matching row wins; a registration beats a flight elsewhere.
  w.Rows = {};
  AddSearchRow(w, "JL0012", "flight row");
  AddSearchRow(w, "JA80**", "first");
  AddSearchRow(w, "JA8089", "second");
  EXPECT_EQ(Hit("JA8089", "JL0012"), 1);
  EXPECT_EQ(w.Panel3, "first");
  EXPECT_EQ(w.Rows[1].Hit, "JL0012");
  EXPECT_EQ(w.Rows[0].Hit, "------");
}

TEST_F(WatchListTest, RepeatsOnlyUpdateTheirTime) {
  spec = {1, 1, 1};
  WriteFile(wave, "RIFF");
  w.MailButtonDown = 1;
  AddSearchRow(w, "JL0001", "");
  AddSearchRow(w, "JA8089", "");
  EXPECT_EQ(Hit("unknown", "JL0001"), 1);
  EXPECT_EQ(w.Rows[0].Hit, "unknown");
  clock.Set(platform::EncodeDateTime(2024, 5, 1, 13, 6, 0));
  EXPECT_EQ(Hit("unknown", "JL0001"), 0);
  EXPECT_EQ(w.Rows[0].LastTime, "13:06:00");
  EXPECT_EQ(w.Memo.size(), 1u);
  EXPECT_EQ(link.watchListShown, 1);
  EXPECT_EQ(link.played, std::vector<std::string>{wave});
  EXPECT_EQ(link.mails.size(), 1u);
  // The same registration on a new flight is a new hit.
  EXPECT_EQ(Hit("JA8089", "JL0012"), 1);
  EXPECT_EQ(Hit("JA8089", "JL0013"), 1);
  EXPECT_EQ(link.mails.size(), 3u);
}

TEST_F(WatchListTest, MemoLinesAndTheMail) {
  platform::EnsureFolder(dir.File("data"));
  WriteFile(reference.FlightCsvPath, "JL0012,RJTTKSFO,x\n");
  const std::string tokyo = platform::Utf8ToCp932("東京国際");
  WriteFile(reference.AirportCsvPath, "RJTT," + tokyo + "\nKSFO,San Francisco\n");
  w.MailButtonDown = 1;
  AddSearchRow(w, "JA8089", "test remark");
  AddSearchRow(w, "UA****", "remark");
  Hit("JA8089", "JL0012");
  Hit("N12345", "UA0837");
  const std::vector<std::string> memo = {
      "JA8089 JL0012 RJTT->KSFO 13:05:27 (" + tokyo + "\x81\xA8San Francisco) test remark",
      "N12345 UA0837 ----->---- 13:05:27 (----\x81\xA8----) remark"};
  EXPECT_EQ(w.Memo, memo);
  EXPECT_EQ(ReadFile(log), memo[0] + "\r\n" + memo[1] + "\r\n");
  ASSERT_EQ(link.mails.size(), 2u);
  const HitMailArgs& m = link.mails[0];
  EXPECT_TRUE(m.Registration == "JA8089" && m.Flight == "JL0012" && m.ByRegistration && m.Remark == "test remark");
  EXPECT_EQ(m.DestName, "San Francisco");
  EXPECT_EQ(m.DeptName, tokyo);
  EXPECT_FALSE(link.mails[1].ByRegistration);
}

TEST_F(WatchListTest, SearchCsvRoundTrips) {
  platform::EnsureFolder(dir.File("data"));
  WriteFile(csv, "JA80**,remark, with, commas\r\n\r\nJL0012\r\nNH0005,x\n123456789,abc");
  LoadSearchList(w, csv);
  const std::vector<std::string> rows = {"JA80**|remark, with, commas", "JL0012|", "NH0005|x", "12345678|abc"};
  EXPECT_EQ(Patterns(), rows);
  SaveSearchList(w, csv);
  EXPECT_EQ(ReadFile(csv), "JA80**,remark, with, commas\r\nJL0012,\r\nNH0005,x\r\n12345678,abc\r\n");
  LoadSearchList(w, csv);
  EXPECT_EQ(Patterns(), rows);
  w.Rows.clear();
  SaveSearchList(w, csv);
  EXPECT_TRUE(platform::FileExists(csv));
  EXPECT_EQ(ReadFile(csv), "");
}

TEST_F(WatchListTest, TheDaysSearchLogSurvivesARestartAndANewDayStartsAfresh) {
  AddSearchRow(w, "JA80**", "");
  SaveSearchList(w, csv);
  Hit("JA8089", "JL0012");
  WatchList again;
  OpenWatchList(again, MailSettings{}, files);
  EXPECT_EQ(again.Memo.size(), 1u);
  EXPECT_EQ(CheckSearchHit(again, spec, files, link, "JA8090", "JL0013"), 1);
  const std::string day1 = ReadFile(log);
  EXPECT_EQ(std::count(day1.begin(), day1.end(), '\n'), 2);
  clock.Set(platform::EncodeDateTime(2024, 5, 2, 0, 0, 1));
  const std::string log2 = dir.File("logs/20240502_SEARCH.log");
  EXPECT_EQ(CheckSearchHit(again, spec, {csv, wave, log2, reference}, link, "JA8091", "JL0014"), 1);
  EXPECT_EQ(again.Memo.size(), 1u);
  EXPECT_EQ(ReadFile(log2), "JA8091 JL0014 ----->---- 00:00:01 (----\x81\xA8----) \r\n");
  EXPECT_EQ(ReadFile(log), day1);
}

// The windows in the program, offscreen.
class WatchListWindows : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::SetWavePlayerForTests([this](const std::string& path) { played.push_back(path); });
  }
  void TearDown() override {
    platform::SetWavePlayerForTests(nullptr);
    MainWindowTest::TearDown();
  }
  std::vector<std::string> played;
};

TEST_F(WatchListWindows, AHitPopsUpAndSoundsByTheSwitches) {
  TForm1& w = StartEnglish();
  Form1State& f = w.State();
  AlertsWiring& alerts = w.Reception().Alerts();
  AddSearchRow(f.watchList, "JA80**", "");
  f.Spec = {0, 1, 0};
  CheckSearchHit(f.watchList, f.Spec, alerts.WatchFiles(), alerts, "JA8089", "JL0012");
  EXPECT_FALSE(w.Form(2)->isVisible());
  EXPECT_TRUE(played.empty());  // no wave.wav
  WriteFile(f.app.WaveFilePath, "RIFF");
  f.Spec = {1, 0, 0};
  CheckSearchHit(f.watchList, f.Spec, alerts.WatchFiles(), alerts, "JA8089", "JL0013");
  EXPECT_TRUE(w.Form(2)->isVisible());
  EXPECT_TRUE(played.empty());
  f.Spec = {1, 1, 0};
  CheckSearchHit(f.watchList, f.Spec, alerts.WatchFiles(), alerts, "JA8089", "JL0014");
  EXPECT_EQ(played, std::vector<std::string>{f.app.WaveFilePath});
  auto* list = static_cast<TForm2*>(w.Form(2));
  EXPECT_EQ(list->Panel(2)->text(), "JL0014");
  EXPECT_EQ(list->Memo1()->toPlainText().count('\n'), 2);
  Close();
}

TEST_F(WatchListWindows, TheDialogsKeepTheirLimits) {
  TForm1& w = Start("[Etc]\r\nLanguage=1\r\n[Mail]\r\nMailHost=h\r\nMailFrom=a@b\r\nMailTo=c@d\r\n");
  auto* list = static_cast<TForm2*>(w.Form(2));
  EXPECT_TRUE(list->SpeedButton(6)->isEnabled());
  auto* entry = static_cast<TForm6*>(w.Form(6));
  for (int i = 0; i < 16; ++i) entry->Edit3()->insert(QString::fromUtf8("空"));
  EXPECT_EQ(entry->Edit3()->text().size(), 15);
  auto* settings = static_cast<TForm7*>(w.Form(7));
  settings->show();
  settings->Edit(1)->clear();
  settings->findChild<QAbstractButton*>("Button1")->click();
  EXPECT_TRUE(settings->isVisible());
  EXPECT_EQ(boxes_.Texts().back(), "SMTP Server name is blank");
  EXPECT_FALSE(list->SpeedButton(1)->isEnabled());
  EXPECT_FALSE(list->SpeedButton(6)->isEnabled());
  EXPECT_EQ(w.State().Mail.MailHost, "h");
  Close();
}

}  // namespace
