// One block at a time through the pipeline, with recording stand-ins for
// the decoders, the displays, the log names and the lamps.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/form1_state.h"
#include "audio/block_pipeline.h"
#include "audio/clock_fallback.h"
#include "audio_fakes.h"
#include "hfdl/hfdl_channel_state.h"
#include "support/test_support.h"

namespace {

using audio_test::PipelineFakes;
using testing_support::FixedClock;

constexpr TColor kAqua = 0x00FFFF00;
constexpr TColor kBlack = 0;

TEST(SampleRate, BufferSizesFollowWaveRate) {
  struct Case {
    int waveRate, rate, frames, bytes;
  };
  for (Case c : {Case{0, 11025, 512, 2048}, Case{1, 22050, 1024, 4096}, Case{2, 44100, 2048, 8192},
                 Case{3, 11025, 512, 2048}, Case{-1, 11025, 512, 2048}}) {
    Form1State form;
    form.Wave.WaveRate = c.waveRate;
    form.svc.audio->SetSampleRate(form);
    EXPECT_EQ(form.audio.SampleRate, c.rate) << c.waveRate;
    EXPECT_EQ(form.audio.WaveIn.BufferFrames, c.frames) << c.waveRate;
    EXPECT_EQ(form.audio.WaveIn.BufferBytes, c.bytes) << c.waveRate;
    EXPECT_EQ(form.audio.WaveIn.Format.SamplesPerSec, c.rate);
    EXPECT_EQ(form.audio.WaveIn.Format.BlockAlign, 4);
    EXPECT_EQ(form.audio.WaveIn.Format.AvgBytesPerSec, c.rate * 4);
    EXPECT_EQ(form.audio.WaveIn.Format.Channels, 2);
    EXPECT_EQ(form.audio.WaveIn.Format.BitsPerSample, 16);
    EXPECT_EQ(form.audio.WaveOut.Format.SamplesPerSec, 11025);
  }
}

TEST(SampleRate, AWaveFileRateWinsButWaveRateIsKept) {
  Form1State form;
  audio_test::FakeDevices devices;
  devices.fixedRate = 22050;
  form.audio.AudioDevices = &devices;
  form.Wave.WaveRate = 2;
  form.svc.audio->SetSampleRate(form);
  EXPECT_EQ(form.audio.SampleRate, 22050);
  EXPECT_EQ(form.audio.WaveIn.BufferFrames, 1024);
  EXPECT_EQ(form.Wave.WaveRate, 2);
}

TEST(CaptureDevices, WaveInputNamesThePcm) {
  std::vector<platform::CaptureDevice> devices = {{"A", "plughw:CARD=A,DEV=0"}, {"B", "plughw:CARD=B,DEV=2"}};
  EXPECT_EQ(CapturePcmName(0, devices), "default");
  EXPECT_EQ(CapturePcmName(1, devices), "plughw:CARD=A,DEV=0");
  EXPECT_EQ(CapturePcmName(2, devices), "plughw:CARD=B,DEV=2");
  EXPECT_EQ(CapturePcmName(3, devices), "");
  EXPECT_EQ(CapturePcmName(-1, devices), "");
}

// A running form at 11025 Hz; each block holds `value` in every sample.
class BlockPipeline : public ::testing::Test {
 protected:
  BlockPipeline() {
    form_.Wave.WaveRate = 0;
    form_.svc.audio->SetSampleRate(form_);
    form_.app.Running = 1;
    form_.audio.RxLampHold = {6, 6, 0};
  }
  void Block(int16_t left = 0, int16_t right = 0) {
    std::vector<int16_t> buffer(1024);
    for (size_t i = 0; i < 512; ++i) {
      buffer[2 * i] = left;
      buffer[2 * i + 1] = right;
    }
    ProcessAudioBlock(form_, buffer.data(), 512);
  }
  std::vector<TColor> PaintsOf(Lamp lamp) const {
    std::vector<TColor> paints;
    for (auto& [l, c] : fakes_.lamps) {
      if (l == lamp) paints.push_back(c);
    }
    return paints;
  }

