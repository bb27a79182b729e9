#pragma once
// A SELCAL call as the tone decoder hands it on: the four letters and the
// channel that heard them.
#include <string>

struct SelcalCall {
  std::string Code;  // e.g. "ABCD": two pairs, each in alphabetical order
  int Channel = 0;   // 0 left, 1 right
};

// Where the tone decoder hands its calls.
class SelcalReceiverLink {
 public:
  virtual ~SelcalReceiverLink() = default;
  virtual void CallDecoded(const SelcalCall& call) = 0;
};
