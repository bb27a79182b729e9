// One block at a time through the pipeline, with a recording link for the
// decoders, the lamps, the pictures and the clock's outside effects.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "audio/block_pipeline.h"
#include "audio/clock_fallback.h"
#include "audio_rig.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using audio_test::AudioRig;
using testing_support::FixedClock;

constexpr TColor kAqua = 0x00FFFF00;
constexpr TColor kBlack = 0;

TEST(SampleRate, BufferSizesFollowWaveRate) {
  struct Case {
    int waveRate, rate, frames;
  };
  for (Case c : {Case{0, 11025, 512}, Case{1, 22050, 1024}, Case{2, 44100, 2048}, Case{3, 11025, 512},
                 Case{-1, 11025, 512}}) {
    AudioState audio;
    WaveSettings wave;
    wave.WaveRate = c.waveRate;
    SetSampleRate(audio, wave);
    EXPECT_EQ(audio.SampleRate, c.rate) << c.waveRate;
    EXPECT_EQ(audio.WaveIn.BufferFrames, c.frames) << c.waveRate;
  }
}

TEST(SampleRate, AWaveFileRateWinsButWaveRateIsKept) {
  AudioState audio;
  testing_support::FakeDevices devices;
  devices.fixedRate = 22050;
  audio.AudioDevices = &devices;
  WaveSettings wave;
  wave.WaveRate = 2;
  SetSampleRate(audio, wave);
  EXPECT_EQ(audio.SampleRate, 22050);
  EXPECT_EQ(audio.WaveIn.BufferFrames, 1024);
  EXPECT_EQ(wave.WaveRate, 2);
}

TEST(CaptureDevices, WaveInputNamesThePcm) {
  std::vector<platform::CaptureDevice> devices = {{"A", "plughw:CARD=A,DEV=0"}, {"B", "plughw:CARD=B,DEV=2"}};
  EXPECT_EQ(CapturePcmName(0, devices), "default");
  EXPECT_EQ(CapturePcmName(1, devices), "plughw:CARD=A,DEV=0");
  EXPECT_EQ(CapturePcmName(2, devices), "plughw:CARD=B,DEV=2");
  EXPECT_EQ(CapturePcmName(3, devices), "");
  EXPECT_EQ(CapturePcmName(-1, devices), "");
}

// A running program at 11025 Hz on a fixed clock.
class BlockPipeline : public ::testing::Test {
 protected:
  FixedClock clock_{platform::EncodeDateTime(2024, 5, 1, 8, 30, 0)};
  AudioRig rig_;
};

class DispatchMatrix : public BlockPipeline, public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(DispatchMatrix, EachChannelReachesItsDecoder) {
  auto [decoderL, decoderR, waveDual] = GetParam();
  rig_.wave.DecoderL = static_cast<DecoderKind>(decoderL);
  rig_.wave.DecoderR = static_cast<DecoderKind>(decoderR);
  rig_.wave.WaveDual = waveDual;
  // A decoder overwrites its row; the copy for the monitor stays.
  rig_.link.onDecode = [this](int ch, DecoderKind) {
    for (int i = 0; i < 512; ++i) rig_.audio.AudioBlock[ch][i] = -1.0;
  };
  rig_.Block(100, 200);
  std::vector<std::pair<int, DecoderKind>> expected;
  if (waveDual != 0 && decoderL < 3) expected.emplace_back(0, static_cast<DecoderKind>(decoderL));
  if (waveDual == 2 && decoderR < 3) expected.emplace_back(1, static_cast<DecoderKind>(decoderR));
  EXPECT_EQ(rig_.link.decoded, expected);
  // Both channels are always resampled, decoded or not.
  for (int i = 0; i < 512; ++i) {
    ASSERT_EQ(rig_.audio.FilterBlock[0][i], 100.0);
    ASSERT_EQ(rig_.audio.FilterBlock[1][i], 200.0);
  }
  EXPECT_EQ(rig_.audio.AudioBlock[1][0], waveDual == 2 && decoderR < 3 ? -1.0 : 200.0);
}

INSTANTIATE_TEST_SUITE_P(BlockPipeline, DispatchMatrix,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3), ::testing::Values(0, 1, 2, 3),
                                            ::testing::Values(0, 1, 2)));

