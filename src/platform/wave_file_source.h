#pragma once
// A 16-bit wave file standing in for the recording device, read with
// libsndfile: paced in real time, or as fast as the receiver takes it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/audio_devices.h"

struct sf_private_tag;

namespace platform {

struct WaveFileInfo {
  int rate = 0;
  int channels = 0;
  int64_t frames = 0;
};

// True when path is a RIFF wave file of 16-bit PCM samples, 1 or 2
// channels, at 11025, 22050 or 44100 Hz, holding at least one frame;
// otherwise false with what is wrong in `problem`.
bool CheckWaveFile(const std::string& path, WaveFileInfo& info, std::string& problem);

class WaveFileCaptureSource : public AudioCaptureSource {
 public:
  // fast: each buffer goes as soon as the outlet has room, and the last
  // one ends the run. Otherwise buffer n goes at start + n x 2048/44100 s.
  WaveFileCaptureSource(std::string path, bool fast);
  ~WaveFileCaptureSource() override;

  // The file must be at `rate`. A mono file feeds both channels; the last
  // buffer is padded with zeros. Every open starts at the beginning.
  DeviceOpenResult Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) override;
  void Close() override;

 private:
  void ReadLoop(int framesPerBuffer);
  // Sleeps until `deadline`; false when asked to stop meanwhile.
  bool WaitUntil(std::chrono::steady_clock::time_point deadline);

  std::string path_;
  bool fast_;
  sf_private_tag* file_ = nullptr;
  int channels_ = 0;
  int64_t frames_ = 0;
  std::shared_ptr<CaptureOutlet> outlet_;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
};

}  // namespace platform
