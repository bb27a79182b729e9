// The real program, started as a user starts it and closed by a signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFileInfo>
#include <functional>
#include <map>

#include "app/version.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDir;

constexpr const char* kNotSaved = "the settings of this one will not be saved";

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

// A copy of a program folder's skarvel offscreen on a screen of the given
// size, without a sound card, left running once it has started. unprivileged:
// as a user who owns none of the folder's files (the user nobody, when the
// tests run as root).
std::unique_ptr<testing_support::RunningProgram> StartCopy(const TempDir& dir, int width, int height,
                                                           bool unprivileged = false) {
  const std::string screen = dir.File("screen" + std::to_string(width) + ".json");
  testing_support::WriteFile(screen, "{\"screens\": [{\"name\": \"s\", \"x\": 0, \"y\": 0, \"width\": " +
                                         std::to_string(width) + ", \"height\": " + std::to_string(height) +
                                         ", \"logicalDpi\": 96, \"logicalBpi\": 96, \"dpr\": 1}]}");
  testing_support::WriteFile(dir.File("empty-alsa.conf"), "");
  const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen:configfile=" + screen,
                                        "ALSA_CONFIG_PATH=" + dir.File("empty-alsa.conf")};
  if (unprivileged && ::geteuid() == 0) {
    return testing_support::StartProgram(
        "setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", dir.File("skarvel")}, env);
  }
  return testing_support::StartProgram(dir.File("skarvel"), {}, env);
}
// Past its start: the folder is held or not, and a signal closes it.
bool Started(testing_support::RunningProgram& copy) {
  return testing_support::PumpUntil(
      [&] { return copy.StandardErrorSoFar().find("Can not open the play device") != std::string::npos; }, 20000);
}

// A double click may start two copies at the same moment: exactly one holds
// the folder and saves its settings. The main window stored at 1500,900
// stays there on the wide screen and is moved onto the narrow one, so the
// file tells which copy wrote it.
TEST(StartupProgram, OfTwoCopiesStartedTogetherOneHoldsTheFolder) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  int sound = 0;
  std::string faults;
  for (int pair = 0; pair < 20; ++pair) {
    testing_support::WriteFile(dir.File("skarvel.ini"),
                               "[Etc]\r\nLanguage=1\r\n[Pos]\r\nMainLeft=1500\r\nMainTop=900\r\n");
    auto wide = StartCopy(dir, 3000, 2000);
    auto narrow = StartCopy(dir, 1200, 900);
    const bool bothStarted = Started(*wide) && Started(*narrow);
    wide->Signal(SIGTERM);
    narrow->Signal(SIGTERM);
    const testing_support::ProcessResult wideRun = wide->Wait(30000);
    const testing_support::ProcessResult narrowRun = narrow->Wait(30000);
    ASSERT_TRUE(bothStarted) << wideRun.standardError << narrowRun.standardError;
    EXPECT_EQ(wideRun.exitCode, 0);
    EXPECT_EQ(narrowRun.exitCode, 0);
    const bool wideHolds = Count(wideRun.standardError, kNotSaved) == 0;
    const bool narrowHolds = Count(narrowRun.standardError, kNotSaved) == 0;
    const std::string ini = ReadFile(dir.File("skarvel.ini"));
    const bool savedByWide = ini.find("MainLeft=1500\r\n") != std::string::npos;
    if (wideHolds != narrowHolds && Count(ini, "\r\n[") == 12 && savedByWide == wideHolds) {
      ++sound;
    } else {
      faults += "pair " + std::to_string(pair) + ": wide holds " + std::to_string(wideHolds) + ", narrow holds " +
                std::to_string(narrowHolds) + ", saved by the wide " + std::to_string(savedByWide) + "\n";
    }
  }
  EXPECT_EQ(sound, 20) << faults;
}

