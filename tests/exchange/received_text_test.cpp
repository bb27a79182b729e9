// The received text: what its buffers keep, and what lands in the day's
// logs whatever happens to the files, the disk or the date.
#include "exchange/received_text.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>

#include "exchange/daily_log_set.h"
#include "platform/write_failure.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Runs body in a child process, so that the limits it sets bind it alone;
// the paths whose writes failed, one a line.
std::string InChild(const std::function<void()>& body) {
  int reports[2];
  if (::pipe(reports) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    // Only the pipe is kept open, so that the handles the body opens are
    // its own.
    for (int fd = 3; fd < 1024; ++fd) {
      if (fd != reports[1]) ::close(fd);
    }
    ::signal(SIGXFSZ, SIG_IGN);
    platform::ResetWriteFailureReports();
    platform::SetWriteFailureHandler([&](const std::string& path) {
      const std::string line = path + "\n";
      if (::write(reports[1], line.data(), line.size()) < 0) ::_exit(2);
    });
    body();
    ::_exit(0);
  }
  ::close(reports[1]);
  std::string told;
  char buf[4096];
  for (ssize_t n; (n = ::read(reports[0], buf, sizeof buf)) > 0;) told.append(buf, static_cast<size_t>(n));
  ::close(reports[0]);
  int status = -1;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  return told;
}

TEST(ReceivedTextBuffer, IsCutFromTheFrontToBelowItsLimit) {
  // {limit, what stays of "line 1\r\nline 2\r\n"}: at the limit exactly it
  // is still too long.
  const std::pair<int, std::string> rows[] = {{100, "line 1\r\nline 2\r\n"}, {10, "\nline 2\r\n"}, {9, "line 2\r\n"},
                                              {0, ""}};
  for (const auto& [limit, kept] : rows) {
    ReceivedText text;
    text.Append(kHfdlAna, "line 1\r\nline 2\r\n");
    text.Trim(kHfdlAna, limit);
    EXPECT_EQ(text.Buffer(kHfdlAna), kept) << limit;
    EXPECT_EQ(text.Buffer(kAcarsRaw), "");
  }
  ReceivedText text;  // kinds outside the six are ignored
  text.Append(6, "x");
  text.Trim(-1, 1);
  EXPECT_EQ(text.Buffer(6), "");
}

class LogsTest : public ::testing::Test {
 protected:
  std::string Log(const std::string& name) const { return dir.File("logs/" + name); }

  TempDir dir;
  ReceivedText text;
};

class ReceivedTextLogs : public LogsTest {
 protected:
  ReceivedTextLogs() { text.SetDailyLogs(dir.File("logs"), "20240331"); }
};

// While a log is imported what arrives for it goes beside it (the link's
// tests import the day's logs); a new day's entries go to its own files.
TEST_F(ReceivedTextLogs, EachEntryLandsAtOnceInItsLogOrBesideTheImportedOne) {
  text.WriteLog(kAcarsMes, "old\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "old\r\n");
  const std::string each = Log("EachLogs/JL0012.log");
  text.SetImportPath(each);
  text.WriteFile(each, "e");
  EXPECT_EQ(ReadFile(Log("EachLogs/JL0012_c.log")), "e");
  EXPECT_FALSE(Exists(each));
  text.SetDailyLogs(dir.File("logs"), "20240401");
  text.WriteLog(kAcarsMes, "new\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "old\r\n");
  EXPECT_EQ(ReadFile(Log("20240401_ACARS_MES.log")), "new\r\n");
}

// Deleted by the program's command, moved or replaced by someone else, or
// never writable: the next entry makes a fresh file, or is reported, once
// for each path until a write there succeeds.
TEST_F(ReceivedTextLogs, ALogTakenAwayIsCreatedAfreshOrReportedOnce) {
  const std::string each = Log("EachLogs/JL0012_PRC.log");
  for (int kind : {kAcarsRaw, kAcarsPrc}) text.WriteLog(kind, "first\r\n");
  text.WriteFile(each, "first\r\n");
  DeleteAllDailyLogs(text, dir.path());
  DeleteAllEachLogs(text, dir.path());
  EXPECT_FALSE(Exists(Log("20240331_ACARS_RAW.log")) || Exists(each));
  text.WriteFile(each, "second\r\n");
  for (int kind : {kAcarsRaw, kAcarsPrc, kAcarsMes}) text.WriteLog(kind, "second\r\n");
  std::filesystem::rename(Log("20240331_ACARS_MES.log"), Log("moved.log"));
  std::filesystem::remove(Log("20240331_ACARS_PRC.log"));
  std::filesystem::create_directory(Log("20240331_ACARS_PRC.log"));
  testing_support::WriteFile(dir.File("blocked"), "");  // a file where a logs folder should be
  const std::string reported = InChild([&] {
    for (int round = 0; round < 2; ++round) {
      text.WriteLog(kAcarsMes, "third\r\n");
      text.WriteLog(kAcarsPrc, "third\r\n");
    }
    text.SetDailyLogs(dir.File("blocked"), "20240331");
    for (int kind : {kAcarsRaw, kAcarsRaw, kHfdlDat}) text.WriteLog(kind, "x");
  });
  EXPECT_EQ(ReadFile(each), "second\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_RAW.log")), "second\r\n");
  EXPECT_EQ(ReadFile(Log("moved.log")), "second\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "third\r\nthird\r\n");
  EXPECT_EQ(reported, Log("20240331_ACARS_PRC.log") + "\n" + dir.File("blocked/20240331_ACARS_RAW.log") + "\n" +
                          dir.File("blocked/20240331_HFDL_DAT.log") + "\n");
}

// Many per-aircraft logs, with few handles to spare: every entry lands.
TEST_F(ReceivedTextLogs, EntriesLandWhateverTheNumberOfFiles) {
  const std::string reported = InChild([&] {
    rlimit few = {32, 32};
    if (::setrlimit(RLIMIT_NOFILE, &few) != 0) ::_exit(3);
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < 100; ++i) text.WriteFile(Log("EachLogs/JL" + std::to_string(i) + ".log"), "x");
    }
  });
  EXPECT_EQ(reported, "");
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ReadFile(Log("EachLogs/JL" + std::to_string(i) + ".log")), "xx") << i;
}

