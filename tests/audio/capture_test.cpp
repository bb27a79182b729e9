// Where buffers come from: a wave file standing in for the recording
// device (what comes out of it) and ALSA's null device;
// then buffers from a capture thread to the pipeline through posted
// events, and the opening and closing of the devices, with fake sources.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "support/main_window_fixture.h"
#include "audio/capture_delivery.h"
#include "audio_rig.h"
#include "platform/alsa_audio.h"
#include "platform/wave_file_source.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using platform::DeviceOpenResult;
using testing_support::FakeCaptureSource;
using testing_support::FakeDevices;
using testing_support::MessageBoxRecorder;
using testing_support::PumpUntil;
using testing_support::TempDir;

// Keeps the buffers it is given, up to `room`; then it is full and refuses.
struct KeepingOutlet : platform::CaptureOutlet {
  bool Offer(std::vector<int16_t>& b, bool endsRun) override {
    std::lock_guard<std::mutex> lock(mutex);
    full = buffers.size() >= room;
    if (full) return false;
    buffers.push_back(std::move(b));
    ends.push_back(endsRun);
    return true;
  }
  bool Put(std::vector<int16_t>& b, bool endsRun) override { return Offer(b, endsRun); }
  void Shut() override {}

  size_t room = SIZE_MAX;
  std::mutex mutex;
  std::vector<std::vector<int16_t>> buffers;
  std::vector<bool> ends;
  bool full = false;
};

// Runs a source until the outlet kept `count` buffers or is full.
std::shared_ptr<KeepingOutlet> RunSource(platform::AudioCaptureSource& source, int rate, size_t count,
                                         size_t room = SIZE_MAX) {
  auto outlet = std::make_shared<KeepingOutlet>();
  outlet->room = room;
  if (source.Open(rate, rate * 2048 / 44100, outlet) != DeviceOpenResult::Opened) return nullptr;
  PumpUntil([&] {
    std::lock_guard<std::mutex> lock(outlet->mutex);
    return outlet->full || outlet->buffers.size() >= count;
  });
  source.Close();
  return outlet;
}

std::shared_ptr<platform::WaveFile> OpenFile(const std::string& path) {
  std::string problem;
  auto file = platform::WaveFile::Open(path, problem);
  EXPECT_TRUE(file) << path << ": " << problem;
  return file;
}

// A file whose header's data length is not what follows: left at 0 or at
// all ones by a writer that could not go back to fill it in, promising
// more than a file cut short holds, or less than follows. Every frame
// there is is read, up to the length where the header gives one, from the
// first again after a rewind; the same frames from a pipe, which tells
// only at its end that it was cut.
TEST(WaveFileSource, ReadsWhatTheFileHoldsWhateverLengthItsHeaderGives) {
  TempDir dir;
  std::vector<int16_t> samples(3000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 7 - 9000);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("whole.wav"), 11025, 1, samples));
  const std::string whole = testing_support::ReadFile(dir.File("whole.wav"));
  const size_t length = whole.find("data") + 4;
  struct Case {
    const char* name;
    uint32_t headerLength;
    size_t frames;  // read
    int64_t headerFrames;
    size_t held;
  };
  for (const Case& c : {Case{"zero", 0, 3000, 0, 3000}, Case{"all ones", 0xFFFFFFFF, 3000, 0, 3000},
                        Case{"cut", 6000, 1000, 3000, 1000}, Case{"shorter", 2000, 1000, 0, 3000}}) {
    std::string bytes = whole.substr(0, length + 4 + 2 * c.held);
    for (int i = 0; i < 4; ++i) bytes[length + static_cast<size_t>(i)] = static_cast<char>(c.headerLength >> (8 * i));
    testing_support::WriteFile(dir.File("file.wav"), bytes);
    const auto file = OpenFile(dir.File("file.wav"));
    ASSERT_TRUE(file) << c.name;
    EXPECT_EQ(file->Frames(), static_cast<int64_t>(c.frames)) << c.name;
    EXPECT_EQ(file->HeaderFrames(), c.headerFrames) << c.name;
    for (int pass = 0; pass < 2; ++pass) {
      file->Rewind();
      std::vector<int16_t> read(4000);
      ASSERT_EQ(file->Read(read.data(), 4000), static_cast<int64_t>(c.frames)) << c.name;
      read.resize(c.frames);
      EXPECT_EQ(read, std::vector<int16_t>(samples.begin(), samples.begin() + static_cast<long>(c.frames))) << c.name;
    }

    const std::string fifo = dir.File(std::string(c.name) + ".fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { testing_support::WriteFile(fifo, bytes); });
    const auto pipe = OpenFile(fifo);
    std::vector<int64_t> endedEarly;
    if (pipe) pipe->OnEndedEarly([&](int64_t frames, int64_t headerFrames) { endedEarly = {frames, headerFrames}; });
    std::vector<int16_t> read(4000);
    int64_t got = 0;
    for (int64_t n = 1; pipe && n > 0; got += n) n = pipe->Read(read.data() + got, 700);
    writer.join();
    read.resize(static_cast<size_t>(got));
    EXPECT_EQ(read, std::vector<int16_t>(samples.begin(), samples.begin() + static_cast<long>(c.frames))) << c.name;
    const std::vector<int64_t> cutAt = {1000, 3000};
    EXPECT_EQ(endedEarly, c.headerFrames ? cutAt : std::vector<int64_t>()) << c.name;
  }
}

