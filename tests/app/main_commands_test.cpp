// The main window's commands on the state alone.
#include "app/main_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "aircraft/aircraft_table.h"
#include "app/aircraft_wiring.h"
#include "app/form1_state.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using platform::BoxAnswer;
using testing_support::MessageBoxRecorder;
using testing_support::ReadFile;

class LogCleanUp : public ::testing::Test {
 protected:
  LogCleanUp() {
    f.app.AppDir = dir_.path();
    f.text.SetDailyLogs(Logs(""), "20240331");
    for (const char* folder : {"", "EachLogs", "SrchMesgLogs", "folder.log"}) ::mkdir(Logs(folder).c_str(), 0777);
    for (const char* name : {"a.log", "b.csv", "c.txt", "d.wav", "EachLogs/keep.txt", "SrchMesgLogs/hit.log"}) {
      testing_support::WriteFile(Logs(name), "x");
    }
  }
  std::string Logs(const std::string& name) const { return dir_.File("logs/" + name); }
  bool Exists(const std::string& name) const {
    struct stat st;
    return ::stat(Logs(name).c_str(), &st) == 0;
  }

  testing_support::TempDir dir_;
  Form1State f;
};

// Only the top level's logs, lists and texts go, and only on a Yes; a log
// written before is started afresh by the next entry.
TEST_F(LogCleanUp, YesEmptiesEachFolderOfItsLogsOnly) {
  const std::string each = Logs("EachLogs/JL0012_PRC.log");
  f.text.WriteLog(kAcarsRaw, "before\r\n");
  f.text.WriteFile(each, "before\r\n");
  {
    MessageBoxRecorder boxes(BoxAnswer::No);
    form1::N20Click(f);
    form1::EachLogs1Click(f);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::string>{"Delete logs in Logs folder,OK?", "Delete logs in EachLogs folder,OK?"}));
    EXPECT_EQ(boxes.Requests()[0].buttons, platform::BoxButtons::YesNo);
  }
  for (const char* kept : {"a.log", "b.csv", "c.txt", "20240331_ACARS_RAW.log", "EachLogs/JL0012_PRC.log"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  f.app.UseEnglish = 0;
  {
    MessageBoxRecorder boxes(BoxAnswer::Yes);
    form1::EachLogs1Click(f);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"EachLogs内のログを消去します。\nよろしいですか？"});
  }
  EXPECT_FALSE(Exists("EachLogs/JL0012_PRC.log"));
  EXPECT_TRUE(Exists("a.log"));
  {
    MessageBoxRecorder boxes(BoxAnswer::Yes);
    form1::N20Click(f);
  }
  for (const char* gone : {"a.log", "b.csv", "c.txt", "20240331_ACARS_RAW.log"}) EXPECT_FALSE(Exists(gone)) << gone;
  for (const char* kept : {"d.wav", "folder.log", "EachLogs/keep.txt", "SrchMesgLogs/hit.log"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  f.text.WriteLog(kAcarsRaw, "after\r\n");
  EXPECT_EQ(ReadFile(Logs("20240331_ACARS_RAW.log")), "after\r\n");
  f.text.WriteFile(each, "after\r\n");
  EXPECT_EQ(ReadFile(each), "after\r\n");
}

TEST(CommandsOnTheState, TheFileItemsOpenTheirFiles) {
  Form1State f;
  f.aircraft.Files.FlightCsvPath = "/p/data/flight.csv";
  f.aircraft.Files.AircraftCsvPath = "/p/data/aircraft.csv";
  f.app.AppDir = "/p";
  std::vector<std::string> opened;
  platform::SetShellOpenHandler([&](const std::string& target) { opened.push_back(target); });
  form1::flightcsv1Click(f);
  form1::airlinecsv1Click(f);
  form1::N17Click(f);
  platform::SetShellOpenHandler(nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"/p/data/flight.csv", "/p/data/aircraft.csv", "/p"}));
}

TEST(CommandsOnTheState, DeletingTheSelectedPlotsTakesOnlyTheAircraftEachQuestionNamed) {
  Form1State f;
  f.app.UseEnglish = 1;
  f.controls.N24Checked = 0;
  f.aircraft.Aircraft.Allocate(4, 5);
  const char* flights[] = {"AA0001", "BB0002", "CC0003"};
  for (int i = 0; i < 3; ++i) {
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(i)];
    std::strcpy(r.FlightId, flights[i]);
    std::strcpy(r.Registration, flights[i]);
    r.LastPoint = 0;
    r.Visible = i < 2;
  }
  f.aircraft.AircraftCount = 3;
  f.mapView.AircraftSelected = 1;
  testing_support::RecordingEffects effects;
  AircraftWiring link(f, effects);
  std::vector<std::string> asked;
  // While the first question is open, its aircraft ages out and the others
  // move down a slot.
  platform::SetMessageBoxHandler([&](const platform::BoxRequest& r) {
    asked.push_back(r.text);
    if (asked.size() == 1) DeleteAircraft(f.aircraft, link, 0);
    return BoxAnswer::Yes;
  });
  form1::N10Click(f, effects);
  platform::SetMessageBoxHandler(nullptr);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Delete AA0001,OK?");
  ASSERT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_EQ(RecordText(f.aircraft.Aircraft.Records[0].FlightId), "BB0002");
  EXPECT_EQ(RecordText(f.aircraft.Aircraft.Records[1].FlightId), "CC0003");
}

// The question of the delete-selected-plot command waits for an answer
// while reception goes on: a Yes deletes the aircraft it named.
TEST(CommandsOnTheState, DeletingThePlotTakesTheAircraftAskedAboutThoughANewOneTookItsPlace) {
  testing_support::FixedClock clock(platform::EncodeDateTime(2026, 12, 6, 14, 0, 0));
  Form1State f;
  testing_support::RecordingEffects effects;
  testing_support::RecordingAircraftLink link;
  f.aircraft.Aircraft.Allocate(2, 5);
  AircraftPosition p;
  auto store = [&](const char* flight, const char* reg, double lat) {
    p.Lat = lat;
    p.Lon = 139.0;
    UpdateAircraftRecord(f.aircraft, f.Etc, link, flight, reg, "XXXX", p, "1234", "Shannon");
  };
  store("JL0012", "JA8089", 35.0);
  store("NH0005", "JA8090", 36.0);
  f.mapView.AircraftSelected = 1;
  std::vector<std::string> questions;
  platform::SetMessageBoxHandler([&](const platform::BoxRequest& r) {
    questions.push_back(r.text);
    // The full table gives the first record's place to a new aircraft.
    if (questions.size() == 1) store("UA0837", "N12345", 37.0);
    return questions.size() == 1 ? BoxAnswer::Yes : BoxAnswer::No;
  });
  form1::N10Click(f, effects);
  platform::SetMessageBoxHandler(nullptr);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(f.aircraft.AircraftCount, 2);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "UA0837"), 1);
  EXPECT_EQ(FindAircraftByFlightId(f.aircraft, "NH0005"), 2);
}

}  // namespace
