#include "audio/wave_devices.h"

#include <QCoreApplication>
#include <cstdio>

#include "audio/audio_state.h"
#include "platform/message_box.h"

namespace {

constexpr int kMonitorRate = 11025;
constexpr int kMonitorPeriodFrames = 512;
constexpr int kMonitorPeriods = 8;

class AlsaDevices : public AudioDeviceFactory {
 public:
  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings& wave) override {
    std::string pcm = wave.WaveInput == 0 ? "default" : CapturePcmName(wave.WaveInput, platform::EnumerateCaptureDevices());
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
void ReportDeviceFailure(bool useEnglish, const char* english, const char* japanese) {
  std::fprintf(stderr, "%s\n", english);
  platform::ShowMessageBoxNonBlocking(platform::BoxKind::Error, useEnglish ? english : japanese);
}

void ReportCaptureFailure(bool useEnglish, platform::DeviceOpenResult result) {
  if (result == platform::DeviceOpenResult::DeviceRefused) {
    ReportDeviceFailure(useEnglish, "Can not open the recoding device",
                        "録音デバイスをオープンできないためプログラムの実行ができません\n"
                        "デバイスが使用中か録音フォーマットに対応していない可能性があります");
  } else {
    ReportDeviceFailure(useEnglish, "Can not get the buffer",
                        "バッファを確保できないためプログラムの実行ができません\n"
                        "メモリが不足している可能性があります");
  }
}

void ReportPlaybackFailure(bool useEnglish, platform::DeviceOpenResult result) {
  if (result == platform::DeviceOpenResult::DeviceRefused) {
    ReportDeviceFailure(useEnglish, "Can not open the play device", "再生デバイスをオープンできません");
  } else {
    ReportDeviceFailure(useEnglish, "Can not get the buffer", "バッファを確保できません");
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

void SetSampleRate(AudioState& audio, const WaveSettings& wave) {
  int rate = audio.AudioDevices ? audio.AudioDevices->FixedSampleRate() : 0;
  if (rate == 0) rate = wave.WaveRate == 1 ? 22050 : wave.WaveRate == 2 ? 44100 : 11025;
  audio.SampleRate = rate;
  WaveInDevice& in = audio.WaveIn;
  in.BufferFrames = rate * 2048 / 44100;
  in.BufferBytes = in.BufferFrames * audio.SampleChannels * audio.SampleBits / 8;
  WaveFormat& f = in.Format;
  f.FormatTag = 1;
  f.Channels = audio.SampleChannels;
  f.SamplesPerSec = rate;
  f.BitsPerSample = audio.SampleBits;
  f.BlockAlign = audio.SampleChannels * audio.SampleBits / 8;
  f.AvgBytesPerSec = rate * f.BlockAlign;
  f.ExtraSize = 0;
}

bool OpenWaveIn(AudioState& audio, const WaveSettings& wave, bool english) {
  WaveInDevice& in = audio.WaveIn;
  StopCapture(in);
  ++in.Generation;
  std::unique_ptr<platform::AudioCaptureSource> source;
  if (audio.AudioDevices) source = audio.AudioDevices->MakeCaptureSource(wave);
  auto queue = std::make_shared<CaptureQueue>(in.Receiver, in.Generation);
  auto result = platform::DeviceOpenResult::DeviceRefused;
  if (source) {
    // Without a receiver the buffers would have nowhere to go.
    result = in.Receiver ? source->Open(audio.SampleRate, in.BufferFrames, queue)
                         : platform::DeviceOpenResult::BufferFailed;
  }
  if (result != platform::DeviceOpenResult::Opened) {
    // Nothing half open: no thread, no device, no buffer on its way.
    queue->Shut();
    if (source) source->Close();
    StopCapture(in);
    ReportCaptureFailure(english, result);
    return false;
  }
  in.Handle = std::move(source);
  in.Queue = std::move(queue);
  in.Current = 0;
  return true;
}

void CloseWaveIn(AudioState& audio, BlockPipelineLink& link) {
  StopCapture(audio.WaveIn);
  // Whether or not a device was open: both channels' frames start afresh.
  link.RestartFrames();
  link.PaintLamp(Lamp::Left, 0);
  link.PaintLamp(Lamp::Right, 0);
}

bool OpenWaveOut(AudioState& audio, bool english) {
  WaveOutDevice& out = audio.WaveOut;
  CloseWaveOut(audio);
  auto result = platform::DeviceOpenResult::DeviceRefused;
  std::unique_ptr<platform::AudioPlaybackSink> sink;
  if (audio.AudioDevices) sink = audio.AudioDevices->MakePlaybackSink();
  if (sink) result = sink->Open(kMonitorRate, kMonitorPeriodFrames, kMonitorPeriods);
  if (result != platform::DeviceOpenResult::Opened) {
    // The main window stays; the monitor's writes go nowhere.
    if (sink) sink->Close();
    ReportPlaybackFailure(english, result);
    return false;
  }
  out.Handle = std::move(sink);
  out.Current = 0;
  return true;
}

void CloseWaveOut(AudioState& audio) {
  WaveOutDevice& out = audio.WaveOut;
  if (!out.Handle) return;
  out.Handle->Close();
  out.Handle.reset();
  out.Current = 0;
}