TEST_F(BlockPipeline, NotRunningDoesNothingAtAll) {
  rig_.link.running = false;
  rig_.link.monitorOn = true;
  rig_.etc.DispType = 1;
  rig_.Block(5, 5);
  EXPECT_TRUE(rig_.link.decoded.empty());
  EXPECT_TRUE(rig_.link.lamps.empty());
  EXPECT_TRUE(rig_.link.shown.empty());
  EXPECT_EQ(rig_.link.clockSteps, 0);
  EXPECT_EQ(rig_.link.blocksDone, 0);
  EXPECT_EQ(rig_.audio.ProcessedBuffers, 0);
  EXPECT_EQ(rig_.audio.AudioBlock[0][0], 0.0);
}

TEST_F(BlockPipeline, PicturesOnEverySecondBlockTheConstellationOnEvery) {
  std::vector<int> spectrum, clock;
  for (int n = 0; n < 6; ++n) {
    rig_.link.Clear();
    rig_.Block();
    spectrum.push_back(rig_.link.Shown(AudioPicture::Spectrum));
    clock.push_back(rig_.link.Shown(AudioPicture::Clock));
    EXPECT_EQ(rig_.link.blocksDone, 1);
  }
  EXPECT_EQ(spectrum, (std::vector<int>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(clock, (std::vector<int>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(rig_.audio.ProcessedBuffers, 6);

  // The constellation takes the place of the waterfall on every block.
  rig_.etc.DispType = 1;
  rig_.link.Clear();
  rig_.Block();
  rig_.Block();
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Spectrum), 2);
  // Without the status panel, neither.
  rig_.link.statusPanelOn = false;
  rig_.link.Clear();
  rig_.Block();
  rig_.Block();
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Spectrum), 0);
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Clock), 1);
}

TEST_F(BlockPipeline, TheClockStepsOncePerSecond) {
  rig_.Block();
  // The first pass finds no clock text yet.
  EXPECT_EQ(rig_.link.clockSteps, 1);
  EXPECT_EQ(rig_.audio.ClockCache, "08:30:00");
  EXPECT_EQ(rig_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 1, 8, 30, 0));
  for (int n = 0; n < 4; ++n) rig_.Block();
  EXPECT_EQ(rig_.link.clockSteps, 1);
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
  rig_.Block();  // not a display pass
  EXPECT_EQ(rig_.link.clockSteps, 1);
  rig_.Block();
  EXPECT_EQ(rig_.link.clockSteps, 2);
  EXPECT_EQ(rig_.audio.ClockCache, "08:30:01");
  EXPECT_EQ(rig_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
}

TEST(ClockText, HourOffsetsWrapWithinTheDay) {
  const TDateTime now = platform::EncodeDateTime(2024, 5, 1, 8, 30, 0);
  EtcSettings etc;
  etc.DispTime = 1;
  for (auto [offset, text] : {std::pair{9, "23:30:00"}, std::pair{-5, "13:30:00"}, std::pair{0, "08:30:00"},
                              std::pair{30, "02:30:00"}, std::pair{-23, "07:30:00"}, std::pair{-100, "12:30:00"}}) {
    etc.LocalHourOffset = offset;
    EXPECT_EQ(ClockText(etc, now), text) << offset;
  }
  etc.DispTime = 0;
  etc.LocalHourOffset = 9;
  EXPECT_EQ(ClockText(etc, now), "08:30:00");
}

TEST_F(BlockPipeline, AcarsLockLampGoesOutSixBlocksAfterTheLastResult) {
  rig_.wave.DecoderL = DecoderKind::VhfAcars;
  rig_.wave.WaveDual = 1;
  const int n = 3;
  int block = 0;
  rig_.link.onDecode = [&](int ch, DecoderKind) {
    if (block == n && ch == 0) rig_.audio.RxLampHold[0] = 0;
  };
  std::vector<std::vector<TColor>> leftPaints;
  for (block = 1; block <= n + 7; ++block) {
    rig_.link.lamps.clear();
    rig_.Block();
    leftPaints.push_back(rig_.link.PaintsOf(Lamp::Left));
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
    rig_.link.lamps.clear();
    rig_.Block();
    ASSERT_EQ(rig_.link.PaintsOf(Lamp::Data).size(), 1u);
    data.push_back(rig_.link.PaintsOf(Lamp::Data)[0]);
  }
  EXPECT_EQ(data, (std::vector<TColor>{kAqua, kAqua, kAqua, kAqua, kAqua, kAqua, kBlack, kBlack}));
}

