// The real program on a settings file whose every number is the largest or
// the smallest there is; under the sanitizers in CI, whose findings fail it.
#include <gtest/gtest.h>

#include <regex>

#include "support/test_support.h"

namespace {

using testing_support::ReadFile;

TEST(HostileSettings, EveryNumberAtAnEndOfIntStartsAndClosesCleanlyOnSigterm) {
  testing_support::TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  // The first start writes every key.
  ASSERT_EQ(testing_support::RunUntilSigterm(dir.path(), 3000).exitCode, 0);
  const std::string every = ReadFile(dir.File("skarvel.ini"));
  static const std::regex number(R"(=-?\d+\r\n)");
  for (const char* value : {"2147483647", "-2147483648"}) {
    testing_support::WriteFile(dir.File("skarvel.ini"),
                               std::regex_replace(every, number, std::string("=") + value + "\r\n"));
    const testing_support::ProcessResult run = testing_support::RunUntilSigterm(dir.path(), 3000);
    EXPECT_EQ(run.exitCode, 0) << value << "\n" << run.standardError;
    EXPECT_LT(run.msAfterSignal, 10000);
    EXPECT_NE(ReadFile(dir.File("skarvel.ini")).find("MainWidth=990\r\nMainHeight=702\r\n"), std::string::npos);
  }
}

}  // namespace
