#include "platform/write_failure.h"

#include <cstdio>
#include <set>

namespace platform {
namespace {

std::function<void(const std::string&)>& Handler() {
  static std::function<void(const std::string&)> h;
  return h;
}

std::set<std::string>& Reported() {
  static std::set<std::string> s;
  return s;
}

}  // namespace

void ReportWriteFailure(const std::string& path) {
  if (!Reported().insert(path).second) return;
  std::fprintf(stderr, "Can not write %s\n", path.c_str());
  if (Handler()) Handler()(path);
}

void SetWriteFailureHandler(std::function<void(const std::string&)> handler) { Handler() = std::move(handler); }

void ResetWriteFailureReports() { Reported().clear(); }

}  // namespace platform
