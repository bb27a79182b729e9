#include "exchange/daily_log_set.h"

#include <QDate>
#include <cstdio>

#include "app/form1_state.h"
#include "platform/date_time.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace {

constexpr int kDefaultDeleteDay = 30;

std::string LogsFolder(const Form1State& form) { return platform::JoinPath(form.app.AppDir, "logs"); }
std::string EachLogsFolder(const Form1State& form) { return platform::JoinPath(form.app.AppDir, "logs/EachLogs"); }

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

bool Confirm(const Form1State& form, const char* english, const char* japanese) {
  return platform::ShowMessageBox(platform::BoxKind::Confirmation, platform::BoxButtons::YesNo,
                                  form.app.UseEnglish ? english : japanese) != platform::BoxAnswer::No;
}

}  // namespace

void UpdateDailyLogNames(Form1State& form, bool force) {
  if (!form.Etc.ChangeLogFileName && !force) return;
  const std::string today = platform::FormatDateCompact(platform::Now());
  if (today == form.text.LogDate) return;
  if (form.Etc.DeleteLogFile) DeleteOldLogs(form);
  const std::string logs = LogsFolder(form);
  auto path = [&](const char* suffix) { return platform::JoinPath(logs, today + suffix); };
  form.text.SearchLogPath = path("_SEARCH.log");
  form.text.ListLogPath = path("_LIST.csv");
  form.text.AcarsRawLogPath = path("_ACARS_RAW.log");
  form.text.AcarsPrcLogPath = path("_ACARS_PRC.log");
  form.text.AcarsMesLogPath = path("_ACARS_MES.log");
  form.text.HfdlDatLogPath = path("_HFDL_DAT.log");
  form.text.HfdlAnaLogPath = path("_HFDL_ANA.log");
  form.text.HfdlFmtLogPath = path("_HFDL_FMT.log");
  form.text.LogDate = today;
}

void DeleteOldLogs(Form1State& form) {
  const std::string folder = LogsFolder(form);
  if (!platform::FolderExists(folder)) return;
  const int days = form.Etc.DeleteDay >= 1 ? form.Etc.DeleteDay : kDefaultDeleteDay;
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

void DeleteAllDailyLogs(Form1State& form) { DeleteLogFiles(LogsFolder(form), {"*.log", "*.csv", "*.txt"}); }

void DeleteAllEachLogs(Form1State& form) { DeleteLogFiles(EachLogsFolder(form), {"*.log"}); }

void N20Click(Form1State& form) {
  if (Confirm(form, "Delete logs in Logs folder,OK?", "Logs内のログを消去します。\nよろしいですか？")) {
    DeleteAllDailyLogs(form);
  }
}

void EachLogs1Click(Form1State& form) {
  if (Confirm(form, "Delete logs in EachLogs folder,OK?", "EachLogs内のログを消去します。\nよろしいですか？")) {
    DeleteAllEachLogs(form);
  }
}
