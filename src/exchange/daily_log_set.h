#pragma once
// The day's log files in logs/: their eight names, rebuilt when the date
// changes, the age clean-up, and emptying logs/ and logs/EachLogs.
#include <initializer_list>
#include <string>

#include "app/settings_sections.h"

class ReceivedText;

// The logs folder and the per-aircraft logs folder of a program folder.
std::string LogsFolder(const std::string& appDir);
std::string EachLogsFolder(const std::string& appDir);

// Rebuilds the day's log names from the clock when the date changed (only
// with ChangeLogFileName on, unless forced), after the age clean-up when
// DeleteLogFile is on.
void UpdateDailyLogNames(ReceivedText& text, const EtcSettings& etc, const std::string& appDir, bool force);
// Deletes the top-level *.log, *.csv and *.txt files of the logs folder
// whose names begin with a date more than deleteDay days before today.
// Names that do not begin with a valid "yyyymmdd" are left alone.
void DeleteOldLogs(const std::string& logsFolder, int deleteDay);
// Deletes the regular files of folder (not its subfolders) matching the
// patterns; the number deleted.
int DeleteLogFiles(const std::string& folder, std::initializer_list<const char*> patterns);
// What the two clean-up commands delete once confirmed; open logs are
// closed first.
void DeleteAllDailyLogs(ReceivedText& text, const std::string& appDir);
void DeleteAllEachLogs(ReceivedText& text, const std::string& appDir);
