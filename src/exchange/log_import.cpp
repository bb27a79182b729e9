#include "exchange/log_import.h"

#include "exchange/peer_link_byte_mapping.h"
#include "platform/control_char_name.h"

namespace {

constexpr int64_t kTurnSliceMs = 20;
constexpr size_t kReadChunk = 4096;

bool EndsRecord(std::string_view s) {
  if (s.size() < 5) return false;
  const std::string_view last = s.substr(s.size() - 5);
  return last == "<ETX>" || last == "<ETB>";
}

}  // namespace

std::string RawLogRecordToWire(std::string_view record) {
  std::string bytes;
  size_t i = 0;
  while (i < record.size()) {
    std::optional<uint8_t> value;
    size_t width = 0;
    for (size_t w : {size_t{5}, size_t{4}}) {
      if (i + w > record.size()) continue;
      value = ControlCharValue(record.substr(i, w));
      if (value) {
        width = w;
        break;
      }
    }
    if (value) {
      bytes.push_back(static_cast<char>(*value));
      i += width;
    } else {
      bytes.push_back(record[i++]);
    }
  }
  return PeerLinkEncodeText(bytes);
}

std::string DatLogRecordToWire(std::string_view record) {
  std::string out;
  for (size_t i = 0; i < record.size();) {
    const std::string_view name = record.substr(i, 5);
    if (name == "<SOH>" || name == "<ETX>") {
      out.push_back(name == "<SOH>" ? '\x01' : '\x03');
      i += 5;
    } else {
      out.push_back(record[i++]);
    }
  }
  return out;
}

void LogRecordSplitter::Feed(std::string_view bytes, const Take& take) {
  for (char c : bytes) {
    if (dropping_) {
      tail_.push_back(c);
      if (tail_.size() > 5) tail_.erase(0, 1);
      if (EndsRecord(tail_)) {
        dropping_ = false;
        tail_.clear();
      }
      continue;
    }
    record_.push_back(c);
    if (EndsRecord(record_)) {
      const std::string record = std::move(record_);
      record_.clear();
      take(record);
    } else if (record_.size() >= kMaxImportRecord) {
      // Too long for any frame: dropped up to its end.
      tail_ = record_.substr(record_.size() - 4);
      record_.clear();
      dropping_ = true;
    }
  }
}

void LogRecordSplitter::Finish(const Take& take) {
  if (!dropping_ && !record_.empty()) take(record_);
  Reset();
}

void LogRecordSplitter::Reset() {
  record_.clear();
  tail_.clear();
  dropping_ = false;
}

LogImport::LogImport(ExchangeState& state, LogImportLink& link, LinkTimers& timers)
    : state_(state), link_(link), timers_(timers) {}

LogImport::~LogImport() {
  if (file_) std::fclose(file_);
}

void LogImport::Start(LogKind kind) {
  // A second import would share the file and the "_c" twins.
  if (Running()) return;
  const std::string path = link_.AskImportPath(kind);
  if (path.empty()) return;
  kind_ = kind;
  link_.SetImportPath(path);
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    std::fprintf(stderr, "Can not read the log %s\n", path.c_str());
    link_.SetImportPath("");
    return;
  }
  splitter_.Reset();
  link_.ImportRunning(true, kind);
  state_.ImportAbort = 0;
  timers_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
    if (!alive.expired()) Turn();
  });
}

void LogImport::Turn() {
  if (!file_) return;
  const int64_t start = timers_.NowMs();
  const LogRecordSplitter::Take take = [this](const std::string& record) {
    // A box shown while a record is read may let Cancel through.
    if (state_.ImportAbort || !file_) return;
    link_.ImportRecord(kind_ == LogKind::Raw ? RawLogRecordToWire(record) : DatLogRecordToWire(record));
  };
  char buffer[kReadChunk];
  while (file_ && !state_.ImportAbort) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, file_);
    if (n == 0) {
      splitter_.Finish(take);
      return End();
    }
    splitter_.Feed(std::string_view(buffer, n), take);
    if (timers_.NowMs() - start >= kTurnSliceMs) break;
  }
  if (!file_) return;
  if (state_.ImportAbort) return End();
  timers_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
    if (!alive.expired()) Turn();
  });
}

void LogImport::End() {
  if (!file_) return;
  state_.ImportAbort = 0;
  link_.ImportRunning(false, kind_);
  std::fclose(file_);
  file_ = nullptr;
  splitter_.Reset();
  link_.SetImportPath("");
}
