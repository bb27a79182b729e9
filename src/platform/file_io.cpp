#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>

#include "platform/write_failure.h"

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  if (!FileExists(path)) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool ReplaceFileAtomically(const std::string& linkOrPath, std::string_view bytes) {
  // Through a link the file it names is replaced and the link stays: the
  // user keeps the file elsewhere on purpose.
  std::string path = linkOrPath;
  if (char* real = ::realpath(linkOrPath.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  std::string tmp = path + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  // mkstemp makes the file private; give it what the old one had, or what
  // a new file gets.
  struct stat old;
  mode_t mode;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok;
}

bool SaveWholeFile(const std::string& path, std::string_view bytes) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) EnsureFolder(path.substr(0, slash));
  return ReportWriteOutcome(path, ReplaceFileAtomically(path, bytes));
}

bool FileIsReadOnly(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
}

int OpenForAppend(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) EnsureFolder(path.substr(0, slash));
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool AppendWhole(int fd, std::string_view bytes) {
  off_t start = -1;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    // Appending leaves the offset at the end of what was written.
    if (start < 0) start = ::lseek(fd, 0, SEEK_CUR) - n;
    done += static_cast<size_t>(n);
  }
  if (done == bytes.size()) return true;
  // Cut back only while the torn bytes are the file's end: another copy's
  // record appended after them is not ours to take.
  struct stat st;
  if (start >= 0 && ::fstat(fd, &st) == 0 && st.st_size == ::lseek(fd, 0, SEEK_CUR)) {
    while (::ftruncate(fd, start) != 0 && errno == EINTR) {
    }
  }
  return false;
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  const int fd = OpenForAppend(path);
  bool ok = fd >= 0 && AppendWhole(fd, bytes);
  if (fd >= 0) ok = (::close(fd) == 0) && ok;
  return ReportWriteOutcome(path, ok);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool NamesOpenFile(const std::string& path, int fd) {
  struct stat byName, open;
  return ::stat(path.c_str(), &byName) == 0 && ::fstat(fd, &open) == 0 && byName.st_dev == open.st_dev &&
         byName.st_ino == open.st_ino;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool NothingAt(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EnsureFolder(const std::string& path) {
  if (path.empty() || FolderExists(path)) return !path.empty();
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) EnsureFolder(path.substr(0, slash));
  return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST ? FolderExists(path) : false;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (!WildcardMatch(pattern, name)) continue;
    if (!FileExists(folder + "/" + name)) continue;
    names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform
