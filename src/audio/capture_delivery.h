#pragma once
// The road of a full recording buffer from the capture thread to the block
// pipeline: each buffer is posted to the capture receiver as its own event,
// carrying its samples and the generation of the device that filled it, so
// that nothing of a closed device is ever processed. At most 32 are
// outstanding, as the 32 buffers of the recording ring once bounded them.
#include <QEvent>
#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/audio_links.h"
#include "platform/audio_devices.h"

struct AudioState;

constexpr int kMaxOutstandingBuffers = 32;
// Message 0x401: a recording buffer is full.
constexpr QEvent::Type kWaveInDataEvent = static_cast<QEvent::Type>(QEvent::User + 1);
// Message 0x402: a playback buffer is done.
constexpr QEvent::Type kWaveOutDoneEvent = static_cast<QEvent::Type>(QEvent::User + 2);

class CaptureQueue;

// One full buffer on its way. Until it is processed or dropped (destroyed)
// it counts as outstanding.
class WaveInBuffer {
 public:
  WaveInBuffer() = default;
  WaveInBuffer(std::shared_ptr<CaptureQueue> queue, uint64_t generation, std::vector<int16_t> samples,
               bool endsRun);
  WaveInBuffer(WaveInBuffer&&) noexcept = default;
  WaveInBuffer& operator=(WaveInBuffer&& other) noexcept;
  ~WaveInBuffer();

  uint64_t Generation() const { return generation_; }
  const std::vector<int16_t>& Samples() const { return samples_; }
  int Frames() const { return static_cast<int>(samples_.size() / 2); }
  bool EndsRun() const { return endsRun_; }

 private:
  void Release();

  std::shared_ptr<CaptureQueue> queue_;
  uint64_t generation_ = 0;
  std::vector<int16_t> samples_;
  bool endsRun_ = false;
};

class WaveInDataEvent : public QEvent {
 public:
  explicit WaveInDataEvent(WaveInBuffer buffer) : QEvent(kWaveInDataEvent), buffer_(std::move(buffer)) {}
  WaveInBuffer TakeBuffer() { return std::move(buffer_); }

 private:
  WaveInBuffer buffer_;
};

// The buffer an event carries; an empty one (dropped as stale) when the
// event is not a delivery.
WaveInBuffer TakeWaveInBuffer(QEvent* event);

// The outlet of one open recording device: posts each buffer to the
// receiver while fewer than kMaxOutstandingBuffers are outstanding.
class CaptureQueue : public platform::CaptureOutlet, public std::enable_shared_from_this<CaptureQueue> {
 public:
  CaptureQueue(QObject* receiver, uint64_t generation) : receiver_(receiver), generation_(generation) {}

  bool Offer(std::vector<int16_t>& interleaved, bool endsRun) override;
  bool Put(std::vector<int16_t>& interleaved, bool endsRun) override;
  void Shut() override;

  int Outstanding() const;
  // A delivery was processed or dropped.
  void Release();

 private:
  void Post(std::vector<int16_t>& interleaved, bool endsRun);

  QObject* receiver_;
  uint64_t generation_;
  mutable std::mutex mutex_;
  std::condition_variable room_;
  int outstanding_ = 0;
  bool shut_ = false;
};

// Message 0x401 in the GUI thread: runs the block pipeline on the buffer
// if it belongs to the open device, and never inside itself. A buffer that
// arrives from a nested event loop while the pipeline runs waits, and runs
// in arrival order once the outer call is done.
void DeliverWaveInBuffer(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                         WaveInBuffer buffer);

// The object the capture queue posts to (WaveInDevice::Receiver): in the
// GUI thread it hands each delivery to DeliverWaveInBuffer. Playback
// buffers that are done need nothing.
class CaptureReceiver : public QObject {
 public:
  CaptureReceiver(AudioState& audio, AudioSettings settings, BlockPipelineLink& link, QObject* parent = nullptr);

 protected:
  bool event(QEvent* e) override;

 private:
  AudioState& audio_;
  AudioSettings settings_;
  BlockPipelineLink& link_;
};