  FixedClock clock_{platform::EncodeDateTime(2024, 5, 1, 8, 30, 0)};
  Form1State form_;
  PipelineFakes fakes_{form_};
};

class DispatchMatrix : public BlockPipeline, public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(DispatchMatrix, EachChannelReachesItsDecoder) {
  auto [decoderL, decoderR, waveDual] = GetParam();
  form_.Wave.DecoderL = decoderL;
  form_.Wave.DecoderR = decoderR;
  form_.Wave.WaveDual = waveDual;
  // A decoder overwrites its row; the copy for the monitor stays.
  fakes_.onDecode = [](Form1State& f, int ch) {
    for (int i = 0; i < 512; ++i) f.audio.AudioBlock[ch][i] = -1.0;
  };
  Block(100, 200);
  const char* names[] = {"acars", "hfdl", "selcal"};
  std::vector<std::string> expected;
  if (waveDual != 0 && decoderL < 3) expected.push_back(std::string(names[decoderL]) + "0");
  if (waveDual == 2 && decoderR < 3) expected.push_back(std::string(names[decoderR]) + "1");
  std::vector<std::string> decoded;
  for (const std::string& e : fakes_.log) {
    if (e.back() == '0' || e.back() == '1') decoded.push_back(e);
  }
  EXPECT_EQ(decoded, expected);
  // Both channels are always resampled, decoded or not.
  for (int i = 0; i < 512; ++i) {
    ASSERT_EQ(form_.audio.FilterBlock[0][i], 100.0);
    ASSERT_EQ(form_.audio.FilterBlock[1][i], 200.0);
  }
  EXPECT_EQ(form_.audio.AudioBlock[1][0], waveDual == 2 && decoderR < 3 ? -1.0 : 200.0);
}

INSTANTIATE_TEST_SUITE_P(BlockPipeline, DispatchMatrix,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3), ::testing::Values(0, 1, 2, 3),
                                            ::testing::Values(0, 1, 2)));

TEST_F(BlockPipeline, NotRunningDoesNothingAtAll) {
  form_.app.Running = 0;
  form_.controls.SpeedButton17Down = 1;
  form_.Etc.DispType = 1;
  Block(5, 5);
  EXPECT_TRUE(fakes_.log.empty());
  EXPECT_TRUE(fakes_.lamps.empty());
  EXPECT_EQ(form_.audio.PipelineCounter, 0);
  EXPECT_EQ(form_.audio.BlockCounter, 0);
  EXPECT_EQ(form_.audio.ProcessedBuffers, 0);
  EXPECT_EQ(form_.audio.RxLampHold[2], 0);
  EXPECT_EQ(form_.audio.AudioBlock[0][0], 0.0);
}

TEST_F(BlockPipeline, DisplayPassOnEverySecondBlock) {
  form_.Map.TimeAdjust = 1;
  form_.controls.N27Checked = 1;
  form_.Form.SpectrumRefresh = 1;
  form_.Etc.DispType = 1;
  form_.controls.SpeedButton17Down = 1;
  std::vector<std::vector<std::string>> perBlock;
  for (int n = 0; n < 6; ++n) {
    fakes_.Clear();
    Block();
    perBlock.push_back(fakes_.log);
  }
  // The first pass finds ClockCache empty: log names, track ages and the
  // clock face at once.
  using V = std::vector<std::string>;
  EXPECT_EQ(perBlock[0], (V{"hfdl0", "monitor", "spectrum", "logs", "ages", "clockface", "meters", "constellation"}));
  EXPECT_EQ(perBlock[1], (V{"hfdl0", "monitor", "constellation"}));
  // The same second again: no clock change.
  EXPECT_EQ(perBlock[2], (V{"hfdl0", "monitor", "spectrum", "meters", "constellation"}));
  EXPECT_EQ(perBlock[3], perBlock[1]);
  EXPECT_EQ(perBlock[4], perBlock[2]);
  EXPECT_EQ(form_.audio.ClockCache, "08:30:00");
  EXPECT_EQ(form_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 1, 8, 30, 0));
  EXPECT_EQ(form_.audio.BlockCounter, 6);

  // A new second: log names again; no track ageing without TimeAdjust.
  form_.Map.TimeAdjust = 0;
  form_.controls.N27Checked = 0;
  form_.controls.SpeedButton17Down = 0;
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
  fakes_.Clear();
  Block();
  EXPECT_EQ(fakes_.log, (V{"hfdl0", "logs", "clockface", "meters"}));
  EXPECT_EQ(form_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
}

