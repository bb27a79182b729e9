// Buffers from a capture thread to the pipeline through posted events, and
// the opening and closing of the devices, with fake sources in process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QWidget>

#include "app/application.h"
#include "app/tform1.h"
#include "audio/capture_delivery.h"
#include "audio_rig.h"
#include "platform/paths.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using platform::DeviceOpenResult;
using testing_support::FakeCaptureSource;
using testing_support::FakeDevices;
using testing_support::FakeSourceScript;
using testing_support::MessageBoxRecorder;
using testing_support::PumpUntil;

// A running program at 11025 Hz whose HFDL decoder on the left channel
// records the value of each block (every sample of buffer i is its number).
class CaptureDelivery : public ::testing::Test {
 protected:
  CaptureDelivery() {
    rig_.audio.AudioDevices = &devices_;
    rig_.audio.WaveIn.Receiver = &receiver_;
    rig_.link.onDecode = [this](int, DecoderKind) {
      values_.push_back(static_cast<int>(rig_.audio.AudioBlock[0][0]));
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

TEST_F(CaptureDelivery, NumberedBuffersArriveInOrderEachOnce) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 40, 1, true}};
  const int before = FakeCaptureSource::delivered;
  ASSERT_TRUE(Open());
  // Unprocessed, the waiting source stops at 32 outstanding.
  for (int i = 0; i < 500 && FakeCaptureSource::delivered - before < kMaxOutstandingBuffers; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(FakeCaptureSource::delivered - before, kMaxOutstandingBuffers);
  EXPECT_EQ(rig_.audio.WaveIn.Queue->Outstanding(), kMaxOutstandingBuffers);
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 40; }));
  Drain();
  EXPECT_EQ(values_, Range(1, 40));
  EXPECT_EQ(rig_.audio.ProcessedBuffers, 40);
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

TEST_F(CaptureDelivery, NestedEventLoopsWaitTheirTurn) {
  devices_.scripts = {{DeviceOpenResult::Opened, false, 12, 1, true}};
  nestedLoops_ = 3;
  ASSERT_TRUE(Open());
  // Let all twelve be posted before the first is processed.
  while (rig_.audio.WaveIn.Queue->Outstanding() < 12) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 12; }));
  Drain();
  EXPECT_EQ(maxDepth_, 1);
  EXPECT_EQ(values_, Range(1, 12));
  EXPECT_TRUE(rig_.audio.WaveIn.Waiting.empty());
}

class OpenClose : public CaptureDelivery {};

TEST_F(OpenClose, ARefusedOpenShowsOneMessageAndRunsNothing) {
  devices_.scripts = {{DeviceOpenResult::DeviceRefused, false, 5, 1, true}};
  EXPECT_FALSE(Open());
  ASSERT_EQ(boxes_.Texts(), std::vector<std::string>{"Can not open the recoding device"});
  EXPECT_FALSE(boxes_.Requests()[0].blocking);
  EXPECT_EQ(rig_.audio.WaveIn.Handle, nullptr);
  Drain();
  EXPECT_TRUE(values_.empty());

  // In Japanese after a device change.
  english_ = false;
  devices_.scripts.push_back({DeviceOpenResult::BufferFailed, false, 0, 0, true});
  Close();
  EXPECT_FALSE(Open());
  EXPECT_EQ(boxes_.Texts().back(),
            "バッファを確保できないためプログラムの実行ができません\nメモリが不足している可能性があります");
}

TEST_F(OpenClose, AFailureAfterTheThreadStartedLeavesNothingOpen) {
  devices_.scripts = {{DeviceOpenResult::BufferFailed, true, 5, 1, false},
                      {DeviceOpenResult::Opened, false, 3, 50, true}};
  EXPECT_FALSE(Open());
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"Can not get the buffer"});
  EXPECT_EQ(FakeCaptureSource::liveThreads, 0);
  EXPECT_EQ(rig_.audio.WaveIn.Handle, nullptr);
  EXPECT_EQ(rig_.audio.WaveIn.Queue, nullptr);
  Drain();
  EXPECT_TRUE(values_.empty());
  Close();
  EXPECT_TRUE(Open());
  EXPECT_TRUE(PumpUntil([&] { return values_.size() >= 3; }));
  EXPECT_EQ(values_, Range(50, 3));
  EXPECT_EQ(boxes_.Requests().size(), 1u);
}

TEST_F(OpenClose, PlaybackOpenAndRefusal) {
  EXPECT_TRUE(OpenWaveOut(rig_.audio, true));
  EXPECT_NE(rig_.audio.WaveOut.Handle, nullptr);
  CloseWaveOut(rig_.audio);
  EXPECT_EQ(rig_.audio.WaveOut.Handle, nullptr);
  devices_.playback = DeviceOpenResult::BufferFailed;
  EXPECT_FALSE(OpenWaveOut(rig_.audio, true));
  devices_.playback = DeviceOpenResult::DeviceRefused;
  EXPECT_FALSE(OpenWaveOut(rig_.audio, true));
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{"Can not get the buffer", "Can not open the play device"}));
  EXPECT_EQ(rig_.audio.WaveOut.Handle, nullptr);
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
