#include "exchange/peer_link.h"

#include <chrono>

#include "exchange/chat.h"

namespace {

// One read, and how long a connection is read before the others (and the
// audio, the timers) get their turn.
constexpr size_t kReadChunk = 4096;
constexpr int64_t kTurnSliceMs = 20;
// A connect to a host that does not answer is given up after this.
constexpr int kConnectTimeoutMs = 20000;
constexpr int kListenBacklog = 5;
constexpr int kTokenLength = 20;

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

struct PeerLink::Connection {
  Connection(PeerLink& link, ConnectionId id)
      : id(id), scanner(link.state_, link.net_, link.txt_, static_cast<ScannerEffects&>(link)) {}
  ConnectionId id;
  PeerLinkScanner scanner;
  bool busy = false;        // being read: a nested event loop must not read it
  bool turnQueued = false;  // a later turn reads the rest
  bool peerClosed = false;  // read what is left, then forget it
  bool gone = false;        // dropped by this copy
};

std::string ServerCaption(int clients, int maxConnect, const std::string& port) {
  return "Skarvel(Server " + std::to_string(clients) + "/" + std::to_string(maxConnect) + " PortNo " + port + ")";
}

uint16_t ParsePortNumber(const std::string& text) {
  if (!AllDigits(text) || text.size() > 5) return 0;
  const int port = std::stoi(text);
  return port >= 1 && port <= 65535 ? static_cast<uint16_t>(port) : 0;
}

PeerLink::PeerLink(ExchangeState& state, const NetSettings& net, const TxtSettings& txt, const flag& useEnglish,
                   PeerLinkHost& host, PeerTransport& transport, LinkTimers& timers)
    : state_(state),
      net_(net),
      txt_(txt),
      useEnglish_(useEnglish),
      host_(host),
      transport_(transport),
      timers_(timers),
      tokens_(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count())) {
  transport_.SetEvents(this);
}

PeerLink::~PeerLink() {
  for (int id : {testTimer_, connectTimer_, countdownTimer_}) {
    if (id) timers_.Stop(id);
  }
  transport_.SetEvents(nullptr);
}

// ---- Server ----

bool PeerLink::OpenServer(const std::string& port) {
  const uint16_t number = ParsePortNumber(port);
  return number != 0 && transport_.Listen(number, kListenBacklog);
}

void PeerLink::CloseServer() {
  for (PeerClientSlot& slot : state_.PeerClients.Slots) {
    if (!slot.InUse) continue;
    slot.InUse = 0;
    DropConnection(slot.Socket);
  }
  transport_.StopListening();
}

void PeerLink::OnAccepted(ConnectionId id, uint32_t peerAddress, uint16_t peerPort) {
  for (PeerClientSlot& slot : state_.PeerClients.Slots) {
    if (slot.InUse) continue;
    slot = {id, static_cast<int32_t>(peerAddress), static_cast<int32_t>(peerPort), 1};
    AddConnection(id);
    ++state_.NetClientCount;
    ShowClientCount();
    state_.NetConnected = 1;
    host_.MainWindowChanged();
    return;
  }
  transport_.Close(id);
  ShowLinkBox(LinkBoxKind::Warning, Pick("Acceptance failed(maximum connections)", "最大限度の接続要求を受けました"));
}

void PeerLink::OnAcceptError() {
  // The listener and the slots stay as they are.
  ShowLinkBox(LinkBoxKind::Warning, Pick("Acceptance failed", "無効な接続要求を受けました"));
}

void PeerLink::ServerClientClosed(ConnectionId id) {
  bool freed = false;
  for (PeerClientSlot& slot : state_.PeerClients.Slots) {
    if (slot.InUse && slot.Socket == id) {
      slot.InUse = 0;
      freed = true;
    }
  }
  DropConnection(id);
  if (!freed) return;
  --state_.NetClientCount;
  ShowClientCount();
  host_.MainWindowChanged();
}

void PeerLink::ShowClientCount() {
  host_.SetCaption(ServerCaption(state_.NetClientCount, net_.MaxConnect, net_.ServerPortNo));
}

// ---- Client ----

