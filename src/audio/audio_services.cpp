#include "audio/audio_services.h"

#include <cstdio>

#include "app/form1_state.h"
#include "platform/message_box.h"

namespace {

// Failures of the devices are shown without blocking (the constructor opens
// them before any other window exists) and written to standard error, so
// that a run without a screen can be checked.
void ReportDeviceFailure(Form1State& form, const char* english, const char* japanese) {
  std::fprintf(stderr, "%s\n", english);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, form.UseEnglish ? english : japanese);
}

}  // namespace

void AudioServices::SetSampleRate(Form1State&) {}

bool AudioServices::OpenWaveIn(Form1State& form) {
  ReportDeviceFailure(form, "Can not open the recoding device",
                      "録音デバイスをオープンできないためプログラムの実行ができません\n"
                      "デバイスが使用中か録音フォーマットに対応していない可能性があります");
  return false;
}

void AudioServices::CloseWaveIn(Form1State&) {}

bool AudioServices::OpenWaveOut(Form1State& form) {
  ReportDeviceFailure(form, "Can not open the play device", "再生デバイスをオープンできません");
  return false;
}

void AudioServices::CloseWaveOut(Form1State&) {}

void AudioServices::OnWaveInData(Form1State&) {}

void AudioServices::OnWaveOutDone(Form1State&) {}

void AudioServices::StartAudioMonitor(Form1State&, bool, int) {}

void AudioServices::WriteSilentMonitorBlock(Form1State&) {}

void AudioServices::SpeedButton17Click(Form1State&) {}

AudioServices& DefaultAudioServices() {
  static AudioServices services;
  return services;
}
