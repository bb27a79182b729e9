#include "app/audio_wiring.h"

#include <algorithm>

#include "aircraft/aircraft_table.h"
#include "app/form1_state.h"
#include "app/form_effects.h"
#include "app/reception_wiring.h"
#include "exchange/daily_log_set.h"
#include "hfdl/hfdl_channel_state.h"
#include "map/map_redraw.h"
#include "selcal/selcal_panel.h"

AudioSettings AudioSettingsOf(const Form1State& form) { return {form.Wave, form.Etc, form.Form, form.Color}; }

bool AudioWiring::Running() const { return form_.app.Running != 0; }

void AudioWiring::DecodeBlock(int channel, DecoderKind decoder) {
  reception_.DecodeBlock(channel, decoder, form_.audio.AudioBlock[channel]);
}

void AudioWiring::RestartFrames() {
  for (HfdlChannelState& channel : form_.hfdl.Channels) ResetHfdlFrameState(channel);
}

bool AudioWiring::InFrame(int channel) const {
  return form_.hfdl.Channels[channel].Locked != 0 || form_.acars.AcarsRx.InBlock(channel);
}

BlockSymbols AudioWiring::HfdlSymbols(int channel) const {
  const HfdlBlockSymbolList& list = form_.hfdl.HfdlBlockSymbols[channel];
  return {list.I, list.Q, std::clamp(list.Count, 0, HfdlBlockSymbolList::kCapacity)};
}

void AudioWiring::PaintLamp(Lamp lamp, TColor colour) { effects_.PaintLamp(lamp, colour); }

void AudioWiring::ShowPicture(AudioPicture picture, const Bitmap24& bitmap) { effects_.ShowAudioPicture(picture, bitmap); }

bool AudioWiring::MonitorOn() const { return form_.controls.SpeedButton17Down != 0; }

bool AudioWiring::StatusPanelOn() const { return form_.controls.N27Checked != 0; }

void AudioWiring::ClockStepped() {
  UpdateDailyLogNames(form_.text, form_.Etc, form_.app.AppDir, false);
  if (form_.Map.TimeAdjust) UpdateTrackAges(form_.aircraft, form_.Map, reception_.Aircraft(), form_.audio.BlockTime);
}

// The map layers the block's decoding asked for are drawn once, here.
void AudioWiring::BlockDone() { reception_.RunRequestedRedraws(); }

void AudioWiring::InputEnded() { effects_.CloseMainWindowAtEndOfInput(); }

void AudioWiring::StopTimedMonitor() { DisableTimer1(form_.selcal); }

void AudioWiring::RequestAircraftLayerRedraw() { RequestRedraw(form_.mapView, {MapLayer::Aircraft}); }