// A copy that was killed leaves its lock and its socket behind; the next
// copy takes both over.
TEST(StartupProgram, TheNextCopyTakesOverTheFolderOfAKilledCopy) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  auto killed = StartCopy(dir, 1600, 1200);
  ASSERT_TRUE(Started(*killed));
  killed->Signal(SIGKILL);
  killed->Wait(30000);
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.File("skarvel.lock"))));
  EXPECT_EQ(ReadFile(dir.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");

  auto next = StartCopy(dir, 1600, 1200);
  ASSERT_TRUE(Started(*next));
  EXPECT_EQ(RunProgram(dir.File("skarvel-acars-send"), {"no block"}, {}, 10000).exitCode, 0);
  next->Signal(SIGTERM);
  const testing_support::ProcessResult run = next->Wait(30000);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Count(run.standardError, kNotSaved), 0) << run.standardError;
  EXPECT_EQ(Count(ReadFile(dir.File("skarvel.ini")), "\r\n["), 12);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("skarvel.lock"))));
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

// The files of a program folder that a copy might write at its close, with
// their bytes: all but the logs, which every copy writes as it runs, and
// the lock.
std::map<std::string, std::string> FilesKeptAtClose(const TempDir& dir) {
  std::map<std::string, std::string> files;
  QDirIterator it(QString::fromStdString(dir.path()), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const std::string path = it.next().toStdString();
    const std::string name = path.substr(dir.path().size() + 1);
    if (name.rfind("logs/", 0) != 0 && name != "skarvel.lock") files[name] = ReadFile(path);
  }
  return files;
}

// A lock file that no running copy holds, whatever it holds, is taken over
// by a copy alone in its folder, which then saves and takes ACARS blocks;
// a running copy's lock holds however its file is overwritten.
TEST(StartupProgram, ALockFileThatNoCopyHoldsIsTakenOverWhateverItHolds) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  std::string garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 97 + 13) % 256);
  for (const std::string& left : {std::string(), garbage}) {
    testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
    testing_support::WriteFile(dir.File("skarvel.lock"), left);
    auto alone = StartCopy(dir, 1600, 1200);
    ASSERT_TRUE(Started(*alone));
    EXPECT_EQ(RunProgram(dir.File("skarvel-acars-send"), {"no block"}, {}, 10000).exitCode, 0);

    // Overwritten while the copy runs, its lock still keeps the next out.
    testing_support::WriteFile(dir.File("skarvel.lock"), garbage);
    auto next = StartCopy(dir, 1600, 1200);
    ASSERT_TRUE(Started(*next));
    next->Signal(SIGTERM);
    const testing_support::ProcessResult nextRun = next->Wait(30000);
    EXPECT_EQ(Count(nextRun.standardError, "Another Skarvel runs in this folder: " + std::string(kNotSaved)), 1)
        << nextRun.standardError;

    alone->Signal(SIGTERM);
    const testing_support::ProcessResult run = alone->Wait(30000);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Count(run.standardError, kNotSaved), 0) << left.size() << run.standardError;
    EXPECT_EQ(Count(ReadFile(dir.File("skarvel.ini")), "\r\n["), 12) << left.size();
  }
}

// A lock file that cannot be taken for another reason than a running copy
// is named with the reason; nothing says that another copy runs.
TEST(StartupProgram, ALockFileThatCannotBeTakenIsNamedWithTheReason) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  ::chmod(dir.path().c_str(), 0755);
  const std::string lock = dir.File("skarvel.lock");
  // A link is not followed out of the folder, nor a hard link taken: its
  // target is neither cut nor made.
  TempDir outside;
  const std::string victim = outside.File("victim.txt");
  testing_support::WriteFile(victim, "the user's own\r\n");
  struct Row {
    std::function<void()> make;
    const char* why;
    bool unprivileged;
  };
  const Row rows[] = {
      {[&] { ::mkdir(lock.c_str(), 0755); }, "a folder is in its place", false},
      {[&] { ASSERT_EQ(::symlink(victim.c_str(), lock.c_str()), 0); }, "a link is in its place", false},
      {[&] { ASSERT_EQ(::symlink(outside.File("made.txt").c_str(), lock.c_str()), 0); }, "a link is in its place",
       false},
      {[&] { ASSERT_EQ(::link(victim.c_str(), lock.c_str()), 0); }, "a link is in its place", false},
      {[&] { testing_support::WriteFile(lock, "4242\nskarvel\nfar-away-host\n"); },
       "it names another computer, far-away-host", false},
      {[&] {
         testing_support::WriteFile(lock, "");
         ::chmod(lock.c_str(), 0);
       },
       "no permission to open it", true},
  };
  for (const Row& row : rows) {
    testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
    ::chmod(dir.File("skarvel.ini").c_str(), 0666);
    row.make();
    auto copy = StartCopy(dir, 1600, 1200, row.unprivileged);
    ASSERT_TRUE(Started(*copy)) << row.why;
    copy->Signal(SIGTERM);
    const testing_support::ProcessResult run = copy->Wait(30000);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Count(run.standardError, "The lock file " + lock + " cannot be taken (" + row.why + "): " + kNotSaved),
              1)
        << run.standardError;
    EXPECT_EQ(Count(run.standardError, "Another Skarvel"), 0) << run.standardError;
    EXPECT_EQ(ReadFile(dir.File("skarvel.ini")), "[Etc]\r\nLanguage=1\r\n");
    ASSERT_EQ(std::system(("rm -rf '" + lock + "'").c_str()), 0);
  }
  EXPECT_EQ(ReadFile(victim), "the user's own\r\n");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(outside.File("made.txt"))));
}

