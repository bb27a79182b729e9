#include "acars/acars_receiver.h"

#include "platform/shared_helpers.h"

namespace {

constexpr int kEtx = 3;
constexpr int kEtb = 23;

}  // namespace

void AcarsReceiver::DemodulateAcarsBlock(AcarsReceiverLink& link, int channel, double* block) {
  DemodulateAcarsSamples(Demod[channel], block, kBlockSamples,
                         [&](int bit) { ReceiveAcarsBit(link, channel, bit); });
}

void AcarsReceiver::ReceiveAcarsBit(AcarsReceiverLink& link, int channel, int bit) {
  AcarsFramerState& f = Framer[channel];
  uint8_t* bits = AcarsBlockBits[channel];
  if (!f.InBlock) {
    for (int i = 0; i < 23; ++i) f.SyncWindow[i] = f.SyncWindow[i + 1];
    f.SyncWindow[23] = static_cast<uint8_t>(bit);
    f.SyncScore = 0;
    for (int i = 0; i < 24; ++i) f.SyncScore += f.SyncWindow[i] == AcarsPreambleBits[16 + i] ? 1 : -1;
    if (f.SyncScore > 23 || f.SyncScore < -23) {
      f.InBlock = 1;
      // Either sense of the match: the bits that follow come out right.
      Demod[channel].DiffState = 0;
      for (int i = 0; i < 40; ++i) bits[i] = AcarsPreambleBits[i];
      f.BitPos = 40;
      f.EndPos = kAcarsNoEnd;
    }
    return;
  }
  bits[f.BitPos] = bit ? 0 : 1;
  if (f.BitPos % 8 == 0) {
    const uint8_t* ch = bits + f.BitPos - 8;
    // The BCS and the character after it carry no parity of their own.
    if (f.BitPos < f.EndPos - 16) {
      int ones = 0;
      for (int i = 0; i < 7; ++i) ones += ch[i];
      if (ch[7] != ((ones % 2 == 0) ? 1 : 0)) {
        Fail(link, channel);
        return;
      }
    }
    const int c = BitsToAscii7(bits, f.BitPos / 8 - 1);
    if ((c == kEtx || c == kEtb) && f.EndPos == kAcarsNoEnd) {
      f.EndPos = f.BitPos + 16;
      f.EtxFlag = c == kEtx ? 1 : 0;
    }
    if (f.BitPos > f.EndPos) {
      CloseBlock(link, channel);
      return;
    }
  }
  f.BitPos += 1;
}

void AcarsReceiver::Fail(AcarsReceiverLink& link, int channel) {
  Framer[channel].InBlock = 0;
  link.CountFrame(true);
  link.PaintLamp(channel, kLampBad);
  link.ResetLampHold(channel);
}

void AcarsReceiver::CloseBlock(AcarsReceiverLink& link, int channel) {
  AcarsFramerState& f = Framer[channel];
  const uint8_t* bits = AcarsBlockBits[channel];
  f.CrcOk = AcarsCrcIsZero(bits, 40, f.EndPos) ? 1 : 0;
  f.InBlock = 0;
  if (!f.CrcOk) {
    link.PaintLamp(channel, kLampBad);
    link.ResetLampHold(channel);
    link.CountFrame(true);
    return;
  }
  link.PaintLamp(channel, kLampGood);
  link.ResetLampHold(channel);
  link.CountFrame(false);
  // The characters after the sync characters: SOH .. the terminator, then
  // the two of the block check sequence.
  const int terminator = f.EndPos / 8 - 3;
  AcarsBlock block;
  for (int n = kAcarsSyncLength; n <= terminator; ++n) block.Characters.push_back(static_cast<char>(BitsToAscii7(bits, n)));
  for (int n = terminator + 1; n <= terminator + 2; ++n) {
    block.CheckSequence.push_back(static_cast<char>(BitsToAscii7(bits, n)));
  }
  block.End = f.EtxFlag ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
  block.Bearer = AcarsBearer::Vhf;
  block.Channel = channel;
  block.SourceTag = channel == 0 ? "Lch" : "Rch";
  link.BlockReceived(block);
}

void AcarsReceiver::ResetChannel(AcarsReceiverLink& link, int channel) {
  Framer[channel].InBlock = 0;
  link.PaintLamp(channel, kLampOff);
}
