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
#include <vector>

#include "platform/audio_devices.h"

struct sf_private_tag;

namespace platform {

// A wave file opened once for the whole run: a named pipe or standard input
// can be read only once, so the file is never opened again. A file is read
// as its header describes it; a pipe to the end of its data, since a
// stream's writer cannot know the length when it writes the header. A pipe
// is judged as a file of the same bytes, only later: whether it holds a
// sample when it is opened, whether it fell short of its header when it ends.
class WaveFile {
 public:
  // Opens path for reading: a RIFF wave file of 16-bit PCM samples, 1 or 2
  // channels, at 11025, 22050 or 44100 Hz, a regular file holding at least
  // one frame (a pipe waits for its first). Otherwise nullptr with what is
  // wrong in `problem`.
  static std::shared_ptr<WaveFile> Open(const std::string& path, std::string& problem);
  ~WaveFile();
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  int Rate() const { return rate_; }
  int Channels() const { return channels_; }
  // The frames a regular file holds; -1 for a pipe, which ends when it ends.
  int64_t Frames() const { return frames_; }
  // The frames the header gives when a regular file holds fewer (cut short
  // while it was written or copied); 0 otherwise.
  int64_t HeaderFrames() const { return headerFrames_; }
  // `endedEarly` is called once, from the reading thread, when a pipe ends
  // before the frames its header gives, with the frames it held and those.
  // A regular file says so up front, through HeaderFrames().
  void OnEndedEarly(std::function<void(int64_t frames, int64_t headerFrames)> endedEarly);
  // Back to the first frame; a pipe goes on where it is, what was read is gone.
  void Rewind();
  // Up to `count` frames, the channels interleaved; fewer at the end, and
  // from a pipe once StopWaiting() is called.
  int64_t Read(int16_t* frames, int64_t count);
  // A pipe's writer may hold it open and send nothing: this ends a Read
  // waiting on it, from another thread, and every later Read returns at
  // once, until WaitAgain(). The pipe stays open: it may be read again.
  void StopWaiting();
  void WaitAgain();

 private:
  WaveFile() = default;
  // Takes the samples as raw 16-bit PCM from byte `dataStart` on (from
  // where it is, for a pipe): for a header whose data length is 0.
  bool ReadRawFrom(int64_t dataStart, int endianness);
  // A pipe's frames, libsndfile asked only for those that have come;
  // `stopped` when StopWaiting ended the wait.
  int64_t ReadStream(int16_t* frames, int64_t count, bool& stopped);

  int fd_ = -1;
  sf_private_tag* sound_ = nullptr;
  int rate_ = 0;
  int channels_ = 0;
  int64_t frames_ = -1;
  int64_t headerFrames_ = 0;
  // A pipe's: the frames its header gives (0 when left open), those read
  // so far, and the first frame, read at the open to see there is one.
  int64_t promisedFrames_ = 0;
  int64_t streamFrames_ = 0;
  std::vector<int16_t> firstFrame_;
  // A pipe's frames libsndfile still gives (past the length it took from
  // the header it reads nothing), and what StopWaiting writes to.
  int64_t sndfileLeft_ = 0;
  int wake_ = -1;
  std::function<void(int64_t, int64_t)> endedEarly_;
};

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
  // the start being when `gate` (if any) opens. The sources of one run
  // share `file`, one open at a time.
  WaveFileCaptureSource(std::shared_ptr<WaveFile> file, bool fast, std::shared_ptr<WaveFileStartGate> gate = nullptr);
  ~WaveFileCaptureSource() override;

  // The file must be at `rate`. A mono file feeds both channels; the last
  // buffer is padded with zeros. Every open starts at the beginning of a
  // regular file; a pipe goes on where the last open left it.
  DeviceOpenResult Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) override;
  void Close() override;

 private:
  void ReadLoop(int framesPerBuffer);
  // Sleeps until `deadline`; false when asked to stop meanwhile.
  bool WaitUntil(std::chrono::steady_clock::time_point deadline);

  std::shared_ptr<WaveFile> file_;
  bool fast_;
  std::shared_ptr<WaveFileStartGate> gate_;
  std::shared_ptr<CaptureOutlet> outlet_;
  std::thread reader_;
  std::mutex mutex_;
  std::condition_variable wake_;
  // Written under mutex_; read by the gate's wait too.
  std::atomic<bool> stop_{false};
};

}  // namespace platform