TEST_F(BlockPipeline, ClockTextWithHourOffsets) {
  const TDateTime now = platform::EncodeDateTime(2024, 5, 1, 8, 30, 0);
  form_.Etc.DispTime = 1;
  for (auto [offset, text] : {std::pair{9, "23:30:00"}, std::pair{-5, "13:30:00"}, std::pair{0, "08:30:00"},
                              std::pair{30, "02:30:00"}, std::pair{-23, "07:30:00"}, std::pair{-100, "12:30:00"}}) {
    form_.Etc.LocalHourOffset = offset;
    EXPECT_EQ(ClockText(form_, now), text) << offset;
  }
  form_.Etc.DispTime = 0;
  form_.Etc.LocalHourOffset = 9;
  EXPECT_EQ(ClockText(form_, now), "08:30:00");

  // Beyond a day the rest of the block still runs.
  form_.Etc.DispTime = 1;
  form_.Etc.LocalHourOffset = 30;
  Block();
  EXPECT_EQ(form_.audio.ClockCache, "02:30:00");
  EXPECT_EQ(form_.audio.RxLampHold[2], 1);
  EXPECT_EQ(fakes_.Count("meters"), 1);
}

TEST_F(BlockPipeline, AcarsLockLampGoesOutSixBlocksAfterTheLastResult) {
  form_.Wave.DecoderL = 0;
  form_.Wave.WaveDual = 1;
  const int n = 3;
  int block = 0;
  fakes_.onDecode = [&](Form1State& f, int ch) {
    if (block == n && ch == 0) f.audio.RxLampHold[0] = 0;
  };
  std::vector<std::vector<TColor>> leftPaints;
  for (block = 1; block <= n + 7; ++block) {
    fakes_.lamps.clear();
    Block();
    leftPaints.push_back(PaintsOf(Lamp::Left));
  }
  for (int b = 1; b <= n + 7; ++b) {
    bool lit = b >= n && b <= n + 5;
    EXPECT_EQ(leftPaints[static_cast<size_t>(b - 1)], lit ? std::vector<TColor>{} : std::vector<TColor>{kBlack})
        << "block " << b;
  }
}

TEST_F(BlockPipeline, DataLampAquaForTheFirstSixBlocks) {
  std::vector<TColor> data;
  for (int b = 1; b <= 8; ++b) {
    fakes_.lamps.clear();
    Block();
    ASSERT_EQ(PaintsOf(Lamp::Data).size(), 1u);
    data.push_back(PaintsOf(Lamp::Data)[0]);
  }
  EXPECT_EQ(data, (std::vector<TColor>{kAqua, kAqua, kAqua, kAqua, kAqua, kAqua, kBlack, kBlack}));
}

TEST_F(BlockPipeline, HfdlAndSelcalLockLampsAreLeftToTheirDecoders) {
  form_.Wave.DecoderL = 1;
  form_.Wave.DecoderR = 2;
  form_.Wave.WaveDual = 2;
  form_.audio.RxLampHold = {3, 9, 6};
  for (int b = 0; b < 10; ++b) Block();
  EXPECT_TRUE(PaintsOf(Lamp::Left).empty());
  EXPECT_TRUE(PaintsOf(Lamp::Right).empty());
  EXPECT_EQ(form_.audio.RxLampHold[0], 3);
  EXPECT_EQ(form_.audio.RxLampHold[1], 9);

  // An ACARS right channel is counted whatever WaveDual is.
  form_.Wave.DecoderR = 0;
  form_.Wave.WaveDual = 1;
  form_.audio.RxLampHold[1] = 4;
  Block();
  Block();
  EXPECT_TRUE(PaintsOf(Lamp::Right).empty());
  Block();
  EXPECT_EQ(PaintsOf(Lamp::Right), std::vector<TColor>{kBlack});
}

