// The day's log names and the age clean-up, with the clock fixed.
#include "exchange/daily_log_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>

#include "exchange/received_text.h"
#include "support/test_support.h"

namespace {

using testing_support::FixedClock;
using testing_support::TempDir;

class DailyLogs : public ::testing::Test {
 protected:
  DailyLogs() : clock_(platform::EncodeDateTime(2024, 3, 31, 12, 0, 0)) {
    ::mkdir(Logs("").c_str(), 0777);
    ::mkdir(Logs("EachLogs").c_str(), 0777);
  }
  std::string Logs(const std::string& name) const { return dir_.File("logs/" + name); }
  void Touch(const std::string& name) { testing_support::WriteFile(Logs(name), "x"); }
  bool Exists(const std::string& name) const {
    struct stat st;
    return ::stat(Logs(name).c_str(), &st) == 0;
  }
  void Update(bool force) { UpdateDailyLogNames(text, etc, dir_.path(), force); }

  TempDir dir_;
  FixedClock clock_;
  EtcSettings etc;
  ReceivedText text;
};

TEST_F(DailyLogs, StartUpCleansOldLogsAndNamesTodaysFiles) {
  for (const char* name : {"20240301_ACARS_RAW.log", "20240331_LIST.csv", "20240229_HFDL_DAT.log", "20240229_x.txt",
                           "20231231_SEARCH.log", "readme.txt", "2024ab01_x.log", "20241399_x.log", "20240230_x.csv",
                           "20240101_keep.wav", "EachLogs/20200101_JL0012_PRC.log"}) {
    Touch(name);
  }
  ::mkdir(Logs("20240101_folder.log").c_str(), 0777);
  etc.DeleteLogFile = 1;
  etc.DeleteDay = 30;
  Update(true);

  for (const char* kept : {"20240301_ACARS_RAW.log", "20240331_LIST.csv", "readme.txt", "2024ab01_x.log",
                           "20241399_x.log", "20240230_x.csv", "20240101_keep.wav", "20240101_folder.log",
                           "EachLogs/20200101_JL0012_PRC.log"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  for (const char* gone : {"20240229_HFDL_DAT.log", "20240229_x.txt", "20231231_SEARCH.log"}) {
    EXPECT_FALSE(Exists(gone)) << gone;
  }
  EXPECT_EQ(text.LogDate(), "20240331");
  EXPECT_EQ(text.SearchLogPath(), Logs("20240331_SEARCH.log"));
  EXPECT_EQ(text.ListLogPath(), Logs("20240331_LIST.csv"));
  const char* const kinds[6] = {"ACARS_RAW", "ACARS_PRC", "ACARS_MES", "HFDL_DAT", "HFDL_ANA", "HFDL_FMT"};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(text.LogPath(k), Logs(std::string("20240331_") + kinds[k] + ".log"));
}

TEST_F(DailyLogs, CleanUpIsOffUnlessAskedAndDeleteDayBelowOneMeans30) {
  Touch("20240101_x.log");
  Touch("20240305_x.log");
  Touch("20240331_x.log");
  etc.DeleteLogFile = 0;
  Update(true);
  EXPECT_TRUE(Exists("20240101_x.log"));

  // A hand-edited count below 1 is kept in the settings; today's and the
  // last 30 days' logs stay whatever it is.
  for (int below : {0, -3, INT32_MIN}) {
    Touch("20240101_x.log");
    DeleteOldLogs(Logs(""), below);
    EXPECT_FALSE(Exists("20240101_x.log")) << below;
    EXPECT_TRUE(Exists("20240305_x.log") && Exists("20240331_x.log")) << below;
  }
  // A missing logs folder is nothing to clean.
  DeleteOldLogs(dir_.File("nowhere"), 30);
}

TEST_F(DailyLogs, NamesFollowTheDateOnlyWhenAllowed) {
  etc.ChangeLogFileName = 1;
  Update(true);
  clock_.Set(platform::EncodeDateTime(2024, 3, 31, 23, 59, 59));
  Update(false);
  EXPECT_EQ(text.LogDate(), "20240331");
  clock_.Set(platform::EncodeDateTime(2024, 4, 1, 0, 0, 0));
  Update(false);
  EXPECT_EQ(text.LogDate(), "20240401");
  EXPECT_EQ(text.LogPath(kAcarsMes), Logs("20240401_ACARS_MES.log"));

  // Without the switch the names keep the start-up date, and nothing is
  // cleaned after start-up.
  ReceivedText other;
  EtcSettings fixed;
  fixed.ChangeLogFileName = 0;
  fixed.DeleteLogFile = 1;
  clock_.Set(platform::EncodeDateTime(2024, 3, 31, 12, 0, 0));
  UpdateDailyLogNames(other, fixed, dir_.path(), true);
  Touch("20240301_x.log");
  clock_.Set(platform::EncodeDateTime(2024, 4, 2, 0, 0, 1));
  UpdateDailyLogNames(other, fixed, dir_.path(), false);
  EXPECT_EQ(other.LogDate(), "20240331");
  EXPECT_EQ(other.LogPath(kAcarsRaw), Logs("20240331_ACARS_RAW.log"));
  EXPECT_TRUE(Exists("20240301_x.log"));
}

}  // namespace
