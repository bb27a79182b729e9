// The real program, started as a user starts it and closed by a signal.
#include <gtest/gtest.h>

#include "app/version.h"
#include "platform/file_io.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

// skarvel in dir, on the offscreen platform without a sound card, ended by
// SIGTERM after 2 s.
testing_support::ProcessResult RunAndTerminate(const TempDir& dir, bool fullDisk = false) {
  return testing_support::RunUntilSigterm(dir.path(), 2000, fullDisk);
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(StartupProgram, WithoutASoundCardItRunsAndSavesOnSigterm) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  const testing_support::ProcessResult first = RunAndTerminate(dir);
  EXPECT_EQ(first.exitCode, 0);
  const std::string& err = first.standardError;
  EXPECT_EQ(Count(err, "Can not open the recoding device"), 1);
  EXPECT_EQ(Count(err, "Can not open the play device"), 1);
  std::string ini = ReadFile(dir.File("skarvel.ini"));
  EXPECT_EQ(Count(ini, "\r\n["), 12);
  EXPECT_NE(ini.find("Language=1\r\n"), std::string::npos);

  // Values the program cannot work with come back as defaults; lines it
  // does not know come back byte for byte.
  auto replace = [&](const std::string& from, const std::string& to) { ini.replace(ini.find(from), from.size(), to); };
  replace("MaxMapPlot=200\r\n", "MaxMapPlot=0\r\nFoo=\x83\x5C\x95\x5C\r\n");
  replace("SelectDegree=6\r\n", "SelectDegree=12\r\n");
  replace("DeleteDay=30\r\n", "DeleteDay=-3\r\n");
  replace("Local=9\r\n", "Local=30\r\n");
  replace("ServerPortNo=49505\r\n", "ServerPortNo=abc\r\n");
  ini += "[Mine]\r\nKey=1\r\n";
  testing_support::WriteFile(dir.File("skarvel.ini"), ini);
  EXPECT_EQ(RunAndTerminate(dir).exitCode, 0);
  std::string after = ReadFile(dir.File("skarvel.ini"));
  for (const char* line : {"MaxMapPlot=200\r\n", "SelectDegree=6\r\n", "DeleteDay=30\r\n", "Local=9\r\n",
                           "ServerPortNo=49505\r\n", "Foo=\x83\x5C\x95\x5C\r\n", "[Mine]\r\nKey=1\r\n"}) {
    EXPECT_NE(after.find(line), std::string::npos) << line;
  }
}

TEST(StartupProgram, SigtermWhenTheSettingsCannotBeSavedEndsAtOnceWithAFailure) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  const testing_support::ProcessResult e = RunAndTerminate(dir, true);
  EXPECT_NE(e.exitCode, 0);
  EXPECT_EQ(Count(e.standardError, "Can not save the settings file " + dir.File("skarvel.ini") + "\n"), 1)
      << e.standardError;
  EXPECT_LT(e.msAfterSignal, 5000);
  EXPECT_EQ(ReadFile(dir.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");
}

TEST(StartupProgram, HelpAndVersionAnswerWithoutADisplay) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  for (const char* help : {"--help", "-h"}) {
    const testing_support::ProcessResult r = RunProgram(dir.File("skarvel"), {help}, noDisplay, 10000);
    EXPECT_EQ(r.exitCode, 0) << help;
    EXPECT_EQ(Count(r.standardOutput, "\n  --audio-file FILE "), 1) << r.standardOutput;
    EXPECT_EQ(Count(r.standardOutput, "\n  --fast "), 1) << r.standardOutput;
    EXPECT_EQ(r.standardError, "");
  }
  const testing_support::ProcessResult version = RunProgram(dir.File("skarvel"), {"--version"}, noDisplay, 10000);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.standardOutput, std::string("Skarvel ") + kSkarvelVersion + "\n");

  // Without one, a start says so in a line.
  const testing_support::ProcessResult start = RunProgram(dir.File("skarvel"), {}, noDisplay, 10000);
  EXPECT_EQ(start.exitCode, 2);
  EXPECT_EQ(Count(start.standardError, "\n"), 1) << start.standardError;
  EXPECT_NE(start.standardError.find("X display"), std::string::npos) << start.standardError;
  EXPECT_NE(start.standardError.find("xvfb-run -a"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(dir.File("skarvel.ini")));
}

}  // namespace
