#pragma once
// The audio subsystem's links to the rest of the program, over the main
// window's state. TForm1 owns one for the run.
#include "audio/audio_links.h"

class FormEffects;
class ReceptionWiring;
struct Form1State;

// The settings sections audio reads, from the state.
AudioSettings AudioSettingsOf(const Form1State& form);

class AudioWiring : public BlockPipelineLink, public MonitorButtonLink {
 public:
  AudioWiring(Form1State& form, FormEffects& effects, ReceptionWiring& reception)
      : form_(form), effects_(effects), reception_(reception) {}

  // The window and the decoders, for the input-device dialog.
  FormEffects& Effects() { return effects_; }
  ReceptionWiring& Reception() { return reception_; }

  // BlockPipelineLink
  bool Running() const override;
  void DecodeBlock(int channel, DecoderKind decoder) override;
  void RestartFrames() override;
  bool InFrame(int channel) const override;
  BlockSymbols HfdlSymbols(int channel) const override;
  void PaintLamp(Lamp lamp, TColor colour) override;
  void ShowPicture(AudioPicture picture, const Bitmap24& bitmap) override;
  bool MonitorOn() const override;
  bool StatusPanelOn() const override;
  void ClockStepped() override;
  void BlockDone() override;
  void InputEnded() override;

  // MonitorButtonLink
  void StopTimedMonitor() override;
  void RequestAircraftLayerRedraw() override;

 private:
  Form1State& form_;
  FormEffects& effects_;
  ReceptionWiring& reception_;
};
