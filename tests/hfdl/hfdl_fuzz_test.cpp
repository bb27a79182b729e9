// Junk that reaches HFDL reception: audio no transmitter makes, and relay
// text from a linked copy of any length and content.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "hfdl/frame_analysis.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"
#include "support/recording_links.h"

namespace {

using testing_support::FeedHfdl;
using testing_support::RecordingHfdlLink;

std::unique_ptr<HfdlReception> StartedReception() {
  auto hfdl = std::make_unique<HfdlReception>();
  for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  return hfdl;
}

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
    ok = ok && Finite(s.EqTaps[b]) && Finite(s.EqDelay[b]);
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
    auto hfdl = StartedReception();
    RecordingHfdlLink link;
    // Also from inside a frame, with the equaliser training.
    HfdlChannelState& inFrame = hfdl->Channels[1];
    inFrame.Locked = inFrame.TrainingActive = inFrame.InProbe = 1;
    inFrame.Constellation = 2;
    inFrame.Interleave = 0;
    inFrame.Rate = 3;
    for (int channel = 0; channel < 2; ++channel) {
      EXPECT_LE(FeedHfdl(*hfdl, link, channel, audio), 512);
      EXPECT_TRUE(StateIsFinite(hfdl->Channels[channel])) << channel;
    }
    // The levelled block the audio displays show.
    std::vector<double> block(audio.end() - 512, audio.end());
    DemodulateHfdlBlock(*hfdl, link, 0, block.data());
    for (double v : block) ASSERT_TRUE(std::isfinite(v));
  }
}

TEST(HfdlDemod, DivergedEqualizerSaturatesTheSymbols) {
  // Taps far out of range stand for an equaliser that diverged on junk: the
  // symbol values stop at the int32 bounds instead of overflowing.
  auto hfdl = StartedReception();
  RecordingHfdlLink link;
  for (auto& branch : hfdl->Channels[0].EqTaps) std::fill(std::begin(branch), std::end(branch), 1e30);
  std::vector<double> tone(512 * 4);
  for (size_t n = 0; n < tone.size(); ++n) tone[n] = 8000.0 * std::sin(2.0 * M_PI * 1440.0 * n / 11025.0);
  FeedHfdl(*hfdl, link, 0, tone);
  const HfdlBlockSymbolList& symbols = hfdl->HfdlBlockSymbols[0];
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
  auto hfdl = StartedReception();
  std::mt19937 rng(4);
  for (size_t length : {0u, 1u, 3u, 3779u, 3780u, 3781u, 100000u}) {
    std::string text(length, '\0');
    for (char& c : text) c = static_cast<char>(rng() & 0xFF);  // bytes above 127 too
    HfdlFrameInput input;
    ASSERT_EQ(HfdlHexToInput(text, input), length <= kMaxHfdlHexDigits) << length;
    if (length > kMaxHfdlHexDigits) continue;
    EXPECT_EQ(input.Octets.size(), (length + 1) / 2);
    // The analysis reads nothing past the digits.
    const HfdlFrame frame = AnalyzeHfdlFrame(*hfdl, EtcSettings{}, NoHfdlLookups(), input);
    EXPECT_LE(frame.DatOctets, static_cast<int>(length / 2)) << length;
  }
}

}  // namespace
