#pragma once
// The watch list: registrations and flight numbers to watch ('*' stands
// for any one character), each with a remark, kept in search.csv. When a
// watched aircraft appears on a new flight, or a watched flight with a new
// aircraft, the window pops up, a sound plays, the hit panels and the hit
// memo show it, the memo goes to the day's SEARCH log and a mail goes out.
// Texts are bytes in code page 932.
#include <functional>
#include <string>
#include <vector>

#include "aircraft/hit_mail.h"
#include "app/settings_sections.h"

struct AircraftFiles;

struct SearchListRow {
  std::string Search;                 // the pattern
  std::string Hit = "------";         // the partner of the last hit
  std::string LastTime = "--:--:--";  // of the last hit or repeat
  std::string Remarks;
};

struct WatchList {
  std::vector<SearchListRow> Rows;
  // The hit panels: registration, flight and remark of the last hit.
  std::string Panel1, Panel2, Panel3;
  // One line per hit, and the SEARCH log they were loaded from.
  std::vector<std::string> Memo;
  std::string MemoLogPath;
  bool MemoLoaded = false;
  // The mail buttons can be used only with every mail setting filled; the
  // mail button's down state is whether hits are mailed.
  flag MailButtonsEnabled = 0;
  flag MailButtonDown = 0;
  HitMailQueue Mail;
  // The window follows every change.
  std::function<void()> Changed;
};

// What a hit does outside the list.
class WatchListLink {
 public:
  virtual ~WatchListLink() = default;
  virtual bool WatchListShowing() const = 0;
  virtual void ShowWatchList() = 0;
  // Plays the file without waiting; nothing when it cannot be played.
  virtual void PlayWave(const std::string& path) = 0;
  virtual void SendHitMail(const HitMailArgs& args) = 0;
};

// The files the watch list reads and writes.
struct WatchListFiles {
  const std::string& SearchCsvPath;
  const std::string& WaveFilePath;
  const std::string& SearchLogPath;  // the day's
  const AircraftFiles& Reference;    // flight.csv and airport.csv
};

// The window's construction: search.csv, the day's SEARCH log in the memo
// and the mail buttons.
void OpenWatchList(WatchList& watch, const MailSettings& mail, const WatchListFiles& files);
bool MailSettingsComplete(const MailSettings& mail);

// search.csv: one row per line, the pattern up to the first comma and the
// remark after it, commas and all; blank lines are skipped. A missing file
// is an empty list.
void LoadSearchList(WatchList& watch, const std::string& path);
// Rewrites search.csv from the rows, "pattern,remark" CR LF each.
void SaveSearchList(const WatchList& watch, const std::string& path);
void AddSearchRow(WatchList& watch, const std::string& pattern, const std::string& remark);

// The 1-based index of the first row whose pattern matches the identifier
// over seven places, 0 for none.
int FindSearchMatch(const WatchList& watch, const std::string& identifier);

// A downlink with this registration and flight was heard: 1 for a new hit,
// 0 otherwise (no match, or the same pair again).
int CheckSearchHit(WatchList& watch, const SpecSettings& onHit, const WatchListFiles& files, WatchListLink& link,
                   const std::string& registration, const std::string& flight);

// A new day's SEARCH log starts the memo afresh, from that day's file.
void FollowSearchLogDay(WatchList& watch, const std::string& searchLogPath);
// Rewrites the day's SEARCH log from the memo, CR LF after every line.
void SaveSearchLog(WatchList& watch, const std::string& searchLogPath);
