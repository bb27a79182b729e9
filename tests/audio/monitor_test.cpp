// The audio monitor through the real block pipeline onto a playback sink
// that keeps what it gets, and the noise filters on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "app/form1_state.h"
#include "audio/audio_monitor.h"
#include "audio/audio_services.h"
#include "audio/block_pipeline.h"
#include "audio/noise_filters.h"
#include "map/map_services.h"
#include "selcal/selcal_services.h"

namespace {

using Block = std::vector<int16_t>;

// The state of a running program at 11025 Hz, where FilterBlock is exactly
// the captured samples, with the monitor's output collected.
class MonitorTest : public ::testing::Test {
 protected:
  MonitorTest() {
    form_.app.Running = 1;
    form_.audio.SampleRate = 11025;
    form_.Wave.DecoderL = form_.Wave.DecoderR = 1;
    auto sink = std::make_unique<platform::NullPlaybackSink>();
    sink_ = sink.get();
    form_.audio.WaveOut.Handle = std::move(sink);
    map_.owner = this;
    selcal_.owner = this;
    form_.svc.map = &map_;
    form_.svc.selcal = &selcal_;
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
  void Feed(const Block& b) { ProcessAudioBlock(form_, b.data(), 512); }
  void Click(bool down) {
    form_.controls.SpeedButton17Down = down ? 1 : 0;
    form_.svc.audio->SpeedButton17Click(form_);
  }
  const std::vector<std::vector<int16_t>>& Queued() const { return sink_->Blocks; }
  static bool Silent(const std::vector<int16_t>& b) {
    return b.size() == 1024 && std::all_of(b.begin(), b.end(), [](int16_t s) { return s == 0; });
  }

  Form1State form_;
  platform::NullPlaybackSink* sink_;
  std::vector<std::string> calls_;

 private:
  struct Map : MapServices {
    MonitorTest* owner;
    void Redraw(Form1State&, uint8_t bg, uint8_t air, uint8_t side, uint8_t alt) override {
      owner->calls_.push_back("redraw" + std::to_string(bg) + std::to_string(air) + std::to_string(side) +
                              std::to_string(alt));
    }
  } map_;
  struct Selcal : SelcalServices {
    MonitorTest* owner;
    void DisableTimer1(Form1State&) override { owner->calls_.push_back("timer1 off"); }
  } selcal_;
};

TEST_F(MonitorTest, FourSilentBlocksThenAudio) {
  form_.Wave.WaveDual = 1;  // one receiver: the right input is still heard on the right
  Click(true);
  ASSERT_EQ(Queued().size(), 4u);
  for (const auto& b : Queued()) EXPECT_TRUE(Silent(b));
  EXPECT_EQ(calls_, std::vector<std::string>{"redraw0100"});
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
  // One ring step per block written.
  EXPECT_EQ(form_.audio.WaveOut.Current, 7);
  EXPECT_EQ(calls_, (std::vector<std::string>{"redraw0100", "redraw0100"}));
}

TEST_F(MonitorTest, At44100TheFramesAreTheResampledBlockTruncated) {
  form_.audio.SampleRate = 44100;
  Click(true);
  Block buffer(2 * 2048);
  for (int i = 0; i < 2048; ++i) {
    buffer[2 * i] = static_cast<int16_t>(12000 * std::sin(i * 0.1));
    buffer[2 * i + 1] = static_cast<int16_t>(-9000 * std::sin(i * 0.037));
  }
  ProcessAudioBlock(form_, buffer.data(), 2048);
  ASSERT_EQ(Queued().size(), 5u);
  for (int i = 0; i < 512; ++i) {
    EXPECT_EQ(Queued()[4][2 * i], static_cast<int16_t>(std::trunc(form_.audio.FilterBlock[0][i]))) << i;
    EXPECT_EQ(Queued()[4][2 * i + 1], static_cast<int16_t>(std::trunc(form_.audio.FilterBlock[1][i]))) << i;
  }
}

TEST_F(MonitorTest, StartNeedsTheButtonDownAndReleaseStopsTheTimedMonitor) {
  form_.svc.audio->StartAudioMonitor(form_, true, 1);
  EXPECT_TRUE(Queued().empty());
  EXPECT_EQ(form_.audio.MonitorForced, 0);
  form_.Form.TimeMoni = 1;
  Click(true);
  Click(false);
  EXPECT_EQ(calls_, (std::vector<std::string>{"redraw0100", "timer1 off", "redraw0100"}));
}

// The SELCAL panel presses the button itself, then starts a forced monitor.
void StartForced(Form1State& form, int channel) {
  form.controls.SpeedButton17Down = 1;
  form.svc.audio->StartAudioMonitor(form, true, channel);
}

TEST_F(MonitorTest, ForcedWithBothDecodersSelcal) {
  form_.Wave.WaveDual = 2;
  form_.Wave.DecoderL = form_.Wave.DecoderR = 2;
  StartForced(form_, -1);
  const Block a = Ramp(-2000, 3000), b = Ramp(1000, 9000);
  Feed(a);
  ASSERT_EQ(Queued().size(), 5u);
  EXPECT_EQ(Queued()[4], a);
  // 3D: each side mixes in the other channel 30 samples back.
  form_.Form.SelCall3D = 1;
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
  form_.Wave.WaveDual = 2;
  StartForced(form_, 1);  // the own code heard on the right
  const Block a = Ramp(100, -4000);
  Feed(a);
  for (int i = 0; i < 512; ++i) {
    EXPECT_EQ(Queued()[4][2 * i], a[2 * i + 1]);
    EXPECT_EQ(Queued()[4][2 * i + 1], a[2 * i + 1]);
  }
}

TEST_F(MonitorTest, NoSelcalDecoderIsSilenceNotARepeat) {
  form_.Wave.WaveDual = 2;
  form_.Wave.DecoderL = 2;
  StartForced(form_, -1);
  const Block a = Ramp(3000, 3000);
  Feed(a);
  ASSERT_EQ(Queued().size(), 5u);
  EXPECT_FALSE(Silent(Queued()[4]));
  // The user moves the SELCAL decoder away during the monitor.
  form_.Wave.DecoderL = 0;
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

TEST(MonitorConversion, ClosedPlaybackWritesNowhereButTheRingMoves) {
  Form1State form;
  form.audio.WaveOut.Current = 6;
  form.audio.MonitorSamples[0] = 40000.0;
  form.audio.MonitorSamples[1] = std::numeric_limits<double>::quiet_NaN();
  for (int i = 0; i < 3; ++i) WriteMonitorBlock(form, form.audio.MonitorSamples);
  EXPECT_EQ(form.audio.WaveOut.Current, 1);
  EXPECT_EQ(form.audio.MonitorPcm[0], 32760);
  EXPECT_EQ(form.audio.MonitorPcm[1], 0);
  EXPECT_EQ(form.audio.MonitorDroppedFrames, 0);
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
  Form1State form;
  auto sink = std::make_unique<FullSink>(100);
  FullSink* full = sink.get();
  form.audio.WaveOut.Handle = std::move(sink);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) WriteMonitorBlock(form, form.audio.MonitorSamples);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(full->writes, 3);
  EXPECT_EQ(form.audio.MonitorDroppedFrames, 3 * 412);
  EXPECT_EQ(form.audio.WaveOut.Current, 3);
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
std::vector<double> Filter(Form1State& form, void (*filter)(Form1State&, int), const std::vector<double>& in) {
  std::vector<double> out;
  for (size_t at = 0; at + 512 <= in.size(); at += 512) {
    std::copy(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at) + 512, form.audio.FilterBlock[0]);
    filter(form, 0);
    out.insert(out.end(), form.audio.FilterBlock[0], form.audio.FilterBlock[0] + 512);
  }
  return out;
}

std::vector<double> Sine(double hz, double amplitude, int n) {
  std::vector<double> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = amplitude * std::sin(2.0 * M_PI * hz * i / 11025.0);
  return v;
}

TEST(NoiseFilter, BandPassTaps) {
  EXPECT_EQ(kBandPassTaps[0], -0.00101280705);
  EXPECT_EQ(kBandPassTaps[1], 0.000202084129);
  EXPECT_EQ(kBandPassTaps[23], -0.0875915609);
  EXPECT_EQ(kBandPassTaps[24], 0.269433097);
  EXPECT_EQ(kBandPassTaps[25], 0.498866213);
  double sum = 0.0;
  for (int k = 0; k < 51; ++k) {
    EXPECT_EQ(kBandPassTaps[k], kBandPassTaps[50 - k]) << k;
    sum += kBandPassTaps[k];
  }
  EXPECT_NEAR(sum, 0.0148098, 1e-7);
  EXPECT_NEAR(20.0 * std::log10(sum), -36.6, 0.05);
  // Steady tones through the filter itself, after it has filled.
  auto gainDb = [](double hz) {
    Form1State form;
    const std::vector<double> in = Sine(hz, 1000.0, 4096);
    const std::vector<double> out = Filter(form, FirFilter51, in);
    return 20.0 * std::log10(Rms(out.data() + 2048, 2048) / Rms(in.data() + 2048, 2048));
  };
  EXPECT_NEAR(gainDb(1000.0), 0.0, 0.1);
  EXPECT_LE(gainDb(3500.0), -45.0);
  EXPECT_NEAR(gainDb(3000.0), -6.0, 0.1);
}

TEST(NoiseFilter, AnConstantKnownAnswer) {
  Form1State form;
  const std::vector<double> out = Filter(form, LmsFilter16, std::vector<double>(512, 1000.0));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], 1000.0) << i;
  EXPECT_DOUBLE_EQ(out[10], 999.0);
  EXPECT_DOUBLE_EQ(out[11], 997.002);
  EXPECT_DOUBLE_EQ(out[12], 994.010994);
  // The input is limited to +-10000 before anything else.
  Form1State loud;
  EXPECT_EQ(Filter(loud, LmsFilter16, std::vector<double>(512, 20000.0))[0], 10000.0);
}

