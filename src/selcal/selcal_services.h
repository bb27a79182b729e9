#pragma once
// Operations of SELCAL decoding.

struct Form1State;

class SelcalServices {
 public:
  virtual ~SelcalServices() = default;

  // Tone detection on elements 0..511 of the channel's AudioBlock row.
  virtual void DecodeSelcalBlock(Form1State& form, int channel);
  // The SELCAL part of a channel reset: the first-pair flag, the run and the
  // wait for the second pair start again.
  virtual void ResetSelcalChannel(Form1State& form, int channel);
  // Stops the SELCAL panel's timed monitor (its Timer1).
  virtual void DisableTimer1(Form1State& form);
};

SelcalServices& DefaultSelcalServices();

// Start-up: each channel's adaptive weights from their start table.
void InitSelcalWeights(Form1State& form);
