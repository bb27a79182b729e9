// The test transmitter's audio at 11025 Hz fed through the demodulator in
// blocks of 512, as the audio pipeline feeds it.
#include <gtest/gtest.h>

#include <cmath>

#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/recording_links.h"

namespace {

using testing_support::FeedHfdl;
using testing_support::RecordingHfdlLink;

std::vector<hfdl_tx::Burst> OneBurstPerMode(uint64_t seed, bool invert = false) {
  std::mt19937_64 rng(seed);
  std::vector<hfdl_tx::Burst> bursts;
  for (int mode = 0; mode < hfdl_tx::kModeCount; ++mode) {
    bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), invert});
  }
  return bursts;
}

int ModeCode(int mode) { return 10 * (mode / 4) + mode % 4; }

// A receiver of both channels at their start state.
struct Receiver {
  Receiver() {
    for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  }
  std::unique_ptr<HfdlReception> hfdl = std::make_unique<HfdlReception>();
  RecordingHfdlLink link;
};

// Every burst arrived once, in order, after one sync of its mode, with its
// octets and no probe wrong.
void ExpectDecoded(const std::vector<hfdl_tx::Burst>& bursts, const RecordingHfdlLink& link,
                   const std::string& label) {
  ASSERT_EQ(link.frames.size(), bursts.size()) << label;
  ASSERT_EQ(link.syncs.size(), bursts.size()) << label;
  for (size_t n = 0; n < bursts.size(); ++n) {
    const int mode = bursts[n].mode;
    const HfdlFrameInput& f = link.frames[n];
    EXPECT_EQ(link.syncs[n].modeIndex, mode) << label;
    EXPECT_EQ(f.ModeCode, ModeCode(mode)) << label << " burst " << n;
    std::vector<uint8_t> sent = bursts[n].payload;
    sent.resize(f.Octets.size(), 0);
    EXPECT_TRUE(f.Octets == sent) << label << " mode " << mode;
    EXPECT_EQ(f.ErrorRatioLine, "ErrorRatio = 0.00000") << label << " mode " << mode;
  }
}

TEST(HfdlWave, AllModesAtCarrierOffsets) {
  for (double offset : {0.0, 7.3, -12.0}) {
    const std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(21);
    hfdl_tx::SignalOptions options;
    options.offsetHz = offset;
    Receiver rx;
    FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, options));
    const std::string label = "offset " + std::to_string(offset);
    ExpectDecoded(bursts, rx.link, label);
    for (const auto& s : rx.link.syncs) EXPECT_NEAR(s.freqError, offset, 0.05) << label;
    for (const auto& f : rx.link.frames) EXPECT_EQ(f.SourceTag, "Lch");
    // The lamp is out between bursts.
    EXPECT_FALSE(rx.link.locks[0]);
  }
}

TEST(HfdlWave, ClockErrorInversionAndRollOff) {
  {
    const std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(22);
    hfdl_tx::SignalOptions options;
    options.clockPpm = 100.0;
    options.offsetHz = 5.0;
    Receiver rx;
    FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, options));
    ExpectDecoded(bursts, rx.link, "+100 ppm");
    // The carrier moves with the clock.
    for (const auto& s : rx.link.syncs) EXPECT_NEAR(s.freqError, 1445.0 * 1.0001 - 1440.0, 0.05);
  }
  {
    // A burst turned by 180 degrees is a carrier phase the loop may lock
    // either way: it must decode whichever polarity the preamble shows.
    const std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(23, true);
    Receiver rx;
    FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, {}));
    ExpectDecoded(bursts, rx.link, "inverted");
  }
  {
    const std::vector<hfdl_tx::Burst> bursts = OneBurstPerMode(24);
    hfdl_tx::SignalOptions options;
    options.rolloff = 0.5;
    Receiver rx;
    FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, options));
    ExpectDecoded(bursts, rx.link, "roll-off 0.5");
  }
}

