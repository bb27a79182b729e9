#include "acars/message_search.h"

#include <algorithm>
#include <cstdio>

#include "platform/csv_reader.h"
#include "platform/file_io.h"
#include "platform/log_name_part.h"
#include "platform/paths.h"
#include "platform/write_failure.h"

namespace {

// The matched string's part of a hit's name, in bytes: every name stays
// far below the 255 bytes a file name may have.
constexpr size_t kMatchedPartBytes = 100;
const char kLog[] = ".log";

void Notify(const MessageSearch& search) {
  if (search.Changed) search.Changed();
}

// The start of UTF-8 text that fits the bytes without splitting a
// character.
std::string CutUtf8(std::string text, size_t bytes) {
  if (text.size() <= bytes) return text;
  size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::string HitPath(const MessageSearch& search, const std::string& name) {
  return platform::JoinPath(search.HitFolder, name + kLog);
}

// A second hit of the same second, flight, address and string must not
// overwrite the first: "_2", "_3" and so on go before ".log".
std::string UnusedName(const MessageSearch& search, const std::string& name) {
  std::string candidate = name;
  for (int n = 2; platform::FileExists(HitPath(search, candidate)); ++n) candidate = name + "_" + std::to_string(n);
  return candidate;
}

// Another copy of the program in the folder, or the user, may change the
// file at any time: the list it holds now. False when it is there but
// cannot be read (said at once): it holds what it holds, and no list made
// here may go over it.
bool ReadTheFilesList(const MessageSearch& search, std::vector<std::string>& strings) {
  strings.clear();
  std::string bytes;
  if (!platform::ReadWholeFile(search.ListPath, bytes)) {
    if (platform::NothingAt(search.ListPath)) return true;
    platform::ReportReadFailure(search.ListPath);
    return false;
  }
  // One string a line; a final line end adds no empty one.
  platform::CsvReader reader(bytes, {});
  while (reader.Next()) strings.emplace_back(reader.Line());
  return true;
}

void Apply(std::vector<std::string>& strings, const SearchStringChange& change) {
  if (change.added) return strings.push_back(change.text);
  // The rank-th of the text, or the last where there are fewer now; none
  // where it was deleted elsewhere.
  auto found = strings.end();
  long same = change.rank;
  for (auto it = strings.begin(); it != strings.end(); ++it) {
    if (*it != change.text) continue;
    found = it;
    if (same-- == 0) break;
  }
  if (found != strings.end()) strings.erase(found);
}

// Every owed change into the file's list, which is saved whole unless
// they change nothing, and shown. False: they are still owed.
bool SaveOwedInto(MessageSearch& search, std::vector<std::string> strings) {
  const std::vector<std::string> before = strings;
  for (const SearchStringChange& change : search.Owed) Apply(strings, change);
  search.SearchStrings = strings;
  if (strings != before) {
    std::string bytes;
    for (const std::string& s : strings) bytes += s + "\r\n";
    if (!platform::SaveWholeFile(search.ListPath, bytes)) return false;
  }
  search.Owed.clear();
  return true;
}

void Change(MessageSearch& search, const SearchStringChange& change) {
  search.Owed.push_back(change);
  std::vector<std::string> strings;
  if (ReadTheFilesList(search, strings)) {
    SaveOwedInto(search, std::move(strings));
  } else {
    // The file's list is unknown: the change shows in the one shown.
    Apply(search.SearchStrings, change);
  }
  Notify(search);
}

}  // namespace

void OpenMessageSearch(MessageSearch& search, const std::string& listPath, const std::string& hitFolder,
                       const std::string& wavePath) {
  search.ListPath = listPath;
  search.HitFolder = hitFolder;
  search.WavePath = wavePath;
  search.Owed.clear();
  ReadTheFilesList(search, search.SearchStrings);
  LoadHitLogList(search);
}

void AddSearchString(MessageSearch& search, const std::string& text) { Change(search, {true, text, 0}); }

void DeleteSearchString(MessageSearch& search, size_t index) {
  if (index >= search.SearchStrings.size()) return;
  // The row stands for its text: the same text, as often before it, in the
  // file's list, which may have moved.
  const auto row = search.SearchStrings.begin() + static_cast<long>(index);
  Change(search, {false, *row, std::count(search.SearchStrings.begin(), row, *row)});
}

bool SaveOwedSearchStrings(MessageSearch& search) {
  if (search.Owed.empty()) return true;
  std::vector<std::string> strings;
  return ReadTheFilesList(search, strings) && SaveOwedInto(search, std::move(strings));
}

void SearchAcarsMessage(MessageSearch& search, const MsgSrchSettings& settings, MessageSearchLink& link,
                        const std::string& flightOrStation, const std::string& address, const std::string& text) {
  if (!settings.MsgSrchRun) return;
  // The text ends at a NUL from the air.
  const std::string visible(text.c_str());
  // Every string is tried: the last one found names the hit.
  const std::string* matched = nullptr;
  for (const std::string& s : search.SearchStrings) {
    if (s.size() <= visible.size() && visible.find(s) != std::string::npos) matched = &s;
  }
  if (!matched) return;
  std::string name = SearchHitLogName(platform::Now(), flightOrStation, address, *matched);
  name = UnusedName(search, name.substr(0, name.size() - (sizeof kLog - 1)));
  search.Memo = SearchHitLogContent(visible);
  platform::SaveWholeFile(HitPath(search, name), search.Memo);
  search.HitNames.push_back(name);
  if (settings.MsgSrchPopup) link.ShowMessageSearch();
  if (settings.MsgSrchSound && platform::FileExists(search.WavePath)) link.PlayWave(search.WavePath);
  Notify(search);
}

std::string SearchHitLogName(TDateTime now, const std::string& flightOrStation, const std::string& address,
                             const std::string& matched) {
  int y, mo, d, h, mi, s;
  platform::DecodeDateTime(now, y, mo, d, h, mi, s);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", y, mo, d, h, mi, s);
  return std::string(stamp) + "_" + LogNamePart(flightOrStation) + "_" + LogNamePart(address) + "_" +
         CutUtf8(LogNamePart(matched), kMatchedPartBytes) + kLog;
}

std::string SearchHitLogContent(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      out += text.substr(start) + "\r\n";
      break;
    }
    out += text.substr(start, end - start) + "\r\n";
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return out;
}

void LoadHitLogList(MessageSearch& search) {
  search.HitNames.clear();
  for (const std::string& file : platform::ListFiles(search.HitFolder, "*.log")) {
    search.HitNames.push_back(file.substr(0, file.size() - (sizeof kLog - 1)));
  }
  Notify(search);
}

void ShowHitLog(MessageSearch& search, const std::string& name) {
  std::string bytes;
  if (!platform::ReadWholeFile(HitPath(search, name), bytes)) return LoadHitLogList(search);
  search.Memo = bytes;
  Notify(search);
}

void DeleteHitLog(MessageSearch& search, const std::string& name) {
  std::remove(HitPath(search, name).c_str());
  search.Memo.clear();
  LoadHitLogList(search);
}

void DeleteAllHitLogs(MessageSearch& search) {
  for (const std::string& file : platform::ListFiles(search.HitFolder, "*.log")) {
    std::remove(platform::JoinPath(search.HitFolder, file).c_str());
  }
  search.Memo.clear();
  LoadHitLogList(search);
}
