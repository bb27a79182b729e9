#pragma once
// The sound card through ALSA. Nothing outside this layer sees ALSA itself.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_devices.h"
#include "platform/capture_devices.h"

struct _snd_pcm;

namespace platform {

class AlsaCaptureSource : public AudioCaptureSource {
 public:
  explicit AlsaCaptureSource(std::string pcmName);
  ~AlsaCaptureSource() override;

  DeviceOpenResult Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) override;
  void Close() override;

  // Overruns recovered, and buffers read but dropped because the outlet
  // was full.
  int64_t Overruns() const { return overruns_; }
  int64_t DroppedBuffers() const { return dropped_; }

 private:
  void ReadLoop(int framesPerBuffer);

  std::string pcmName_;
  _snd_pcm* pcm_ = nullptr;
  std::shared_ptr<CaptureOutlet> outlet_;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::atomic<int64_t> overruns_{0};
  std::atomic<int64_t> dropped_{0};
};

class AlsaPlaybackSink : public AudioPlaybackSink {
 public:
  explicit AlsaPlaybackSink(std::string pcmName = "default");
  ~AlsaPlaybackSink() override;

  DeviceOpenResult Open(int rate, int framesPerPeriod, int periods) override;
  int Write(const int16_t* interleaved, int frames) override;
  void Close() override;

 private:
  std::string pcmName_;
  _snd_pcm* pcm_ = nullptr;
};

}  // namespace platform
