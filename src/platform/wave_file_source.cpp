#include "platform/wave_file_source.h"

#include <fcntl.h>
#include <poll.h>
#include <sndfile.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// The problem with a file libsndfile has opened, or "" when it is one the
// program reads.
std::string FormatProblem(const SF_INFO& sf) {
  const int major = sf.format & SF_FORMAT_TYPEMASK;
  const int samples = sf.format & SF_FORMAT_SUBMASK;
  if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) return "not a RIFF wave file";
  if (samples != SF_FORMAT_PCM_16) return "samples are not 16-bit PCM";
  if (sf.channels != 1 && sf.channels != 2) return std::to_string(sf.channels) + " channels, not 1 or 2";
  if (sf.samplerate != 11025 && sf.samplerate != 22050 && sf.samplerate != 44100) {
    return "sample rate " + std::to_string(sf.samplerate) + " Hz, not 11025, 22050 or 44100 Hz";
  }
  return "";
}

// The length the data chunk's header gives, in bytes, when the chunk's
// header sits right before `dataStart`; -1 when it does not.
int64_t HeaderDataBytes(int fd, int64_t dataStart, bool bigEndian) {
  unsigned char chunk[8];
  if (dataStart < 8 || ::pread(fd, chunk, sizeof chunk, dataStart - 8) != 8) return -1;
  if (std::memcmp(chunk, "data", 4) != 0) return -1;
  uint32_t bytes = 0;
  for (int i = 0; i < 4; ++i) bytes |= static_cast<uint32_t>(chunk[bigEndian ? 7 - i : 4 + i]) << (8 * i);
  return bytes;
}

// Whether a header's data length, in frames, is what a writer that could
// not go back to fill it in leaves there: 0, all ones, or the largest
// length it can write (0x7FFFF000 from sox, 0x80000000 from arecord). Such a
// file or pipe is read to its end and is never short.
bool LengthLeftOpen(int64_t headerFrames, int64_t frameBytes) {
  for (int64_t placeholder : {int64_t{0}, int64_t{0x7FFFF000}, int64_t{0x80000000}, int64_t{0xFFFFFFFF}}) {
    if (headerFrames == placeholder / frameBytes) return true;
  }
  return false;
}

}  // namespace

std::shared_ptr<WaveFile> WaveFile::Open(const std::string& path, std::string& problem) {
  std::shared_ptr<WaveFile> file(new WaveFile);
  // A named pipe waits here for its writer, as any reader of one does.
  file->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file->fd_ < 0) {
    problem = errno == ENOENT ? "no such file" : "cannot be read";
    return nullptr;
  }
  struct stat status {};
  const bool regular = ::fstat(file->fd_, &status) == 0 && S_ISREG(status.st_mode);
  SF_INFO sf{};
  // The descriptor stays ours: a header without a data length is opened
  // again on it as raw samples.
  file->sound_ = sf_open_fd(file->fd_, SFM_READ, &sf, SF_FALSE);
  if (!file->sound_) {
    problem = "not a RIFF wave file";
    return nullptr;
  }
  problem = FormatProblem(sf);
  if (!problem.empty()) return nullptr;
  file->rate_ = sf.samplerate;
  file->channels_ = sf.channels;
  const int endianness = sf.format & SF_FORMAT_ENDMASK;
  const int64_t frameBytes = 2 * static_cast<int64_t>(sf.channels);
  if (!regular) {
    // A stream's writer that cannot tell the length writes 0, and libsndfile
    // would then read nothing; other placeholders only bound the reading.
    if (sf.frames == 0 && !file->ReadRawFrom(0, endianness)) {
      problem = "cannot be read";
      return nullptr;
    }
    // libsndfile takes a pipe's length from its header as it stands.
    if (!LengthLeftOpen(sf.frames, frameBytes)) file->promisedFrames_ = sf.frames;
    file->firstFrame_.resize(static_cast<size_t>(sf.channels));
    if (sf_readf_short(file->sound_, file->firstFrame_.data(), 1) != 1) {
      problem = "holds no samples";
      return nullptr;
    }
    SF_INFO reading{};
    sf_command(file->sound_, SFC_GET_CURRENT_SF_INFO, &reading, sizeof reading);
    file->sndfileLeft_ = reading.frames - 1;
    // Should there be none, reads cannot be stopped: poll() passes over a -1.
    file->wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return file;
  }
  // libsndfile leaves the descriptor where the samples start.
  const int64_t dataStart = ::lseek(file->fd_, 0, SEEK_CUR);
  const int64_t headerBytes = HeaderDataBytes(file->fd_, dataStart, endianness == SF_ENDIAN_BIG);
  file->frames_ = sf.frames;
  if (sf.frames == 0 && headerBytes == 0) {
    if (!file->ReadRawFrom(dataStart, endianness)) {
      problem = "cannot be read";
      return nullptr;
    }
    file->frames_ = (status.st_size - dataStart) / frameBytes;
  } else if (!LengthLeftOpen(headerBytes / frameBytes, frameBytes) && headerBytes / frameBytes > sf.frames) {
    // libsndfile reads what the file holds; the user learns it is less.
    file->headerFrames_ = headerBytes / frameBytes;
  }
  if (file->frames_ <= 0) {
    problem = "holds no samples";
    return nullptr;
  }
  return file;
}

