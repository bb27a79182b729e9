#include "support/fake_link.h"

#include <unistd.h>

#include <QTcpServer>
#include <algorithm>
#include <random>

namespace testing_support {

ConnectionId FakePeerTransport::Connect(const std::string& host, uint16_t port) {
  connects.push_back(host + ":" + std::to_string(port));
  open.insert(lastConnect = next_++);
  return lastConnect;
}

SendResult FakePeerTransport::Write(ConnectionId id, const std::string& bytes) {
  if (!open.count(id)) return SendResult::Error;
  if (blocked.count(id)) return SendResult::Blocked;
  written[id] += bytes;
  return SendResult::Ok;
}

std::string FakePeerTransport::Read(ConnectionId id, size_t maxBytes) {
  const std::string chunk = unread[id].substr(0, maxBytes);
  unread[id].erase(0, chunk.size());
  return chunk;
}

ConnectionId FakePeerTransport::Accept() {
  const ConnectionId id = next_++;
  open.insert(id);
  events_->OnAccepted(id, 0x7F000001, 50000);
  return id;
}

void FakePeerTransport::Arrive(ConnectionId id, const std::string& bytes) {
  unread[id] += bytes;
  events_->OnReadable(id);
}

int FakeLinkTimers::Start(int ms, bool repeat, std::function<void()> tick) {
  timers_[next_] = {now + ms, ms, repeat, std::move(tick)};
  return next_++;
}

bool FakeLinkTimers::RunNext() {
  if (posted_.empty()) return false;
  std::function<void()> work = std::move(posted_.front());
  posted_.pop_front();
  work();
  return true;
}

void FakeLinkTimers::Advance(int64_t ms) {
  const int64_t end = now + ms;
  for (RunPosted();; RunPosted()) {
    const auto next = std::min_element(timers_.begin(), timers_.end(),
                                       [](const auto& x, const auto& y) { return x.second.due < y.second.due; });
    if (next == timers_.end() || next->second.due > end) break;
    now = next->second.due;
    const std::function<void()> tick = next->second.tick;
    next->second.repeat ? void(next->second.due += next->second.interval) : void(timers_.erase(next));
    tick();
  }
  now = end;
}

std::string LinkBlock(const std::string& prefix, int n, const std::string& text) {
  char id[32];
  std::snprintf(id, sizeof id, "%s%04dM0%dA", prefix.c_str(), n % 10000, n / 10000 % 10);
  const std::string s(id);
  return "+*\x16\x16\x01" "2" + s.substr(0, 7) + "\x15H11\x02" + s.substr(7) + "JL0012" + text + "\x03";
}

int CountOf(const std::string& all, const std::string& part) {
  int n = 0;
  for (size_t at = all.find(part); at != std::string::npos; at = all.find(part, at + 1)) ++n;
  return n;
}

uint16_t FreeLinkPort() {
  std::mt19937 rng(static_cast<unsigned>(::getpid()));
  for (;;) {
    const auto port = static_cast<uint16_t>(61000 + rng() % 4500);
    QTcpServer probe;
    if (probe.listen(QHostAddress::AnyIPv4, port)) return port;
  }
}

}  // namespace testing_support