TEST(NoiseFilter, AnRemovesASteadyTone) {
  Form1State form;
  const std::vector<double> out = Filter(form, LmsFilter16, Sine(1000.0, 1000.0, 3584));
  // 0.25 s in, below 1 % of the tone's RMS.
  const int from = 2757;
  EXPECT_LT(Rms(out.data() + from, static_cast<int>(out.size()) - from), 0.01 * 1000.0 / std::sqrt(2.0));
}

TEST(NoiseFilter, NrConstantKnownAnswer) {
  Form1State form;
  const std::vector<double> out = Filter(form, LmsFilter33, std::vector<double>(512, 1000.0));
  EXPECT_EQ(out[0], 0.0);
  EXPECT_EQ(out[3], 0.0);
  EXPECT_DOUBLE_EQ(out[4], 0.1);
  EXPECT_DOUBLE_EQ(out[5], 0.29998);
  EXPECT_DOUBLE_EQ(out[6], 0.599890006);
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
  Form1State form;
  const std::vector<double> out = Filter(form, LmsFilter33, in);
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
  form_.Wave.WaveDual = 2;
  form_.Wave.DecoderL = 2;
  form_.Form.SelCallNR = form_.Form.SelCallAN = 1;
  StartForced(form_, -1);
  Form1State alone;  // the same filters by hand
  std::mt19937 random(3);
  std::uniform_int_distribution<int> value(-12000, 12000);
  for (int block = 0; block < 4; ++block) {
    Block b(1024);
    for (auto& s : b) s = static_cast<int16_t>(value(random));
    Feed(b);
    for (int i = 0; i < 512; ++i) alone.audio.FilterBlock[0][i] = b[2 * i];
    LmsFilter33(alone, 0);
    LmsFilter16(alone, 0);
    FirFilter51(alone, 0);
    for (int i = 0; i < 512; ++i) {
      ASSERT_EQ(form_.audio.FilterBlock[0][i], alone.audio.FilterBlock[0][i]) << block << " " << i;
      ASSERT_EQ(Queued().back()[2 * i], static_cast<int16_t>(alone.audio.FilterBlock[0][i])) << block << " " << i;
      ASSERT_EQ(form_.audio.FilterBlock[1][i], b[2 * i + 1]);  // not a SELCAL channel: untouched
    }
  }
}

