// The audio monitor through the real block pipeline onto a playback sink
// that keeps what it gets, its button in the main window, and the noise
// filters on their own.
#include <gtest/gtest.h>

#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "support/main_window_fixture.h"
#include "audio/audio_monitor.h"
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

  // 512 frames: left a + i, right b - 3i.
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
  const std::vector<Block>& Queued() const { return sink_->Blocks; }
  static bool Silent(const Block& b) {
    return b.size() == 1024 && std::all_of(b.begin(), b.end(), [](int16_t s) { return s == 0; });
  }

  audio_test::AudioRig rig_;
  platform::NullPlaybackSink* sink_;
};

// Pressed, the monitor leads with four silent blocks, then plays each
// block as resampled, truncated (the right input on the right also with
// one receiver); released, one silent block, and a timed monitor stops.
TEST_F(MonitorTest, FourSilentBlocksThenAudioAndTheReleaseStopsTheTimedMonitor) {
  rig_.SetRate(2);
  rig_.form.TimeMoni = 1;
  Click(true);
  ASSERT_EQ(Queued().size(), 4u);
  for (const auto& b : Queued()) EXPECT_TRUE(Silent(b));
  EXPECT_EQ(rig_.link.redrawRequests, 1);
  Block buffer(2 * 2048);
  for (int i = 0; i < 2048; ++i) {
    buffer[2 * i] = static_cast<int16_t>(12000 * std::sin(i * 0.1));
    buffer[2 * i + 1] = static_cast<int16_t>(-9000 * std::sin(i * 0.037));
  }
  for (int block = 4; block < 6; ++block) {
    Feed(buffer);
    ASSERT_EQ(Queued().size(), block + 1u);
    for (int i = 0; i < 1024; ++i) {
      ASSERT_EQ(Queued()[block][i], static_cast<int16_t>(std::trunc(rig_.audio.FilterBlock[i % 2][i / 2]))) << i;
    }
  }
  EXPECT_EQ(rig_.link.timedMonitorStops, 0);
  Click(false);
  ASSERT_EQ(Queued().size(), 7u);
  EXPECT_TRUE(Silent(Queued()[6]));
  Feed(buffer);
  EXPECT_EQ(Queued().size(), 7u);
  EXPECT_EQ(rig_.link.redrawRequests, 2);
  EXPECT_EQ(rig_.link.timedMonitorStops, 1);
}

// Forced on a channel, or on the SELCAL ones: one channel plays on both
// sides, two each on its own, none is silence (not the last block again,
// when the user moves the SELCAL decoder away during the monitor).
TEST_F(MonitorTest, TheForcedMonitorPlaysTheSelcalChannels) {
  rig_.wave.WaveDual = 2;
  const DecoderKind selcal = DecoderKind::Selcal, other = DecoderKind::VhfAcars;
  struct Case {
    int channel;
    DecoderKind left, right;
    int heardLeft, heardRight;  // the input channel each side plays
  };
  const Block a = Ramp(-2000, 3000);
  for (Case c : {Case{1, other, other, 1, 1}, Case{0, other, selcal, 0, 0}, Case{-1, selcal, other, 0, 0},
                 Case{-1, other, selcal, 1, 1}, Case{-1, selcal, selcal, 0, 1}}) {
    rig_.wave.DecoderL = c.left;
    rig_.wave.DecoderR = c.right;
    StartForced(c.channel);
    Feed(a);
    ASSERT_EQ(Queued().size() % 5, 0u);
    for (int i = 0; i < 512; ++i) {
      ASSERT_EQ(Queued().back()[2 * i], a[2 * i + c.heardLeft]) << c.channel << " " << i;
      ASSERT_EQ(Queued().back()[2 * i + 1], a[2 * i + c.heardRight]) << c.channel << " " << i;
    }
  }
  rig_.wave.DecoderL = rig_.wave.DecoderR = other;
  Feed(a);
  EXPECT_TRUE(Silent(Queued().back()));

  // 3D: each side mixes in the other channel 30 samples back.
  rig_.wave.DecoderL = rig_.wave.DecoderR = selcal;
  rig_.form.SelCall3D = 1;
  StartForced(-1);
  Feed(a);
  const Block b = Ramp(1000, 9000);
  Feed(b);
  for (int i = 0; i < 512; ++i) {
    const int j = i - 30;
    const double p0 = j >= 0 ? b[2 * j] : a[2 * (512 + j)];
    const double p1 = j >= 0 ? b[2 * j + 1] : a[2 * (512 + j) + 1];
    EXPECT_EQ(Queued().back()[2 * i], static_cast<int16_t>((b[2 * i] - 0.5 * p1) * 0.66666666666)) << i;
    EXPECT_EQ(Queued().back()[2 * i + 1], static_cast<int16_t>((b[2 * i + 1] + 0.5 * p0) * 0.66666666666)) << i;
  }
}

