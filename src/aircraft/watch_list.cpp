#include "aircraft/watch_list.h"

#include "aircraft/reference_data.h"
#include "platform/csv_reader.h"
#include "platform/date_time.h"
#include "platform/file_io.h"

namespace {

// Pattern and remark, in bytes, as search.csv is read.
constexpr size_t kPatternBytes = 8;
constexpr size_t kRemarkBytes = 31;
// The places of an identifier that a pattern compares.
constexpr size_t kMatchPlaces = 7;
// "→" in code page 932.
const char kArrow[] = "\x81\xA8";

void Notify(const WatchList& watch) {
  if (watch.Changed) watch.Changed();
}

// The text up to a NUL from the air, as a NUL-terminated text reads.
std::string_view Visible(const std::string& text) { return std::string_view(text.c_str()); }

bool PatternMatches(std::string_view pattern, std::string_view identifier) {
  // Past the end of a text its places hold the end mark, which only '*'
  // and another end match.
  constexpr int kEnd = -1;
  for (size_t i = 0; i < kMatchPlaces; ++i) {
    const int p = i < pattern.size() ? static_cast<unsigned char>(pattern[i]) : kEnd;
    const int c = i < identifier.size() ? static_cast<unsigned char>(identifier[i]) : kEnd;
    if (p != '*' && p != c) return false;
  }
  return true;
}

// The lines of a file, without their line ends; none when it is missing.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return lines;
  platform::CsvReader reader(bytes, {});
  while (reader.Next()) lines.emplace_back(reader.Line());
  return lines;
}

}  // namespace

bool MailSettingsComplete(const MailSettings& mail) {
  return !mail.MailHost.empty() && !mail.MailFrom.empty() && !mail.MailTo.empty();
}

void OpenWatchList(WatchList& watch, const MailSettings& mail, const WatchListFiles& files) {
  LoadSearchList(watch, files.SearchCsvPath);
  // The memo goes on with the day's hits of an earlier run.
  watch.MemoLoaded = false;
  FollowSearchLogDay(watch, files.SearchLogPath);
  watch.MailButtonsEnabled = MailSettingsComplete(mail) ? 1 : 0;
  watch.MailButtonDown = watch.MailButtonsEnabled && mail.MailSend ? 1 : 0;
  Notify(watch);
}

void LoadSearchList(WatchList& watch, const std::string& path) {
  watch.Rows.clear();
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return;
  platform::CsvReader reader(bytes, {});
  while (reader.Next()) {
    const std::string_view line = reader.Line();
    if (line.empty()) continue;
    // The remark is the rest of the line: it may hold commas.
    const size_t comma = line.find(',');
    const std::string_view remark = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
    AddSearchRow(watch, std::string(platform::CutWholeCharacters(line.substr(0, comma), kPatternBytes)),
                 std::string(platform::CutWholeCharacters(remark, kRemarkBytes)));
  }
}

void SaveSearchList(const WatchList& watch, const std::string& path) {
  std::string bytes;
  for (const SearchListRow& row : watch.Rows) bytes += row.Search + "," + row.Remarks + "\r\n";
  platform::SaveWholeFile(path, bytes);
}

void AddSearchRow(WatchList& watch, const std::string& pattern, const std::string& remark) {
  SearchListRow row;
  row.Search = pattern;
  row.Remarks = remark;
  watch.Rows.push_back(std::move(row));
  Notify(watch);
}

int FindSearchMatch(const WatchList& watch, const std::string& identifier) {
  for (size_t i = 0; i < watch.Rows.size(); ++i) {
    if (PatternMatches(Visible(watch.Rows[i].Search), Visible(identifier))) return static_cast<int>(i) + 1;
  }
  return 0;
}

int CheckSearchHit(WatchList& watch, const SpecSettings& onHit, const WatchListFiles& files, WatchListLink& link,
                   const std::string& registration, const std::string& flight) {
  bool byRegistration = true;
  int index = FindSearchMatch(watch, registration);
  if (index == 0) {
    byRegistration = false;
    index = FindSearchMatch(watch, flight);
  }
  if (index == 0) return 0;
  const std::string partner = byRegistration ? flight : registration;
  const std::string now = platform::FormatTime(platform::Now());
  SearchListRow& row = watch.Rows[static_cast<size_t>(index - 1)];
  if (row.Hit == partner) {
    // The same aircraft on the same flight again.
    row.LastTime = now;
    Notify(watch);
    return 0;
  }
  const std::string remark = row.Remarks;
  row.Hit = partner;
  row.LastTime = now;

  if (onHit.SpecPopUp && !link.WatchListShowing()) link.ShowWatchList();
  if (onHit.SpecSound && platform::FileExists(files.WaveFilePath)) link.PlayWave(files.WaveFilePath);
  watch.Panel1 = registration;
  watch.Panel2 = flight;
  watch.Panel3 = remark;

  std::string dept = "----", dest = "----", deptName = "----", destName = "----";
  if (const std::optional<FlightRoute> route = LookupFlightRoute(files.Reference, flight)) {
    dept = RouteDeparture(route->Route);
    dest = RouteDestination(route->Route);
    deptName = LookupAirportName(files.Reference, dept);
    destName = LookupAirportName(files.Reference, dest);
  }
  FollowSearchLogDay(watch, files.SearchLogPath);
  watch.Memo.push_back(registration + " " + flight + " " + dept + "->" + dest + " " + now + " (" + deptName + kArrow +
                       destName + ") " + remark);
  if (onHit.SpecLog) SaveSearchLog(watch, files.SearchLogPath);
  if (watch.MailButtonDown) link.SendHitMail({registration, flight, byRegistration, remark, destName, deptName});
  Notify(watch);
  return 1;
}

void FollowSearchLogDay(WatchList& watch, const std::string& searchLogPath) {
  if (watch.MemoLoaded && watch.MemoLogPath == searchLogPath) return;
  watch.Memo = ReadLines(searchLogPath);
  watch.MemoLogPath = searchLogPath;
  watch.MemoLoaded = true;
}

void SaveSearchLog(WatchList& watch, const std::string& searchLogPath) {
  FollowSearchLogDay(watch, searchLogPath);
  std::string bytes;
  for (const std::string& line : watch.Memo) bytes += line + "\r\n";
  platform::SaveWholeFile(searchLogPath, bytes);
}