// A copy that does not hold the folder leaves every file there as it finds
// it at its close, and the holder leaves the search strings: neither puts
// the list it read at its start back over a string saved since by the
// other copy.
TEST(StartupProgram, ACopyThatDoesNotHoldTheFolderWritesNothingAtClose) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  testing_support::WriteFile(dir.File("data/MesgSearchList.txt"), "OLDWORD\r\n");
  auto holder = StartCopy(dir, 1600, 1200);
  ASSERT_TRUE(Started(*holder));
  auto second = StartCopy(dir, 1600, 1200);
  ASSERT_TRUE(Started(*second));
  // Its windows, the search window with its list among them, are made just
  // after the line that Started waits for.
  testing_support::PumpUntil([] { return false; }, 1000);
  // As the second copy saves a string it adds.
  testing_support::WriteFile(dir.File("data/MesgSearchList.txt"), "OLDWORD\r\nNEWWORD\r\n");
  holder->Signal(SIGTERM);
  EXPECT_EQ(holder->Wait(30000).exitCode, 0);
  EXPECT_EQ(ReadFile(dir.File("data/MesgSearchList.txt")), "OLDWORD\r\nNEWWORD\r\n");

  const std::map<std::string, std::string> before = FilesKeptAtClose(dir);
  second->Signal(SIGTERM);
  const testing_support::ProcessResult run = second->Wait(30000);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Count(run.standardError, kNotSaved), 1) << run.standardError;
  EXPECT_EQ(ReadFile(dir.File("data/MesgSearchList.txt")), "OLDWORD\r\nNEWWORD\r\n");
  EXPECT_TRUE(FilesKeptAtClose(dir) == before);
}

// A program folder whose data folder takes no file (a read-only install,
// here a user who may not write it) fails no close: the search strings,
// unchanged, are not written then.
TEST(StartupProgram, AnUnchangedSearchListIsNotWrittenAtClose) {
  TempDir dir;
  testing_support::CopyProgramFolder(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  testing_support::WriteFile(dir.File("data/MesgSearchList.txt"), "OLDWORD\r\n");
  if (::geteuid() == 0) {
    ASSERT_EQ(std::system(("chown -R nobody:nogroup '" + dir.path() + "'").c_str()), 0);
  }
  ::chmod(dir.File("data").c_str(), 0555);
  auto copy = StartCopy(dir, 1600, 1200, true);
  const bool started = Started(*copy);
  copy->Signal(SIGTERM);
  const testing_support::ProcessResult run = copy->Wait(30000);
  ::chmod(dir.File("data").c_str(), 0755);
  ASSERT_TRUE(started) << run.standardError;
  EXPECT_EQ(Count(run.standardError, "Can not write"), 0) << run.standardError;
  EXPECT_EQ(run.exitCode, 0);
  // The rest of the folder took the settings.
  EXPECT_EQ(Count(ReadFile(dir.File("skarvel.ini")), "\r\n["), 12);
}

}  // namespace
