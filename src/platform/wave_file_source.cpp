#include "platform/wave_file_source.h"

#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <system_error>
#include <vector>

namespace platform {

bool CheckWaveFile(const std::string& path, WaveFileInfo& info, std::string& problem) {
  if (::access(path.c_str(), F_OK) != 0) {
    problem = "no such file";
    return false;
  }
  if (::access(path.c_str(), R_OK) != 0) {
    problem = "cannot be read";
    return false;
  }
  SF_INFO sf{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sf);
  if (!file) {
    problem = "not a RIFF wave file";
    return false;
  }
  sf_close(file);
  const int major = sf.format & SF_FORMAT_TYPEMASK;
  const int samples = sf.format & SF_FORMAT_SUBMASK;
  info.rate = sf.samplerate;
  info.channels = sf.channels;
  info.frames = sf.frames;
  if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) {
    problem = "not a RIFF wave file";
  } else if (samples != SF_FORMAT_PCM_16) {
    problem = "samples are not 16-bit PCM";
  } else if (sf.channels != 1 && sf.channels != 2) {
    problem = std::to_string(sf.channels) + " channels, not 1 or 2";
  } else if (sf.samplerate != 11025 && sf.samplerate != 22050 && sf.samplerate != 44100) {
    problem = "sample rate " + std::to_string(sf.samplerate) + " Hz, not 11025, 22050 or 44100 Hz";
  } else if (sf.frames <= 0) {
    problem = "holds no samples";
  } else {
    return true;
  }
  return false;
}

void WaveFileStartGate::Open() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
  }
  changed_.notify_all();
}

bool WaveFileStartGate::WaitOpen(const std::function<bool()>& stopped) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return open_ || stopped(); });
  return open_ && !stopped();
}

void WaveFileStartGate::Wake() {
  // Taking the lock orders the caller's change before the waiter's look.
  { std::lock_guard<std::mutex> lock(mutex_); }
  changed_.notify_all();
}

WaveFileCaptureSource::WaveFileCaptureSource(std::string path, bool fast, std::shared_ptr<WaveFileStartGate> gate)
    : path_(std::move(path)), fast_(fast), gate_(std::move(gate)) {}

WaveFileCaptureSource::~WaveFileCaptureSource() { Close(); }

DeviceOpenResult WaveFileCaptureSource::Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) {
  Close();
  SF_INFO sf{};
  file_ = sf_open(path_.c_str(), SFM_READ, &sf);
  if (!file_) return DeviceOpenResult::DeviceRefused;
  if (sf.samplerate != rate || (sf.channels != 1 && sf.channels != 2) || sf.frames <= 0 || framesPerBuffer <= 0) {
    sf_close(file_);
    file_ = nullptr;
    return DeviceOpenResult::DeviceRefused;
  }
  channels_ = sf.channels;
  frames_ = sf.frames;
  outlet_ = std::move(outlet);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
  }
  try {
    reader_ = std::thread([this, framesPerBuffer] { ReadLoop(framesPerBuffer); });
  } catch (const std::system_error&) {
    sf_close(file_);
    file_ = nullptr;
    outlet_.reset();
    return DeviceOpenResult::BufferFailed;
  }
  return DeviceOpenResult::Opened;
}

void WaveFileCaptureSource::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (gate_) gate_->Wake();
  if (outlet_) outlet_->Shut();
  if (reader_.joinable()) reader_.join();
  if (file_) sf_close(file_);
  file_ = nullptr;
  outlet_.reset();
}

bool WaveFileCaptureSource::WaitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_until(lock, deadline, [this] { return stop_.load(); });
}

void WaveFileCaptureSource::ReadLoop(int framesPerBuffer) {
  using namespace std::chrono;
  const int64_t buffers = (frames_ + framesPerBuffer - 1) / framesPerBuffer;
  std::vector<int16_t> fromFile(static_cast<size_t>(framesPerBuffer) * static_cast<size_t>(channels_));
  std::vector<int16_t> buffer;
  if (gate_ && !gate_->WaitOpen([this] { return stop_.load(); })) return;
  const steady_clock::time_point start = steady_clock::now();
  for (int64_t n = 0; n < buffers; ++n) {
    // Every buffer spans 2048/44100 s whatever the rate.
    const auto due = start + duration_cast<steady_clock::duration>(duration<double>(n * 2048.0 / 44100.0));
    if (!fast_ && !WaitUntil(due)) return;
    sf_count_t got = sf_readf_short(file_, fromFile.data(), framesPerBuffer);
    if (got < 0) got = 0;
    buffer.assign(2 * static_cast<size_t>(framesPerBuffer), 0);
    for (sf_count_t i = 0; i < got; ++i) {
      const int16_t left = fromFile[static_cast<size_t>(i * channels_)];
      buffer[2 * i] = left;
      buffer[2 * i + 1] = channels_ == 2 ? fromFile[static_cast<size_t>(2 * i + 1)] : left;
    }
    const bool last = n + 1 == buffers || got < framesPerBuffer;
    if (!outlet_->Put(buffer, fast_ && last) || last) return;
  }
}

}  // namespace platform
