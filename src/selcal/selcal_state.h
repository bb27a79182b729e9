#pragma once
// SELCAL decoding's state: per channel the tone decoder's enhancer and
// sequencer, the FFT tables both channels share, and the panel's state.
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "audio/fft_tables.h"
#include "platform/bitmap24.h"

// A block without a tone above level 0 (digital silence) has no pair.
constexpr int32_t kSelcalNoPair = -1;

// The sequencer of one channel. Tone indexes are 0..15 (A..S), or
// kSelcalNoPair; a channel starts without a pair, so that no call is ever
// made of a pair nobody heard.
struct SelcalChannelState {
  int32_t Lower = kSelcalNoPair, Upper = kSelcalNoPair;          // the current block's pair, Lower <= Upper
  int32_t PrevLower = kSelcalNoPair, PrevUpper = kSelcalNoPair;  // the pair at the start of the current run
  int32_t RunCount = 0;                                          // blocks in the current run minus one
  int32_t LatchedLower = kSelcalNoPair, LatchedUpper = kSelcalNoPair;  // the pair taken in the current run
  int32_t HeldLower = kSelcalNoPair, HeldUpper = kSelcalNoPair;  // a call's first pair, waiting for its second
  flag HeldValid = 0;
  int32_t HeldAge = 0;                   // blocks since the first pair was held
};

struct SelcalChannel {
  std::array<double, 11> DelayLine{};        // the last clamped samples, newest first
  std::array<double, 128> PredictorLine{};   // the same delayed by 10 samples, newest first
  std::array<double, 128> Weights{};         // the enhancer's LMS weights
  SelcalChannelState Sequencer;
};

// The panel's state, which lives for the whole run whether it shows or not.
struct SelcalPanelState {
  std::string TypedCode;          // the code being typed on the keypad
  std::string LastCode = "----";  // the last code received
  flag PanelShown = 0;            // nothing is drawn before the panel was shown
  Bitmap24 PanelBitmap;           // the composed picture, 133 high, 200 or more wide
  Bitmap24 PhotoBitmap;           // the aircraft's photograph, scaled to 200 x 133
  QTimer Timer1;                  // the timed monitor
};

struct SelcalState {
  FftTables SelcalFft;
  std::array<SelcalChannel, 2> Channels;
  SelcalPanelState Panel;
};
