// One buffer at a time through the pipeline, with a recording link for the
// decoders, the lamps, the pictures and the clock's outside effects; and
// the resampling of the faster capture rates.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "audio/clock_fallback.h"
#include "audio_rig.h"
#include "support/fake_audio_devices.h"
#include "support/test_support.h"

namespace {

using audio_test::AudioRig;
using testing_support::FixedClock;

constexpr TColor kAqua = 0x00FFFF00;
constexpr TColor kBlack = 0;

// A 1 kHz tone on the left channel at 44100 or 22050 Hz, generated 25
// input samples ahead to make up for the filter's delay, comes out as the
// same tone at 11025 Hz does; the silent right channel stays silent, and
// an 8 kHz tone, which would fold back, is held 40 dB down.
TEST(Resampler, ToneAgreesAcrossRatesAndWhatWouldFoldBackIsFilteredOut) {
  auto feed = [](AudioRig& rig, double hz, int rate, int block, int ahead) {
    const int frames = rig.audio.WaveIn.BufferFrames;
    std::vector<int16_t> buffer(2 * static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
      buffer[2 * i] =
          static_cast<int16_t>(std::lround(10000.0 * std::sin(2 * M_PI * hz * (block * frames + i + ahead) / rate)));
    }
    rig.Process(buffer);
  };
  for (auto [waveRate, rate, worst] : {std::tuple{2, 44100, 29.5}, std::tuple{1, 22050, 7.0}}) {
    AudioRig fast, slow, folding;
    fast.SetRate(waveRate);
    folding.SetRate(waveRate);
    double largest = 0.0, folded = 0.0;
    for (int block = 0; block < 4; ++block) {
      feed(fast, 1000.0, rate, block, 25);
      feed(slow, 1000.0, 11025, block, 0);
      feed(folding, 8000.0, rate, block, 0);
      for (int k = 0; block > 0 && k < 512; ++k) {
        largest = std::max(largest, std::fabs(fast.audio.AudioBlock[0][k] - slow.audio.AudioBlock[0][k]));
        folded = std::max(folded, std::fabs(folding.audio.AudioBlock[0][k]));
        ASSERT_EQ(fast.audio.AudioBlock[1][k], 0.0);
      }
    }
    EXPECT_LT(largest, worst) << rate;
    EXPECT_LT(folded, 100.0) << rate;
  }
}

// The buffer size follows WaveRate, unless a wave file fixes the rate; the
// setting itself is kept for the next run with a sound card.
TEST(SampleRate, BufferSizesFollowWaveRateOrTheWaveFile) {
  struct Case {
    int waveRate, fileRate, rate, frames;
  };
  for (Case c : {Case{0, 0, 11025, 512}, Case{1, 0, 22050, 1024}, Case{2, 0, 44100, 2048}, Case{3, 0, 11025, 512},
                 Case{-1, 0, 11025, 512}, Case{2, 22050, 22050, 1024}}) {
    AudioState audio;
    testing_support::FakeDevices devices;
    devices.fixedRate = c.fileRate;
    audio.AudioDevices = &devices;
    WaveSettings wave;
    wave.WaveRate = c.waveRate;
    SetSampleRate(audio, wave);
    EXPECT_EQ(audio.SampleRate, c.rate) << c.waveRate << " " << c.fileRate;
    EXPECT_EQ(audio.WaveIn.BufferFrames, c.frames) << c.waveRate << " " << c.fileRate;
    EXPECT_EQ(wave.WaveRate, c.waveRate);
  }
  const std::vector<platform::CaptureDevice> cards = {{"A", "plughw:CARD=A,DEV=0"}, {"B", "plughw:CARD=B,DEV=2"}};
  const std::vector<std::string> pcms = {"", "default", "plughw:CARD=A,DEV=0", "plughw:CARD=B,DEV=2", ""};
  for (int input = -1; input <= 3; ++input) EXPECT_EQ(CapturePcmName(input, cards), pcms[input + 1]) << input;
}

// A running program at 11025 Hz on a fixed clock.
class BlockPipeline : public ::testing::Test {
 protected:
  FixedClock clock_{platform::EncodeDateTime(2024, 5, 1, 8, 30, 0)};
  AudioRig rig_;
};

// The left channel reaches its decoder unless WaveDual is 0 (a server
// that does not decode), the right only with WaveDual 2; a number no
// decoder has decodes nothing. Both channels are always resampled, and a
// decoder overwriting its row leaves the monitor's copy.
TEST_F(BlockPipeline, EachChannelReachesItsDecoder) {
  rig_.link.onDecode = [this](int ch, DecoderKind) { std::fill_n(rig_.audio.AudioBlock[ch], 512, -1.0); };
  for (int waveDual : {0, 1, 2}) {
    for (int left = 0; left < 4; ++left) {
      for (int right = 0; right < 4; ++right) {
        SCOPED_TRACE(testing::Message() << waveDual << " " << left << " " << right);
        rig_.wave.WaveDual = waveDual;
        rig_.wave.DecoderL = static_cast<DecoderKind>(left);
        rig_.wave.DecoderR = static_cast<DecoderKind>(right);
        rig_.link.decoded.clear();
        rig_.Block(100, 200);
        std::vector<std::pair<int, DecoderKind>> expected;
        if (waveDual != 0 && left < 3) expected.emplace_back(0, static_cast<DecoderKind>(left));
        if (waveDual == 2 && right < 3) expected.emplace_back(1, static_cast<DecoderKind>(right));
        EXPECT_EQ(rig_.link.decoded, expected);
        EXPECT_EQ(std::count(rig_.audio.FilterBlock[0], rig_.audio.FilterBlock[0] + 512, 100.0), 512);
        EXPECT_EQ(std::count(rig_.audio.FilterBlock[1], rig_.audio.FilterBlock[1] + 512, 200.0), 512);
        EXPECT_EQ(rig_.audio.AudioBlock[1][0], waveDual == 2 && right < 3 ? -1.0 : 200.0);
      }
    }
  }
}

TEST_F(BlockPipeline, NotRunningDoesNothingAtAll) {
  rig_.link.running = false;
  rig_.link.monitorOn = true;
  rig_.etc.DispType = 1;
  rig_.Block(5, 5);
  EXPECT_TRUE(rig_.link.decoded.empty());
  EXPECT_TRUE(rig_.link.lamps.empty());
  EXPECT_TRUE(rig_.link.shown.empty());
  EXPECT_EQ(rig_.link.clockSteps, 0);
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
  }
  EXPECT_EQ(spectrum, (std::vector<int>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(clock, spectrum);
  // The constellation takes the place of the waterfall on every block;
  // without the status panel, neither is drawn.
  rig_.etc.DispType = 1;
  rig_.link.Clear();
  rig_.Block();
  rig_.Block();
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Spectrum), 2);
  rig_.link.statusPanelOn = false;
  rig_.link.Clear();
  rig_.Block();
  rig_.Block();
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Spectrum), 0);
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Clock), 1);
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

