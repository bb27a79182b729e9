#pragma once
// The reader of the link between copies. It finds the frames in the bytes
// of one connection, or of one whole text (an item value, an import
// record): ACARS blocks, HFDL frames, chat lines, keep-alive probes and test
// lines, anywhere among other bytes. A connection keeps one scanner for its
// life, so that a frame cut across reads is read whole. What a finished
// frame does goes through ScannerEffects; the scanner changes only the
// link's own state (chat log, participants, the probe's answer).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "acars/acars_message.h"
#include "app/settings_sections.h"
#include "exchange/exchange_state.h"

// Longest frames taken; a frame past its cap is dropped and the scanner
// hunts again from the next byte. An HFDL frame of the largest mode has
// 3780 digits.
constexpr size_t kMaxHfdlDigits = 3780;
constexpr int kMaxAcarsFrameCharacters = 510;  // start and end included
constexpr size_t kMaxProbePayload = 512;

class ScannerEffects {
 public:
  virtual ~ScannerEffects() = default;
  // A block for the ACARS parser, labelled with its tag.
  virtual void EnterAcarsBlock(const AcarsBlock& block) = 0;
  // The hex text of an HFDL frame for the analysis (tagged NET).
  virtual void EnterHfdlFrame(const std::string& hex) = 0;
  // Before each HFDL frame the analysis text starts afresh.
  virtual void EmptyHfdlAnalysis() = 0;
  // The network reception lamp: a frame was received.
  virtual void LightNetworkLamp() = 0;
  // A server hands a finished frame on to every client.
  virtual void RelayToClients(const std::string& wire) = 0;
  // ChatLog gained a line.
  virtual void ChatLineAdded() = 0;
  virtual void ParticipantsChanged() = 0;
};

class PeerLinkScanner {
 public:
  // tag: the label of the ACARS blocks found ("RAW", "DDE"); empty gives
  // "NET". HFDL frames are always "NET".
  PeerLinkScanner(ExchangeState& state, const NetSettings& net, const TxtSettings& txt, ScannerEffects& effects,
                  std::string tag = {});

  // Scans bytes as they come. A 0 byte drops the frame in progress.
  void Feed(std::string_view bytes);

 private:
  enum class Frame { None, Acars, Chat, Hfdl, Probe };

  void Hunt(char raw, uint8_t d);
  void InHfdl(char raw, uint8_t d);
  void InProbe(char raw);
  void InAcarsOrChat(char raw, uint8_t d);
  void EndHfdl();
  void EndProbe();
  void EndAcarsOrChat(bool etx);
  // Out of any frame, with an empty window.
  void Leave();

  ExchangeState& state_;
  const NetSettings& net_;
  const TxtSettings& txt_;
  ScannerEffects& effects_;
  const std::string tag_;

  // The last six decoded bytes outside a frame, and the bytes they came as.
  std::array<uint8_t, 6> window_{};
  std::array<char, 6> rawWindow_{};
  Frame frame_ = Frame::None;
  int count_ = 0;
  // The characters of the ACARS or chat frame (7 bits each: the Part's
  // NetAcarsBits as characters).
  std::string netAcars_;
  std::string hex_;
  std::string chat_;  // "[CHAT]" and the decoded characters
  std::string loopPayload_;
  // The frame's bytes as received, from its start marker.
  std::string wire_;
};
