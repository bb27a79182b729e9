#include "platform/program_folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "support/test_support.h"

namespace {

using platform::ProgramFolderLock;

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// One holder at a time, in the program folder or, where the folder takes
// no file (here: it is gone), in the user's own place; a second lock of
// the same process counts as another copy.
TEST(ProgramFolderLock, OneCopyHoldsTheFolderUntilItGoes) {
  testing_support::TempDir dir;
  const std::string inFolder = dir.File("skarvel.lock");
  const std::string missing = dir.File("gone/skarvel.lock");
  const std::string elsewhere = dir.File("user.lock");
  struct Row {
    std::string inFolder, elsewhere, held;
  };
  for (const Row& row : {Row{inFolder, missing, inFolder}, Row{missing, elsewhere, elsewhere}}) {
    SCOPED_TRACE(row.held);
    auto first = std::make_unique<ProgramFolderLock>(row.inFolder, row.elsewhere);
    ASSERT_EQ(first->Take(), ProgramFolderLock::Hold::Held);
    EXPECT_EQ(first->Path(), row.held);
    EXPECT_EQ(first->FolderProblem().empty(), row.held == row.inFolder);
    EXPECT_TRUE(Exists(row.held));
    ProgramFolderLock second(row.inFolder, row.elsewhere);
    EXPECT_EQ(second.Take(), ProgramFolderLock::Hold::HeldByAnotherCopy);
    first.reset();
    EXPECT_FALSE(Exists(row.held));
    ProgramFolderLock third(row.inFolder, row.elsewhere);
    EXPECT_EQ(third.Take(), ProgramFolderLock::Hold::Held);
  }
  ProgramFolderLock nowhere(missing, dir.File("gone/user.lock"));
  EXPECT_EQ(nowhere.Take(), ProgramFolderLock::Hold::Unknown);
  EXPECT_FALSE(nowhere.FolderProblem().empty());
}

std::string ThisHost() {
  char name[256] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

// A file no running copy locks is taken over whatever it holds: left empty
// or cut short by a copy killed as it wrote it, overwritten, or naming a
// process of this computer that runs (the lock, not the number, tells).
TEST(ProgramFolderLock, AFileThatNoCopyLocksIsTakenOverWhateverItHolds) {
  std::string garbage;
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 151 + 7) % 256);
  const std::string thisProcess = std::to_string(::getpid()) + "\nskarvel\n" + ThisHost() + "\n";
  for (const std::string& held : {std::string(), garbage, std::string("12"), thisProcess, std::string("1\n\n\n")}) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("skarvel.lock"), held);
    auto lock = std::make_unique<ProgramFolderLock>(dir.File("skarvel.lock"), dir.File("user.lock"));
    EXPECT_EQ(lock->Take(), ProgramFolderLock::Hold::Held) << held.size();
    EXPECT_EQ(lock->Path(), dir.File("skarvel.lock"));
    EXPECT_EQ(testing_support::ReadFile(dir.File("skarvel.lock")), thisProcess);
    lock.reset();
    EXPECT_FALSE(Exists(dir.File("skarvel.lock")));
  }
}

// However its file is made to look while it runs, a copy's lock holds.
TEST(ProgramFolderLock, ARunningCopysLockHoldsWhateverItsFileIsMadeToHold) {
  testing_support::TempDir dir;
  const std::string path = dir.File("skarvel.lock");
  ProgramFolderLock running(path, dir.File("user.lock"));
  ASSERT_EQ(running.Take(), ProgramFolderLock::Hold::Held);
  for (const std::string& overwritten : {std::string(), std::string("\x93\x01garbage\n"), std::string("1\nx\nelsewhere\n")}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << overwritten;
    ProgramFolderLock next(path, dir.File("user.lock"));
    EXPECT_EQ(next.Take(), ProgramFolderLock::Hold::HeldByAnotherCopy) << overwritten;
  }
}

// Where the lock file cannot be taken for another reason than a running
// copy, the reason is told, and the folder is not held elsewhere instead.
TEST(ProgramFolderLock, ALockFileThatCannotBeTakenSaysWhy) {
  using Problem = ProgramFolderLock::Problem;
  testing_support::TempDir dir;
  const std::string path = dir.File("skarvel.lock");
  // A link is never followed, nor a hard link taken: its target is neither
  // cut nor made.
  const std::string victim = dir.File("victim.txt");
  testing_support::WriteFile(victim, "the user's own\n");
  struct Row {
    std::function<void()> make;
    Problem problem;
  };
  const Row rows[] = {
      {[&] { ::mkdir(path.c_str(), 0755); }, Problem::IsAFolder},
      {[&] { ::mkfifo(path.c_str(), 0644); }, Problem::NotAFile},
      {[&] { testing_support::WriteFile(path, "4242\nskarvel\nfar-away-host\n"); }, Problem::AnotherHost},
      {[&] { ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0); }, Problem::IsALink},
      {[&] { ASSERT_EQ(::symlink(dir.File("made.txt").c_str(), path.c_str()), 0); }, Problem::IsALink},
      {[&] { ASSERT_EQ(::link(victim.c_str(), path.c_str()), 0); }, Problem::IsALink},
  };
  for (const Row& row : rows) {
    row.make();
    ProgramFolderLock lock(path, dir.File("user.lock"));
    EXPECT_EQ(lock.Take(), ProgramFolderLock::Hold::NotTaken);
    EXPECT_EQ(lock.LockProblem(), row.problem);
    EXPECT_EQ(lock.Path(), path);
    EXPECT_FALSE(Exists(dir.File("user.lock")));
    ::remove(path.c_str());
  }
  // The same in the user's own place, where the folder takes no file.
  const std::string own = dir.File("user.lock");
  for (const Row& row : {Row{[&] { ::mkdir(own.c_str(), 0755); }, Problem::IsAFolder},
                         Row{[&] { ASSERT_EQ(::symlink(victim.c_str(), own.c_str()), 0); }, Problem::IsALink},
                         Row{[&] { ASSERT_EQ(::link(victim.c_str(), own.c_str()), 0); }, Problem::IsALink}}) {
    row.make();
    ProgramFolderLock lock(dir.File("gone/skarvel.lock"), own);
    EXPECT_EQ(lock.Take(), ProgramFolderLock::Hold::NotTaken);
    EXPECT_EQ(lock.LockProblem(), row.problem);
    EXPECT_EQ(lock.Path(), own);
    ::remove(own.c_str());
  }
  EXPECT_EQ(testing_support::ReadFile(victim), "the user's own\n");
  EXPECT_FALSE(Exists(dir.File("made.txt")));
  testing_support::WriteFile(path, "4242\nskarvel\nfar-away-host\n");
  ProgramFolderLock lock(path, dir.File("user.lock"));
  lock.Take();
  EXPECT_EQ(lock.OtherHost(), "far-away-host");
  EXPECT_EQ(testing_support::ReadFile(path), "4242\nskarvel\nfar-away-host\n");
}

}  // namespace
