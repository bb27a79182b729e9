#pragma once
// Sound devices as the rest of the program sees them: a capture source that
// hands full buffers of interleaved 16-bit stereo to an outlet from a thread
// of its own, and a playback sink that never blocks. The ALSA and wave-file
// implementations live beside this; tests bring their own.
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Where a capture thread hands its full buffers. The receiving side bounds
// how many may be outstanding at once.
class CaptureOutlet {
 public:
  virtual ~CaptureOutlet() = default;
  // Takes the buffer (left empty) when there is room; false, buffer kept by
  // the caller, when the outlet is full or shut. endsRun marks the last
  // buffer of a source that ends the program's run.
  virtual bool Offer(std::vector<int16_t>& interleaved, bool endsRun) = 0;
  // Waits for room, then takes the buffer; false when the outlet is shut.
  virtual bool Put(std::vector<int16_t>& interleaved, bool endsRun) = 0;
  // Refuses everything from now on and wakes a Put that waits.
  virtual void Shut() = 0;
};

enum class DeviceOpenResult {
  Opened,
  DeviceRefused,  // no such device, or it refuses the format, rate or channels
  BufferFailed,   // buffers, the thread or the start could not be set up
};

class AudioCaptureSource {
 public:
  virtual ~AudioCaptureSource() = default;
  // Opens for 16-bit stereo at rate in buffers of framesPerBuffer frames and
  // starts feeding outlet. After a failure, Close undoes what was set up.
  virtual DeviceOpenResult Open(int rate, int framesPerBuffer, std::shared_ptr<CaptureOutlet> outlet) = 0;
  // Stops and joins the thread and closes the device; harmless when closed.
  virtual void Close() = 0;
};

class AudioPlaybackSink {
 public:
  virtual ~AudioPlaybackSink() = default;
  // 16-bit stereo at rate; the device keeps `periods` periods of
  // framesPerPeriod frames.
  virtual DeviceOpenResult Open(int rate, int framesPerPeriod, int periods) = 0;
  // Takes what fits without waiting and returns the frames taken.
  virtual int Write(const int16_t* interleaved, int frames) = 0;
  virtual void Close() = 0;
};

// Keeps every block it is given.
class NullPlaybackSink : public AudioPlaybackSink {
 public:
  DeviceOpenResult Open(int, int, int) override { return DeviceOpenResult::Opened; }
  int Write(const int16_t* interleaved, int frames) override {
    Blocks.emplace_back(interleaved, interleaved + 2 * frames);
    return frames;
  }
  void Close() override {}

  std::vector<std::vector<int16_t>> Blocks;
};

}  // namespace platform
