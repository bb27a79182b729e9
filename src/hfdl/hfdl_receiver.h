#pragma once
// HFDL reception of both channels: the demodulator, frame synchronisation
// and the decoder, reaching the rest of the program through one small
// link. It knows nothing of linked copies: a decoded frame is handed on,
// and the road decides.
#include "hfdl/hfdl_frame.h"

struct HfdlReception;

// What HFDL reception needs of the program around it.
class HfdlReceiverLink {
 public:
  virtual ~HfdlReceiverLink() = default;
  // The channel's lock lamp: lit while a preamble is locked.
  virtual void LockLamp(int channel, bool locked) = 0;
  // A preamble and mode (4 x interleave + rate) were found on a channel;
  // the carrier was measured off by freqError.
  virtual void SyncFound(int channel, int modeIndex, double freqError, bool otherChannelReceiving) = 0;
  // A frame was received and decoded.
  virtual void FrameDecoded(HfdlFrameInput frame) = 0;
};

// Demodulates one channel's 512 samples at 11025 Hz: overwrites them with
// the band-passed, levelled signal, fills the channel's block symbols,
// finds frames and decodes them.
void DemodulateHfdlBlock(HfdlReception& hfdl, HfdlReceiverLink& link, int channel, double* block);
// The channel's frame starts afresh (a decoder change, the recording device
// closed); filters, oscillators and the carrier measurement run on.
void ResetHfdlChannel(HfdlReception& hfdl, HfdlReceiverLink& link, int channel);