TEST_F(BlockPipeline, CloseWaveInWithoutDeviceResetsTheHfdlFramesAndLamps) {
  for (HfdlChannelState& s : form_.hfdl.Channels) {
    s.Locked = 1;
    s.SymbolCount = 77;
    s.SegmentIndex = 4;
    s.InProbe = 1;
    s.TrainingActive = 1;
    s.PreambleTraining = 1;
    s.SyncFound = 1;
    s.Constellation = 2;
    s.EqDelay[1][5] = 3.0;
    s.EqTaps[0][7] = 9.0;
    s.NcoPhase = 1.25;
    s.FineOffset = -3.5;
    s.AgcState[1] = 0.5;
    s.PllLoopState[2] = 0.75;
  }
  HfdlChannelState start;
  InitHfdlChannel(start);
  form_.svc.audio->CloseWaveIn(form_);
  for (const HfdlChannelState& s : form_.hfdl.Channels) {
    EXPECT_EQ(s.Locked, 0);
    EXPECT_EQ(s.SymbolCount, 0);
    EXPECT_EQ(s.SegmentIndex, 0);
    EXPECT_EQ(s.InProbe, 0);
    EXPECT_EQ(s.TrainingActive, 0);
    EXPECT_EQ(s.PreambleTraining, 0);
    EXPECT_EQ(s.SyncFound, 0);
    EXPECT_EQ(s.Constellation, 0);
    EXPECT_EQ(s.EqDelay[1][5], 0.0);
    EXPECT_EQ(s.EqTaps[0][7], start.EqTaps[0][7]);
    // Filters, oscillators and the frequency tracking carry on.
    EXPECT_EQ(s.NcoPhase, 1.25);
    EXPECT_EQ(s.FineOffset, -3.5);
    EXPECT_EQ(s.AgcState[1], 0.5);
    EXPECT_EQ(s.PllLoopState[2], 0.75);
  }
  EXPECT_EQ(PaintsOf(Lamp::Left), std::vector<TColor>{kBlack});
  EXPECT_EQ(PaintsOf(Lamp::Right), std::vector<TColor>{kBlack});

  fakes_.lamps.clear();
  form_.svc.audio->CloseWaveOut(form_);
  EXPECT_TRUE(fakes_.lamps.empty());
  EXPECT_EQ(form_.audio.WaveOut.Handle, nullptr);
}

class ClockFallback : public BlockPipeline {
 protected:
  std::chrono::steady_clock::time_point Later(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  }
};

TEST_F(ClockFallback, KeepsTheClockAndLogNamesWithoutAudio) {
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 23, 59, 59));
  form_.Map.TimeAdjust = 1;
  ClockFallbackTick(form_, Later(0));
  EXPECT_EQ(form_.audio.ClockCache, "23:59:59");
  // The face wipes the meters, so they are drawn again (silent) and shown.
  EXPECT_EQ(fakes_.log, (std::vector<std::string>{"logs", "ages", "clockface", "meters"}));
  ClockFallbackTick(form_, Later(100));
  EXPECT_EQ(fakes_.Count("meters"), 1);
  EXPECT_EQ(fakes_.Count("logs"), 1);
  clock_.Set(platform::EncodeDateTime(2024, 5, 2, 0, 0, 0));
  ClockFallbackTick(form_, Later(200));
  EXPECT_EQ(form_.audio.ClockCache, "00:00:00");
  EXPECT_EQ(fakes_.Count("logs"), 2);
  EXPECT_EQ(form_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 2, 0, 0, 0));
  // Nothing else of the pipeline runs.
  EXPECT_TRUE(fakes_.lamps.empty());
  EXPECT_EQ(form_.audio.ProcessedBuffers, 0);
}

TEST_F(ClockFallback, SilentWhileBuffersArriveOrThePipelineRuns) {
  Block();
  ASSERT_EQ(fakes_.Count("logs"), 1);
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
  // The last buffer came less than a second ago.
  ClockFallbackTick(form_, Later(900));
  EXPECT_EQ(fakes_.Count("logs"), 1);
  form_.audio.WaveIn.PipelineBusy = true;
  ClockFallbackTick(form_, Later(5000));
  EXPECT_EQ(fakes_.Count("logs"), 1);
  form_.audio.WaveIn.PipelineBusy = false;
  form_.app.Running = 0;
  ClockFallbackTick(form_, Later(5000));
  EXPECT_EQ(fakes_.Count("logs"), 1);
  form_.app.Running = 1;
  ClockFallbackTick(form_, Later(1100));
  EXPECT_EQ(fakes_.Count("logs"), 2);
  EXPECT_EQ(form_.audio.ClockCache, "08:30:01");
}

}  // namespace