bool PeerLink::ConnectToServer(const std::string& host, const std::string& port) {
  const uint16_t number = ParsePortNumber(port);
  if (number == 0) return false;
  DropClient();
  client_ = transport_.Connect(host, number);
  if (client_ == 0) return false;
  AddConnection(client_);
  connectTimer_ = timers_.Start(kConnectTimeoutMs, false, [this] {
    connectTimer_ = 0;
    DropClient();
    ConnectFailed();
  });
  return true;
}

void PeerLink::DisconnectFromServer(bool withMessage) {
  DropClient();
  if (!withMessage) return;
  ShowLinkBox(LinkBoxKind::Information, Pick("Disconected", "切断しました"));
  ClientDown(false);
  state_.Connecting = 0;
  host_.MainWindowChanged();
}

void PeerLink::DropClient() {
  if (connectTimer_) timers_.Stop(connectTimer_);
  connectTimer_ = 0;
  if (client_) DropConnection(client_);
  client_ = 0;
  clientUp_ = false;
}

void PeerLink::OnConnected(ConnectionId id) {
  if (id != client_) return;
  if (connectTimer_) timers_.Stop(connectTimer_);
  connectTimer_ = 0;
  clientUp_ = true;
  if (!state_.Reconnecting) ShowLinkBox(LinkBoxKind::Information, Pick("Connected", "接続しました"));
  state_.Reconnecting = 0;
  state_.NetConnected = 1;
  host_.SetKeepAlive(true);
  state_.LoopProbePending = 0;
  host_.SetConnectButton(true);
  state_.Connecting = 0;
  state_.LoopProbeRetries = 0;
  host_.MainWindowChanged();
}

void PeerLink::OnConnectFailed(ConnectionId id) {
  if (id != client_) return;
  DropClient();
  ConnectFailed();
}

void PeerLink::ConnectFailed() {
  if (!state_.Connecting) return;
  const bool reconnecting = state_.Reconnecting != 0;
  if (reconnecting) {
    host_.Beep();
  } else {
    ShowLinkBox(LinkBoxKind::Information, Pick("Can not connect", "接続できません"));
  }
  state_.Reconnecting = 0;
  ClientDown(false);
  state_.Connecting = 0;
  host_.MainWindowChanged();
  // An automatic reconnect keeps trying until one succeeds or the user
  // cancels.
  if (reconnecting) OpenCountdown(Pick("Connection failed", "接続に失敗しました"));
}

void PeerLink::ClientClosed() {
  DropClient();
  const std::string reason = Pick("Disconnected", "回線が切断されました");
  if (net_.Reconnect) {
    host_.Beep();
  } else {
    ShowLinkBox(LinkBoxKind::Information, Pick("Disconnected", "切断されました"));
  }
  ClientDown(false);
  state_.Connecting = 0;
  host_.MainWindowChanged();
  if (net_.Reconnect) OpenCountdown(reason);
}

void PeerLink::ClientDown(bool buttonDown) {
  state_.NetConnected = 0;
  host_.SetKeepAlive(false);
  state_.LoopProbePending = 0;
  host_.SetConnectButton(buttonDown);
}

// ---- Keep-alive and the reconnect countdown ----

void PeerLink::LoopBackCheck() {
  if (net_.Server) {
    if (ChatListCheck(state_.Participants)) ViewsChanged(true, false, false);
    return;
  }
  if (!state_.LoopProbePending) {
    std::string token;
    for (int i = 0; i < kTokenLength; ++i) token.push_back(static_cast<char>('A' + tokens_() % 25));
    state_.LoopProbeToken = token;
    SendToServer("[LOOP]" + token + net_.NetName + "\r\n");
    state_.LoopProbePending = 1;
    return;
  }
  // The last probe went unanswered. LoopProbeRetries never passes the
  // limit while every connect clears it, so a silent reconnect it is.
  if (state_.LoopProbeRetries <= net_.LoopBackLimit) {
    ++state_.LoopProbeRetries;
    DisconnectFromServer(false);
    ClientDown(true);
    state_.Connecting = 1;
    state_.Reconnecting = 1;
    host_.MainWindowChanged();
    if (!ConnectToServer(net_.ServerName, net_.ClientPortNo)) ConnectFailed();
    return;
  }
  if (net_.Reconnect) {
    DisconnectFromServer(false);
    ClientDown(false);
    state_.Connecting = 0;
    host_.MainWindowChanged();
    OpenCountdown(Pick("Disconnected", "回線が切断されました"));
  } else {
    DisconnectFromServer(true);
  }
  state_.LoopProbeRetries = 0;
}