TEST(HfdlWave, StereoPairWithDifferentBursts) {
  const std::vector<hfdl_tx::Burst> all = OneBurstPerMode(25);
  // Left: the 1.8 s modes; right: the 4.2 s modes, so frames overlap.
  const std::vector<hfdl_tx::Burst> left(all.begin(), all.begin() + 4), right(all.begin() + 4, all.end());
  hfdl_tx::SignalOptions options;
  options.offsetHz = -3.0;
  std::vector<double> audio[2] = {hfdl_tx::Render(left, options), hfdl_tx::Render(right, options)};
  const size_t length = (std::max(audio[0].size(), audio[1].size()) + 511) / 512 * 512;
  for (auto& a : audio) a.resize(length, 0.0);

  Receiver rx;
  for (size_t n = 0; n < length; n += 512) {
    for (int ch = 0; ch < 2; ++ch) DemodulateHfdlBlock(*rx.hfdl, rx.link, ch, audio[ch].data() + n);
  }
  RecordingHfdlLink byChannel[2];
  for (const auto& f : rx.link.frames) {
    ASSERT_TRUE(f.Channel == 0 || f.Channel == 1);
    EXPECT_EQ(f.SourceTag, f.Channel == 0 ? "Lch" : "Rch");
    byChannel[f.Channel].frames.push_back(f);
  }
  for (const auto& s : rx.link.syncs) byChannel[s.channel].syncs.push_back(s);
  ExpectDecoded(left, byChannel[0], "left");
  ExpectDecoded(right, byChannel[1], "right");
}

TEST(HfdlWave, EightPskAtFortyDecibelsWithOffsetAndClockError) {
  std::mt19937_64 rng(26);
  std::vector<hfdl_tx::Burst> bursts;
  for (int mode : {3, 7, 3, 7}) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), false});
  hfdl_tx::SignalOptions options;
  options.noise = true;
  options.snrDb = 40.0;
  options.offsetHz = 7.3;
  options.clockPpm = 100.0;
  options.seed = 27;
  Receiver rx;
  FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, options));
  // Every information bit, not only the check sequences.
  ExpectDecoded(bursts, rx.link, "8PSK at 40 dB");
}

// The clock resonator's turn per sample at the symbol rate.
constexpr double kClockTurn = 2.0 * M_PI * 1800.0 / 11025.0;

// The phase of the symbol strobes against sample 0, read from the clock
// resonator after lastSample: its rising zero crossings are the strobes.
double StrobePhase(const HfdlChannelState& s, long lastSample) {
  const double y = s.ClockResonatorOut[1], previous = s.ClockResonatorOut[2];
  const double theta = std::atan2((previous - y * std::cos(kClockTurn)) / std::sin(kClockTurn), y);
  return std::remainder(theta - kClockTurn * static_cast<double>(lastSample), 2.0 * M_PI);
}

TEST(HfdlWave, StrobesHoldStillThroughALongFrame) {
  for (int mode = 4; mode < 8; ++mode) {
    std::mt19937_64 rng(28);
    std::vector<double> audio = hfdl_tx::Render({{mode, hfdl_tx::BuildFrameForMode(mode, rng), false}}, {});
    audio.resize((audio.size() + 511) / 512 * 512, 0.0);
    Receiver rx;
    const HfdlChannelState& s = rx.hfdl->Channels[0];
    // The strobe phase, unwrapped block by block (it moves far less than a
    // turn per block), two seconds after sync and at the frame's last block.
    double phase = 0.0, previous = 0.0, atTwoSeconds = 0.0, atEnd = 0.0;
    bool twoSecondsSeen = false;
    for (size_t n = 0; n < audio.size(); n += 512) {
      DemodulateHfdlBlock(*rx.hfdl, rx.link, 0, audio.data() + n);
      const double p = StrobePhase(s, static_cast<long>(n + 511));
      phase += std::remainder(p - previous, 2.0 * M_PI);
      previous = p;
      if (!s.Locked) continue;
      if (!twoSecondsSeen && s.SymbolCount >= 3600 - 135) {
        twoSecondsSeen = true;
        atTwoSeconds = phase;
      }
      atEnd = phase;
    }
    ASSERT_EQ(rx.link.frames.size(), 1u) << mode;
    ASSERT_TRUE(twoSecondsSeen) << mode;
    // A later phase is an earlier strobe.
    EXPECT_NEAR((atTwoSeconds - atEnd) / kClockTurn, 0.0, 2.0) << "strobe creep in samples, mode " << mode;
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
    Receiver rx;
    FeedHfdl(*rx.hfdl, rx.link, 0, hfdl_tx::Render(bursts, options));
    ASSERT_EQ(rx.link.frames.size(), bursts.size()) << mode;
    for (const auto& f : rx.link.frames) EXPECT_TRUE(testing_support::HfdlChecksPass(f.Octets, mode == 0)) << mode;
  }
}

}  // namespace
