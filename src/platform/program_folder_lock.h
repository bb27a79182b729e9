#pragma once
// Which copy holds a program folder: the one that holds the system's lock
// on its lock file. The system lets go of it when a copy ends, killed
// included, so a file that no running copy holds is taken over whatever it
// holds (empty, cut short, overwritten), and a running copy's lock is never
// taken however its file looks. A link in its place, symbolic or hard, is
// never taken: the lock would cut and write a file elsewhere.
#include <string>

namespace platform {

class ProgramFolderLock {
 public:
  // Unknown: neither file could be made. NotTaken: the lock file is there
  // but cannot be taken, for the reason Problem() gives; Path() names it.
  enum class Hold { Held, HeldByAnotherCopy, NotTaken, Unknown };
  enum class Problem { None, IsAFolder, IsALink, NotAFile, NoPermission, CannotLock, AnotherHost };

  // inFolder: the lock file in the program folder. elsewhere: one of the
  // user's own, for a folder that takes no file (read-only): it keeps out
  // only this user's other copies.
  ProgramFolderLock(std::string inFolder, std::string elsewhere);
  ~ProgramFolderLock();
  ProgramFolderLock(const ProgramFolderLock&) = delete;
  ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

  // Held until this goes.
  Hold Take();
  // The lock file taken or asked for.
  const std::string& Path() const { return path_; }
  // Why the program folder took no lock file; empty when it did.
  const std::string& FolderProblem() const { return folderProblem_; }
  // Why the lock file cannot be taken (NotTaken), and for AnotherHost the
  // computer its file names.
  Problem LockProblem() const { return problem_; }
  const std::string& OtherHost() const { return otherHost_; }

 private:
  enum class Outcome { Held, Busy, NoFile, Problem };
  struct Attempt {
    Outcome outcome;
    Problem problem = Problem::None;
    // The computer named (AnotherHost), or why no file could be made (NoFile).
    std::string detail;
    int fd = -1;  // Held
  };
  static Attempt TakeAt(const std::string& path);

  std::string inFolder_;
  std::string elsewhere_;
  std::string path_;
  std::string folderProblem_;
  Problem problem_ = Problem::None;
  std::string otherHost_;
  int fd_ = -1;
};

}  // namespace platform
