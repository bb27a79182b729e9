#include "audio/wave_devices.h"

#include <QCoreApplication>
#include <cstdio>

#include "app/form1_state.h"
#include "app/form_effects.h"
#include "hfdl/hfdl_channel_state.h"
#include "platform/message_box.h"

namespace {

constexpr int kMonitorRate = 11025;
constexpr int kMonitorPeriodFrames = 512;
constexpr int kMonitorPeriods = 8;

class AlsaDevices : public AudioDeviceFactory {
 public:
  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const Form1State& form) override {
    std::string pcm = form.Wave.WaveInput == 0 ? "default" : CapturePcmName(form.Wave.WaveInput, platform::EnumerateCaptureDevices());
    return std::make_unique<platform::AlsaCaptureSource>(pcm);
  }
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override {
    return std::make_unique<platform::AlsaPlaybackSink>("default");
  }
};

// Shown without blocking: at start-up the main window is still being built
// and an event loop run here would run the pipeline early. The English text
// also goes to standard error, so that a run without a screen can be
// checked.
void ReportDeviceFailure(Form1State& form, const char* english, const char* japanese) {
  std::fprintf(stderr, "%s\n", english);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, form.app.UseEnglish ? english : japanese);
}

void ReportCaptureFailure(Form1State& form, platform::DeviceOpenResult result) {
  if (result == platform::DeviceOpenResult::DeviceRefused) {
    ReportDeviceFailure(form, "Can not open the recoding device",
                        "録音デバイスをオープンできないためプログラムの実行ができません\n"
                        "デバイスが使用中か録音フォーマットに対応していない可能性があります");
  } else {
    ReportDeviceFailure(form, "Can not get the buffer",
                        "バッファを確保できないためプログラムの実行ができません\n"
                        "メモリが不足している可能性があります");
  }
}

void ReportPlaybackFailure(Form1State& form, platform::DeviceOpenResult result) {
  if (result == platform::DeviceOpenResult::DeviceRefused) {
    ReportDeviceFailure(form, "Can not open the play device", "再生デバイスをオープンできません");
  } else {
    ReportDeviceFailure(form, "Can not get the buffer", "バッファを確保できません");
  }
}

// Stops the source, discards every delivery still on its way, and leaves
// the device closed.
void StopCapture(WaveInDevice& in) {
  if (in.Queue) in.Queue->Shut();
  if (in.Handle) in.Handle->Close();
  in.Handle.reset();
  in.Queue.reset();
  in.Current = 0;
  if (in.Receiver) QCoreApplication::removePostedEvents(in.Receiver, kWaveInDataEvent);
  in.Waiting.clear();
}

}  // namespace

AudioDeviceFactory& SystemAudioDevices() {
  static AlsaDevices devices;
  return devices;
}

std::string CapturePcmName(int waveInput, const std::vector<platform::CaptureDevice>& devices) {
  if (waveInput == 0) return "default";
  if (waveInput < 0 || static_cast<size_t>(waveInput) > devices.size()) return "";
  return devices[static_cast<size_t>(waveInput) - 1].pcmName;
}

namespace wave_devices {

void SetSampleRate(Form1State& form) {
  int rate = form.audio.AudioDevices ? form.audio.AudioDevices->FixedSampleRate() : 0;
  if (rate == 0) rate = form.Wave.WaveRate == 1 ? 22050 : form.Wave.WaveRate == 2 ? 44100 : 11025;
  form.audio.SampleRate = rate;
  WaveInDevice& in = form.audio.WaveIn;
  in.BufferFrames = rate * 2048 / 44100;
  in.BufferBytes = in.BufferFrames * form.audio.SampleChannels * form.audio.SampleBits / 8;
  WaveFormat& f = in.Format;
  f.FormatTag = 1;
  f.Channels = form.audio.SampleChannels;
  f.SamplesPerSec = rate;
  f.BitsPerSample = form.audio.SampleBits;
  f.BlockAlign = form.audio.SampleChannels * form.audio.SampleBits / 8;
  f.AvgBytesPerSec = rate * f.BlockAlign;
  f.ExtraSize = 0;
}

bool OpenWaveIn(Form1State& form) {
  WaveInDevice& in = form.audio.WaveIn;
  StopCapture(in);
  ++in.Generation;
  std::unique_ptr<platform::AudioCaptureSource> source;
  if (form.audio.AudioDevices) source = form.audio.AudioDevices->MakeCaptureSource(form);
  auto queue = std::make_shared<CaptureQueue>(in.Receiver, in.Generation);
  auto result = platform::DeviceOpenResult::DeviceRefused;
  if (source) {
    // Without a receiver the buffers would have nowhere to go.
    result = in.Receiver ? source->Open(form.audio.SampleRate, in.BufferFrames, queue)
                         : platform::DeviceOpenResult::BufferFailed;
  }
  if (result != platform::DeviceOpenResult::Opened) {
    // Nothing half open: no thread, no device, no buffer on its way.
    queue->Shut();
    if (source) source->Close();
    StopCapture(in);
    ReportCaptureFailure(form, result);
    return false;
  }
  in.Handle = std::move(source);
  in.Queue = std::move(queue);
  in.Current = 0;
  return true;
}

void CloseWaveIn(Form1State& form) {
  StopCapture(form.audio.WaveIn);
  // Whether or not a device was open: both channels' frames start afresh.
  for (HfdlChannelState& channel : form.hfdl.Channels) ResetHfdlFrameState(channel);
  form.svc.effects->PaintLamp(Lamp::Left, 0);
  form.svc.effects->PaintLamp(Lamp::Right, 0);
}

bool OpenWaveOut(Form1State& form) {
  WaveOutDevice& out = form.audio.WaveOut;
  CloseWaveOut(form);
  auto result = platform::DeviceOpenResult::DeviceRefused;
  std::unique_ptr<platform::AudioPlaybackSink> sink;
  if (form.audio.AudioDevices) sink = form.audio.AudioDevices->MakePlaybackSink();
  if (sink) result = sink->Open(kMonitorRate, kMonitorPeriodFrames, kMonitorPeriods);
  if (result != platform::DeviceOpenResult::Opened) {
    // The main window stays; the monitor's writes go nowhere.
    if (sink) sink->Close();
    ReportPlaybackFailure(form, result);
    return false;
  }
  out.Handle = std::move(sink);
  out.Current = 0;
  return true;
}

void CloseWaveOut(Form1State& form) {
  WaveOutDevice& out = form.audio.WaveOut;
  if (!out.Handle) return;
  out.Handle->Close();
  out.Handle.reset();
  out.Current = 0;
}

}  // namespace wave_devices
