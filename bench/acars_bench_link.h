#pragma once
// A receiver link that only keeps the blocks handed to the parser.
#include <string>
#include <vector>

#include "acars/acars_receiver.h"

class CollectingLink : public AcarsReceiverLink {
 public:
  void PaintLamp(int, TColor) override {}
  void ResetLampHold(int) override {}
  void CountFrame(bool) override {}
  bool NetConnected() const override { return false; }
  bool Server() const override { return false; }
  bool DupCheckSend() const override { return false; }
  void SendToAllClients(const std::string&) override {}
  void SendToServer(const std::string&) override {}
  void SetSourceTag(const std::string&) override {}
  void ParseAcarsBlock(const uint8_t* bits, size_t bitsSize, int bitCount, AcarsEndFlag) override {
    std::string chars;
    for (int i = 0; i < bitCount / 8 - 2 && 8 * static_cast<size_t>(i) + 7 < bitsSize; ++i) {
      int c = 0;
      for (int k = 0; k < 7; ++k) c |= bits[8 * i + k] << k;
      chars += static_cast<char>(c);
    }
    blocks.push_back(chars);
  }
  std::vector<std::string> blocks;
};
