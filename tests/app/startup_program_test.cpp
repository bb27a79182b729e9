// The real program, started as a user starts it and closed by a signal.
#include <gtest/gtest.h>

#include "app/version.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(StartupProgram, WithoutASoundCardItRunsAndSavesOnSigterm) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  const testing_support::ProcessResult first = testing_support::RunUntilSigterm(dir.path(), 2000);
  EXPECT_EQ(first.exitCode, 0);
  const std::string& err = first.standardError;
  EXPECT_EQ(Count(err, "Can not open the recoding device"), 1);
  EXPECT_EQ(Count(err, "Can not open the play device"), 1);
  std::string ini = ReadFile(dir.File("skarvel.ini"));
  EXPECT_EQ(Count(ini, "\r\n["), 12);
  EXPECT_NE(ini.find("Language=1\r\n"), std::string::npos);

  // A value the program cannot work with comes back as its default; a day
  // count the dialog would not offer, and lines it does not know, come back
  // byte for byte.
  auto replace = [&](const std::string& from, const std::string& to) { ini.replace(ini.find(from), from.size(), to); };
  replace("MaxMapPlot=200\r\n", "MaxMapPlot=0\r\nFoo=\x83\x5C\x95\x5C\r\n");
  replace("DeleteDay=30\r\n", "DeleteDay=-3\r\n");
  ini += "[Mine]\r\nKey=1\r\n";
  testing_support::WriteFile(dir.File("skarvel.ini"), ini);
  EXPECT_EQ(testing_support::RunUntilSigterm(dir.path(), 2000).exitCode, 0);
  const std::string after = ReadFile(dir.File("skarvel.ini"));
  for (const char* line : {"MaxMapPlot=200\r\nFoo=\x83\x5C\x95\x5C\r\n", "DeleteDay=-3\r\n", "[Mine]\r\nKey=1\r\n"}) {
    EXPECT_NE(after.find(line), std::string::npos) << line;
  }
}

TEST(StartupProgram, SigtermWhenTheSettingsCannotBeSavedEndsAtOnceWithAFailure) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  const testing_support::ProcessResult e = testing_support::RunUntilSigterm(dir.path(), 2000, true);
  EXPECT_NE(e.exitCode, 0);
  EXPECT_EQ(Count(e.standardError, "Can not save the settings file " + dir.File("skarvel.ini") + "\n"), 1)
      << e.standardError;
  EXPECT_LT(e.msAfterSignal, 5000);
  EXPECT_EQ(ReadFile(dir.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");
}

TEST(StartupProgram, HelpAndVersionAnswerWithoutADisplay) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  auto run = [&](std::vector<std::string> args) {
    return RunProgram(dir.File("skarvel"), args, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, 10000);
  };
  for (const char* help : {"--help", "-h"}) {
    const testing_support::ProcessResult r = run({help});
    EXPECT_EQ(r.exitCode, 0) << help;
    EXPECT_EQ(Count(r.standardOutput, "\n  --audio-file FILE ") + Count(r.standardOutput, "\n  --fast "), 2);
  }
  EXPECT_EQ(run({"--version"}).standardOutput, std::string("Skarvel ") + kSkarvelVersion + "\n");
  // A start without one says so in a line.
  const testing_support::ProcessResult start = run({});
  EXPECT_EQ(start.exitCode, 2);
  EXPECT_EQ(Count(start.standardError, "\n"), 1) << start.standardError;
  EXPECT_NE(start.standardError.find("needs an X display (set DISPLAY, or start it with xvfb-run -a)"),
            std::string::npos);
}

}  // namespace
