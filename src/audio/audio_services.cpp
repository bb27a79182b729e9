#include "audio/audio_services.h"

#include "audio/audio_monitor.h"
#include "audio/clock_panel.h"
#include "audio/constellation.h"
#include "audio/spectrum_display.h"
#include "audio/wave_devices.h"

void AudioServices::SetSampleRate(Form1State& form) { wave_devices::SetSampleRate(form); }

bool AudioServices::OpenWaveIn(Form1State& form) { return wave_devices::OpenWaveIn(form); }

void AudioServices::CloseWaveIn(Form1State& form) { wave_devices::CloseWaveIn(form); }

bool AudioServices::OpenWaveOut(Form1State& form) { return wave_devices::OpenWaveOut(form); }

void AudioServices::CloseWaveOut(Form1State& form) { wave_devices::CloseWaveOut(form); }

void AudioServices::OnWaveInData(Form1State& form, WaveInBuffer buffer) { DeliverWaveInBuffer(form, std::move(buffer)); }

void AudioServices::OnWaveOutDone(Form1State&) {}

void AudioServices::StartAudioMonitor(Form1State& form, bool forced, int channel) {
  ::StartAudioMonitor(form, forced, channel);
}

void AudioServices::WriteSilentMonitorBlock(Form1State& form) { ::WriteSilentMonitorBlock(form); }

void AudioServices::FeedAudioMonitor(Form1State& form) { ::FeedAudioMonitor(form); }

void AudioServices::DrawSpectrum(Form1State& form) { ::DrawSpectrum(form); }

void AudioServices::DrawClockFace(Form1State& form) { ::DrawClockFace(form); }

void AudioServices::DrawLevelMeters(Form1State& form, const int16_t* interleaved, int frames) {
  ::DrawLevelMeters(form, interleaved, frames);
}

void AudioServices::DrawConstellation(Form1State& form) { ::DrawConstellation(form); }

void AudioServices::SpeedButton17Click(Form1State& form) { ::SpeedButton17Click(form); }

AudioServices& DefaultAudioServices() {
  static AudioServices services;
  return services;
}
