#include "support/fake_audio_devices.h"

#include <sndfile.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>

namespace testing_support {

std::atomic<int> FakeCaptureSource::liveThreads{0};
std::atomic<int> FakeCaptureSource::delivered{0};

platform::DeviceOpenResult FakeCaptureSource::Open(int, int framesPerBuffer,
                                                   std::shared_ptr<platform::CaptureOutlet> outlet) {
  if (script_.result != platform::DeviceOpenResult::Opened && !script_.failAfterThreadStarts) return script_.result;
  outlet_ = std::move(outlet);
  stop_ = false;
  ++liveThreads;
  thread_ = std::thread([this, framesPerBuffer] {
    for (int i = 0; i < script_.buffers; ++i) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return;
      }
      std::vector<int16_t> buffer(2 * static_cast<size_t>(framesPerBuffer),
                                  static_cast<int16_t>(script_.firstValue + i));
      bool taken = script_.waitForRoom ? outlet_->Put(buffer, false) : outlet_->Offer(buffer, false);
      if (taken) ++delivered;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return stop_; });
  });
  return script_.result;
}

void FakeCaptureSource::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (outlet_) outlet_->Shut();
  if (thread_.joinable()) {
    thread_.join();
    --liveThreads;
  }
  outlet_.reset();
}

namespace {

class ScriptedSink : public platform::NullPlaybackSink {
 public:
  explicit ScriptedSink(platform::DeviceOpenResult result) : result_(result) {}
  platform::DeviceOpenResult Open(int, int, int) override { return result_; }

 private:
  platform::DeviceOpenResult result_;
};

}  // namespace

std::unique_ptr<platform::AudioCaptureSource> FakeDevices::MakeCaptureSource(const WaveSettings&) {
  if (onCaptureOpen) onCaptureOpen();
  FakeSourceScript script = opens < static_cast<int>(scripts.size()) ? scripts[static_cast<size_t>(opens)]
                                                                     : FakeSourceScript();
  ++opens;
  return std::make_unique<FakeCaptureSource>(script);
}

std::unique_ptr<platform::AudioPlaybackSink> FakeDevices::MakePlaybackSink() {
  return std::make_unique<ScriptedSink>(playback);
}

bool WriteSoundFile(const std::string& path, int format, int rate, int channels, const std::vector<int16_t>& samples) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
  bool ok = sf_writef_short(file, samples.data(), frames) == frames;
  sf_close(file);
  return ok;
}

bool WriteWave16(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples) {
  return WriteSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, channels, samples);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace testing_support
