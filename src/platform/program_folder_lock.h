#pragma once
// Which copy holds a program folder: the one that holds its lock file. The
// file is made only if it does not exist, so of copies started together
// exactly one gets it; the system's lock on the open file, and the process
// it names, tell a running copy's file from one that a killed copy left,
// which the next copy takes over.
#include <memory>
#include <string>

class QLockFile;

namespace platform {

class ProgramFolderLock {
 public:
  enum class Hold { Held, HeldByAnotherCopy, Unknown };

  // inFolder: the lock file in the program folder. elsewhere: one of the
  // user's own, for a folder that takes no file (read-only): it keeps out
  // only this user's other copies.
  ProgramFolderLock(std::string inFolder, std::string elsewhere);
  ~ProgramFolderLock();
  ProgramFolderLock(const ProgramFolderLock&) = delete;
  ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

  // Held until this goes. Unknown: neither file could be made.
  Hold Take();
  // The lock file taken or asked for.
  const std::string& Path() const { return path_; }
  // Why the program folder took no lock file; empty when it did.
  const std::string& FolderProblem() const { return folderProblem_; }

 private:
  std::string inFolder_;
  std::string elsewhere_;
  std::string path_;
  std::string folderProblem_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace platform