TEST(MonitorConversion, SaturatesAtPlusMinus32760AndTruncates) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
  for (auto [in, out] : {std::pair{40000.0, 32760}, std::pair{-40000.0, -32760}, std::pair{32767.0, 32760},
                         std::pair{100.9, 100}, std::pair{-100.9, -100}, std::pair{kNaN, 0}, std::pair{kInf, 32760},
                         std::pair{-kInf, -32760}}) {
    EXPECT_EQ(MonitorSample(in), out) << in;
  }
}

TEST(MonitorConversion, AFullDeviceLosesFramesAndSaysSoOnce) {
  // Takes at most 100 frames per write, as a device that is full.
  struct FullSink : platform::NullPlaybackSink {
    int Write(const int16_t*, int frames) override { return std::min(frames, 100); }
  };
  AudioState audio;
  audio.WaveOut.Handle = std::make_unique<FullSink>();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 3; ++i) WriteMonitorBlock(audio, audio.MonitorSamples);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "monitor: playback full, 412 frames dropped so far\n");
  EXPECT_EQ(audio.MonitorDroppedFrames, 3 * 412);
}

using MonitorButton = MainWindowTest;

TEST_F(MonitorButton, RunsOnAClickNotWhenPressedByCode) {
  TForm1& w = StartEnglish();
  auto sink = std::make_unique<platform::NullPlaybackSink>();
  platform::NullPlaybackSink* played = sink.get();
  w.State().audio.WaveOut.Handle = std::move(sink);
  QToolButton* button = w.SpeedButton(17);
  ASSERT_TRUE(button->isCheckable());
  // As the SELCAL panel presses it: the state follows, the handler stays out.
  button->setChecked(true);
  EXPECT_EQ(w.State().controls.SpeedButton17Down, 1);
  EXPECT_TRUE(played->Blocks.empty());
  // A user's click releases it: one silent block; pressed again, the four
  // silent blocks that lead the monitor.
  button->click();
  EXPECT_EQ(w.State().controls.SpeedButton17Down, 0);
  EXPECT_EQ(played->Blocks.size(), 1u);
  button->click();
  EXPECT_EQ(played->Blocks.size(), 5u);
  Close();
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
  for (auto [hz, low, high] : {std::tuple{1000.0, -0.1, 0.1}, std::tuple{3000.0, -6.1, -5.9},
                               std::tuple{3500.0, -300.0, -45.0}}) {
    AudioState audio;
    const std::vector<double> in = Sine(hz, 1000.0, 4096);
    const std::vector<double> out = Filter(audio, FirFilter51, in);
    const double db = 20.0 * std::log10(Rms(out.data() + 2048, 2048) / Rms(in.data() + 2048, 2048));
    EXPECT_TRUE(db >= low && db <= high) << hz << " Hz: " << db << " dB";
  }
  // A constant is held 36.6 dB down.
  AudioState audio;
  const std::vector<double> out = Filter(audio, FirFilter51, std::vector<double>(1024, 1000.0));
  EXPECT_NEAR(20.0 * std::log10(out.back() / 1000.0), -36.6, 0.05);
}

// AN takes its input limited to 10000 and removes a steady tone: 0.25 s
// in, below 1 % of the tone's RMS.
TEST(NoiseFilter, AnRemovesASteadyTone) {
  AudioState limited, audio;
  EXPECT_EQ(Filter(limited, LmsFilter16, std::vector<double>(512, 20000.0))[0], 10000.0);
  const std::vector<double> out = Filter(audio, LmsFilter16, Sine(1000.0, 1000.0, 3584));
  const int from = 2757;
  EXPECT_LT(Rms(out.data() + from, static_cast<int>(out.size()) - from), 0.01 * 1000.0 / std::sqrt(2.0));
  // Weights that blow up are cleared: nothing comes out that is not finite.
  for (double& w : audio.LmsFilter16State[0].w) w = 1e306;
  for (double& u : audio.LmsFilter16State[0].u) u = 10000.0;
  const std::vector<double> blown = Filter(audio, LmsFilter16, std::vector<double>(512, 5000.0));
  EXPECT_EQ(blown[0], 0.0);
  for (double v : blown) ASSERT_TRUE(std::isfinite(v));
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

// In the forced monitor NR runs first, then AN, then the band pass, on the
// SELCAL channel only; the spectrum sees what was played.
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
      ASSERT_EQ(rig_.audio.FilterBlock[1][i], b[2 * i + 1]);
    }
  }
}

}  // namespace
