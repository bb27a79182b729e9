#include "audio/audio_services.h"

#include "audio/wave_devices.h"

void AudioServices::SetSampleRate(Form1State& form) { wave_devices::SetSampleRate(form); }

bool AudioServices::OpenWaveIn(Form1State& form) { return wave_devices::OpenWaveIn(form); }

void AudioServices::CloseWaveIn(Form1State& form) { wave_devices::CloseWaveIn(form); }

bool AudioServices::OpenWaveOut(Form1State& form) { return wave_devices::OpenWaveOut(form); }

void AudioServices::CloseWaveOut(Form1State& form) { wave_devices::CloseWaveOut(form); }

void AudioServices::OnWaveInData(Form1State& form, WaveInBuffer buffer) { DeliverWaveInBuffer(form, std::move(buffer)); }

void AudioServices::OnWaveOutDone(Form1State&) {}

void AudioServices::StartAudioMonitor(Form1State&, bool, int) {}

void AudioServices::WriteSilentMonitorBlock(Form1State&) {}

void AudioServices::FeedAudioMonitor(Form1State&) {}

void AudioServices::DrawSpectrum(Form1State&) {}

void AudioServices::DrawClockFace(Form1State&) {}

void AudioServices::DrawLevelMeters(Form1State&, const int16_t*, int) {}

void AudioServices::DrawConstellation(Form1State&) {}

void AudioServices::SpeedButton17Click(Form1State&) {}

AudioServices& DefaultAudioServices() {
  static AudioServices services;
  return services;
}
