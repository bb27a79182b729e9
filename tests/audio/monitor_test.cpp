// The audio monitor through the real block pipeline onto a playback sink
// that keeps what it gets, and the noise filters on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "audio/audio_monitor.h"
#include "audio/block_pipeline.h"
#include "audio/noise_filters.h"
#include "audio_rig.h"

namespace {

using Block = std::vector<int16_t>;

// A running program at 11025 Hz, where FilterBlock is exactly the
// captured samples, with the monitor's output collected.
class MonitorTest : public ::testing::Test {
 protected:
  MonitorTest() {
    auto sink = std::make_unique<platform::NullPlaybackSink>();
    sink_ = sink.get();
    rig_.audio.WaveOut.Handle = std::move(sink);
  }

  // 512 frames: left a + i, right b - 3i (and whatever fits).
  static Block Ramp(int a, int b) {
    Block v(1024);
    for (int i = 0; i < 512; ++i) {
      v[2 * i] = static_cast<int16_t>(a + i);
      v[2 * i + 1] = static_cast<int16_t>(b - 3 * i);
    }
    return v;
  }
  void Feed(const Block& b) { rig_.Process(b); }
  void Click(bool down) {
    rig_.link.monitorOn = down;
    SpeedButton17Click(rig_.audio, rig_.form, down, rig_.link);
  }
  // As the SELCAL panel does: the button down, then a forced monitor.
  void StartForced(int channel) {
    rig_.link.monitorOn = true;
    StartAudioMonitor(rig_.audio, true, channel);
  }
  const std::vector<std::vector<int16_t>>& Queued() const { return sink_->Blocks; }
  static bool Silent(const std::vector<int16_t>& b) {
    return b.size() == 1024 && std::all_of(b.begin(), b.end(), [](int16_t s) { return s == 0; });
  }