void PeerLink::OpenCountdown(const std::string& reason) {
  state_.CountdownReason = reason;
  // The countdown's connect is an automatic reconnect whose failure brings
  // the countdown back.
  state_.Connecting = 1;
  state_.Reconnecting = 1;
  if (countdownTimer_ == 0) {
    state_.Countdown = net_.ReconnectTimer;
    countdownTimer_ = timers_.Start(1000, true, [this] { CountdownTick(); });
  }
  host_.CountdownChanged(true);
}

void PeerLink::CountdownTick() {
  --state_.Countdown;
  if (state_.Countdown >= 1) {
    host_.CountdownChanged(true);
    return;
  }
  timers_.Stop(countdownTimer_);
  countdownTimer_ = 0;
  host_.CountdownChanged(false);
  state_.Reconnecting = 1;
  if (!ConnectToServer(net_.ServerName, net_.ClientPortNo)) ConnectFailed();
}

void PeerLink::CountdownCancel() {
  if (countdownTimer_) timers_.Stop(countdownTimer_);
  countdownTimer_ = 0;
  state_.NetConnected = 0;
  host_.SetConnectButton(false);
  state_.Connecting = 0;
  state_.Reconnecting = 0;
  host_.MainWindowChanged();
  host_.CountdownChanged(false);
}

// ---- Sending ----

void PeerLink::SendToServer(const std::string& text) {
  if (text.empty()) return;
  // Nothing goes out before the connection is up, as on a socket that is
  // not connected.
  const SendResult r = client_ && clientUp_ ? transport_.Write(client_, text) : SendResult::Error;
  PacketCounters& c = state_.Packets;
  ++(r == SendResult::Ok ? c.SentPackets : r == SendResult::Blocked ? c.ClientBlocked : c.ClientErrors);
  ViewsChanged(false, false, true);
}

void PeerLink::SendToAllClients(const std::string& text) {
  if (text.empty()) return;
  bool sent = false;
  for (const PeerClientSlot& slot : state_.PeerClients.Slots) {
    if (!slot.InUse) continue;
    const SendResult r = transport_.Write(slot.Socket, text);
    if (r == SendResult::Ok) {
      sent = true;
    } else {
      ++(r == SendResult::Blocked ? state_.Packets.ServerBlocked : state_.Packets.ServerErrors);
    }
  }
  if (sent) ++state_.Packets.SentPackets;
  ViewsChanged(false, false, true);
}

// ---- Reading ----

void PeerLink::AddConnection(ConnectionId id) { connections_[id] = std::make_shared<Connection>(*this, id); }

void PeerLink::DropConnection(ConnectionId id) {
  auto it = connections_.find(id);
  if (it != connections_.end()) {
    it->second->gone = true;
    connections_.erase(it);
  }
  transport_.Close(id);
}

void PeerLink::OnReadable(ConnectionId id) { ReadTurn(id); }

void PeerLink::ReadTurn(ConnectionId id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  // The scan may run a nested event loop (a box elsewhere): the bytes that
  // arrive meanwhile wait for this turn to read them.
  std::shared_ptr<Connection> c = it->second;
  if (c->busy) return;
  c->busy = true;
  const int64_t start = timers_.NowMs();
  bool more = false;
  while (!c->gone) {
    const std::string chunk = transport_.Read(id, kReadChunk);
    if (chunk.empty()) break;
    ++state_.Packets.ReceivedPackets;
    c->scanner.Feed(chunk);
    if (net_.Server) host_.LightNetworkLamp();
    // What a closed peer left is read at once.
    if (!c->peerClosed && timers_.NowMs() - start >= kTurnSliceMs) {
      more = true;
      break;
    }
  }
  c->busy = false;
  ViewsChanged(false, false, true);
  if (c->gone) return;
  if (c->peerClosed) return ConnectionClosed(id);
  if (more && !c->turnQueued) {
    c->turnQueued = true;
    timers_.Post([this, id, alive = std::weak_ptr<bool>(alive_)] {
      if (alive.expired()) return;
      // Taken even when this turn finds the connection busy: the turn under
      // way then queues the next one itself.
      if (auto queued = connections_.find(id); queued != connections_.end()) queued->second->turnQueued = false;
      ReadTurn(id);
    });
  }
}

