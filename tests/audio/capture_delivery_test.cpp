// Buffers from a capture thread to the pipeline through posted events, and
// the opening and closing of the devices, with fake sources in process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QWidget>

#include "app/application.h"
#include "app/tform1.h"
#include "audio/capture_delivery.h"
#include "audio_fakes.h"
#include "platform/paths.h"
#include "support/test_support.h"

namespace {

using audio_test::FakeCaptureSource;
using audio_test::FakeDevices;
using audio_test::FakeSourceScript;
using audio_test::PipelineFakes;
using audio_test::PumpUntil;
using platform::DeviceOpenResult;
using testing_support::MessageBoxRecorder;

// Stands in for the main window's message map.
class Receiver : public QObject {
 public:
  explicit Receiver(Form1State& form) : form_(form) {}
  bool event(QEvent* e) override {
    if (e->type() != kWaveInDataEvent) return QObject::event(e);
    form_.svc.audio->OnWaveInData(form_, TakeWaveInBuffer(e));
    return true;
  }

 private:
  Form1State& form_;
};

// A running form at 11025 Hz whose HFDL decoder on the left channel
// records the value of each block (every sample of buffer i is its number).
class CaptureDelivery : public ::testing::Test {
 protected:
  CaptureDelivery() {
    form_.audio.AudioDevices = &devices_;
    form_.audio.WaveIn.Receiver = &receiver_;
    form_.Wave.WaveRate = 0;
    form_.Wave.DecoderL = 1;
    form_.Wave.WaveDual = 1;
    form_.svc.audio->SetSampleRate(form_);
    form_.app.Running = 1;
    fakes_.onDecode = [this](Form1State& f, int) {
      values_.push_back(static_cast<int>(f.audio.AudioBlock[0][0]));
      ++depth_;
      maxDepth_ = std::max(maxDepth_, depth_);
      if (nestedLoops_ > 0) {
        --nestedLoops_;
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
      }
      --depth_;
    };
  }
  ~CaptureDelivery() override {
    form_.svc.audio->CloseWaveIn(form_);
    EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  }
  static std::vector<int> Range(int first, int count) {
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + i);
    return v;
  }
  void Drain() { PumpUntil([] { return false; }, 100); }

  MessageBoxRecorder boxes_;
  FakeDevices devices_;
  Form1State form_;
  PipelineFakes fakes_{form_};
  Receiver receiver_{form_};
  std::vector<int> values_;
  int depth_ = 0;
  int maxDepth_ = 0;
  int nestedLoops_ = 0;
};

TEST_F(CaptureDelivery, NumberedBuffersArriveInOrderEachOnce) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 40, 1, true}};
  const int before = FakeCaptureSource::delivered;
  ASSERT_TRUE(form_.svc.audio->OpenWaveIn(form_));
  // Unprocessed, the waiting source stops at 32 outstanding.
  for (int i = 0; i < 500 && FakeCaptureSource::delivered - before < kMaxOutstandingBuffers; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(FakeCaptureSource::delivered - before, kMaxOutstandingBuffers);
  EXPECT_EQ(form_.audio.WaveIn.Queue->Outstanding(), kMaxOutstandingBuffers);
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 40; }));
  Drain();
  EXPECT_EQ(values_, Range(1, 40));
  EXPECT_EQ(form_.audio.ProcessedBuffers, 40);
  EXPECT_EQ(form_.audio.WaveIn.Queue->Outstanding(), 0);
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(CaptureDelivery, StaleGenerationDropped) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 10, 100, false},
                      {DeviceOpenResult::Opened, false, 5, 200, false}};
  const int before = FakeCaptureSource::delivered;
  ASSERT_TRUE(form_.svc.audio->OpenWaveIn(form_));
  while (FakeCaptureSource::delivered - before < 10) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const uint64_t oldGeneration = form_.audio.WaveIn.Generation;
  // A device change with the old buffers still in flight.
  form_.svc.audio->CloseWaveIn(form_);
  ASSERT_TRUE(form_.svc.audio->OpenWaveIn(form_));
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 5; }));
  Drain();
  EXPECT_EQ(values_, Range(200, 5));

  // Checked when taken: a buffer of the old device, one of the wrong size,
  // and one that arrives with no device open.
  auto deliver = [&](uint64_t generation, int frames) {
    form_.svc.audio->OnWaveInData(form_, WaveInBuffer(nullptr, generation, std::vector<int16_t>(2 * frames, 7), false));
  };
  deliver(oldGeneration, 512);
  deliver(form_.audio.WaveIn.Generation, 511);
  deliver(form_.audio.WaveIn.Generation, 1024);
  EXPECT_EQ(values_.size(), 5u);
  deliver(form_.audio.WaveIn.Generation, 512);
  EXPECT_EQ(values_.size(), 6u);
  form_.svc.audio->CloseWaveIn(form_);
  deliver(form_.audio.WaveIn.Generation, 512);
  EXPECT_EQ(values_.size(), 6u);
}

