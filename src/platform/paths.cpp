#include "platform/paths.h"

#include <unistd.h>

#include <climits>

namespace platform {
namespace {

std::string& FolderOverride() {
  static std::string folder;
  return folder;
}

std::string SelfExecutable() {
  char buf[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return "./skarvel";
  return std::string(buf, static_cast<size_t>(n));
}

}  // namespace

std::string ProgramFolder() {
  if (!FolderOverride().empty()) return FolderOverride();
  std::string exe = SelfExecutable();
  size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return exe.substr(0, slash);
}

std::string ExecutableName() {
  if (!FolderOverride().empty()) return "skarvel";
  std::string exe = SelfExecutable();
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

void SetProgramFolderForTests(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  FolderOverride() = f;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  out += name;
  return out;
}

namespace {

// A file beside the executable, named after it with another extension.
std::string ExecutableSibling(const std::string& extension) {
  std::string name = ExecutableName();
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return JoinPath(ProgramFolder(), name + extension);
}

}  // namespace

std::string SettingsFilePath() { return ExecutableSibling(".ini"); }
std::string LockFilePath() { return ExecutableSibling(".lock"); }

}  // namespace platform