  audio_test::AudioRig rig_;
  platform::NullPlaybackSink* sink_;
};

TEST_F(MonitorTest, FourSilentBlocksThenAudioAndTheReleaseStopsTheTimedMonitor) {
  rig_.wave.WaveDual = 1;  // one receiver: the right input is still heard on the right
  rig_.form.TimeMoni = 1;
  Click(true);
  ASSERT_EQ(Queued().size(), 4u);
  for (const auto& b : Queued()) EXPECT_TRUE(Silent(b));
  EXPECT_EQ(rig_.link.redrawRequests, 1);
  EXPECT_EQ(rig_.link.timedMonitorStops, 0);
  const Block first = Ramp(-300, 1000), second = Ramp(5000, -7000);
  Feed(first);
  Feed(second);
  ASSERT_EQ(Queued().size(), 6u);
  EXPECT_EQ(Queued()[4], first);
  EXPECT_EQ(Queued()[5], second);
  Click(false);
  ASSERT_EQ(Queued().size(), 7u);
  EXPECT_TRUE(Silent(Queued()[6]));
  Feed(first);
  EXPECT_EQ(Queued().size(), 7u);
  EXPECT_EQ(rig_.link.redrawRequests, 2);
  EXPECT_EQ(rig_.link.timedMonitorStops, 1);
}

TEST_F(MonitorTest, At44100TheFramesAreTheResampledBlockTruncated) {
  rig_.wave.WaveRate = 2;
  SetSampleRate(rig_.audio, rig_.wave);
  Click(true);
  Block buffer(2 * 2048);
  for (int i = 0; i < 2048; ++i) {
    buffer[2 * i] = static_cast<int16_t>(12000 * std::sin(i * 0.1));
    buffer[2 * i + 1] = static_cast<int16_t>(-9000 * std::sin(i * 0.037));
  }
  Feed(buffer);
  ASSERT_EQ(Queued().size(), 5u);
  for (int i = 0; i < 512; ++i) {
    EXPECT_EQ(Queued()[4][2 * i], static_cast<int16_t>(std::trunc(rig_.audio.FilterBlock[0][i]))) << i;
    EXPECT_EQ(Queued()[4][2 * i + 1], static_cast<int16_t>(std::trunc(rig_.audio.FilterBlock[1][i]))) << i;
  }
}

TEST_F(MonitorTest, ForcedWithBothDecodersSelcal) {
  rig_.wave.WaveDual = 2;
  rig_.wave.DecoderL = rig_.wave.DecoderR = DecoderKind::Selcal;
  StartForced(-1);
  const Block a = Ramp(-2000, 3000), b = Ramp(1000, 9000);
  Feed(a);
  ASSERT_EQ(Queued().size(), 5u);
  EXPECT_EQ(Queued()[4], a);
  // 3D: each side mixes in the other channel 30 samples back.
  rig_.form.SelCall3D = 1;
  Feed(b);
  ASSERT_EQ(Queued().size(), 6u);
  for (int i = 0; i < 512; ++i) {
    const int j = i - 30;
    const double p0 = j >= 0 ? b[2 * j] : a[2 * (512 + j)];
    const double p1 = j >= 0 ? b[2 * j + 1] : a[2 * (512 + j) + 1];
    const double left = (b[2 * i] - 0.5 * p1) * 0.66666666666;
    const double right = (b[2 * i + 1] + 0.5 * p0) * 0.66666666666;
    EXPECT_EQ(Queued()[5][2 * i], static_cast<int16_t>(left)) << i;
    EXPECT_EQ(Queued()[5][2 * i + 1], static_cast<int16_t>(right)) << i;
  }
}

TEST_F(MonitorTest, ForcedOnOneChannelPlaysItOnBothSides) {
  rig_.wave.WaveDual = 2;
  StartForced(1);  // the own code heard on the right
  const Block a = Ramp(100, -4000);
  Feed(a);
  for (int i = 0; i < 512; ++i) {
    EXPECT_EQ(Queued()[4][2 * i], a[2 * i + 1]);
    EXPECT_EQ(Queued()[4][2 * i + 1], a[2 * i + 1]);
  }
}

TEST_F(MonitorTest, NoSelcalDecoderIsSilenceNotARepeat) {
  rig_.wave.WaveDual = 2;
  rig_.wave.DecoderL = DecoderKind::Selcal;
  StartForced(-1);
  const Block a = Ramp(3000, 3000);
  Feed(a);
  ASSERT_EQ(Queued().size(), 5u);
  EXPECT_FALSE(Silent(Queued()[4]));
  // The user moves the SELCAL decoder away during the monitor.
  rig_.wave.DecoderL = DecoderKind::VhfAcars;
  Feed(a);
  Feed(a);
  ASSERT_EQ(Queued().size(), 7u);
  EXPECT_TRUE(Silent(Queued()[5]));
  EXPECT_TRUE(Silent(Queued()[6]));
}

TEST(MonitorConversion, SaturatesAtPlusMinus32760AndTruncates) {
  EXPECT_EQ(MonitorSample(40000.0), 32760);
  EXPECT_EQ(MonitorSample(-40000.0), -32760);
  EXPECT_EQ(MonitorSample(32767.0), 32760);
  EXPECT_EQ(MonitorSample(100.9), 100);
  EXPECT_EQ(MonitorSample(-100.9), -100);
  EXPECT_EQ(MonitorSample(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(MonitorSample(std::numeric_limits<double>::infinity()), 32760);
  EXPECT_EQ(MonitorSample(-std::numeric_limits<double>::infinity()), -32760);
}

// Takes at most `room` frames per write, as a device that is full.
class FullSink : public platform::AudioPlaybackSink {
 public:
  explicit FullSink(int room) : room_(room) {}
  platform::DeviceOpenResult Open(int, int, int) override { return platform::DeviceOpenResult::Opened; }
  int Write(const int16_t*, int frames) override {
    ++writes;
    return std::min(frames, room_);
  }
  void Close() override {}
  int writes = 0;

 private:
  int room_;
};

TEST(MonitorConversion, AFullDeviceLosesFramesAndNothingIsRetried) {
  AudioState audio;
  auto sink = std::make_unique<FullSink>(100);
  FullSink* full = sink.get();
  audio.WaveOut.Handle = std::move(sink);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) WriteMonitorBlock(audio, audio.MonitorSamples);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(full->writes, 3);
  EXPECT_EQ(audio.MonitorDroppedFrames, 3 * 412);
  // One line when dropping starts, not one per block.
  EXPECT_EQ(err, "monitor: playback full, 412 frames dropped so far\n");
}

// ---- Noise filters ----

double Rms(const double* x, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += x[i] * x[i];
  return std::sqrt(s / n);
}

// Runs a filter over blocks of a signal on channel 0; returns the output.
std::vector<double> Filter(AudioState& audio, void (*filter)(AudioState&, int), const std::vector<double>& in) {
  std::vector<double> out;
  for (size_t at = 0; at + 512 <= in.size(); at += 512) {
    std::copy(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at) + 512, audio.FilterBlock[0]);
    filter(audio, 0);
    out.insert(out.end(), audio.FilterBlock[0], audio.FilterBlock[0] + 512);
  }
  return out;
}

std::vector<double> Sine(double hz, double amplitude, int n) {
  std::vector<double> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = amplitude * std::sin(2.0 * M_PI * hz * i / 11025.0);
  return v;
}

TEST(NoiseFilter, BandPassResponse) {
  // Steady tones through the filter, after it has filled.
  auto gainDb = [](double hz) {
    AudioState audio;
    const std::vector<double> in = Sine(hz, 1000.0, 4096);
    const std::vector<double> out = Filter(audio, FirFilter51, in);
    return 20.0 * std::log10(Rms(out.data() + 2048, 2048) / Rms(in.data() + 2048, 2048));
  };
  EXPECT_NEAR(gainDb(1000.0), 0.0, 0.1);
  EXPECT_LE(gainDb(3500.0), -45.0);
  EXPECT_NEAR(gainDb(3000.0), -6.0, 0.1);
  // A constant is held 36.6 dB down.
  AudioState audio;
  const std::vector<double> out = Filter(audio, FirFilter51, std::vector<double>(1024, 1000.0));
  EXPECT_NEAR(20.0 * std::log10(out.back() / 1000.0), -36.6, 0.05);
}

TEST(NoiseFilter, AnLimitsItsInputTo10000) {
  AudioState audio;
  EXPECT_EQ(Filter(audio, LmsFilter16, std::vector<double>(512, 20000.0))[0], 10000.0);
}

TEST(NoiseFilter, AnRemovesASteadyTone) {
  AudioState audio;
  const std::vector<double> out = Filter(audio, LmsFilter16, Sine(1000.0, 1000.0, 3584));
  // 0.25 s in, below 1 % of the tone's RMS.
  const int from = 2757;
  EXPECT_LT(Rms(out.data() + from, static_cast<int>(out.size()) - from), 0.01 * 1000.0 / std::sqrt(2.0));
}

// Amplitude of the 1 kHz component of x (a whole number of cycles long)
// and the power of the rest.
void ToneAndRest(const double* x, int n, double& amplitude, double& restPower) {
  std::complex<double> sum = 0;
  double power = 0;
  for (int i = 0; i < n; ++i) {
    sum += x[i] * std::polar(1.0, -2.0 * M_PI * 1000.0 * i / 11025.0);
    power += x[i] * x[i] / n;
  }
  amplitude = 2.0 * std::abs(sum) / n;
  restPower = power - amplitude * amplitude / 2.0;
}

TEST(NoiseFilter, NrKeepsAToneAndImprovesItsSignalToNoiseRatio) {
  std::mt19937 random(12345);
  std::normal_distribution<double> noise(0.0, 1000.0);
  std::vector<double> in = Sine(1000.0, 3000.0, 11025 + 512 * 8);
  for (double& x : in) x += noise(random);
  AudioState audio;
  const std::vector<double> out = Filter(audio, LmsFilter33, in);
  // 1 s in; 441 samples are 40 cycles.
  const int from = 11025, n = 441 * 8;
  double inAmp, inRest, outAmp, outRest;
  ToneAndRest(in.data() + from, n, inAmp, inRest);
  ToneAndRest(out.data() + from, n, outAmp, outRest);
  EXPECT_NEAR(outAmp, 3000.0, 300.0);
  const double snrIn = 10.0 * std::log10(inAmp * inAmp / 2.0 / inRest);
  const double snrOut = 10.0 * std::log10(outAmp * outAmp / 2.0 / outRest);
  EXPECT_GE(snrOut - snrIn, 6.0) << snrIn << " -> " << snrOut;
}

TEST_F(MonitorTest, NrThenAnThenBandPassAndTheSpectrumSeesTheResult) {
  rig_.wave.WaveDual = 2;
  rig_.wave.DecoderL = DecoderKind::Selcal;
  rig_.form.SelCallNR = rig_.form.SelCallAN = 1;
  StartForced(-1);
  AudioState alone;  // the same filters by hand
  std::mt19937 random(3);
  std::uniform_int_distribution<int> value(-12000, 12000);
  for (int block = 0; block < 4; ++block) {
    Block b(1024);
    for (auto& s : b) s = static_cast<int16_t>(value(random));
    Feed(b);
    for (int i = 0; i < 512; ++i) alone.FilterBlock[0][i] = b[2 * i];
    LmsFilter33(alone, 0);
    LmsFilter16(alone, 0);
    FirFilter51(alone, 0);
    for (int i = 0; i < 512; ++i) {
      ASSERT_EQ(rig_.audio.FilterBlock[0][i], alone.FilterBlock[0][i]) << block << " " << i;
      ASSERT_EQ(Queued().back()[2 * i], static_cast<int16_t>(alone.FilterBlock[0][i])) << block << " " << i;
      ASSERT_EQ(rig_.audio.FilterBlock[1][i], b[2 * i + 1]);  // not a SELCAL channel: untouched
    }
  }
}

TEST(NoiseFilter, WeightsThatBlowUpAreClearedAndNothingIsNaN) {
  AudioState audio;
  for (double& w : audio.LmsFilter16State[0].w) w = 1e306;
  for (double& u : audio.LmsFilter16State[0].u) u = 10000.0;
  std::vector<double> in(512, 5000.0);
  in[7] = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> out = Filter(audio, LmsFilter16, in);
  EXPECT_EQ(out[0], 0.0);
  for (double v : out) EXPECT_TRUE(std::isfinite(v));
  for (double w : audio.LmsFilter16State[0].w) EXPECT_TRUE(std::isfinite(w));
  for (double& w : audio.LmsFilter33State[1].w) w = std::numeric_limits<double>::infinity();
  std::fill(audio.FilterBlock[1], audio.FilterBlock[1] + 512, 300.0);
  LmsFilter33(audio, 1);
  for (int i = 0; i < 512; ++i) EXPECT_TRUE(std::isfinite(audio.FilterBlock[1][i])) << i;
}

}  // namespace
