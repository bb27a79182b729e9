// The daily log names, the age clean-up and the two delete commands, with
// the clock fixed.
#include "exchange/daily_log_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/form1_state.h"
#include "exchange/exchange_services.h"
#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::FixedClock;
using testing_support::MessageBoxRecorder;
using testing_support::TempDir;
using testing_support::WriteFile;

class DailyLogs : public ::testing::Test {
 protected:
  DailyLogs() : clock_(platform::EncodeDateTime(2024, 3, 31, 12, 0, 0)) {
    f.app.AppDir = dir_.path();
    ::mkdir(Logs("").c_str(), 0777);
    ::mkdir(Logs("EachLogs").c_str(), 0777);
    ::mkdir(Logs("SrchMesgLogs").c_str(), 0777);
  }
  std::string Logs(const std::string& name) const { return dir_.File("logs/" + name); }
  void Touch(const std::string& name) { WriteFile(Logs(name), "x"); }
  bool Exists(const std::string& name) const {
    struct stat st;
    return ::stat(Logs(name).c_str(), &st) == 0;
  }

  TempDir dir_;
  FixedClock clock_;
  Form1State f;
};

TEST_F(DailyLogs, StartUpCleansOldLogsAndNamesTodaysFiles) {
  for (const char* name : {"20240301_ACARS_RAW.log", "20240331_LIST.csv", "20240229_HFDL_DAT.log", "20240229_x.txt",
                           "20231231_SEARCH.log", "readme.txt", "2024ab01_x.log", "20241399_x.log", "20240230_x.csv",
                           "20240101_keep.wav", "EachLogs/20200101_JL0012_PRC.log"}) {
    Touch(name);
  }
  ::mkdir(Logs("20240101_folder.log").c_str(), 0777);
  f.Etc.DeleteLogFile = 1;
  f.Etc.DeleteDay = 30;
  f.text.LogDate.clear();
  f.svc.exchange->UpdateDailyLogNames(f, true);

  for (const char* kept : {"20240301_ACARS_RAW.log", "20240331_LIST.csv", "readme.txt", "2024ab01_x.log",
                           "20241399_x.log", "20240230_x.csv", "20240101_keep.wav", "20240101_folder.log",
                           "EachLogs/20200101_JL0012_PRC.log"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  for (const char* gone : {"20240229_HFDL_DAT.log", "20240229_x.txt", "20231231_SEARCH.log"}) {
    EXPECT_FALSE(Exists(gone)) << gone;
  }
  EXPECT_EQ(f.text.LogDate, "20240331");
  EXPECT_EQ(f.text.SearchLogPath, Logs("20240331_SEARCH.log"));
  EXPECT_EQ(f.text.ListLogPath, Logs("20240331_LIST.csv"));
  EXPECT_EQ(f.text.AcarsRawLogPath, Logs("20240331_ACARS_RAW.log"));
  EXPECT_EQ(f.text.AcarsPrcLogPath, Logs("20240331_ACARS_PRC.log"));
  EXPECT_EQ(f.text.AcarsMesLogPath, Logs("20240331_ACARS_MES.log"));
  EXPECT_EQ(f.text.HfdlDatLogPath, Logs("20240331_HFDL_DAT.log"));
  EXPECT_EQ(f.text.HfdlAnaLogPath, Logs("20240331_HFDL_ANA.log"));
  EXPECT_EQ(f.text.HfdlFmtLogPath, Logs("20240331_HFDL_FMT.log"));
}

TEST_F(DailyLogs, CleanUpIsOffUnlessAskedAndDeleteDayBelowOneMeans30) {
  Touch("20240101_x.log");
  Touch("20240305_x.log");
  f.Etc.DeleteLogFile = 0;
  f.text.LogDate.clear();
  f.svc.exchange->UpdateDailyLogNames(f, true);
  EXPECT_TRUE(Exists("20240101_x.log"));

  f.Etc.DeleteLogFile = 1;
  f.Etc.DeleteDay = 0;
  DeleteOldLogs(f);
  EXPECT_FALSE(Exists("20240101_x.log"));
  EXPECT_TRUE(Exists("20240305_x.log"));
  // A missing logs folder is nothing to clean.
  f.app.AppDir = dir_.File("nowhere");
  DeleteOldLogs(f);
}

TEST_F(DailyLogs, NamesFollowTheDateOnlyWhenAllowed) {
  f.Etc.ChangeLogFileName = 1;
  f.text.LogDate.clear();
  f.svc.exchange->UpdateDailyLogNames(f, true);
  clock_.Set(platform::EncodeDateTime(2024, 3, 31, 23, 59, 59));
  f.svc.exchange->UpdateDailyLogNames(f, false);
  EXPECT_EQ(f.text.LogDate, "20240331");
  clock_.Set(platform::EncodeDateTime(2024, 4, 1, 0, 0, 0));
  f.svc.exchange->UpdateDailyLogNames(f, false);
  EXPECT_EQ(f.text.LogDate, "20240401");
  EXPECT_EQ(f.text.AcarsMesLogPath, Logs("20240401_ACARS_MES.log"));

  // Without the switch the names keep the start-up date, and nothing is
  // cleaned after start-up.
  Form1State g;
  g.app.AppDir = dir_.path();
  g.Etc.ChangeLogFileName = 0;
  g.Etc.DeleteLogFile = 1;
  clock_.Set(platform::EncodeDateTime(2024, 3, 31, 12, 0, 0));
  g.svc.exchange->UpdateDailyLogNames(g, true);
  Touch("20240301_x.log");
  clock_.Set(platform::EncodeDateTime(2024, 4, 2, 0, 0, 1));
  g.svc.exchange->UpdateDailyLogNames(g, false);
  EXPECT_EQ(g.text.LogDate, "20240331");
  EXPECT_EQ(g.text.AcarsRawLogPath, Logs("20240331_ACARS_RAW.log"));
  EXPECT_TRUE(Exists("20240301_x.log"));
}

TEST_F(DailyLogs, DeleteCommandsEmptyTheTopLevelAfterYesOnly) {
  for (const char* name : {"a.log", "b.csv", "c.txt", "d.wav", "EachLogs/JL0012_PRC.log", "EachLogs/keep.txt",
                           "SrchMesgLogs/hit.log"}) {
    Touch(name);
  }
  ::mkdir(Logs("folder.log").c_str(), 0777);
  {
    MessageBoxRecorder boxes(platform::BoxAnswer::No);
    f.svc.exchange->N20Click(f);
    f.svc.exchange->EachLogs1Click(f);
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Delete logs in Logs folder,OK?",
                                                       "Delete logs in EachLogs folder,OK?"}));
    EXPECT_EQ(boxes.Requests()[0].buttons, platform::BoxButtons::YesNo);
  }
  EXPECT_TRUE(Exists("a.log"));
  EXPECT_TRUE(Exists("EachLogs/JL0012_PRC.log"));
  {
    MessageBoxRecorder boxes(platform::BoxAnswer::Yes);
    f.svc.exchange->N20Click(f);
  }
  for (const char* gone : {"a.log", "b.csv", "c.txt"}) EXPECT_FALSE(Exists(gone)) << gone;
  for (const char* kept : {"d.wav", "folder.log", "EachLogs/JL0012_PRC.log", "SrchMesgLogs/hit.log"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  {
    MessageBoxRecorder boxes(platform::BoxAnswer::Yes);
    f.app.UseEnglish = 0;
    f.svc.exchange->EachLogs1Click(f);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"EachLogs内のログを消去します。\nよろしいですか？"});
  }
  EXPECT_FALSE(Exists("EachLogs/JL0012_PRC.log"));
  EXPECT_TRUE(Exists("EachLogs/keep.txt"));
}

}  // namespace
