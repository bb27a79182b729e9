// The received text: its buffers and the day's logs, on a temporary folder.
#include "exchange/received_text.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/settings_sections.h"
#include "exchange/daily_log_set.h"
#include "platform/write_failure.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

// The file handles the test program holds.
int OpenFiles() {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

class ReceivedTextLogs : public ::testing::Test {
 protected:
  ReceivedTextLogs() { text.SetDailyLogs(dir.File("logs"), "20240331"); }
  std::string Log(const std::string& name) const { return dir.File("logs/" + name); }

  TempDir dir;
  ReceivedText text;
};

TEST(ReceivedTextBuffer, TrimCutsFromTheFrontToBelowTheLimitAndTellsTheViewer) {
  ReceivedText text;
  std::vector<int> changed;
  text.Changed = [&](int kind) { changed.push_back(kind); };
  text.Append(kHfdlAna, "line 1\r\n");
  text.Append(kHfdlAna, "line 2\r\n");
  EXPECT_TRUE(changed.empty());  // a frame's lines are shown once, at the trim
  text.Trim(kHfdlAna, 100);
  EXPECT_EQ(text.Buffer(kHfdlAna), "line 1\r\nline 2\r\n");
  text.Trim(kHfdlAna, 10);
  EXPECT_EQ(text.Buffer(kHfdlAna), "\nline 2\r\n");
  // At the limit exactly it is still too long.
  text.Trim(kHfdlAna, 9);
  EXPECT_EQ(text.Buffer(kHfdlAna), "line 2\r\n");
  EXPECT_EQ(changed, (std::vector<int>{kHfdlAna, kHfdlAna, kHfdlAna}));
  EXPECT_EQ(text.Buffer(kAcarsRaw), "");
  text.Touch(kAcarsMes);
  EXPECT_EQ(changed.back(), kAcarsMes);
  text.Clear(kHfdlAna);
  EXPECT_EQ(text.Buffer(kHfdlAna), "");
  // Kinds outside the six are ignored.
  text.Append(6, "x");
  text.Trim(-1, 1);
  EXPECT_EQ(text.Buffer(6), "");
}

TEST_F(ReceivedTextLogs, EachEntryCanBeReadAtOnceThroughOneOpenHandle) {
  const int before = OpenFiles();
  text.WriteLog(kAcarsRaw, "first\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_RAW.log")), "first\r\n");
  text.WriteLog(kAcarsRaw, "second\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_RAW.log")), "first\r\nsecond\r\n");
  EXPECT_EQ(OpenFiles(), before + 1);
  text.CloseLogs();
  EXPECT_EQ(OpenFiles(), before);
}

TEST_F(ReceivedTextLogs, ManyPerAircraftLogsDoNotExhaustTheHandles) {
  const int before = OpenFiles();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 40; ++i) text.WriteFile(Log("EachLogs/JL" + std::to_string(i) + ".log"), "x");
  }
  EXPECT_LE(OpenFiles(), before + 16);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(ReadFile(Log("EachLogs/JL" + std::to_string(i) + ".log")), "xx") << i;
}

TEST_F(ReceivedTextLogs, ANewDaysNamesCloseTheOldFiles) {
  EXPECT_EQ(text.LogPath(kHfdlFmt), Log("20240331_HFDL_FMT.log"));
  EXPECT_EQ(text.SearchLogPath(), Log("20240331_SEARCH.log"));
  EXPECT_EQ(text.ListLogPath(), Log("20240331_LIST.csv"));
  const int before = OpenFiles();
  text.WriteLog(kHfdlFmt, "old\r\n");
  text.SetDailyLogs(dir.File("logs"), "20240401");
  EXPECT_EQ(OpenFiles(), before);
  EXPECT_EQ(text.LogDate(), "20240401");
  text.WriteLog(kHfdlFmt, "new\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_HFDL_FMT.log")), "old\r\n");
  EXPECT_EQ(ReadFile(Log("20240401_HFDL_FMT.log")), "new\r\n");
}

