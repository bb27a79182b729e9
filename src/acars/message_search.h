#pragma once
// The message-text search: words kept in data/MesgSearchList.txt, looked
// for in every whole message that reaches the MES text (and every whole
// uplink). Each hit is saved as a file of its own in logs/SrchMesgLogs,
// listed and shown, and can pop the window up and play a sound.
#include <functional>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "platform/date_time.h"

// One change the user made to the list: a text added at its end, or a
// text deleted, the rank-th of its equal texts (0 the first).
struct SearchStringChange {
  bool added = true;
  std::string text;
  long rank = 0;
};

struct MessageSearch {
  // The search strings (code page 932), in list order.
  std::vector<std::string> SearchStrings;
  // The changes not in the file yet, in the order made: its save failed,
  // or the file could not be read to make them in.
  std::vector<SearchStringChange> Owed;
  std::string ListPath;   // data/MesgSearchList.txt
  std::string HitFolder;  // logs/SrchMesgLogs
  std::string WavePath;   // mesgsearch.wav
  // The hit files' names without ".log", as the file system spells them
  // (UTF-8).
  std::vector<std::string> HitNames;
  // The message of the selected or latest hit: its file's bytes.
  std::string Memo;
  // The window follows every change.
  std::function<void()> Changed;
};

// What a hit does outside the search.
class MessageSearchLink {
 public:
  virtual ~MessageSearchLink() = default;
  virtual void ShowMessageSearch() = 0;
  // Plays the file without waiting; nothing when it cannot be played.
  virtual void PlayWave(const std::string& path) = 0;
};

// The window's construction: the strings (none when the file is missing or
// cannot be read), the hit folder and the list of hits.
void OpenMessageSearch(MessageSearch& search, const std::string& listPath, const std::string& hitFolder,
                       const std::string& wavePath);
// Each change, with every change still owed, is made to the list as the
// file holds it at that moment, which another copy of the program or the
// user may have changed, and saved whole, one string per line; the list
// shown becomes the file's. A file that is there but cannot be read is
// never written over: the change stays owed.
void AddSearchString(MessageSearch& search, const std::string& text);
// index: the row of the list shown.
void DeleteSearchString(MessageSearch& search, size_t index);
// The changes still owed, into the file as it is now (at close). False
// when some could not be saved: they are lost.
bool SaveOwedSearchStrings(MessageSearch& search);

// flightOrStation: the flight id of a downlink, the station name of an
// uplink. Nothing unless Run is on.
void SearchAcarsMessage(MessageSearch& search, const MsgSrchSettings& settings, MessageSearchLink& link,
                        const std::string& flightOrStation, const std::string& address, const std::string& text);

// "yyyyMMdd_HHmmss_<flight>_<address>_<string>.log", every part made safe
// for a file name; the string's part is cut to 100 bytes.
std::string SearchHitLogName(TDateTime now, const std::string& flightOrStation, const std::string& address,
                             const std::string& matched);
// The text's lines (split at CR LF, CR or LF), each ended by CR LF.
std::string SearchHitLogContent(const std::string& text);

// The hit list from the folder's *.log files, sorted by name.
void LoadHitLogList(MessageSearch& search);
// The memo shows the hit's file; a hit whose file is gone only rebuilds
// the list.
void ShowHitLog(MessageSearch& search, const std::string& name);
void DeleteHitLog(MessageSearch& search, const std::string& name);
void DeleteAllHitLogs(MessageSearch& search);
