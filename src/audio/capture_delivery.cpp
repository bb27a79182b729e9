#include "audio/capture_delivery.h"

#include <QCoreApplication>

#include "audio/audio_state.h"
#include "audio/block_pipeline.h"

WaveInBuffer::WaveInBuffer(std::shared_ptr<CaptureQueue> queue, uint64_t generation, std::vector<int16_t> samples,
                           bool endsRun)
    : queue_(std::move(queue)), generation_(generation), samples_(std::move(samples)), endsRun_(endsRun) {}

WaveInBuffer& WaveInBuffer::operator=(WaveInBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    queue_ = std::move(other.queue_);
    generation_ = other.generation_;
    samples_ = std::move(other.samples_);
    endsRun_ = other.endsRun_;
  }
  return *this;
}

WaveInBuffer::~WaveInBuffer() { Release(); }

void WaveInBuffer::Release() {
  if (!queue_) return;
  queue_->Release();
  queue_.reset();
}

WaveInBuffer TakeWaveInBuffer(QEvent* event) {
  if (auto* delivery = dynamic_cast<WaveInDataEvent*>(event)) return delivery->TakeBuffer();
  return WaveInBuffer();
}

bool CaptureQueue::Offer(std::vector<int16_t>& interleaved, bool endsRun) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shut_ || outstanding_ >= kMaxOutstandingBuffers) return false;
    ++outstanding_;
  }
  Post(interleaved, endsRun);
  return true;
}

bool CaptureQueue::Put(std::vector<int16_t>& interleaved, bool endsRun) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [this] { return shut_ || outstanding_ < kMaxOutstandingBuffers; });
    if (shut_) return false;
    ++outstanding_;
  }
  Post(interleaved, endsRun);
  return true;
}

void CaptureQueue::Shut() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shut_ = true;
  }
  room_.notify_all();
}

int CaptureQueue::Outstanding() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return outstanding_;
}

void CaptureQueue::Release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --outstanding_;
  }
  room_.notify_all();
}

void CaptureQueue::Post(std::vector<int16_t>& interleaved, bool endsRun) {
  // A posted event, never a blocking call: the GUI thread may be closing
  // this very device and waiting for this thread.
  WaveInBuffer buffer(shared_from_this(), generation_, std::move(interleaved), endsRun);
  QCoreApplication::postEvent(receiver_, new WaveInDataEvent(std::move(buffer)));
}

namespace {

void RunDelivery(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link, WaveInBuffer buffer) {
  WaveInDevice& in = audio.WaveIn;
  // Checked when the buffer is taken: the device may have changed since it
  // was posted.
  if (!in.Handle || buffer.Generation() != in.Generation || buffer.Frames() != in.BufferFrames) return;
  in.Current = (in.Current + 1) % kMaxOutstandingBuffers;
  ProcessAudioBlock(audio, settings, link, buffer.Samples().data(), buffer.Frames());
  if (buffer.EndsRun() && link.Running()) link.InputEnded();
}

}  // namespace

void DeliverWaveInBuffer(AudioState& audio, const AudioSettings& settings, BlockPipelineLink& link,
                         WaveInBuffer buffer) {
  WaveInDevice& in = audio.WaveIn;
  if (in.PipelineBusy) {
    in.Waiting.push_back(std::move(buffer));
    return;
  }
  in.PipelineBusy = true;
  struct Idle {
    bool& busy;
    ~Idle() { busy = false; }
  } idle{in.PipelineBusy};
  RunDelivery(audio, settings, link, std::move(buffer));
  while (!in.Waiting.empty()) {
    WaveInBuffer next = std::move(in.Waiting.front());
    in.Waiting.pop_front();
    RunDelivery(audio, settings, link, std::move(next));
  }
}

CaptureReceiver::CaptureReceiver(AudioState& audio, AudioSettings settings, BlockPipelineLink& link, QObject* parent)
    : QObject(parent), audio_(audio), settings_(settings), link_(link) {}

bool CaptureReceiver::event(QEvent* e) {
  if (e->type() == kWaveInDataEvent) {
    DeliverWaveInBuffer(audio_, settings_, link_, TakeWaveInBuffer(e));
    return true;
  }
  if (e->type() == kWaveOutDoneEvent) return true;
  return QObject::event(e);
}
