#pragma once
// A receiver link that only keeps the blocks handed on, as "+" through the
// terminator.
#include <string>
#include <vector>

#include "acars/acars_receiver.h"

class CollectingLink : public AcarsReceiverLink {
 public:
  void PaintLamp(int, TColor) override {}
  void ResetLampHold(int) override {}
  void CountFrame(bool) override {}
  void BlockReceived(const AcarsBlock& block) override { blocks.push_back(kAcarsSyncCharacters + block.Characters); }
  std::vector<std::string> blocks;
};
