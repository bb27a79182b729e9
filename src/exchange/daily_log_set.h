#pragma once
// The day's log files in logs/: their eight names, rebuilt when the date
// changes, the age clean-up, and emptying logs/ and logs/EachLogs.
#include <initializer_list>
#include <string>

struct Form1State;

// Rebuilds SearchLogPath .. HfdlFmtLogPath and LogDate from the clock when
// the date changed (only with ChangeLogFileName on, unless forced), after
// the age clean-up when DeleteLogFile is on.
void UpdateDailyLogNames(Form1State& form, bool force);
// Deletes the top-level *.log, *.csv and *.txt files of logs/ whose names
// begin with a date more than DeleteDay days before today. Names that do
// not begin with a valid "yyyymmdd" are left alone.
void DeleteOldLogs(Form1State& form);
// Deletes the regular files of folder (not its subfolders) matching the
// patterns; the number deleted.
int DeleteLogFiles(const std::string& folder, std::initializer_list<const char*> patterns);

// The two menu commands: a Yes/No box, then, unless No, the deleting.
void N20Click(Form1State& form);
void EachLogs1Click(Form1State& form);
// What the commands delete once confirmed.
void DeleteAllDailyLogs(Form1State& form);
void DeleteAllEachLogs(Form1State& form);
