#pragma once
// The link between copies without sockets or an event loop: a transport
// whose peers the test plays, timers on a clock the test moves, the link's
// host and a scanner's effects recorded; and what link tests share.
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exchange/peer_link.h"

namespace testing_support {

// Connections the test accepts, feeds and closes; what the link writes is
// kept per connection.
class FakePeerTransport : public PeerTransport {
 public:
  void SetEvents(PeerTransportEvents* events) override { events_ = events; }
  bool Listen(uint16_t port, int) override { return listening = port, true; }
  void StopListening() override { listening = 0; }
  ConnectionId Connect(const std::string& host, uint16_t port) override;
  SendResult Write(ConnectionId id, const std::string& bytes) override;
  std::string Read(ConnectionId id, size_t maxBytes) override;
  void Close(ConnectionId id) override { open.erase(id); }

  ConnectionId Accept();  // a peer connects to the listener
  void Arrive(ConnectionId id, const std::string& bytes);
  void PeerCloses(ConnectionId id) { events_->OnClosed(id); }
  // The outcome of the last Connect.
  void ConnectSucceeds() { events_->OnConnected(lastConnect); }
  void ConnectFails() { events_->OnConnectFailed(lastConnect); }
  uint16_t listening = 0;
  std::vector<std::string> connects;  // "host:port"
  ConnectionId lastConnect = 0;
  std::set<ConnectionId> open;
  std::set<ConnectionId> blocked;  // their writes are refused as Blocked
  std::map<ConnectionId, std::string> written, unread;

 private:
  PeerTransportEvents* events_ = nullptr;
  ConnectionId next_ = 1;
};

// Timers and posted work on a clock that moves only when told.
class FakeLinkTimers : public LinkTimers {
 public:
  int64_t NowMs() const override { return now += msPerReading; }
  int Start(int ms, bool repeat, std::function<void()> tick) override;
  void Stop(int id) override { timers_.erase(id); }
  void Post(std::function<void()> work) override { posted_.push_back(std::move(work)); }
  // Runs the first piece of posted work; false when none waits.
  bool RunNext();
  void RunPosted() {
    while (RunNext()) {
    }
  }
  // Moves the clock, running each timer as it falls due, and the posted
  // work after each.
  void Advance(int64_t ms);

  mutable int64_t now = 0;
  int64_t msPerReading = 0;  // the clock moves at every reading
 private:
  struct Timer {
    int64_t due;
    int interval;
    bool repeat;
    std::function<void()> tick;
  };
  std::map<int, Timer> timers_;
  std::deque<std::function<void()>> posted_;
  int next_ = 1;
};

// What the link asked of the program around it.
class RecordingLinkHost : public PeerLinkHost {
 public:
  void EnterAcarsBlock(const AcarsBlock& block) override { blocks.push_back(block); }
  void EnterHfdlFrame(const std::string&) override {}
  void EmptyHfdlAnalysis() override {}
  void LightNetworkLamp() override {}
  void SetConnectButton(bool down) override { buttonDown = down; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetKeepAlive(bool running) override { keepAlive = running; }
  void MainWindowChanged() override {}
  void ChatChanged(bool) override {}
  void CountersChanged() override {}
  void CountdownChanged(bool open) override { countdownOpen = open; }
  void Beep() override { ++beeps; }
  void ShowBox(LinkBoxKind, const std::string& text, std::function<void()> closed) override {
    boxes.push_back(text), open.push_back(std::move(closed));
  }

  std::vector<AcarsBlock> blocks;
  std::vector<std::string> boxes;
  std::vector<std::function<void()>> open;  // closes a box as its OK would
  std::string caption;
  int beeps = 0;
  bool buttonDown = false, keepAlive = false, countdownOpen = false;
};

// What a scanner's frames did.
class RecordingScannerEffects : public ScannerEffects {
 public:
  void EnterAcarsBlock(const AcarsBlock& block) override { blocks.push_back(block); }
  void EnterHfdlFrame(const std::string& hex) override { hfdl.push_back(hex); }
  void EmptyHfdlAnalysis() override { ++emptied; }
  void LightNetworkLamp() override {}
  void RelayToClients(const std::string& wire) override { relayed.push_back(wire); }
  void ChatLineAdded() override {}
  void ParticipantsChanged() override {}

  std::vector<AcarsBlock> blocks;
  std::vector<std::string> hfdl, relayed;
  int emptied = 0;
};

// A downlink from "+" through ETX, distinct for each n: the registration
// prefix (".JA") and four digits of n, the number M0 <n / 10000> A.
std::string LinkBlock(const std::string& prefix, int n, const std::string& text = "TEXT");
int CountOf(const std::string& all, const std::string& part);
// A port the program takes (49152..65535) that is free, above the
// system's ephemeral ports.
uint16_t FreeLinkPort();

}  // namespace testing_support