// Ten seconds are 216 buffers at every rate, the last padded with zeros
// and ending the run; a mono file feeds both channels. Opened again, the
// file starts from its beginning; in real time the last buffer does not
// end the run.
TEST(WaveFileSource, TenSecondsGive216BuffersTheLastPadded) {
  TempDir dir;
  for (auto [rate, channels] : {std::pair{11025, 1}, std::pair{22050, 2}, std::pair{44100, 2}}) {
    SCOPED_TRACE(rate);
    const size_t frames = static_cast<size_t>(rate) * 2048 / 44100;
    std::vector<int16_t> samples(static_cast<size_t>(channels * rate) * 10);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(1 + i % 1000);
    ASSERT_TRUE(testing_support::WriteWave16(dir.File("ten.wav"), rate, channels, samples));
    const auto file = OpenFile(dir.File("ten.wav"));
    platform::WaveFileCaptureSource source(file, true);
    const auto outlet = RunSource(source, rate, 216);
    ASSERT_EQ(outlet->buffers.size(), 216u);
    std::vector<int16_t> all;
    for (size_t b = 0; b < 216; ++b) {
      ASSERT_EQ(outlet->buffers[b].size(), 2 * frames);
      EXPECT_EQ(outlet->ends[b], b == 215) << b;
      all.insert(all.end(), outlet->buffers[b].begin(), outlet->buffers[b].end());
    }
    std::vector<int16_t> expected;
    for (int16_t s : samples) expected.insert(expected.end(), channels == 1 ? 2 : 1, s);  // mono on both sides
    expected.resize(all.size(), 0);
    EXPECT_EQ(all, expected);

    platform::WaveFileCaptureSource paced(file, false);
    const auto first = RunSource(paced, rate, 1);
    ASSERT_FALSE(first->buffers.empty());
    EXPECT_EQ(first->buffers[0][0], samples[0]);
    EXPECT_FALSE(first->ends[0]);
  }
}

// A pipe whose writer holds it open, silent, with half a frame sent: the
// source's close does not wait for it, puts out no buffer and takes it for
// no early end. The pipe goes on at the next open, every frame once,
// though the writer sends them in pieces of 7 bytes.
TEST(WaveFileSource, AClosedSourceWaitsOnNoSilentPipe) {
  TempDir dir;
  const size_t frames = 22050 * 2048 / 44100;
  std::vector<int16_t> samples(2 * (9 * frames + 500));
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 13 - 20000);
  ASSERT_TRUE(testing_support::WriteWave16(dir.File("stream.wav"), 22050, 2, samples));
  const std::string bytes = testing_support::ReadFile(dir.File("stream.wav"));
  const size_t silentFrom = bytes.find("data") + 8 + 3 * frames * 4 + 2;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::mutex mutex;
  std::condition_variable closed;
  bool goOn = false;
  std::thread writer([&] {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
    const auto send = [&](size_t from, size_t to) {
      for (size_t at = from; at < to; at += 7) {
        EXPECT_GT(::write(fd, bytes.data() + at, std::min<size_t>(7, to - at)), 0);
      }
    };
    send(0, silentFrom);
    {
      // A close that waits for the writer gets the rest after 20 s.
      std::unique_lock<std::mutex> lock(mutex);
      closed.wait_for(lock, std::chrono::seconds(20), [&] { return goOn; });
    }
    send(silentFrom, bytes.size());
    ::close(fd);
  });
  const auto file = OpenFile(fifo);
  std::vector<int64_t> endedEarly;
  std::shared_ptr<KeepingOutlet> before, after;
  double closeSeconds = -1;
  if (file) {
    file->OnEndedEarly([&](int64_t read, int64_t headerFrames) { endedEarly = {read, headerFrames}; });
    platform::WaveFileCaptureSource paced(file, false);
    before = std::make_shared<KeepingOutlet>();
    EXPECT_EQ(paced.Open(22050, static_cast<int>(frames), before), DeviceOpenResult::Opened);
    PumpUntil([&] {
      std::lock_guard<std::mutex> lock(before->mutex);
      return before->buffers.size() >= 3;
    });
    // The fourth read waits on half a frame.
    PumpUntil([] { return false; }, 300);
    const auto start = std::chrono::steady_clock::now();
    paced.Close();
    closeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    goOn = true;
  }
  closed.notify_all();
  if (file) {
    platform::WaveFileCaptureSource fast(file, true);
    after = RunSource(fast, 22050, 7);
  }
  writer.join();
  ASSERT_TRUE(after);
  EXPECT_LT(closeSeconds, 10.0);
  ASSERT_EQ(before->buffers.size(), 3u);
  ASSERT_EQ(after->buffers.size(), 7u);
  EXPECT_EQ(after->ends, std::vector<bool>({false, false, false, false, false, false, true}));
  std::vector<int16_t> all;
  for (const auto& outlet : {before, after}) {
    for (const auto& buffer : outlet->buffers) all.insert(all.end(), buffer.begin(), buffer.end());
  }
  samples.resize(all.size(), 0);
  EXPECT_TRUE(all == samples);
  EXPECT_TRUE(endedEarly.empty());
}

