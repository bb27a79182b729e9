// The watch list: the match table, repeats, search.csv, the SEARCH log
// across runs and days, and its windows in the program (offscreen).
#include "aircraft/watch_list.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "aircraft/reference_data.h"
#include "aircraft/tform2.h"
#include "aircraft/tform6.h"
#include "aircraft/tform7.h"
#include "app/main_window_fixture.h"
#include "platform/file_io.h"
#include "support/recording_links.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

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

TEST_F(WatchListWindow, TheDialogsKeepTheirLimits) {
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
  EXPECT_TRUE(settings->isVisible() && boxes_.Texts().back() == "SMTP Server name is blank");
  EXPECT_FALSE(list->SpeedButton(1)->isEnabled() || list->SpeedButton(6)->isEnabled());
  Close();
}

}  // namespace
