#include "exchange/peer_link_scanner.h"

#include <algorithm>

#include "exchange/chat.h"
#include "exchange/peer_link_byte_mapping.h"

namespace {

constexpr uint8_t kSoh = 0x01;
constexpr uint8_t kEtx = 0x03;
constexpr uint8_t kSyn = 0x16;
constexpr uint8_t kEtb = 0x17;
constexpr size_t kTokenLength = 20;

// Lower case too: the analysis reads it right.
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool WindowIs(const std::array<uint8_t, 6>& w, const uint8_t* expected, size_t n, int add) {
  for (size_t i = 0; i < n; ++i) {
    if (static_cast<uint8_t>(w[i] + add) != expected[i]) return false;
  }
  return true;
}

AcarsBearer BearerOf(const std::string& tag) {
  if (tag == "RAW") return AcarsBearer::Import;
  if (tag == "DDE") return AcarsBearer::Dde;
  return AcarsBearer::Link;
}

}  // namespace

PeerLinkScanner::PeerLinkScanner(ExchangeState& state, const NetSettings& net, const TxtSettings& txt,
                                 ScannerEffects& effects, std::string tag)
    : state_(state), net_(net), txt_(txt), effects_(effects), tag_(std::move(tag)) {}

void PeerLinkScanner::Feed(std::string_view bytes) {
  for (char raw : bytes) {
    if (raw == '\0') {
      Leave();
      continue;
    }
    const uint8_t d = PeerLinkDecodeByte(raw);
    switch (frame_) {
      case Frame::None: Hunt(raw, d); break;
      case Frame::Hfdl: InHfdl(raw, d); break;
      case Frame::Probe: InProbe(raw); break;
      case Frame::Acars:
      case Frame::Chat: InAcarsOrChat(raw, d); break;
    }
  }
}

void PeerLinkScanner::Hunt(char raw, uint8_t d) {
  std::rotate(window_.begin(), window_.begin() + 1, window_.end());
  std::rotate(rawWindow_.begin(), rawWindow_.begin() + 1, rawWindow_.end());
  window_[5] = d;
  rawWindow_[5] = raw;
  static const uint8_t acars[] = {'+', '*', kSyn, kSyn, kSoh};
  static const uint8_t chat[] = {'[', 'C', 'H', 'A', 'T'};
  static const uint8_t hfdl[] = {'H', 'F', 'D', 'L', kSoh};
  static const uint8_t loop[] = {'[', 'L', 'O', 'O', 'P', ']'};
  const bool isAcars = WindowIs(window_, acars, 5, 0);
  if (isAcars || WindowIs(window_, chat, 5, 0)) {
    frame_ = isAcars ? Frame::Acars : Frame::Chat;
    netAcars_.clear();
    for (uint8_t c : window_) netAcars_.push_back(static_cast<char>(c & 0x7F));
    count_ = 6;
    chat_ = "[CHAT]";
    wire_.assign(rawWindow_.begin(), rawWindow_.end());
  } else if (WindowIs(window_, hfdl, 5, 1) && IsHexDigit(static_cast<char>(window_[5] + 1))) {
    frame_ = Frame::Hfdl;
    hex_.assign(1, static_cast<char>(window_[5] + 1));
  } else if (WindowIs(window_, loop, 6, 1)) {
    frame_ = Frame::Probe;
    loopPayload_.clear();
  }
}

void PeerLinkScanner::InHfdl(char raw, uint8_t d) {
  const char digit = static_cast<char>(d + 1);
  if (digit == kEtx) return EndHfdl();
  if (hex_.size() >= kMaxHfdlDigits) return Leave();
  if (!IsHexDigit(digit)) {
    // A frame cut off (a log line written only in part): the next frame
    // may start right here.
    Leave();
    return Hunt(raw, d);
  }
  hex_.push_back(digit);
}

void PeerLinkScanner::EndHfdl() {
  const std::string hex = std::move(hex_);
  Leave();
  if (state_.NetConnected && net_.Server) effects_.RelayToClients(std::string("HFDL\x01", 5) + hex + '\x03');
  effects_.EmptyHfdlAnalysis();
  if (net_.RecvHF) effects_.EnterHfdlFrame(hex);
  effects_.LightNetworkLamp();
}

