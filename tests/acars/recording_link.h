#pragma once
// A receiver link that records what the framer does.
#include <string>
#include <vector>

#include "acars/acars_receiver.h"

struct ParsedBlock {
  std::string characters;  // "+" through the terminator, 7-bit values
  int bitCount = 0;
  AcarsEndFlag end = AcarsEndFlag::Etx;
  std::string sourceTag;
};

class RecordingLink : public AcarsReceiverLink {
 public:
  void PaintLamp(int channel, TColor colour) override { events.push_back("lamp" + std::to_string(channel) + ":" + std::to_string(colour)); }
  void ResetLampHold(int element) override { events.push_back("hold" + std::to_string(element)); }
  void CountFrame(bool failed) override { events.push_back(failed ? "count:failed" : "count:good"); }
  bool NetConnected() const override { return netConnected; }
  bool Server() const override { return server; }
  bool DupCheckSend() const override { return dupCheckSend; }
  void SendToAllClients(const std::string& text) override {
    events.push_back("sendAll");
    sent.push_back(text);
  }
  void SendToServer(const std::string& text) override {
    events.push_back("sendServer");
    sent.push_back(text);
  }
  void SetSourceTag(const std::string& tag) override { sourceTag = tag; }
  void ParseAcarsBlock(const uint8_t* bits, size_t bitsSize, int bitCount, AcarsEndFlag end) override {
    events.push_back("parse");
    ParsedBlock b;
    b.bitCount = bitCount;
    b.end = end;
    b.sourceTag = sourceTag;
    const int n = bitCount / 8 - 2;
    for (int i = 0; i < n && 8 * static_cast<size_t>(i) + 7 < bitsSize; ++i) {
      int c = 0;
      for (int k = 0; k < 7; ++k) c |= bits[8 * i + k] << k;
      b.characters += static_cast<char>(c);
    }
    parsed.push_back(b);
  }
  int Count(const std::string& event) const {
    int n = 0;
    for (const std::string& e : events) n += e == event;
    return n;
  }

  bool netConnected = false, server = false, dupCheckSend = false;
  std::string sourceTag;
  std::vector<std::string> events;
  std::vector<std::string> sent;
  std::vector<ParsedBlock> parsed;
};
