// Junk that reaches HFDL reception: audio no transmitter makes, and relay
// text from a linked copy of any length and content.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "hfdl/demodulator.h"
#include "hfdl/hfdl_text.h"
#include "hfdl_harness.h"

namespace {

template <int N>
bool Finite(const double (&values)[N]) {
  return std::all_of(values, values + N, [](double v) { return std::isfinite(v); });
}

bool StateIsFinite(const HfdlChannelState& s) {
  const double scalars[] = {s.NcoPhase,  s.FineOffset,       s.ClockSign,  s.FreqError, s.AfcPhase,
                            s.AfcOffset, s.CarrierOffsetSum, s.PhaseError};
  bool ok = std::all_of(std::begin(scalars), std::end(scalars), [](double v) { return std::isfinite(v); });
  ok = ok && Finite(s.PllLoopState) && Finite(s.AgcState) && Finite(s.ClockResonatorOut);
  ok = ok && Finite(s.CarrierResonatorOut) && Finite(s.CarrierLevelState) && Finite(s.AfcLoopState);
  for (int b = 0; b < 2; ++b) {
    ok = ok && Finite(s.EqTaps[b]) && Finite(s.EqDelay[b]) && Finite(s.RefDelay[b]);
    ok = ok && Finite(s.BandPassDelay[b]) && Finite(s.BasebandDelay[b]);
  }
  return ok;
}

TEST(HfdlDemod, JunkAudioLeavesNoNaN) {
  const int samples = 512 * 120;
  std::vector<std::vector<double>> junk(4, std::vector<double>(samples, 0.0));
  for (int n = 0; n < samples; ++n) {
    junk[1][n] = (n / 3) % 2 ? 32767.0 : -32768.0;  // full-scale square wave
    junk[2][n] = n % 2 ? 32767.0 : -32768.0;        // alternating extremes
  }
  std::mt19937 rng(9);
  std::uniform_real_distribution<double> any(-1e12, 1e12);
  for (double& v : junk[3]) v = any(rng);
  for (const auto& audio : junk) {
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    // Also from inside a frame, with the equaliser training.
    form->hfdl.Channels[1].Locked = 1;
    form->hfdl.Channels[1].TrainingActive = 1;
    form->hfdl.Channels[1].InProbe = 1;
    form->hfdl.Channels[1].Constellation = 2;
    form->hfdl.Channels[1].Interleave = 0;
    form->hfdl.Channels[1].Rate = 3;
    for (int channel = 0; channel < 2; ++channel) {
      int most = hfdl_test::FeedChannel(*form, channel, audio);
      EXPECT_LE(most, 512);
      EXPECT_TRUE(StateIsFinite(form->hfdl.Channels[channel])) << channel;
      for (int n = 0; n < 512; ++n) ASSERT_TRUE(std::isfinite(form->audio.AudioBlock[channel][n]));
    }
  }
}

TEST(HfdlDemod, DivergedEqualizerSaturatesTheSymbols) {
  // Taps far out of range stand for an equaliser that diverged on junk: the
  // symbol values stop at the int32 bounds instead of overflowing.
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  for (auto& branch : form->hfdl.Channels[0].EqTaps) std::fill(std::begin(branch), std::end(branch), 1e30);
  std::vector<double> tone(512 * 4);
  for (size_t n = 0; n < tone.size(); ++n) tone[n] = 8000.0 * std::sin(2.0 * M_PI * 1440.0 * n / 11025.0);
  hfdl_test::FeedChannel(*form, 0, tone);
  const HfdlBlockSymbolList& symbols = form->hfdl.HfdlBlockSymbols[0];
  ASSERT_GT(symbols.Count, 0);
  bool atBound = false;
  for (int n = 0; n < symbols.Count; ++n) {
    EXPECT_GE(symbols.I[n], -2147483647);
    EXPECT_GE(symbols.Q[n], -2147483647);
    atBound = atBound || std::abs(symbols.I[n]) == 2147483647 || std::abs(symbols.Q[n]) == 2147483647;
  }
  EXPECT_TRUE(atBound);
}

TEST(HfdlText, NetworkTextOfAnyLength) {
  hfdl_test::Recorder recorder;
  auto form = hfdl_test::MakeForm(recorder);
  std::mt19937 rng(4);
  size_t analysed = 0;
  for (size_t length : {0u, 1u, 3u, 3779u, 3780u, 3781u, 100000u}) {
    std::string text(length, '\0');
    for (char& c : text) c = static_cast<char>(rng() & 0xFF);  // bytes above 127 too
    AnalyzeNetworkHfdlFrame(*form, text);
    if (length <= 3780) ++analysed;
    ASSERT_EQ(recorder.frames.size(), analysed) << length;
    for (uint8_t b : recorder.frames.back().bits) ASSERT_LE(b, 1);
  }
}

}  // namespace
