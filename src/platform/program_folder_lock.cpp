#include "platform/program_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/file_io.h"

namespace platform {
namespace {

std::string ThisHost() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

// The computer a lock file names, when it holds what a copy writes there:
// its process number, the program's name and the host, a line each. ""
// for anything else, which names no computer.
std::string HostNamed(std::string_view text) {
  const size_t first = text.find('\n');
  if (first == 0 || first > 10 || first == std::string_view::npos) return "";
  for (char c : text.substr(0, first)) {
    if (c < '0' || c > '9') return "";
  }
  const size_t second = text.find('\n', first + 1);
  if (second == std::string_view::npos) return "";
  const std::string_view host = text.substr(second + 1, text.find('\n', second + 1) - (second + 1));
  if (host.empty() || host.size() > 255) return "";
  for (char c : host) {
    if (c <= ' ' || c > '~') return "";
  }
  return std::string(host);
}

// A lock file may be anything: a FIFO must not stop the start, and a link
// is not followed out of the folder.
int OpenLockFile(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(std::string inFolder, std::string elsewhere)
    : inFolder_(std::move(inFolder)), elsewhere_(std::move(elsewhere)), path_(inFolder_) {}

ProgramFolderLock::~ProgramFolderLock() {
  if (fd_ < 0) return;
  // Removed while still locked, and only if it is still the file locked: a
  // copy that opened it meanwhile finds it gone once it has the lock, and
  // makes a new one.
  if (NamesOpenFile(path_, fd_)) ::unlink(path_.c_str());
  ::close(fd_);
}

ProgramFolderLock::Hold ProgramFolderLock::Take() {
  path_ = inFolder_;
  Attempt attempt = TakeAt(inFolder_);
  if (attempt.outcome == Outcome::NoFile) {
    folderProblem_ = attempt.detail;
    path_ = elsewhere_;
    attempt = TakeAt(elsewhere_);
  }
  switch (attempt.outcome) {
    case Outcome::Held:
      fd_ = attempt.fd;
      return Hold::Held;
    case Outcome::Busy: return Hold::HeldByAnotherCopy;
    case Outcome::Problem:
      problem_ = attempt.problem;
      otherHost_ = attempt.detail;
      return Hold::NotTaken;
    case Outcome::NoFile: break;
  }
  return Hold::Unknown;
}

ProgramFolderLock::Attempt ProgramFolderLock::TakeAt(const std::string& path) {
  const auto fail = [](Problem problem, std::string detail = "") {
    return Attempt{Outcome::Problem, problem, std::move(detail), -1};
  };
  // Another try only when the holder removed the file between the open and
  // the lock.
  for (int tries = 0; tries < 20; ++tries) {
    bool writable = true;
    int fd = OpenLockFile(path, O_RDWR | O_CREAT);
    if (fd < 0) {
      const int error = errno;
      if (error == EISDIR) return fail(Problem::IsAFolder);
      struct stat status {};
      if (::lstat(path.c_str(), &status) != 0) {
        return {Outcome::NoFile, Problem::None,
                error == EACCES || error == EPERM || error == EROFS ? "no permission to write there"
                                                                    : "it could not be written"};
      }
      if (S_ISLNK(status.st_mode)) return fail(Problem::IsALink);
      // A file this user may not write can still be locked, read only.
      writable = false;
      fd = OpenLockFile(path, O_RDONLY);
      if (fd < 0) return fail(errno == EACCES || errno == EPERM ? Problem::NoPermission : Problem::NotAFile);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
      ::close(fd);
      return fail(Problem::NotAFile);
    }
    // A file of more than one name is a hard link, maybe to a file outside
    // the folder: the lock would cut and write it too.
    if (status.st_nlink > 1) {
      ::close(fd);
      return fail(Problem::IsALink);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return {Outcome::Busy, Problem::None, ""};
      return fail(Problem::CannotLock);
    }
    if (!NamesOpenFile(path, fd)) {
      ::close(fd);
      continue;
    }
    // A copy on another computer sharing the folder holds a lock that this
    // computer's system may not see.
    char text[512];
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    const std::string host = got > 0 ? HostNamed(std::string_view(text, static_cast<size_t>(got))) : "";
    const std::string thisHost = ThisHost();
    if (!host.empty() && !thisHost.empty() && host != thisHost) {
      ::close(fd);
      return fail(Problem::AnotherHost, host);
    }
    if (writable) {
      const std::string mine = std::to_string(::getpid()) + "\nskarvel\n" + thisHost + "\n";
      // What the file says only tells other computers; the lock is what
      // counts, so a write that fails changes nothing.
      [[maybe_unused]] const bool told =
          ::ftruncate(fd, 0) == 0 && ::pwrite(fd, mine.data(), mine.size(), 0) == static_cast<ssize_t>(mine.size());
    }
    return {Outcome::Held, Problem::None, "", fd};
  }
  return {Outcome::Busy, Problem::None, ""};
}

}  // namespace platform
