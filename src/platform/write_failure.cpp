#include "platform/write_failure.h"

#include <cstdio>
#include <set>

namespace platform {
namespace {

std::function<void(const std::string&)>& Handler() {
  static std::function<void(const std::string&)> h;
  return h;
}

// The paths whose last write failed and was told.
std::set<std::string>& Failing() {
  static std::set<std::string> s;
  return s;
}

std::function<void(const std::string&)>& ReadHandler() {
  static std::function<void(const std::string&)> h;
  return h;
}

bool& AnyFailed() {
  static bool failed = false;
  return failed;
}

}  // namespace

void ReportWriteFailure(const std::string& path) {
  AnyFailed() = true;
  if (!Failing().insert(path).second) return;
  std::fprintf(stderr, "Can not write %s\n", path.c_str());
  if (Handler()) Handler()(path);
}

void NoteWriteSuccess(const std::string& path) {
  if (!Failing().empty()) Failing().erase(path);
}

bool ReportWriteOutcome(const std::string& path, bool written) {
  if (written) {
    NoteWriteSuccess(path);
  } else {
    ReportWriteFailure(path);
  }
  return written;
}

bool AnyWriteFailed() { return AnyFailed(); }

void SetWriteFailureHandler(std::function<void(const std::string&)> handler) { Handler() = std::move(handler); }

void ResetWriteFailureReports() {
  Failing().clear();
  AnyFailed() = false;
}

void ReportReadFailure(const std::string& path) {
  std::fprintf(stderr, "Can not read %s\n", path.c_str());
  if (ReadHandler()) ReadHandler()(path);
}

void SetReadFailureHandler(std::function<void(const std::string&)> handler) { ReadHandler() = std::move(handler); }

}  // namespace platform
