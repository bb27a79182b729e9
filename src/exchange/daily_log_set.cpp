#include "exchange/daily_log_set.h"

#include <QDate>
#include <cstdio>

#include "exchange/received_text.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace {

constexpr int kDefaultDeleteDay = 30;

// The date at the start of a log name, or an invalid date.
QDate NameDate(const std::string& name) {
  if (name.size() < 8) return QDate();
  int v[3] = {0, 0, 0};
  const int from[3] = {0, 4, 6};
  const int len[3] = {4, 2, 2};
  for (int k = 0; k < 3; ++k) {
    for (int i = from[k]; i < from[k] + len[k]; ++i) {
      if (name[i] < '0' || name[i] > '9') return QDate();
      v[k] = v[k] * 10 + (name[i] - '0');
    }
  }
  return QDate(v[0], v[1], v[2]);  // invalid for month 13, 30 February ...
}

QDate Today() {
  int y, mo, d, h, mi, s;
  platform::DecodeDateTime(platform::Now(), y, mo, d, h, mi, s);
  return QDate(y, mo, d);
}

}  // namespace

std::string LogsFolder(const std::string& appDir) { return platform::JoinPath(appDir, "logs"); }
std::string EachLogsFolder(const std::string& appDir) { return platform::JoinPath(appDir, "logs/EachLogs"); }

void UpdateDailyLogNames(ReceivedText& text, const EtcSettings& etc, const std::string& appDir, bool force) {
  if (!etc.ChangeLogFileName && !force) return;
  const std::string today = platform::FormatDateCompact(platform::Now());
  if (today == text.LogDate()) return;
  text.CloseLogs();
  if (etc.DeleteLogFile) DeleteOldLogs(LogsFolder(appDir), etc.DeleteDay);
  text.SetDailyLogs(LogsFolder(appDir), today);
}

void DeleteOldLogs(const std::string& folder, int deleteDay) {
  if (!platform::FolderExists(folder)) return;
  const int days = deleteDay >= 1 ? deleteDay : kDefaultDeleteDay;
  const QDate cutoff = Today().addDays(-days);
  for (const char* pattern : {"*.log", "*.csv", "*.txt"}) {
    for (const std::string& name : platform::ListFiles(folder, pattern)) {
      const QDate date = NameDate(name);
      if (date.isValid() && date < cutoff) std::remove(platform::JoinPath(folder, name).c_str());
    }
  }
}

int DeleteLogFiles(const std::string& folder, std::initializer_list<const char*> patterns) {
  int deleted = 0;
  for (const char* pattern : patterns) {
    for (const std::string& name : platform::ListFiles(folder, pattern)) {
      if (std::remove(platform::JoinPath(folder, name).c_str()) == 0) ++deleted;
    }
  }
  return deleted;
}

void DeleteAllDailyLogs(ReceivedText& text, const std::string& appDir) {
  text.CloseLogs();
  DeleteLogFiles(LogsFolder(appDir), {"*.log", "*.csv", "*.txt"});
}

void DeleteAllEachLogs(ReceivedText& text, const std::string& appDir) {
  text.CloseLogs();
  DeleteLogFiles(EachLogsFolder(appDir), {"*.log"});
}
