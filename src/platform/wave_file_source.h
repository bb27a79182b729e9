#pragma once
// A 16-bit wave file standing in for the recording device, read with
// libsndfile: paced in real time, or as fast as the receiver takes it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
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

// Holds wave-file sources back until the program is ready for their
// samples: a file read behind the start-up questions would be over before
// anyone saw it. Shared by the sources of one run.
class WaveFileStartGate {
 public:
  void Open();
  // Waits until the gate opens (true) or stopped() holds (false).
  bool WaitOpen(const std::function<bool()>& stopped);
  // stopped() may have changed: waiters look again.
  void Wake();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

class WaveFileCaptureSource : public AudioCaptureSource {
 public:
  // fast: each buffer goes as soon as the outlet has room, and the last
  // one ends the run. Otherwise buffer n goes at start + n x 2048/44100 s,
  // the start being when `gate` (if any) opens.
  WaveFileCaptureSource(std::string path, bool fast, std::shared_ptr<WaveFileStartGate> gate = nullptr);
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
  std::shared_ptr<WaveFileStartGate> gate_;
  sf_private_tag* file_ = nullptr;
  int channels_ = 0;
  int64_t frames_ = 0;
  std::shared_ptr<CaptureOutlet> outlet_;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // Written under mutex_; read by the gate's wait too.
  std::atomic<bool> stop_{false};
};

}  // namespace platform