// A file size limit stands in for a full disk: a write across it is cut
// short, the next one fails.
TEST_F(ReceivedTextLogs, AFullDiskKeepsWholeEntriesAndIsToldAgainEachTimeItFills) {
  const std::string log = Log("20240331_ACARS_RAW.log");
  auto record = [](int i) {
    char line[33];
    std::snprintf(line, sizeof line, "[Lch]record %02d ...............\r\n", i);
    return std::string(line);
  };
  const std::string told = InChild([&] {
    rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    // Full in the middle of entry 40, freed at 50, full again in the middle
    // of entry 55.
    for (int i = 0; i < 60; ++i) {
      if (i == 40 || i == 50 || i == 55) {
        struct stat st = {};
        ::stat(log.c_str(), &st);
        limit.rlim_cur = i == 50 ? limit.rlim_max : static_cast<rlim_t>(st.st_size) + 10;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
      }
      text.WriteLog(kAcarsRaw, record(i));
    }
  });
  std::string whole;
  for (int i = 0; i < 40; ++i) whole += record(i);
  for (int i = 50; i < 55; ++i) whole += record(i);
  EXPECT_EQ(ReadFile(log), whole);
  EXPECT_EQ(told, log + "\n" + log + "\n");
}

// The day's names and the age clean-up, with the clock fixed.
class DailyLogs : public LogsTest {
 protected:
  DailyLogs() { std::filesystem::create_directories(Log("EachLogs")); }
  void Touch(const std::string& name) { testing_support::WriteFile(Log(name), "x"); }

  testing_support::FixedClock clock{platform::EncodeDateTime(2024, 3, 31, 12, 0, 0)};
};

// Dated logs older than the days asked for go; other files, folders and
// per-aircraft logs stay; a hand-edited count below 1 keeps 30 days.
TEST_F(DailyLogs, TheCleanUpTakesOnlyDatedLogsPastTheirDays) {
  const char* const kept[] = {"20240301_ACARS_RAW.log", "20240331_LIST.csv", "readme.txt",
                              "2024ab01_x.log",         "20241399_x.log",    "20240230_x.csv",
                              "20240101_keep.wav",      "EachLogs/20200101_JL0012_PRC.log"};
  const char* const gone[] = {"20240229_HFDL_DAT.log", "20240229_x.txt", "20231231_SEARCH.log"};
  std::filesystem::create_directory(Log("20240101_folder.log"));
  for (int days : {30, 0, -3, INT32_MIN}) {
    for (const char* name : kept) Touch(name);
    for (const char* name : gone) Touch(name);
    DeleteOldLogs(Log(""), days);
    for (const char* name : kept) EXPECT_TRUE(Exists(Log(name))) << name << " " << days;
    for (const char* name : gone) EXPECT_FALSE(Exists(Log(name))) << name << " " << days;
  }
  EXPECT_TRUE(Exists(Log("20240101_folder.log")));
  DeleteOldLogs(dir.File("nowhere"), 30);  // a missing folder is nothing to clean
}

// At start-up the names take the date, and old logs go when asked; later
// the names follow the date only with the switch on, and nothing is
// cleaned.
TEST_F(DailyLogs, NamesFollowTheDateOnlyWhenAllowed) {
  EtcSettings etc;
  etc.DeleteLogFile = 0;
  etc.ChangeLogFileName = 1;
  Touch("20240101_x.log");
  UpdateDailyLogNames(text, etc, dir.path(), true);
  EXPECT_TRUE(Exists(Log("20240101_x.log")));
  clock.Set(platform::EncodeDateTime(2024, 3, 31, 23, 59, 59));
  UpdateDailyLogNames(text, etc, dir.path(), false);
  EXPECT_EQ(text.LogPath(kAcarsMes), Log("20240331_ACARS_MES.log"));
  clock.Set(platform::EncodeDateTime(2024, 4, 1, 0, 0, 0));
  UpdateDailyLogNames(text, etc, dir.path(), false);
  EXPECT_EQ(text.LogPath(kAcarsMes), Log("20240401_ACARS_MES.log"));

  ReceivedText other;
  etc.DeleteLogFile = 1;
  etc.ChangeLogFileName = 0;
  clock.Set(platform::EncodeDateTime(2024, 3, 31, 12, 0, 0));
  UpdateDailyLogNames(other, etc, dir.path(), true);
  EXPECT_FALSE(Exists(Log("20240101_x.log")));
  Touch("20240101_x.log");
  clock.Set(platform::EncodeDateTime(2024, 4, 2, 0, 0, 1));
  UpdateDailyLogNames(other, etc, dir.path(), false);
  EXPECT_EQ(other.LogPath(kAcarsRaw), Log("20240331_ACARS_RAW.log"));
  EXPECT_TRUE(Exists(Log("20240101_x.log")));
}

}  // namespace
