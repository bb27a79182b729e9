#include "platform/wave_player.h"

#include <sndfile.h>

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/alsa_audio.h"

namespace platform {

namespace {

constexpr int kTickMs = 20;
// The device holds eight ticks of sound, so that a late tick never lets
// it run dry.
constexpr int kPeriods = 8;
// Sound cards play at most 768 kHz: a header that claims more is damaged,
// and a device that took it would want a ring of gigabytes.
constexpr int kHighestRate = 768000;
// A chunk read from the file holds at most this many samples, however many
// channels the file has.
constexpr int kChunkSamples = 1 << 16;

std::function<void(const std::string&)>& TestPlayer() {
  static std::function<void(const std::string&)> player;
  return player;
}

// One sound at a time, fed in chunks from a timer of the GUI thread:
// the file is never held whole and the device never waited for.
class WavePlayer {
 public:
  ~WavePlayer() { Stop(); }

  void Play(const std::string& path) {
    Stop();
    if (!QCoreApplication::instance()) return;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return;
    const int period = std::max(1, info.samplerate / (1000 / kTickMs));
    if (info.channels < 1 || info.samplerate <= 0 || info.samplerate > kHighestRate ||
        sink_.Open(info.samplerate, period, kPeriods) != DeviceOpenResult::Opened) {
      sf_close(file);
      sink_.Close();
      return;
    }
    file_ = file;
    channels_ = info.channels;
    chunkFrames_ = std::max(1, std::min(period * kPeriods, kChunkSamples / info.channels));
    drainTicks_ = kPeriods + 1;
    if (!timer_) {
      timer_ = new QTimer(QCoreApplication::instance());
      QObject::connect(timer_, &QTimer::timeout, [this] { Feed(); });
    }
    timer_->start(kTickMs);
    Feed();
  }

  bool Playing() const { return file_ != nullptr; }

  void Stop() {
    if (timer_) timer_->stop();
    if (file_) sf_close(file_);
    file_ = nullptr;
    sink_.Close();
    stereo_.clear();
    next_ = 0;
  }

 private:
  // Tops the device up; once the file is done, waits for the device to
  // play what it holds before closing it.
  void Feed() {
    if (!file_) return;
    while (true) {
      if (next_ == stereo_.size() && !ReadChunk()) break;
      const int frames = static_cast<int>((stereo_.size() - next_) / 2);
      const int taken = std::clamp(sink_.Write(stereo_.data() + next_, frames), 0, frames);
      next_ += 2 * static_cast<size_t>(taken);
      if (taken < frames) return;
    }
    if (--drainTicks_ <= 0) Stop();
  }

  // The next chunk of the file as stereo: a mono file's frames doubled,
  // channels past the second left out.
  bool ReadChunk() {
    raw_.resize(static_cast<size_t>(chunkFrames_) * static_cast<size_t>(channels_));
    const sf_count_t frames = sf_readf_short(file_, raw_.data(), chunkFrames_);
    stereo_.resize(frames > 0 ? 2 * static_cast<size_t>(frames) : 0);
    next_ = 0;
    for (sf_count_t i = 0; i < frames; ++i) {
      const int16_t* frame = raw_.data() + i * channels_;
      stereo_[2 * i] = frame[0];
      stereo_[2 * i + 1] = channels_ > 1 ? frame[1] : frame[0];
    }
    return frames > 0;
  }

  AlsaPlaybackSink sink_{"default"};
  QPointer<QTimer> timer_;
  SNDFILE* file_ = nullptr;
  int channels_ = 1;
  int chunkFrames_ = 0;
  int drainTicks_ = 0;
  std::vector<int16_t> raw_, stereo_;
  size_t next_ = 0;
};

WavePlayer& Player() {
  static WavePlayer player;
  return player;
}

}  // namespace

void PlayWaveAsync(const std::string& path) {
  if (TestPlayer()) return TestPlayer()(path);
  Player().Play(path);
}

bool WavePlaying() { return Player().Playing(); }

void SetWavePlayerForTests(std::function<void(const std::string& path)> player) { TestPlayer() = std::move(player); }

}  // namespace platform
