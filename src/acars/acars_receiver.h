#pragma once
// VHF ACARS reception of both channels: the demodulators, the framers and
// the block bits, reaching the rest of the program through one small link.
#include <cstddef>
#include <cstdint>

#include "acars/acars_demodulator.h"
#include "acars/acars_framer.h"
#include "acars/acars_message.h"
#include "platform/color.h"

// What the framer needs of the program around it. It knows nothing of
// linked copies: a good block is handed on, and the road decides.
class AcarsReceiverLink {
 public:
  virtual ~AcarsReceiverLink() = default;
  virtual void PaintLamp(int channel, TColor colour) = 0;
  // The lamp stays lit for a few audio blocks after this.
  virtual void ResetLampHold(int channel) = 0;
  // Counts a VHF ACARS block in the reception statistics.
  virtual void CountFrame(bool failed) = 0;
  // A block whose parity and check sequence hold.
  virtual void BlockReceived(const AcarsBlock& block) = 0;
};

constexpr TColor kLampGood = 65280;  // pure green
constexpr TColor kLampBad = 255;     // pure red
constexpr TColor kLampOff = 0;

class AcarsReceiver {
 public:
  static constexpr int kBlockSamples = 512;

  // Demodulates one block of 512 samples at 11025 Hz in place (each sample
  // becomes its phase) and frames the bits found.
  void DemodulateAcarsBlock(AcarsReceiverLink& link, int channel, double* block);
  void ReceiveAcarsBit(AcarsReceiverLink& link, int channel, int bit);

  bool InBlock(int channel) const { return Framer[channel].InBlock != 0; }
  // A channel's decoder changed: leave the block, lamp black. The filters
  // and the clock run on.
  void ResetChannel(AcarsReceiverLink& link, int channel);

  AcarsDemodState Demod[2];
  AcarsFramerState Framer[2];
  uint8_t AcarsBlockBits[2][kAcarsBlockBitsSize] = {};

 private:
  void CloseBlock(AcarsReceiverLink& link, int channel);
  void Fail(AcarsReceiverLink& link, int channel);
};