// The null device of a configuration that knows only it: capture is not
// paced, so the outlet fills and buffers are dropped; playback writes
// never wait.
TEST(AlsaNull, CaptureAtThreeRatesAndPlaybackThatNeverWaits) {
  TempDir dir;
  testing_support::WriteFile(dir.File("null.conf"), "pcm.null { type null }\n");
  struct Restore {
    QByteArray saved = qgetenv("ALSA_CONFIG_PATH");
    ~Restore() { qputenv("ALSA_CONFIG_PATH", saved); }
  } restore;
  qputenv("ALSA_CONFIG_PATH", QByteArray::fromStdString(dir.File("null.conf")));
  for (int rate : {11025, 22050, 44100}) {
    platform::AlsaCaptureSource source("null");
    const auto outlet = RunSource(source, rate, SIZE_MAX, 4);
    ASSERT_TRUE(outlet) << rate;
    EXPECT_EQ(outlet->buffers.size(), 4u) << rate;
    for (const auto& b : outlet->buffers) EXPECT_EQ(b.size(), 2u * static_cast<size_t>(rate * 2048 / 44100)) << rate;
    EXPECT_GT(source.DroppedBuffers(), 0) << rate;
  }
  platform::AlsaPlaybackSink sink("null");
  ASSERT_EQ(sink.Open(11025, 512, 8), DeviceOpenResult::Opened);
  std::vector<int16_t> block(1024, 500);
  int taken = 0;
  for (int i = 0; i < 200; ++i) {
    const int n = sink.Write(block.data(), 512);
    ASSERT_TRUE(n >= 0 && n <= 512) << n;
    taken += n;
  }
  EXPECT_GT(taken, 0);
  sink.Close();
  EXPECT_EQ(sink.Write(block.data(), 512), 0);
}

// A running program at 11025 Hz whose HFDL decoder on the left channel
// records the value of each block (every sample of buffer i is its number).
class CaptureDelivery : public ::testing::Test {
 protected:
  CaptureDelivery() {
    rig_.audio.AudioDevices = &devices_;
    rig_.audio.WaveIn.Receiver = &receiver_;
    rig_.link.onDecode = [this](int, DecoderKind) {
      values_.push_back(static_cast<int>(rig_.audio.AudioBlock[0][0]));
      maxDepth_ = std::max(maxDepth_, ++depth_);
      if (nestedLoops_ > 0) {
        --nestedLoops_;
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
      }
      --depth_;
    };
  }
  ~CaptureDelivery() override {
    CloseWaveIn(rig_.audio, rig_.link);
    EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  }
  static std::vector<int> Range(int first, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + i);
    return v;
  }
  void Drain() { PumpUntil([] { return false; }, 100); }
  bool Open() { return OpenWaveIn(rig_.audio, rig_.wave, english_); }
  void Close() { CloseWaveIn(rig_.audio, rig_.link); }
  void Deliver(uint64_t generation, int frames) {
    DeliverWaveInBuffer(rig_.audio, rig_.Settings(), rig_.link,
                        WaveInBuffer(nullptr, generation, std::vector<int16_t>(2 * static_cast<size_t>(frames), 7), false));
  }

  MessageBoxRecorder boxes_;
  FakeDevices devices_;
  audio_test::AudioRig rig_;
  CaptureReceiver receiver_{rig_.audio, rig_.Settings(), rig_.link};
  bool english_ = true;
  std::vector<int> values_;
  int depth_ = 0;
  int maxDepth_ = 0;
  int nestedLoops_ = 0;
};

