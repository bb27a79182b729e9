// The resampling of the block pipeline, by known answers: impulses,
// constants, tones, and filtering every sample.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "audio/anti_alias_filter.h"
#include "audio/block_pipeline.h"
#include "audio_rig.h"

namespace {

// A running program at a WaveRate whose decoders only record.
class Resampler : public ::testing::Test {
 protected:
  void Start(int waveRate) {
    rig_.wave.WaveRate = waveRate;
    SetSampleRate(rig_.audio, rig_.wave);
  }
  int Frames() const { return rig_.audio.WaveIn.BufferFrames; }
  // One buffer whose left channel is `left` and right channel `right`.
  void Process(const std::vector<int16_t>& left, const std::vector<int16_t>& right) {
    std::vector<int16_t> buffer(2 * left.size());
    for (size_t i = 0; i < left.size(); ++i) {
      buffer[2 * i] = left[i];
      buffer[2 * i + 1] = right[i];
    }
    rig_.Process(buffer);
  }
  std::vector<int> OutputsAbove(int ch, double level) const {
    std::vector<int> at;
    for (int k = 0; k < 512; ++k) {
      if (std::fabs(rig_.audio.AudioBlock[ch][k]) > level) at.push_back(k);
    }
    return at;
  }

  audio_test::AudioRig rig_;
};

TEST_F(Resampler, ImpulseAt44100) {
  Start(2);
  ASSERT_EQ(Frames(), 2048);
  std::vector<int16_t> impulse(2048, 0), silence(2048, 0);
  impulse[3] = 1000;
  Process(impulse, silence);
  // The first of every four filtered samples: input 3 lands at output 7.
  EXPECT_EQ(OutputsAbove(0, 1e-9), std::vector<int>{7});
  EXPECT_NEAR(rig_.audio.AudioBlock[0][7], 250.0, 1e-9);
  EXPECT_TRUE(OutputsAbove(1, 1e-9).empty());

  // The delay line carries an impulse in the last frame into the next buffer.
  std::vector<int16_t> last(2048, 0);
  last[2047] = 1000;
  Process(last, silence);
  Process(silence, silence);
  EXPECT_EQ(OutputsAbove(0, 1e-9), std::vector<int>{6});
  EXPECT_NEAR(rig_.audio.AudioBlock[0][6], 250.0, 1e-9);
}

TEST_F(Resampler, ImpulseAt22050) {
  Start(1);
  ASSERT_EQ(Frames(), 1024);
  std::vector<int16_t> impulse(1024, 0), silence(1024, 0);
  impulse[1] = 1000;
  Process(impulse, silence);
  EXPECT_EQ(OutputsAbove(0, 1e-9), std::vector<int>{13});
  EXPECT_NEAR(rig_.audio.AudioBlock[0][13], 500.0, 1e-9);
}

TEST_F(Resampler, PassThroughAt11025IsBitExact) {
  Start(0);
  ASSERT_EQ(Frames(), 512);
  std::vector<int16_t> left(512), right(512);
  for (int i = 0; i < 512; ++i) {
    left[i] = static_cast<int16_t>(i * 131 - 32768);
    right[i] = static_cast<int16_t>(32767 - i * 97);
  }
  left[5] = -32768;
  right[6] = 32767;
  Process(left, right);
  for (int i = 0; i < 512; ++i) {
    ASSERT_EQ(rig_.audio.AudioBlock[0][i], left[i]) << i;
    ASSERT_EQ(rig_.audio.AudioBlock[1][i], right[i]) << i;
    ASSERT_EQ(rig_.audio.FilterBlock[0][i], left[i]) << i;
    ASSERT_EQ(rig_.audio.FilterBlock[1][i], right[i]) << i;
  }
}

// The same 1 kHz tone at every rate, the faster ones generated 25 input
// samples ahead to make up for the filters' delay.
TEST_F(Resampler, ToneAgreesAcrossRates) {
  constexpr double kPi = 3.14159265358979323846;
  auto tone = [&](int rate, int first, int count, int ahead) {
    std::vector<int16_t> s(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      s[static_cast<size_t>(i)] =
          static_cast<int16_t>(std::lround(10000.0 * std::sin(2 * kPi * 1000.0 * (first + i + ahead) / rate)));
    }
    return s;
  };
  for (auto [waveRate, rate, worst] : {std::tuple{2, 44100, 29.5}, std::tuple{1, 22050, 7.0}}) {
    audio_test::AudioRig fast, slow;
    fast.wave.WaveRate = waveRate;
    slow.wave.WaveRate = 0;
    SetSampleRate(fast.audio, fast.wave);
    SetSampleRate(slow.audio, slow.wave);
    const int frames = fast.audio.WaveIn.BufferFrames;
    double largest = 0.0;
    for (int block = 0; block < 4; ++block) {
      std::vector<int16_t> a = tone(rate, block * frames, frames, 25);
      std::vector<int16_t> b = tone(11025, block * 512, 512, 0);
      std::vector<int16_t> fa(2 * a.size()), sb(2 * b.size());
      for (size_t i = 0; i < a.size(); ++i) fa[2 * i] = fa[2 * i + 1] = a[i];
      for (size_t i = 0; i < b.size(); ++i) sb[2 * i] = sb[2 * i + 1] = b[i];
      fast.Process(fa);
      slow.Process(sb);
      if (block == 0) continue;
      for (int k = 0; k < 512; ++k) {
        largest = std::max(largest, std::fabs(fast.audio.AudioBlock[0][k] - slow.audio.AudioBlock[0][k]));
      }
    }
    EXPECT_LT(largest, 50.0) << rate;  // 0.5 % of the amplitude
    EXPECT_LT(largest, worst) << rate;
  }
}

// Filtering every input sample through a shifted delay line, as a plain
// reading of the filter has it, and keeping the first of every `factor`.
void ReferenceFilter(double* row, int frames, int factor, const AntiAliasTaps& h, double (&delay)[51]) {
  std::vector<double> filtered(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    for (int j = 50; j > 0; --j) delay[j] = delay[j - 1];
    delay[0] = row[i];
    double sum = 0.0;
    for (int j = 0; j < 51; ++j) sum += h[static_cast<size_t>(j)] * delay[j];
    filtered[static_cast<size_t>(i)] = sum;
  }
  for (int k = 0; k < frames / factor; ++k) row[k] = filtered[static_cast<size_t>(factor * k)];
}

TEST_F(Resampler, KeptSamplesMatchFilteringEverySampleExactly) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  for (auto [rate, frames, factor] : {std::tuple{44100, 2048, 4}, std::tuple{22050, 1024, 2}}) {
    double delay[51] = {}, referenceDelay[51] = {};
    for (int buffer = 0; buffer < 3; ++buffer) {
      std::vector<double> row(2048), reference(2048);
      for (int i = 0; i < frames; ++i) row[static_cast<size_t>(i)] = reference[static_cast<size_t>(i)] = sample(random);
      FilterAndDecimate(row.data(), frames, factor, AntiAliasTapsFor(rate), delay);
      ReferenceFilter(reference.data(), frames, factor, AntiAliasTapsFor(rate), referenceDelay);
      for (int k = 0; k < 512; ++k) ASSERT_EQ(row[static_cast<size_t>(k)], reference[static_cast<size_t>(k)]) << k;
      for (int j = 0; j < 51; ++j) ASSERT_EQ(delay[j], referenceDelay[j]) << j;
    }
  }
}

TEST_F(Resampler, DelayLineIsSharedByBothRatesAndNeverCleared) {
  Start(2);
  std::vector<int16_t> ramp(2048), silence(2048, 0);
  for (int i = 0; i < 2048; ++i) ramp[static_cast<size_t>(i)] = static_cast<int16_t>(i);
  Process(ramp, silence);
  for (int j = 0; j < 51; ++j) EXPECT_EQ(rig_.audio.ResampleDelay[0][j], 2047 - j);
  CloseWaveIn(rig_.audio, rig_.link);
  rig_.wave.WaveRate = 1;
  SetSampleRate(rig_.audio, rig_.wave);
  std::vector<int16_t> zeros(1024, 0);
  Process(zeros, std::vector<int16_t>(1024, 0));
  // The first 22050 Hz output still sees the 44100 Hz ramp.
  const AntiAliasTaps& h = AntiAliasTapsFor(22050);
  double expected = 0.0;
  for (int j = 0; j < 51; ++j) expected += h[static_cast<size_t>(j)] * (j == 0 ? 0.0 : 2047 - (j - 1));
  EXPECT_NEAR(rig_.audio.AudioBlock[0][0], expected, 1e-9);
}

}  // namespace