bool WaveFile::ReadRawFrom(int64_t dataStart, int endianness) {
  sf_close(sound_);
  sound_ = nullptr;
  SF_INFO raw{};
  raw.samplerate = rate_;
  raw.channels = channels_;
  raw.format = SF_FORMAT_RAW | SF_FORMAT_PCM_16 | (endianness == SF_ENDIAN_BIG ? SF_ENDIAN_BIG : SF_ENDIAN_LITTLE);
  // A descriptor away from its start is taken for a file embedded in
  // another, which raw samples cannot be: start there and move on.
  if (dataStart > 0 && ::lseek(fd_, 0, SEEK_SET) != 0) return false;
  sound_ = sf_open_fd(fd_, SFM_READ, &raw, SF_FALSE);
  if (!sound_) return false;
  if (dataStart > 0) {
    sf_count_t offset = dataStart;
    sf_command(sound_, SFC_SET_RAW_START_OFFSET, &offset, sizeof offset);
    if (sf_seek(sound_, 0, SEEK_SET) != 0) return false;
  }
  return true;
}

WaveFile::~WaveFile() {
  if (sound_) sf_close(sound_);
  if (fd_ >= 0) ::close(fd_);
  if (wake_ >= 0) ::close(wake_);
}

void WaveFile::Rewind() {
  if (frames_ >= 0) sf_seek(sound_, 0, SEEK_SET);
}

void WaveFile::OnEndedEarly(std::function<void(int64_t, int64_t)> endedEarly) { endedEarly_ = std::move(endedEarly); }

int64_t WaveFile::Read(int16_t* frames, int64_t count) {
  if (count <= 0) return 0;
  int64_t got = 0;
  if (!firstFrame_.empty()) {
    std::copy(firstFrame_.begin(), firstFrame_.end(), frames);
    firstFrame_.clear();
    got = 1;
  }
  if (frames_ >= 0) {
    const sf_count_t more = sf_readf_short(sound_, frames + got * channels_, count - got);
    return more > 0 ? got + more : got;
  }
  bool stopped = false;
  got += ReadStream(frames + got * channels_, count - got, stopped);
  streamFrames_ += got;
  // A read that was stopped is no end of the stream.
  if (!stopped && got < count && streamFrames_ < promisedFrames_ && endedEarly_) {
    const auto endedEarly = std::move(endedEarly_);
    endedEarly_ = nullptr;
    endedEarly(streamFrames_, promisedFrames_);
  }
  return got;
}

