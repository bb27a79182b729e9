#pragma once
// The TCP link between copies of the program: one server that keeps up to
// MaxConnect clients, and clients that connect to it, check the link with
// keep-alive probes and reconnect when it is lost. Each connection has its
// own scanner; what the frames do, and what the main window and the link's
// windows show, goes through PeerLinkHost. The handlers change the state
// first and show their boxes without waiting, so that a box never holds up
// the events behind it.
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>

#include "acars/acars_message.h"
#include "app/settings_sections.h"
#include "exchange/exchange_state.h"
#include "exchange/peer_link_scanner.h"
#include "exchange/peer_transport.h"

enum class LinkBoxKind { Information, Warning };

// What the link asks of the program around it.
class PeerLinkHost {
 public:
  virtual ~PeerLinkHost() = default;
  // Frames from linked copies, imports and the ACARS item enter the road of
  // decoded messages.
  virtual void EnterAcarsBlock(const AcarsBlock& block) = 0;
  virtual void EnterHfdlFrame(const std::string& hex) = 0;
  virtual void EmptyHfdlAnalysis() = 0;
  virtual void LightNetworkLamp() = 0;
  // The main window's TCP/IP button, caption and keep-alive timer, as the
  // state it shows; MainWindowChanged brings the widgets and the status
  // indicators in line.
  virtual void SetConnectButton(bool down) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetKeepAlive(bool running) = 0;
  virtual void MainWindowChanged() = 0;
  // The chat window shows ChatLog and the participants afresh (and comes
  // up when show); the packet window its counters; the reconnect countdown
  // opens (or shows its new reason and count) or closes.
  virtual void ChatChanged(bool show) = 0;
  virtual void CountersChanged() = 0;
  virtual void CountdownChanged(bool open) = 0;
  virtual void Beep() = 0;
  // A box without waiting (it beeps); closed runs once it has gone.
  virtual void ShowBox(LinkBoxKind kind, const std::string& utf8, std::function<void()> closed) = 0;
};

// How the road hands this copy's own reception to the link.
class PeerLinkSender {
 public:
  virtual ~PeerLinkSender() = default;
  virtual void SendToServer(const std::string& text) = 0;
  virtual void SendToAllClients(const std::string& text) = 0;
};

// "Skarvel(Server 0/10 PortNo 49505)"
std::string ServerCaption(int clients, int maxConnect, const std::string& port);
// A port as plain decimal digits, 1..65535; 0 for anything else.
uint16_t ParsePortNumber(const std::string& text);

class PeerLink : public PeerLinkSender, private PeerTransportEvents, private ScannerEffects {
 public:
  PeerLink(ExchangeState& state, const NetSettings& net, const TxtSettings& txt, const flag& useEnglish,
           PeerLinkHost& host, PeerTransport& transport, LinkTimers& timers);
  ~PeerLink() override;
  PeerLink(const PeerLink&) = delete;
  PeerLink& operator=(const PeerLink&) = delete;

  // ---- Server ----
  bool OpenServer(const std::string& port);
  void CloseServer();
  // ---- Client ----
  // False only when no attempt could start (the port is no number of
  // 1..65535); the outcome of an attempt comes later.
  bool ConnectToServer(const std::string& host, const std::string& port);
  void DisconnectFromServer(bool withMessage);
  // ---- Sending; an empty text is never sent ----
  void SendToServer(const std::string& text) override;
  void SendToAllClients(const std::string& text) override;

  // The keep-alive timer's tick: the server sweeps the participants, a
  // client probes, and reconnects when its last probe went unanswered.
  void Timer3Timer() { LoopBackCheck(); }
  void LoopBackCheck();

  // One whole text (an item value, an import record) read by a scanner of
  // its own up to its first 0 byte; its blocks carry the tag.
  void ProcessReceivedData(std::string_view text, const std::string& tag);
  // A value of the ACARS item: read here when unlinked or a server, sent to
  // the server by a client.
  void ACARSChange(const std::string& value);

  // The chat window's send (name and text in code page 932, not empty).
  void SendChatLine(const std::string& name, const std::string& text);
  // The packet test: a test line every interval ms; false (nothing
  // started) unless the interval is a whole number of at least 1.
  bool StartPacketTest(const std::string& intervalText);
  void StopPacketTest();

  // The reconnect countdown's Cancel.
  void CountdownCancel();
  bool CountdownOpen() const { return countdownTimer_ != 0; }

  // Closing: no countdown, connect time-out or packet test stays behind.
  void StopTimers();

 private:
  struct Connection;

  // PeerTransportEvents
  void OnAccepted(ConnectionId id, uint32_t peerAddress, uint16_t peerPort) override;
  void OnAcceptError() override;
  void OnConnected(ConnectionId id) override;
  void OnConnectFailed(ConnectionId id) override;
  void OnReadable(ConnectionId id) override;
  void OnClosed(ConnectionId id) override;
  // ScannerEffects
  void EnterAcarsBlock(const AcarsBlock& block) override { host_.EnterAcarsBlock(block); }
  void EnterHfdlFrame(const std::string& hex) override { host_.EnterHfdlFrame(hex); }
  void EmptyHfdlAnalysis() override { host_.EmptyHfdlAnalysis(); }
  void LightNetworkLamp() override { host_.LightNetworkLamp(); }
  void RelayToClients(const std::string& wire) override { SendToAllClients(wire); }
  void ChatLineAdded() override;
  void ParticipantsChanged() override;

  const char* Pick(const char* english, const char* japanese) const { return useEnglish_ ? english : japanese; }
  void ShowLinkBox(LinkBoxKind kind, const std::string& text);
  void AddConnection(ConnectionId id);
  // Forgets the connection and closes it; none of its events follow.
  void DropConnection(ConnectionId id);
  void DropClient();
  // Reads a connection for one slice of the event loop's time.
  void ReadTurn(ConnectionId id);
  void ConnectionClosed(ConnectionId id);
  void ConnectFailed();
  void ClientClosed();
  void ServerClientClosed(ConnectionId id);
  void ShowClientCount();
  // The link is down: button up (or kept), keep-alive off.
  void ClientDown(bool buttonDown);
  // The reconnect countdown opens with a reason, or shows the new reason
  // when open already.
  void OpenCountdown(const std::string& reason);
  void CountdownTick();
  void PacketTestTick();
  // The windows follow once per turn of the event loop.
  void ViewsChanged(bool chat, bool showChat, bool counters);
  void FlushViews();

  ExchangeState& state_;
  const NetSettings& net_;
  const TxtSettings& txt_;
  const flag& useEnglish_;
  PeerLinkHost& host_;
  PeerTransport& transport_;
  LinkTimers& timers_;
  std::map<ConnectionId, std::shared_ptr<Connection>> connections_;
  ConnectionId client_ = 0;
  bool clientUp_ = false;
  int connectTimer_ = 0;
  int countdownTimer_ = 0;
  int testTimer_ = 0;
  std::set<std::string> openBoxes_;
  bool chatDirty_ = false, showChat_ = false, countersDirty_ = false, flushPosted_ = false;
  std::minstd_rand tokens_;
  // Set while the link is being destroyed: posted work finds nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