TEST_F(CaptureDelivery, NestedEventLoopsWaitTheirTurn) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 12, 1, true}};
  nestedLoops_ = 3;
  ASSERT_TRUE(form_.svc.audio->OpenWaveIn(form_));
  // Let all twelve be posted before the first is processed.
  while (form_.audio.WaveIn.Queue->Outstanding() < 12) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 12; }));
  Drain();
  EXPECT_EQ(maxDepth_, 1);
  EXPECT_EQ(values_, Range(1, 12));
  EXPECT_TRUE(form_.audio.WaveIn.Waiting.empty());
}

class OpenClose : public CaptureDelivery {};

TEST_F(OpenClose, ARefusedOpenShowsOneMessageAndRunsNothing) {
  devices_.scripts = {{DeviceOpenResult::DeviceRefused, false, 5, 1, true}};
  EXPECT_FALSE(form_.svc.audio->OpenWaveIn(form_));
  ASSERT_EQ(boxes_.Texts(), std::vector<std::string>{"Can not open the recoding device"});
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(form_.audio.WaveIn.Handle, nullptr);
  Drain();
  EXPECT_TRUE(values_.empty());

  // In Japanese after a device change.
  form_.app.UseEnglish = 0;
  devices_.scripts.push_back({DeviceOpenResult::BufferFailed, false, 0, 0, true});
  form_.svc.audio->CloseWaveIn(form_);
  EXPECT_FALSE(form_.svc.audio->OpenWaveIn(form_));
  EXPECT_EQ(boxes_.Texts().back(),
            "バッファを確保できないためプログラムの実行ができません\nメモリが不足している可能性があります");
}

TEST_F(OpenClose, AFailureAfterTheThreadStartedLeavesNothingOpen) {
  devices_.scripts = {{DeviceOpenResult::BufferFailed, true, 5, 1, false},
                      {DeviceOpenResult::Opened, false, 3, 50, true}};
  EXPECT_FALSE(form_.svc.audio->OpenWaveIn(form_));
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Can not get the buffer"});
  EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  EXPECT_EQ(form_.audio.WaveIn.Handle, nullptr);
  EXPECT_EQ(form_.audio.WaveIn.Queue, nullptr);
  Drain();
  EXPECT_TRUE(values_.empty());
  form_.svc.audio->CloseWaveIn(form_);
  EXPECT_TRUE(form_.svc.audio->OpenWaveIn(form_));
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 3; }));
  EXPECT_EQ(values_, Range(50, 3));
  EXPECT_EQ(boxes_.Requests().size(), 1u);
}

TEST_F(OpenClose, PlaybackOpenAndRefusal) {
  EXPECT_TRUE(form_.svc.audio->OpenWaveOut(form_));
  EXPECT_NE(form_.audio.WaveOut.Handle, nullptr);
  form_.svc.audio->CloseWaveOut(form_);
  EXPECT_EQ(form_.audio.WaveOut.Handle, nullptr);
  devices_.playback = DeviceOpenResult::BufferFailed;
  EXPECT_FALSE(form_.svc.audio->OpenWaveOut(form_));
  devices_.playback = DeviceOpenResult::DeviceRefused;
  EXPECT_FALSE(form_.svc.audio->OpenWaveOut(form_));
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{"Can not get the buffer", "Can not open the play device"}));
  EXPECT_EQ(form_.audio.WaveOut.Handle, nullptr);
}

// The real main window, its message map delivering a fake card's buffers.
TEST(MainWindowAudio, ARefusedPlaybackDeviceLeavesTheWindowOpenAndAudioFlowing) {
  testing_support::TempDir dir;
  platform::SetProgramFolderForTests(dir.path());
  testing_support::WriteFile(dir.File("skarvel.ini"), "[Etc]\r\nLanguage=1\r\n");
  MessageBoxRecorder boxes;
  FakeDevices devices;
  devices.playback = DeviceOpenResult::DeviceRefused;
  devices.scripts = {{DeviceOpenResult::Opened, false, 30, 1, true}};
  {
    std::unique_ptr<TForm1> w = StartMainWindow(nullptr, &devices);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Can not open the play device"});
    EXPECT_TRUE(PumpUntil([&] { return w->State().audio.ProcessedBuffers >= 30; }));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->State().audio.ClockCache.size(), 8u);
    w->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->State().audio.WaveIn.Handle, nullptr);
  }
  EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  platform::SetProgramFolderForTests("");
}

}  // namespace