TEST_F(MonitorTest, WeightsLearntInOneForcedMonitorStayForTheNext) {
  form_.Wave.DecoderL = 2;
  form_.Form.SelCallAN = 1;
  StartForced(form_, -1);
  Block tone(1024);
  for (int i = 0; i < 512; ++i) tone[2 * i] = static_cast<int16_t>(1000 * std::sin(2.0 * M_PI * 1000.0 * i / 11025.0));
  for (int i = 0; i < 4; ++i) Feed(tone);
  Click(false);
  const LmsFilterState<16> learnt = form_.audio.LmsFilter16State[0];
  EXPECT_NE(learnt.w[0], 0.0);
  StartForced(form_, -1);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(form_.audio.LmsFilter16State[0].w[k], learnt.w[k]);
}

TEST(NoiseFilter, WeightsThatBlowUpAreClearedAndNothingIsNaN) {
  Form1State form;
  for (double& w : form.audio.LmsFilter16State[0].w) w = 1e306;
  for (double& u : form.audio.LmsFilter16State[0].u) u = 10000.0;
  std::vector<double> in(512, 5000.0);
  in[7] = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> out = Filter(form, LmsFilter16, in);
  EXPECT_EQ(out[0], 0.0);
  for (double v : out) EXPECT_TRUE(std::isfinite(v));
  for (double w : form.audio.LmsFilter16State[0].w) EXPECT_TRUE(std::isfinite(w));
  for (double& w : form.audio.LmsFilter33State[1].w) w = std::numeric_limits<double>::infinity();
  std::fill(form.audio.FilterBlock[1], form.audio.FilterBlock[1] + 512, 300.0);
  LmsFilter33(form, 1);
  for (int i = 0; i < 512; ++i) EXPECT_TRUE(std::isfinite(form.audio.FilterBlock[1][i])) << i;
}

}  // namespace
