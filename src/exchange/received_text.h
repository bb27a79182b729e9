#pragma once
// The received text: the six text buffers the received-text window shows,
// each kept below the size limit from the front, and the day's log files
// they go to. The logs stay open; each entry is written at once, whole or
// not at all. They are closed when the day's names change, before logs are
// deleted and when an import starts or ends. While a log is imported its
// entries go to a "_c" twin, so the import never reads what it writes
// itself.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class ReceivedText {
 public:
  ReceivedText() = default;
  ~ReceivedText();
  ReceivedText(const ReceivedText&) = delete;
  ReceivedText& operator=(const ReceivedText&) = delete;

  // ---- The buffers, by ReceivedTextKind ----
  const std::string& Buffer(int kind) const;
  // Appends without trimming: a frame's analysis text grows line by line
  // and is trimmed with the frame's other texts.
  void Append(int kind, std::string_view text);
  void Clear(int kind);
  // Cuts the buffer from the front until it is below maxBytes, then tells
  // the viewer.
  void Trim(int kind, int maxBytes);
  // Tells the viewer that the buffer of this kind changed.
  void Touch(int kind) const;
  // The received-text window: refreshes when it shows this kind.
  std::function<void(int kind)> Changed;

  // ---- The day's log names ----
  // The eight names of the day (yyyymmdd) in the logs folder; open logs of
  // the old names are closed.
  void SetDailyLogs(const std::string& logsFolder, const std::string& date);
  const std::string& LogDate() const { return logDate_; }
  // The day's log of a text kind (kinds 0..5).
  const std::string& LogPath(int kind) const;
  const std::string& SearchLogPath() const { return searchLogPath_; }
  const std::string& ListLogPath() const { return listLogPath_; }

  // ---- Writing the logs ----
  // Appends to the day's log of the kind, or to its twin while imported.
  void WriteLog(int kind, std::string_view text);
  // Appends to any other log (the per-aircraft logs), with the same twin
  // rule.
  void WriteFile(const std::string& path, std::string_view text);
  // The file an entry for path goes to: its "_c" twin while path is being
  // imported.
  std::string WritePath(const std::string& path) const;
  // The log being imported (empty: none).
  void SetImportPath(const std::string& path);
  const std::string& ImportPath() const { return importPath_; }
  void CloseLogs();

 private:
  std::array<std::string, 6> buffers_;
  std::array<std::string, 6> logPaths_;
  std::string searchLogPath_, listLogPath_, logDate_;
  std::string importPath_;
  std::map<std::string, int> open_;  // path, file descriptor
};
