// The test transmitter's audio at 11025 Hz fed through the demodulator in
// blocks of 512, as the audio pipeline feeds it.
#include <gtest/gtest.h>

#include "hfdl_harness.h"
#include "hfdl_tx/hfdl_tx.h"

namespace {

std::vector<hfdl_tx::Burst> OneBurstPerMode(uint64_t seed, bool invert = false) {
  std::mt19937_64 rng(seed);
  std::vector<hfdl_tx::Burst> bursts;
  for (int mode = 0; mode < hfdl_tx::kModeCount; ++mode) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), invert});
  return bursts;
}

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

int ModeCode(int mode) { return 10 * (mode / 4) + mode % 4; }

// Every burst arrived once, in order, with its mode, its bits and a flush
// half of 0.
void ExpectDecoded(const std::vector<hfdl_tx::Burst>& bursts, const std::vector<hfdl_test::AnalyzedFrame>& frames,
                   const std::string& label) {
  ASSERT_EQ(frames.size(), bursts.size()) << label;
  for (size_t n = 0; n < bursts.size(); ++n) {
    const int mode = bursts[n].mode;
    const hfdl_test::AnalyzedFrame& f = frames[n];
    EXPECT_EQ(f.modeCode, ModeCode(mode)) << label << " burst " << n;
    std::vector<uint8_t> info = hfdl_tx::InformationBitsOf(bursts[n].payload, mode);
    EXPECT_TRUE(std::equal(info.begin(), info.end(), f.bits.begin())) << label << " mode " << mode;
    EXPECT_TRUE(std::all_of(f.bits.begin() + info.size(), f.bits.begin() + 2 * info.size(),
                            [](uint8_t b) { return b == 0; }))
        << label << " mode " << mode;
    EXPECT_EQ(f.errorRatio, "ErrorRatio = 0.00000") << label << " mode " << mode;
    EXPECT_EQ(Occurrences(f.analysisText, "/Data Receiving("), 1) << label;  // one sync
    EXPECT_NE(f.analysisText.find(hfdl_tx::ModeName(mode)), std::string::npos) << label;
  }
}

TEST(HfdlWave, AllModesAtCarrierOffsets) {
  for (double offset : {0.0, 7.3, -12.0}) {
    std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(21);
    hfdl_tx::SignalOptions options;
    options.offsetHz = offset;
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, hfdl_tx::Render(bursts, options));
    const std::string label = "offset " + std::to_string(offset);
    ExpectDecoded(bursts, recorder.frames, label);
    for (const auto& f : recorder.frames) {
      EXPECT_NEAR(f.freqError, offset, 0.05) << label;
      EXPECT_EQ(f.sourceTag, "Lch");
    }
  }
}

TEST(HfdlWave, ClockErrorInversionAndRollOff) {
  {
    std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(22);
    hfdl_tx::SignalOptions options;
    options.clockPpm = 100.0;
    options.offsetHz = 5.0;
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, hfdl_tx::Render(bursts, options));
    ExpectDecoded(bursts, recorder.frames, "+100 ppm");
    // The carrier moves with the clock.
    for (const auto& f : recorder.frames) EXPECT_NEAR(f.freqError, 1445.0 * 1.0001 - 1440.0, 0.05);
  }
  {
    std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(23, true);
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, hfdl_tx::Render(bursts, {}));
    // A burst turned by 180 degrees is a carrier phase the loop may lock
    // either way: it must decode whichever polarity the preamble shows.
    ExpectDecoded(bursts, recorder.frames, "inverted");
  }
  {
    std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(24);
    hfdl_tx::SignalOptions options;
    options.rolloff = 0.5;
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, hfdl_tx::Render(bursts, options));
    ExpectDecoded(bursts, recorder.frames, "roll-off 0.5");
  }
}

TEST(HfdlWave, StereoPairWithDifferentBursts) {
  std::vector<hfdl_tx::Burst> all = OneBurstPerMode(25);
  // Left: the 1.8 s modes; right: the 4.2 s modes, so frames overlap.
  std::vector<hfdl_tx::Burst> left(all.begin(), all.begin() + 4), right(all.begin() + 4, all.end());
  hfdl_tx::SignalOptions options;
  options.offsetHz = -3.0;
  std::vector<double> l = hfdl_tx::Render(left, options), r = hfdl_tx::Render(right, options);
  l.resize(std::max(l.size(), r.size()), 0.0);
  r.resize(l.size(), 0.0);

  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  for (size_t n = 0; n < l.size(); n += 512) {
    size_t take = std::min<size_t>(512, l.size() - n);
    const std::vector<double>* channels[2] = {&l, &r};
    for (int ch = 0; ch < 2; ++ch) {
      std::fill(form->audio.AudioBlock[ch], form->audio.AudioBlock[ch] + 512, 0.0);
      std::copy(channels[ch]->begin() + n, channels[ch]->begin() + n + take, form->audio.AudioBlock[ch]);
      form->svc.hfdl->DemodulateHfdlBlock(*form, ch);
    }
  }
  std::vector<hfdl_test::AnalyzedFrame> byChannel[2];
  for (const auto& f : recorder.frames) {
    ASSERT_TRUE(f.channel == 0 || f.channel == 1);
    EXPECT_EQ(f.sourceTag, f.channel == 0 ? "Lch" : "Rch");
    byChannel[f.channel].push_back(f);
  }
  for (int ch = 0; ch < 2; ++ch) {
    const auto& bursts = ch == 0 ? left : right;
    ASSERT_EQ(byChannel[ch].size(), bursts.size()) << ch;
    for (size_t n = 0; n < bursts.size(); ++n) {
      std::vector<uint8_t> info = hfdl_tx::InformationBitsOf(bursts[n].payload, bursts[n].mode);
      EXPECT_TRUE(std::equal(info.begin(), info.end(), byChannel[ch][n].bits.begin())) << ch << " " << n;
    }
  }
}

TEST(HfdlWave, NoisyBurstsSixDecibelsAboveTarget) {
  const double targetSnr[4] = {1.0, 1.0, 4.0, 10.0};
  for (int mode = 0; mode < hfdl_tx::kModeCount; ++mode) {
    std::mt19937_64 rng(30 + mode);
    std::vector<hfdl_tx::Burst> bursts;
    for (int n = 0; n < 10; ++n) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), false});
    hfdl_tx::SignalOptions options;
    options.noise = true;
    options.snrDb = targetSnr[mode % 4] + 6.0;
    options.seed = 40 + mode;
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    hfdl_test::FeedChannel(*form, 0, hfdl_tx::Render(bursts, options));
    ASSERT_EQ(recorder.frames.size(), bursts.size()) << mode;
    for (const auto& f : recorder.frames) EXPECT_TRUE(hfdl_test::FrameChecksPass(f.bits, mode == 0)) << mode;
  }
}

}  // namespace