int64_t WaveFile::ReadStream(int16_t* frames, int64_t count, bool& stopped) {
  // libsndfile's own reads wait until every byte asked for has come, or
  // the writer has gone, whatever a signal says: it is asked only for
  // frames that are there already.
  const int frameBytes = 2 * channels_;
  int64_t got = 0;
  const auto readFrames = [&](int64_t n) {
    const sf_count_t read = sf_readf_short(sound_, frames + got * channels_, n);
    if (read > 0) {
      got += read;
      sndfileLeft_ -= read;
    }
    return read == n;
  };
  while (got < count && sndfileLeft_ > 0) {
    pollfd ready[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
    if (::poll(ready, 2, -1) < 0) {
      if (errno == EINTR) continue;
      readFrames(count - got);
      break;
    }
    if (ready[1].revents & POLLIN) {
      stopped = true;
      break;
    }
    // A descriptor that cannot tell is read as before, waiting.
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
      readFrames(count - got);
      break;
    }
    const int64_t whole = std::min<int64_t>(count - got, waiting / frameBytes);
    if (whole > 0) {
      // Fewer: the length libsndfile took from the header is reached.
      if (!readFrames(whole)) break;
      continue;
    }
    // The writer has gone: libsndfile takes what is left, part of a frame
    // included, and ends as for a file of those bytes.
    if (ready[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      readFrames(count - got);
      break;
    }
    // Part of a frame, which stays readable: looked at again shortly
    // rather than spun on.
    pollfd wake{wake_, POLLIN, 0};
    if (::poll(&wake, 1, 10) > 0 && (wake.revents & POLLIN)) {
      stopped = true;
      break;
    }
  }
  return got;
}

void WaveFile::StopWaiting() {
  if (wake_ < 0) return;
  const uint64_t one = 1;
  const ssize_t r = ::write(wake_, &one, sizeof one);
  (void)r;
}

void WaveFile::WaitAgain() {
  if (wake_ < 0) return;
  // Fails when nothing was written: there is nothing to take back.
  uint64_t written = 0;
  const ssize_t r = ::read(wake_, &written, sizeof written);
  (void)r;
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

WaveFileCaptureSource::WaveFileCaptureSource(std::shared_ptr<WaveFile> file, bool fast,
                                             std::shared_ptr<WaveFileStartGate> gate)
    : file_(std::move(file)), fast_(fast), gate_(std::move(gate)) {}

WaveFileCaptureSource::~WaveFileCaptureSource() { Close(); }

DeviceOpenResult WaveFileCaptureSource::Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) {
  Close();
  if (!file_ || file_->Rate() != rate || framesPerBuffer <= 0) return DeviceOpenResult::DeviceRefused;
  file_->Rewind();
  file_->WaitAgain();
  outlet_ = std::move(outlet);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
  }
  try {
    reader_ = std::thread([this, framesPerBuffer] { ReadLoop(framesPerBuffer); });
  } catch (const std::system_error&) {
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
  if (reader_.joinable()) {
    // The reader may be waiting on a pipe whose writer sends nothing; the
    // pipe itself stays open for the next Open.
    file_->StopWaiting();
    reader_.join();
  }
  outlet_.reset();
}

bool WaveFileCaptureSource::WaitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_until(lock, deadline, [this] { return stop_.load(); });
}

void WaveFileCaptureSource::ReadLoop(int framesPerBuffer) {
  using namespace std::chrono;
  const int channels = file_->Channels();
  // Frames still to come; -1 for a pipe, which ends with a short read.
  int64_t left = file_->Frames();
  std::vector<int16_t> fromFile(static_cast<size_t>(framesPerBuffer) * static_cast<size_t>(channels));
  std::vector<int16_t> buffer;
  if (gate_ && !gate_->WaitOpen([this] { return stop_.load(); })) return;
  const steady_clock::time_point start = steady_clock::now();
  for (int64_t n = 0;; ++n) {
    // Every buffer spans 2048/44100 s whatever the rate.
    const auto due = start + duration_cast<steady_clock::duration>(duration<double>(n * 2048.0 / 44100.0));
    if (!fast_ && !WaitUntil(due)) return;
    const int64_t got = file_->Read(fromFile.data(), framesPerBuffer);
    // A read that Close cut short is no last buffer: nothing goes out.
    if (stop_) return;
    buffer.assign(2 * static_cast<size_t>(framesPerBuffer), 0);
    for (int64_t i = 0; i < got; ++i) {
      const int16_t first = fromFile[static_cast<size_t>(i * channels)];
      buffer[2 * i] = first;
      buffer[2 * i + 1] = channels == 2 ? fromFile[static_cast<size_t>(2 * i + 1)] : first;
    }
    if (left > 0) left -= got;
    const bool last = got < framesPerBuffer || left == 0;
    if (!outlet_->Put(buffer, fast_ && last) || last) return;
  }
}

}  // namespace platform