// The data lamp is aqua for the first six blocks. A VHF ACARS channel's
// lock lamp goes out six blocks after its decoder's last result, on
// either channel whatever WaveDual is; HFDL and SELCAL lamps are left to
// their decoders. Closing the device puts out both lock lamps.
TEST_F(BlockPipeline, LampsTimeOut) {
  rig_.wave.DecoderL = DecoderKind::VhfAcars;
  rig_.wave.DecoderR = DecoderKind::VhfAcars;
  rig_.link.onDecode = [&](int ch, DecoderKind) {
    if (rig_.audio.ProcessedBuffers == 3 && ch == 0) rig_.audio.RxLampHold[0] = 0;
  };
  rig_.audio.RxLampHold[1] = 4;
  std::vector<std::vector<TColor>> left, right, data;
  for (int b = 1; b <= 10; ++b) {
    rig_.link.lamps.clear();
    rig_.Block();
    left.push_back(rig_.link.PaintsOf(Lamp::Left));
    right.push_back(rig_.link.PaintsOf(Lamp::Right));
    data.push_back(rig_.link.PaintsOf(Lamp::Data));
  }
  const std::vector<TColor> none, black{kBlack}, aqua{kAqua};
  using Paints = std::vector<std::vector<TColor>>;
  EXPECT_EQ(left, (Paints{black, black, none, none, none, none, none, none, black, black}));
  EXPECT_EQ(right, (Paints{none, none, black, black, black, black, black, black, black, black}));
  EXPECT_EQ(data, (Paints{aqua, aqua, aqua, aqua, aqua, aqua, black, black, black, black}));

  rig_.wave.DecoderL = DecoderKind::Hfdl;
  rig_.wave.DecoderR = DecoderKind::Selcal;
  rig_.wave.WaveDual = 2;
  rig_.link.lamps.clear();
  for (int b = 0; b < 10; ++b) rig_.Block();
  EXPECT_TRUE(rig_.link.PaintsOf(Lamp::Left).empty());
  EXPECT_TRUE(rig_.link.PaintsOf(Lamp::Right).empty());
  CloseWaveIn(rig_.audio, rig_.link);
  EXPECT_EQ(rig_.link.frameRestarts, 1);
  EXPECT_EQ(rig_.link.PaintsOf(Lamp::Left), black);
  EXPECT_EQ(rig_.link.PaintsOf(Lamp::Right), black);
}

// The clock steps once a second, on a display pass (every second block).
// Without buffers for a second a fallback steps it and draws the meters
// again, silent, over the new face, and runs nothing else; while buffers
// arrive, the pipeline runs or the program is not running, it is silent.
TEST_F(BlockPipeline, TheClockStepsOncePerSecondWithOrWithoutAudio) {
  auto at = [this](int second) { clock_.Set(platform::EncodeDateTime(2024, 5, 1, 8, 30, second)); };
  auto tick = [this](int ms) {
    ClockFallbackTick(rig_.audio, rig_.Settings(), rig_.link,
                      std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
  };
  tick(0);
  tick(100);
  EXPECT_EQ(rig_.audio.ClockCache, "08:30:00");
  EXPECT_EQ(rig_.link.clockSteps, 1);
  EXPECT_EQ(rig_.link.Shown(AudioPicture::Clock), 1);
  EXPECT_TRUE(rig_.link.lamps.empty());
  at(1);
  rig_.Block();
  EXPECT_EQ(rig_.audio.BlockTime, platform::EncodeDateTime(2024, 5, 1, 8, 30, 1));
  at(2);
  rig_.Block();  // not a display pass
  EXPECT_EQ(rig_.link.clockSteps, 2);
  rig_.Block();
  EXPECT_EQ(rig_.link.clockSteps, 3);
  at(3);
  tick(900);  // the last buffer came less than a second ago
  rig_.audio.WaveIn.PipelineBusy = true;
  tick(5000);
  rig_.audio.WaveIn.PipelineBusy = false;
  rig_.link.running = false;
  tick(5000);
  EXPECT_EQ(rig_.link.clockSteps, 3);
  rig_.link.running = true;
  tick(1100);
  EXPECT_EQ(rig_.link.clockSteps, 4);
  EXPECT_EQ(rig_.audio.ClockCache, "08:30:03");
}

}  // namespace