// Unprocessed, a waiting source stops at 32 outstanding buffers; then
// they arrive in order, each once, also when a decoder runs a nested event
// loop (the next buffer waits its turn).
TEST_F(CaptureDelivery, NumberedBuffersArriveInOrderEachOnce) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 40, 1, true}};
  nestedLoops_ = 3;
  const int before = FakeCaptureSource::delivered;
  ASSERT_TRUE(Open());
  for (int i = 0; i < 500 && FakeCaptureSource::delivered - before < kMaxOutstandingBuffers; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(FakeCaptureSource::delivered - before, kMaxOutstandingBuffers);
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 40; }));
  Drain();
  EXPECT_EQ(values_, Range(1, 40));
  EXPECT_EQ(maxDepth_, 1);
  EXPECT_EQ(rig_.audio.WaveIn.Queue->Outstanding(), 0);
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(CaptureDelivery, StaleGenerationDropped) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 10, 100, false},
                      {DeviceOpenResult::Opened, false, 5, 200, false}};
  const int before = FakeCaptureSource::delivered;
  ASSERT_TRUE(Open());
  while (FakeCaptureSource::delivered - before < 10) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const uint64_t oldGeneration = rig_.audio.WaveIn.Generation;
  // A device change with the old buffers still in flight.
  Close();
  ASSERT_TRUE(Open());
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 5; }));
  Drain();
  EXPECT_EQ(values_, Range(200, 5));

  // Checked when taken: a buffer of the old device, one of the wrong size,
  // and one that arrives with no device open.
  Deliver(oldGeneration, 512);
  Deliver(rig_.audio.WaveIn.Generation, 511);
  Deliver(rig_.audio.WaveIn.Generation, 1024);
  EXPECT_EQ(values_.size(), 5u);
  Deliver(rig_.audio.WaveIn.Generation, 512);
  EXPECT_EQ(values_.size(), 6u);
  Close();
  Deliver(rig_.audio.WaveIn.Generation, 512);
  EXPECT_EQ(values_.size(), 6u);
}

// A refused open shows one message (in Japanese after a change of
// language) and runs nothing; a failure after the thread started leaves
// nothing open, and the next open works. So for playback.
TEST_F(CaptureDelivery, AFailedOpenShowsOneMessageAndLeavesNothingOpen) {
  devices_.scripts = {{DeviceOpenResult::DeviceRefused, false, 5, 1, true},
                      {DeviceOpenResult::BufferFailed, true, 5, 1, false},
                      {DeviceOpenResult::BufferFailed, false, 0, 0, true},
                      {DeviceOpenResult::Opened, false, 3, 50, true}};
  EXPECT_FALSE(Open());
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_FALSE(Open());
  EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  EXPECT_EQ(rig_.audio.WaveIn.Handle, nullptr);
  EXPECT_EQ(rig_.audio.WaveIn.Queue, nullptr);
  english_ = false;
  EXPECT_FALSE(Open());
  Drain();
  EXPECT_TRUE(values_.empty());
  EXPECT_EQ(boxes_.Texts(),
            (std::vector<std::string>{
                "Can not open the recoding device", "Can not get the buffer",
                "バッファを確保できないためプログラムの実行ができません\nメモリが不足している可能性があります"}));
  EXPECT_TRUE(Open());
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 3; }));
  EXPECT_EQ(values_, Range(50, 3));
  EXPECT_EQ(boxes_.Requests().size(), 3u);

  EXPECT_TRUE(OpenWaveOut(rig_.audio, true));
  EXPECT_NE(rig_.audio.WaveOut.Handle, nullptr);
  CloseWaveOut(rig_.audio);
  for (auto result : {DeviceOpenResult::BufferFailed, DeviceOpenResult::DeviceRefused}) {
    devices_.playback = result;
    EXPECT_FALSE(OpenWaveOut(rig_.audio, true));
    EXPECT_EQ(rig_.audio.WaveOut.Handle, nullptr);
  }
  EXPECT_EQ(boxes_.Texts().back(), "Can not open the play device");
  EXPECT_EQ(boxes_.Texts()[3], "Can not get the buffer");
}

// The real main window, its message map delivering a fake card's buffers.
using MainWindowAudio = MainWindowTest;

TEST_F(MainWindowAudio, ARefusedPlaybackDeviceLeavesTheWindowOpenAndAudioFlowing) {
  FakeDevices devices;
  devices.playback = DeviceOpenResult::DeviceRefused;
  devices.scripts = {{DeviceOpenResult::Opened, false, 30, 1, true}};
  testing_support::WriteFile(dir_.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  window_ = StartMainWindow(nullptr, &devices);
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Can not open the play device"});
  EXPECT_TRUE(PumpUntil([&] { return window_->State().audio.ProcessedBuffers >= 30; }));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(window_->State().audio.ClockCache.size(), 8u);
  Close();
  EXPECT_EQ(window_->State().audio.WaveIn.Handle, nullptr);
  window_.reset();
  EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
}

}  // namespace