TEST_F(BlockPipeline, HfdlAndSelcalLockLampsAreLeftToTheirDecoders) {
  rig_.wave.DecoderL = DecoderKind::Hfdl;
  rig_.wave.DecoderR = DecoderKind::Selcal;
  rig_.wave.WaveDual = 2;
  rig_.audio.RxLampHold = {3, 9, 6};
  for (int b = 0; b < 10; ++b) rig_.Block();
  EXPECT_TRUE(rig_.link.PaintsOf(Lamp::Left).empty());
  EXPECT_TRUE(rig_.link.PaintsOf(Lamp::Right).empty());

  // An ACARS right channel is counted whatever WaveDual is.
  rig_.wave.DecoderR = DecoderKind::VhfAcars;
  rig_.wave.WaveDual = 1;
  rig_.audio.RxLampHold[1] = 4;
  rig_.Block();
  rig_.Block();
  EXPECT_TRUE(rig_.link.PaintsOf(Lamp::Right).empty());
  rig_.Block();
  EXPECT_EQ(rig_.link.PaintsOf(Lamp::Right), std::vector<TColor>{kBlack});
}

TEST_F(BlockPipeline, ClosingTheRecordingDeviceRestartsTheFramesAndPutsOutTheLockLamps) {
  CloseWaveIn(rig_.audio, rig_.link);
  EXPECT_EQ(rig_.link.frameRestarts, 1);
  EXPECT_EQ(rig_.link.PaintsOf(Lamp::Left), std::vector<TColor>{kBlack});
  EXPECT_EQ(rig_.link.PaintsOf(Lamp::Right), std::vector<TColor>{kBlack});
}

class ClockFallback : public BlockPipeline {
 protected:
  std::chrono::steady_clock::time_point Later(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  }
  void Tick(int ms) { ClockFallbackTick(rig_.audio, rig_.Settings(), rig_.link, Later(ms)); }
};

TEST_F(ClockFallback, KeepsTheClockAndLogNamesWithoutAudio) {
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 23, 59, 59));
  Tick(0);
  EXPECT_EQ(rig_.audio.ClockCache, "23:59:59");
  EXPECT_EQ(rig_.link.clockSteps, 1);
  // The face wipes the meters, so they are drawn again (silent) and shown.
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Clock), 1);
  Tick(100);
  EXPECT_EQ(rig_.link.clockSteps, 1);
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Clock), 1);
  clock_.Set(platform::EncodeDateTime(2024, 5, 2, 0, 0, 0));
  Tick(200);
  EXPECT_EQ(rig_.audio.ClockCache, "00:00:00");
  EXPECT_EQ(rig_.link.clockSteps, 2);
  EXPECT_EQ(rig_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 2, 0, 0, 0));
  // Nothing else of the pipeline runs.
  EXPECT_TRUE(rig_.link.lamps.empty());
  EXPECT_EQ(rig_.audio.ProcessedBuffers, 0);
}

TEST_F(ClockFallback, SilentWhileBuffersArriveOrThePipelineRuns) {
  rig_.Block();
  ASSERT_EQ(rig_.link.clockSteps, 1);
  clock_.Set(platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
  // The last buffer came less than a second ago.
  Tick(900);
  EXPECT_EQ(rig_.link.clockSteps, 1);
  rig_.audio.WaveIn.PipelineBusy = true;
  Tick(5000);
  EXPECT_EQ(rig_.link.clockSteps, 1);
  rig_.audio.WaveIn.PipelineBusy = false;
  rig_.link.running = false;
  Tick(5000);
  EXPECT_EQ(rig_.link.clockSteps, 1);
  rig_.link.running = true;
  Tick(1100);
  EXPECT_EQ(rig_.link.clockSteps, 2);
  EXPECT_EQ(rig_.audio.ClockCache, "08:30:01");
}

}  // namespace