// The import reads the log it names; what arrives meanwhile goes beside it.
TEST_F(ReceivedTextLogs, AnImportedLogsEntriesGoToItsTwin) {
  const std::string each = Log("EachLogs/JL0012.log");
  text.WriteLog(kAcarsMes, "before\r\n");
  text.SetImportPath(text.LogPath(kAcarsMes));
  text.WriteLog(kAcarsMes, "during\r\n");
  text.WriteLog(kAcarsRaw, "raw\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "before\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES_c.log")), "during\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_RAW.log")), "raw\r\n");
  text.SetImportPath(each);
  EXPECT_EQ(text.WritePath(each), Log("EachLogs/JL0012_c.log"));
  text.WriteFile(each, "e");
  EXPECT_EQ(ReadFile(Log("EachLogs/JL0012_c.log")), "e");
  text.SetImportPath("");
  text.WriteLog(kAcarsMes, "after\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "before\r\nafter\r\n");
  EXPECT_FALSE(Exists(Log("EachLogs/JL0012.log")));
}

TEST_F(ReceivedTextLogs, AFileThatCannotBeOpenedIsReportedOncePerPath) {
  std::vector<std::string> reported;
  platform::ResetWriteFailureReports();
  platform::SetWriteFailureHandler([&](const std::string& path) { reported.push_back(path); });
  // A file stands where the logs folder should be.
  testing_support::WriteFile(dir.File("blocked"), "");
  text.SetDailyLogs(dir.File("blocked"), "20240331");
  text.WriteLog(kAcarsRaw, "a");
  text.WriteLog(kAcarsRaw, "b");
  text.WriteLog(kHfdlDat, "c");
  platform::SetWriteFailureHandler(nullptr);
  platform::ResetWriteFailureReports();
  EXPECT_EQ(reported, (std::vector<std::string>{dir.File("blocked/20240331_ACARS_RAW.log"),
                                                dir.File("blocked/20240331_HFDL_DAT.log")}));
}

// A file size limit stands in for a full disk: a write across it is cut
// short, the next one fails. It is set in a child process, which it alone
// binds; the child tells each report through a pipe.
TEST_F(ReceivedTextLogs, AFullDiskKeepsWholeEntriesAndIsToldAgainEachTimeItFills) {
  const std::string log = Log("20240331_ACARS_RAW.log");
  auto record = [](int i) {
    char line[33];
    std::snprintf(line, sizeof line, "[Lch]record %02d ...............\r\n", i);
    return std::string(line);
  };
  int reports[2];
  ASSERT_EQ(::pipe(reports), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    platform::SetWriteFailureHandler([&](const std::string& path) {
      const std::string line = path + "\n";
      if (::write(reports[1], line.data(), line.size()) < 0) ::_exit(2);
    });
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
    ::_exit(0);
  }
  ::close(reports[1]);
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::string told;
  char buf[4096];
  for (ssize_t n; (n = ::read(reports[0], buf, sizeof buf)) > 0;) told.append(buf, static_cast<size_t>(n));
  ::close(reports[0]);

  std::string whole;
  for (int i = 0; i < 40; ++i) whole += record(i);
  for (int i = 50; i < 55; ++i) whole += record(i);
  EXPECT_EQ(ReadFile(log), whole);
  EXPECT_EQ(told, log + "\n" + log + "\n");
}

// A handle kept across the deletion would write into a file no one sees.
TEST_F(ReceivedTextLogs, DeletedLogsAreCreatedAfreshByTheNextEntry) {
  const std::string each = Log("EachLogs/JL0012_PRC.log");
  text.WriteLog(kAcarsPrc, "old\r\n");
  text.WriteFile(each, "old\r\n");
  DeleteAllDailyLogs(text, dir.path());
  EXPECT_FALSE(Exists(Log("20240331_ACARS_PRC.log")));
  text.WriteLog(kAcarsPrc, "new\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_PRC.log")), "new\r\n");
  DeleteAllEachLogs(text, dir.path());
  EXPECT_FALSE(Exists(each));
  text.WriteFile(each, "new\r\n");
  EXPECT_EQ(ReadFile(each), "new\r\n");
}

// Removed or replaced by someone else while the program runs.
TEST_F(ReceivedTextLogs, ALogTakenAwayBehindTheProgramsBackIsOpenedAnewOrReported) {
  std::vector<std::string> reported;
  platform::ResetWriteFailureReports();
  platform::SetWriteFailureHandler([&](const std::string& path) { reported.push_back(path); });
  text.WriteLog(kAcarsMes, "first\r\n");
  text.WriteLog(kAcarsPrc, "first\r\n");
  std::filesystem::rename(Log("20240331_ACARS_MES.log"), Log("moved.log"));
  std::filesystem::remove(Log("20240331_ACARS_PRC.log"));
  std::filesystem::create_directory(Log("20240331_ACARS_PRC.log"));
  text.WriteLog(kAcarsMes, "second\r\n");
  text.WriteLog(kAcarsPrc, "second\r\n");
  platform::SetWriteFailureHandler(nullptr);
  platform::ResetWriteFailureReports();
  EXPECT_EQ(ReadFile(Log("moved.log")), "first\r\n");
  EXPECT_EQ(ReadFile(Log("20240331_ACARS_MES.log")), "second\r\n");
  EXPECT_EQ(reported, std::vector<std::string>{Log("20240331_ACARS_PRC.log")});
}

}  // namespace
