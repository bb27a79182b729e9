// The real program, started as a user starts it and closed by a signal.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <thread>

#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

// Starts skarvel in dir on the offscreen platform without a sound card, lets
// it settle, then sends it SIGTERM and returns its standard error.
std::string RunAndTerminate(const TempDir& dir) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ALSA_CONFIG_PATH", QString::fromStdString(dir.File("empty-alsa.conf")));
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  p.setProcessEnvironment(env);
  p.start(QString::fromStdString(dir.File("skarvel")), {});
  EXPECT_TRUE(p.waitForStarted(10000));
  // Running after 2 s.
  EXPECT_FALSE(p.waitForFinished(2000));
  ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
  EXPECT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0);
  return p.readAllStandardError().toStdString();
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(StartupProgram, WithoutASoundCardItRunsAndSavesOnSigterm) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  std::string err = RunAndTerminate(dir);
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
  RunAndTerminate(dir);
  std::string after = ReadFile(dir.File("skarvel.ini"));
  for (const char* line : {"MaxMapPlot=200\r\n", "SelectDegree=6\r\n", "DeleteDay=30\r\n", "Local=9\r\n",
                           "ServerPortNo=49505\r\n", "Foo=\x83\x5C\x95\x5C\r\n", "[Mine]\r\nKey=1\r\n"}) {
    EXPECT_NE(after.find(line), std::string::npos) << line;
  }
}

}  // namespace
