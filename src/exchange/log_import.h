#pragma once
// Replaying an earlier ACARS RAW or HFDL DAT log as if its content arrived
// again: the file is cut into records ending "<ETX>" or "<ETB>", each
// record is turned back into wire text and read by the link, tagged RAW.
// The import runs as a job in the event loop: each turn reads for a slice
// of time, then the next turn is queued, so the progress window blinks and
// its Cancel is seen without a nested loop.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/exchange_state.h"
#include "exchange/peer_transport.h"

enum class LogKind { Raw, Dat };

// The longest record taken; a longer one is dropped up to its end.
constexpr size_t kMaxImportRecord = 64 * 1024;

// A RAW record as wire text: control-character names back to bytes (five-
// character names first), every byte mapped.
std::string RawLogRecordToWire(std::string_view record);
// A DAT record as wire text: "<SOH>" and "<ETX>" back to bytes, the rest as
// it is (HFDL frames travel unmapped).
std::string DatLogRecordToWire(std::string_view record);

class LogRecordSplitter {
 public:
  using Take = std::function<void(const std::string& record)>;
  // Each record completed by these bytes goes to take.
  void Feed(std::string_view bytes, const Take& take);
  // The end of the file: what was read since the last record is one more.
  void Finish(const Take& take);
  // Forgets the record in progress.
  void Reset();

 private:
  std::string record_;
  bool dropping_ = false;  // past the cap: skipping to the record's end
  std::string tail_;       // the last bytes of a dropped record
};

// What an import asks of the program around it.
class LogImportLink {
 public:
  virtual ~LogImportLink() = default;
  // The open dialog; empty when cancelled.
  virtual std::string AskImportPath(LogKind kind) = 0;
  // The progress window, the two import commands and the map's pictures.
  virtual void ImportRunning(bool running, LogKind kind) = 0;
  // The file being imported, for the log writers (empty: none).
  virtual void SetImportPath(const std::string& path) = 0;
  // One record's wire text, to be read tagged "RAW".
  virtual void ImportRecord(const std::string& wire) = 0;
};

class LogImport {
 public:
  LogImport(ExchangeState& state, LogImportLink& link, LinkTimers& timers);
  ~LogImport();
  LogImport(const LogImport&) = delete;
  LogImport& operator=(const LogImport&) = delete;

  void ImportRawLog() { Start(LogKind::Raw); }
  void ImportDatLog() { Start(LogKind::Dat); }
  bool Running() const { return file_ != nullptr; }
  LogKind Kind() const { return kind_; }
  // The progress window's Cancel: the import stops before its next read.
  void Cancel() { state_.ImportAbort = 1; }
  // Ends the import at once (closing the program).
  void End();

 private:
  void Start(LogKind kind);
  void Turn();

  ExchangeState& state_;
  LogImportLink& link_;
  LinkTimers& timers_;
  LogKind kind_ = LogKind::Raw;
  std::FILE* file_ = nullptr;
  LogRecordSplitter splitter_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