void PeerLink::OnClosed(ConnectionId id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  it->second->peerClosed = true;
  // The rest is read first (after the turn under way, if any).
  if (!it->second->busy) ReadTurn(id);
}

void PeerLink::ConnectionClosed(ConnectionId id) {
  if (id == client_) {
    if (clientUp_) ClientClosed();
    return;
  }
  ServerClientClosed(id);
}

// ---- The item, the chat and the packet test ----

void PeerLink::ProcessReceivedData(std::string_view text, const std::string& tag) {
  PeerLinkScanner scanner(state_, net_, txt_, *this, tag);
  scanner.Feed(text.substr(0, text.find('\0')));
}

void PeerLink::ACARSChange(const std::string& value) {
  if (!state_.NetConnected) return ProcessReceivedData(value, "DDE");
  if (!net_.Server) return SendToServer(value);
  // The scanner hands each block on to the clients once; sending the value
  // here too would give them every block twice.
  ProcessReceivedData(value, "DDE");
  host_.LightNetworkLamp();
}

void PeerLink::SendChatLine(const std::string& name, const std::string& text) {
  std::string shown;
  const std::string line = ChatLine(name, text, &shown);
  if (!net_.Server) return SendToServer(line);
  // A client logs its own line when the server's relay brings it back.
  SendToAllClients(line);
  AppendChatLog(state_.ChatLog, shown, txt_.MaxBytes);
  ViewsChanged(true, false, false);
}

bool PeerLink::StartPacketTest(const std::string& intervalText) {
  StopPacketTest();
  if (!AllDigits(intervalText) || intervalText.size() > 9) return false;
  const int interval = std::stoi(intervalText);
  if (interval < 1) return false;
  testTimer_ = timers_.Start(interval, true, [this] { PacketTestTick(); });
  return true;
}

void PeerLink::StopPacketTest() {
  if (testTimer_) timers_.Stop(testTimer_);
  testTimer_ = 0;
}

void PeerLink::PacketTestTick() { SendToServer(TestLine(state_.Packets.TestSequence++)); }

void PeerLink::StopTimers() {
  StopPacketTest();
  if (connectTimer_) timers_.Stop(connectTimer_);
  connectTimer_ = 0;
  if (countdownTimer_) {
    timers_.Stop(countdownTimer_);
    countdownTimer_ = 0;
    host_.CountdownChanged(false);
  }
}

// ---- Boxes and windows ----

void PeerLink::ShowLinkBox(LinkBoxKind kind, const std::string& text) {
  // One box of a text at a time: fifty refused connections raise one box.
  if (!openBoxes_.insert(text).second) {
    host_.Beep();
    return;
  }
  host_.ShowBox(kind, text, [this, text, alive = std::weak_ptr<bool>(alive_)] {
    if (!alive.expired()) openBoxes_.erase(text);
  });
}

void PeerLink::ChatLineAdded() { ViewsChanged(true, net_.Chat != 0, false); }

void PeerLink::ParticipantsChanged() { ViewsChanged(true, false, false); }

void PeerLink::ViewsChanged(bool chat, bool showChat, bool counters) {
  chatDirty_ = chatDirty_ || chat;
  showChat_ = showChat_ || showChat;
  countersDirty_ = countersDirty_ || counters;
  if (flushPosted_) return;
  flushPosted_ = true;
  timers_.Post([this, alive = std::weak_ptr<bool>(alive_)] {
    if (!alive.expired()) FlushViews();
  });
}

void PeerLink::FlushViews() {
  flushPosted_ = false;
  if (chatDirty_) host_.ChatChanged(showChat_);
  if (countersDirty_) host_.CountersChanged();
  chatDirty_ = showChat_ = countersDirty_ = false;
}
