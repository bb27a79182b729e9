#include "app/audio_wiring.h"

#include <algorithm>

#include "acars/acars_services.h"
#include "aircraft/aircraft_services.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "exchange/exchange_services.h"
#include "hfdl/hfdl_channel_state.h"
#include "hfdl/hfdl_services.h"
#include "map/map_services.h"
#include "selcal/selcal_services.h"

AudioSettings AudioSettingsOf(const Form1State& form) { return {form.Wave, form.Etc, form.Form, form.Color}; }

bool AudioWiring::Running() const { return form_.app.Running != 0; }

void AudioWiring::DecodeBlock(int channel, DecoderKind decoder) {
  switch (decoder) {
    case DecoderKind::VhfAcars: form_.svc.acars->DemodulateAcarsBlock(form_, channel); break;
    case DecoderKind::Hfdl: form_.svc.hfdl->DemodulateHfdlBlock(form_, channel); break;
    case DecoderKind::Selcal: form_.svc.selcal->DecodeSelcalBlock(form_, channel); break;
  }
}

void AudioWiring::RestartFrames() {
  for (HfdlChannelState& channel : form_.hfdl.Channels) ResetHfdlFrameState(channel);
}

bool AudioWiring::InFrame(int channel) const {
  return form_.hfdl.Channels[channel].Locked != 0 || form_.svc.acars->InBlock(form_, channel);
}

BlockSymbols AudioWiring::HfdlSymbols(int channel) const {
  const HfdlBlockSymbolList& list = form_.hfdl.HfdlBlockSymbols[channel];
  return {list.I, list.Q, std::clamp(list.Count, 0, HfdlBlockSymbolList::kCapacity)};
}

void AudioWiring::PaintLamp(Lamp lamp, TColor colour) { form_.svc.effects->PaintLamp(lamp, colour); }

void AudioWiring::ShowPicture(AudioPicture picture, const Bitmap24& bitmap) {
  form_.svc.effects->SetControlPicture(1, picture == AudioPicture::Spectrum ? "Image5" : "Image6", bitmap);
}

bool AudioWiring::MonitorOn() const { return form_.controls.SpeedButton17Down != 0; }

bool AudioWiring::StatusPanelOn() const { return form_.controls.N27Checked != 0; }

void AudioWiring::ClockStepped() {
  form_.svc.exchange->UpdateDailyLogNames(form_, false);
  if (form_.Map.TimeAdjust) form_.svc.aircraft->UpdateTrackAges(form_);
}

void AudioWiring::BlockDone() {}

void AudioWiring::InputEnded() { form_.svc.effects->CloseMainWindow(); }

void AudioWiring::StopTimedMonitor() { form_.svc.selcal->DisableTimer1(form_); }

void AudioWiring::RequestAircraftLayerRedraw() { form_.svc.map->Redraw(form_, 0, 1, 0, 0); }
