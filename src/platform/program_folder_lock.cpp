#include "platform/program_folder_lock.h"

#include <QLockFile>

namespace platform {
namespace {

std::string Problem(QLockFile::LockError error) {
  return error == QLockFile::PermissionError ? "no permission to write there" : "it could not be written";
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(std::string inFolder, std::string elsewhere)
    : inFolder_(std::move(inFolder)), elsewhere_(std::move(elsewhere)), path_(inFolder_) {}

ProgramFolderLock::~ProgramFolderLock() = default;

ProgramFolderLock::Hold ProgramFolderLock::Take() {
  for (const std::string* path : {&inFolder_, &elsewhere_}) {
    path_ = *path;
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(path_));
    // A copy runs for days: its lock never grows stale by age, only when
    // its process is gone.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return Hold::Held;
    if (lock_->error() == QLockFile::LockFailedError) return Hold::HeldByAnotherCopy;
    if (path == &inFolder_) folderProblem_ = Problem(lock_->error());
  }
  lock_.reset();
  return Hold::Unknown;
}

}  // namespace platform
