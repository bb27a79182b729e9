#include "support/fake_link.h"

namespace testing_support {

bool FakePeerTransport::Listen(uint16_t port, int) {
  if (listenFails) return false;
  listening = port;
  return true;
}

ConnectionId FakePeerTransport::Connect(const std::string& host, uint16_t port) {
  connects.push_back(host + ":" + std::to_string(port));
  lastConnect = next_++;
  open.insert(lastConnect);
  return lastConnect;
}

SendResult FakePeerTransport::Write(ConnectionId id, const std::string& bytes) {
  if (!open.count(id)) return SendResult::Error;
  if (blocked.count(id)) return SendResult::Blocked;
  written[id] += bytes;
  return SendResult::Ok;
}

std::string FakePeerTransport::Read(ConnectionId id, size_t maxBytes) {
  std::string& rest = unread[id];
  const std::string chunk = rest.substr(0, maxBytes);
  rest.erase(0, chunk.size());
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
  if (open.count(id)) events_->OnReadable(id);
}

void FakePeerTransport::PeerCloses(ConnectionId id) {
  if (open.count(id)) events_->OnClosed(id);
}

int FakeLinkTimers::Start(int ms, bool repeat, std::function<void()> tick) {
  const int id = next_++;
  timers_[id] = {now + ms, ms, repeat, std::move(tick)};
  return id;
}

void FakeLinkTimers::RunPosted() {
  while (RunNext()) {
  }
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
  RunPosted();
  for (;;) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
    }
    if (next == timers_.end()) break;
    now = next->second.due;
    std::function<void()> tick = next->second.tick;
    if (next->second.repeat) {
      next->second.due += next->second.interval;
    } else {
      timers_.erase(next);
    }
    tick();
    RunPosted();
  }
  now = end;
}

void RecordingLinkHost::ShowBox(LinkBoxKind, const std::string& text, std::function<void()> closed) {
  boxes.push_back(text);
  open_.push_back(std::move(closed));
}

void RecordingLinkHost::CloseBoxes() {
  std::vector<std::function<void()>> open = std::move(open_);
  open_.clear();
  for (auto& closed : open) closed();
}

}  // namespace testing_support
