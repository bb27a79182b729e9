#include "exchange/received_text.h"

#include <unistd.h>

#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/write_failure.h"

namespace {

// The per-aircraft logs can be many; beyond this many open files the
// handles are all given back and reopened as entries come.
constexpr size_t kMaxOpenLogs = 16;

const char* const kKindSuffix[6] = {"_ACARS_RAW.log", "_ACARS_PRC.log", "_ACARS_MES.log",
                                    "_HFDL_DAT.log",  "_HFDL_ANA.log",  "_HFDL_FMT.log"};

bool ValidKind(int kind) { return kind >= 0 && kind < 6; }

}  // namespace

ReceivedText::~ReceivedText() { CloseLogs(); }

const std::string& ReceivedText::Buffer(int kind) const {
  static const std::string kNone;
  return ValidKind(kind) ? buffers_[static_cast<size_t>(kind)] : kNone;
}

void ReceivedText::Append(int kind, std::string_view text) {
  if (ValidKind(kind)) buffers_[static_cast<size_t>(kind)].append(text);
}

void ReceivedText::Clear(int kind) {
  if (ValidKind(kind)) buffers_[static_cast<size_t>(kind)].clear();
}

void ReceivedText::Trim(int kind, int maxBytes) {
  if (!ValidKind(kind)) return;
  std::string& buffer = buffers_[static_cast<size_t>(kind)];
  const size_t limit = maxBytes > 0 ? static_cast<size_t>(maxBytes) : 0;
  // One cut removes what deleting the first character while too long would.
  if (buffer.size() >= limit) buffer.erase(0, buffer.size() - limit + 1);
  Touch(kind);
}

void ReceivedText::Touch(int kind) const {
  if (Changed) Changed(kind);
}

void ReceivedText::SetDailyLogs(const std::string& logsFolder, const std::string& date) {
  CloseLogs();
  auto path = [&](const char* suffix) { return platform::JoinPath(logsFolder, date + suffix); };
  searchLogPath_ = path("_SEARCH.log");
  listLogPath_ = path("_LIST.csv");
  for (int k = 0; k < 6; ++k) logPaths_[static_cast<size_t>(k)] = path(kKindSuffix[k]);
  logDate_ = date;
}

const std::string& ReceivedText::LogPath(int kind) const {
  static const std::string kNone;
  return ValidKind(kind) ? logPaths_[static_cast<size_t>(kind)] : kNone;
}

void ReceivedText::WriteLog(int kind, std::string_view text) {
  if (ValidKind(kind)) WriteFile(logPaths_[static_cast<size_t>(kind)], text);
}

std::string ReceivedText::WritePath(const std::string& path) const {
  if (importPath_.empty() || path.size() < 4) return path;
  // The logs folder may be reached through a link: the file is compared.
  if (path != importPath_ && !platform::SameFile(path, importPath_)) return path;
  std::string twin = path;
  twin.insert(twin.size() - 4, "_c");
  return twin;
}

void ReceivedText::WriteFile(const std::string& path, std::string_view text) {
  if (path.empty()) return;
  const std::string target = WritePath(path);
  auto it = open_.find(target);
  // A log deleted, moved away or replaced while open would swallow every
  // later entry unseen: it is opened anew, or its failure reported.
  if (it != open_.end() && !platform::NamesOpenFile(target, it->second)) {
    ::close(it->second);
    open_.erase(it);
    it = open_.end();
  }
  if (it == open_.end()) {
    if (open_.size() >= kMaxOpenLogs) CloseLogs();
    const int fd = platform::OpenForAppend(target);
    if (fd < 0) {
      platform::ReportWriteFailure(target);
      return;
    }
    it = open_.emplace(target, fd).first;
  }
  // Written at once, unbuffered: the import and the user read the logs
  // while we run, and the next day's import must never meet half an entry.
  if (platform::AppendWhole(it->second, text)) {
    platform::NoteWriteSuccess(target);
    return;
  }
  ::close(it->second);
  open_.erase(it);
  platform::ReportWriteFailure(target);
}

void ReceivedText::SetImportPath(const std::string& path) {
  CloseLogs();
  importPath_ = path;
}

void ReceivedText::CloseLogs() {
  for (auto& [path, fd] : open_) ::close(fd);
  open_.clear();
}
