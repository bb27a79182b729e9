#pragma once
// The link between copies without sockets or an event loop: a transport
// whose peers the test plays, timers on a clock the test moves, and the
// link's host and scanner effects recorded.
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exchange/peer_link.h"

namespace testing_support {

// Connections the test opens, feeds and closes; what the link writes is
// kept per connection.
class FakePeerTransport : public PeerTransport {
 public:
  void SetEvents(PeerTransportEvents* events) override { events_ = events; }
  bool Listen(uint16_t port, int) override;
  void StopListening() override { listening = 0; }
  ConnectionId Connect(const std::string& host, uint16_t port) override;
  SendResult Write(ConnectionId id, const std::string& bytes) override;
  std::string Read(ConnectionId id, size_t maxBytes) override;
  void Close(ConnectionId id) override { open.erase(id); }

  // A peer connects to the listener; its id.
  ConnectionId Accept();
  // Bytes from the peer of a connection.
  void Arrive(ConnectionId id, const std::string& bytes);
  void PeerCloses(ConnectionId id);
  // The outcome of the last Connect.
  void ConnectSucceeds() { events_->OnConnected(lastConnect); }
  void ConnectFails() { events_->OnConnectFailed(lastConnect); }

  uint16_t listening = 0;     // the port listened on
  bool listenFails = false;
  std::vector<std::string> connects;  // "host:port"
  ConnectionId lastConnect = 0;
  std::set<ConnectionId> open;
  std::set<ConnectionId> blocked;     // their writes are refused as Blocked
  std::map<ConnectionId, std::string> written;
  std::map<ConnectionId, std::string> unread;

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

  // Runs the posted work, and what it posts, until none is left.
  void RunPosted();
  // Runs the first piece of posted work; false when none waits.
  bool RunNext();
  // Moves the clock, running each timer as it falls due (and the posted
  // work after each).
  void Advance(int64_t ms);
  bool Active(int id) const { return timers_.count(id) != 0; }

  mutable int64_t now = 0;
  // The clock moves by this much at every reading (work that takes time).
  int64_t msPerReading = 0;

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
  void EnterHfdlFrame(const std::string& hex) override { hfdl.push_back(hex); }
  void EmptyHfdlAnalysis() override { ++emptied; }
  void LightNetworkLamp() override { ++lamps; }
  void SetConnectButton(bool down) override { buttonDown = down; }
  void SetCaption(const std::string& c) override { caption = c; }
  void SetKeepAlive(bool running) override { keepAlive = running; }
  void MainWindowChanged() override { ++windowChanges; }
  void ChatChanged(bool show) override { chatShows += show ? 1 : 0, ++chatChanges; }
  void CountersChanged() override { ++counterChanges; }
  void CountdownChanged(bool open) override { countdownOpen = open; }
  void Beep() override { ++beeps; }
  void ShowBox(LinkBoxKind, const std::string& text, std::function<void()> closed) override;
  // Closes the boxes still open, as their OK would.
  void CloseBoxes();

  std::vector<AcarsBlock> blocks;
  std::vector<std::string> hfdl;
  int emptied = 0, lamps = 0, windowChanges = 0, chatChanges = 0, chatShows = 0, counterChanges = 0, beeps = 0;
  bool buttonDown = false, keepAlive = false, countdownOpen = false;
  std::string caption;
  std::vector<std::string> boxes;

 private:
  std::vector<std::function<void()>> open_;
};

// What a scanner's frames did.
class RecordingScannerEffects : public ScannerEffects {
 public:
  void EnterAcarsBlock(const AcarsBlock& block) override { blocks.push_back(block); }
  void EnterHfdlFrame(const std::string& hex) override { hfdl.push_back(hex); }
  void EmptyHfdlAnalysis() override { ++emptied; }
  void LightNetworkLamp() override { ++lamps; }
  void RelayToClients(const std::string& wire) override { relayed.push_back(wire); }
  void ChatLineAdded() override { ++chatLines; }
  void ParticipantsChanged() override { ++participantChanges; }

  std::vector<AcarsBlock> blocks;
  std::vector<std::string> hfdl;
  std::vector<std::string> relayed;
  int emptied = 0, lamps = 0, chatLines = 0, participantChanges = 0;
};

// What the road would send to linked copies.
class RecordingPeerSender : public PeerLinkSender {
 public:
  struct Sent {
    bool toServer;
    std::string text;
  };
  void SendToServer(const std::string& text) override { Record({true, text}); }
  void SendToAllClients(const std::string& text) override { Record({false, text}); }
  // Runs as each text is sent.
  std::function<void(const Sent&)> onSend;
  std::vector<Sent> sent;

 private:
  void Record(const Sent& s) {
    sent.push_back(s);
    if (onSend) onSend(s);
  }
};

}  // namespace testing_support