void PeerLinkScanner::InProbe(char raw) {
  // A probe travels unmapped: its bytes are read as they are.
  if (raw == '\n') return EndProbe();
  if (raw == '\r') return;
  if (loopPayload_.size() >= kMaxProbePayload) return Leave();
  loopPayload_.push_back(raw);
}

void PeerLinkScanner::EndProbe() {
  const std::string payload = std::move(loopPayload_);
  Leave();
  bool changed = false;
  if (net_.Server) {
    effects_.RelayToClients("[LOOP]" + payload + "\r\n");
    changed = ChatListAdd(state_.Participants, payload);
  } else if (!state_.LoopProbeToken.empty() && payload.size() >= kTokenLength &&
             payload.compare(0, kTokenLength, state_.LoopProbeToken) == 0) {
    // The answer to this client's own probe.
    state_.LoopProbePending = 0;
    state_.LoopProbeRetries = 0;
    changed = ChatListCheck(state_.Participants);
  } else {
    changed = ChatListAdd(state_.Participants, payload);
  }
  if (changed) effects_.ParticipantsChanged();
}

void PeerLinkScanner::InAcarsOrChat(char raw, uint8_t d) {
  if (count_ >= kMaxAcarsFrameCharacters) return Leave();
  chat_.push_back(static_cast<char>(d));
  netAcars_.push_back(static_cast<char>(d & 0x7F));
  wire_.push_back(raw);
  ++count_;
  // An ACARS start inside a frame, which no block or chat line holds: the
  // frame before it was cut off (a log line written only in part, a peer
  // gone mid-frame), and the new frame is read from its start.
  static const char acars[] = {'+', '*', kSyn, kSyn, kSoh};
  if (chat_.size() >= 12 && chat_.compare(chat_.size() - 6, 5, acars, 5) == 0) {
    frame_ = Frame::Acars;
    netAcars_.erase(0, netAcars_.size() - 6);
    wire_.erase(0, wire_.size() - 6);
    chat_ = "[CHAT]";
    count_ = 6;
  }
  if (d == kEtb || d == kEtx) EndAcarsOrChat(d == kEtx);
}

void PeerLinkScanner::EndAcarsOrChat(bool etx) {
  const bool isChat = frame_ == Frame::Chat;
  const std::string characters = std::move(netAcars_);
  const std::string accumulated = std::move(chat_);
  const std::string wire = std::move(wire_);
  Leave();
  effects_.LightNetworkLamp();
  // Each finished frame goes to the clients once, with its own bytes: with
  // duplicate checking and VHF reception on, the parser hands blocks on
  // after its check, and chat lines go always.
  const bool server = net_.Server != 0;
  const bool linkedServer = state_.NetConnected && server;
  const bool parserRelays = net_.DupCheckSend && net_.RecvVHF;
  if ((linkedServer && !parserRelays) || (isChat && server && parserRelays)) effects_.RelayToClients(wire);
  const std::string tag = tag_.empty() ? "NET" : tag_;
  if (!isChat) {
    if (!net_.RecvVHF) return;
    AcarsBlock block;
    // SOH through the terminator; the two characters after it are zero.
    block.Characters = characters.substr(4);
    block.CheckSequence.assign(2, '\0');
    block.End = etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
    block.Bearer = BearerOf(tag);
    block.SourceTag = tag;
    effects_.EnterAcarsBlock(block);
    return;
  }
  // name ">" text: the accumulator without "[CHAT]" and the end character.
  AppendChatLog(state_.ChatLog, std::string_view(accumulated).substr(6, accumulated.size() - 7), txt_.MaxBytes);
  effects_.ChatLineAdded();
}

void PeerLinkScanner::Leave() {
  frame_ = Frame::None;
  count_ = 0;
  window_.fill(0);
  rawWindow_.fill(0);
  netAcars_.clear();
  hex_.clear();
  chat_.clear();
  loopPayload_.clear();
  wire_.clear();
}
