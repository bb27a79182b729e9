#pragma once
// Stand-ins for the sound card: a capture source that delivers canned
// buffers from its own thread, a factory of such sources and of playback
// sinks that keep what they are given; wave files written through
// libsndfile; and a loop that runs posted events until a condition holds.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/wave_devices.h"
#include "platform/audio_devices.h"

namespace testing_support {

// What one open of a FakeCaptureSource does.
struct FakeSourceScript {
  platform::DeviceOpenResult result = platform::DeviceOpenResult::Opened;
  // The thread is started before the open fails with `result`.
  bool failAfterThreadStarts = false;
  int buffers = 0;         // delivered, then the thread waits for Close
  int firstValue = 0;      // every sample of buffer i holds firstValue + i
  bool waitForRoom = true;  // Put, else Offer
};

class FakeCaptureSource : public platform::AudioCaptureSource {
 public:
  explicit FakeCaptureSource(FakeSourceScript script) : script_(script) {}
  ~FakeCaptureSource() override { Close(); }

  platform::DeviceOpenResult Open(int rate, int framesPerBuffer,
                                  std::shared_ptr<platform::CaptureOutlet> outlet) override;
  void Close() override;

  // Threads of all fake sources still running or not yet joined.
  static std::atomic<int> liveThreads;
  // Buffers handed to the outlet by all fake sources.
  static std::atomic<int> delivered;

 private:
  FakeSourceScript script_;
  std::shared_ptr<platform::CaptureOutlet> outlet_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
};

// Hands out one scripted source per open, in order, and a playback sink
// that keeps what it is given or refuses to open.
class FakeDevices : public AudioDeviceFactory {
 public:
  // Runs as each capture source is made, before it opens.
  std::function<void()> onCaptureOpen;
  std::vector<FakeSourceScript> scripts;
  platform::DeviceOpenResult playback = platform::DeviceOpenResult::Opened;
  int fixedRate = 0;
  int opens = 0;

  std::unique_ptr<platform::AudioCaptureSource> MakeCaptureSource(const WaveSettings&) override;
  std::unique_ptr<platform::AudioPlaybackSink> MakePlaybackSink() override;
  int FixedSampleRate() const override { return fixedRate; }
};

// Writes a wave file (or another libsndfile format) of the given frames,
// interleaved; false when libsndfile refuses.
bool WriteSoundFile(const std::string& path, int format, int rate, int channels, const std::vector<int16_t>& samples);
bool WriteWave16(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples);

// Processes posted events until done() or about 5 s have passed.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace testing_support
