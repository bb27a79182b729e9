// The receiver: frame sync symbol by symbol, the FEC's soft values and
// metrics, the check sequence, and the test transmitter's audio at 11025 Hz
// fed through the demodulator in blocks of 512, as the audio pipeline feeds
// it; observed on the receiver's link.
#include <gtest/gtest.h>

#include <cmath>

#include "hfdl/crc.h"
#include "hfdl/fec_decode.h"
#include "hfdl/frame_sync.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/viterbi.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/recording_links.h"
#include "support/reception_rig.h"

namespace {

using testing_support::FeedHfdl;
using testing_support::RecordingHfdlLink;

std::vector<uint8_t> SyncBits(int mode, bool inverted) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> bits(t.HfdlPreambleSequence.begin(), t.HfdlPreambleSequence.end());
  bits.insert(bits.end(), t.HfdlModeSequences[mode], t.HfdlModeSequences[mode] + 142);
  for (uint8_t& b : bits) b ^= inverted;
  return bits;
}

class HfdlSync : public ::testing::Test {
 protected:
  void SetUp() override {
    for (HfdlChannelState& s : hfdl_.Channels) InitHfdlChannel(s);
  }
  void Send(int channel, const std::vector<uint8_t>& bits) {
    for (uint8_t b : bits) ProcessHfdlSymbol(hfdl_, link_, channel, b, 0, 0);
  }
  // Symbols until the channel's frame is complete.
  void FeedFrame(int channel) {
    const size_t before = link_.frames.size();
    for (int n = 0; n < 8000 && link_.frames.size() == before; ++n) {
      ProcessHfdlSymbol(hfdl_, link_, channel, 0, 0, 0);
    }
  }
  // The mode the preamble and mode bits sync on, -1 for none.
  int SyncedMode(const std::vector<uint8_t>& bits) {
    SetUp();
    link_.syncs.clear();
    Send(0, bits);
    return link_.syncs.empty() ? -1 : link_.syncs.back().modeIndex;
  }

  HfdlReception hfdl_;
  RecordingHfdlLink link_;
};

TEST_F(HfdlSync, ErrorRatioCountsWrongProbes) {
  Send(0, SyncBits(0, false));
  // Every Q of 0 counts as +1: the probe's seven -1 values are wrong.
  for (int n = 0; n < 135 + 3241; ++n) ProcessHfdlSymbol(hfdl_, link_, 0, 0, 0, 0);
  ASSERT_EQ(link_.frames.size(), 1u);
  EXPECT_EQ(link_.frames[0].ErrorRatioLine, "ErrorRatio = 0.46667");
}

TEST_F(HfdlSync, PreambleAndModeThresholds) {
  // Preamble scores of 72 and -72 are accepted, 70 and -70 refused; an
  // inverted preamble needs inverted mode bits.
  for (int flips : {91, 92}) {
    for (bool inverted : {false, true}) {
      std::vector<uint8_t> bits = SyncBits(2, inverted);
      for (int k = 0; k < flips; ++k) bits[k] ^= 1;
      EXPECT_EQ(SyncedMode(bits), flips == 91 ? 2 : -1) << flips << " " << inverted;
    }
  }
  std::vector<uint8_t> bits = SyncBits(2, false);
  for (int k = 0; k < 254; ++k) bits[k] ^= 1;
  EXPECT_EQ(SyncedMode(bits), -1);
  // Mode scores of 142 bits are even: 40 is refused, 42 accepted.
  for (int flips : {51, 50}) {
    bits = SyncBits(6, false);
    for (int k = 0; k < flips; ++k) bits[254 + 2 * k] ^= 1;
    EXPECT_EQ(SyncedMode(bits), flips == 50 ? 6 : -1) << flips;
  }
}

TEST_F(HfdlSync, SyncTellsOfAFrameOnTheOtherChannel) {
  Send(0, SyncBits(4, false));
  Send(1, SyncBits(5, false));
  ASSERT_EQ(link_.syncs.size(), 2u);
  EXPECT_FALSE(link_.syncs[0].otherChannelReceiving);
  EXPECT_TRUE(link_.syncs[1].otherChannelReceiving);
  // Once both have finished, a new sync finds the other channel idle.
  FeedFrame(0);
  FeedFrame(1);
  ProcessHfdlSymbol(hfdl_, link_, 0, 0, 0, 0);
  ProcessHfdlSymbol(hfdl_, link_, 1, 0, 0, 0);
  Send(0, SyncBits(4, false));
  ASSERT_EQ(link_.syncs.size(), 3u);
  EXPECT_FALSE(link_.syncs[2].otherChannelReceiving);
}

// A decoder change in the middle of a burst: the lamp goes out and the next
// burst is received whole.
TEST_F(HfdlSync, ResetInTheMiddleOfAFrame) {
  std::mt19937_64 rng(5);
  const std::vector<uint8_t> payload = hfdl_tx::BuildFrameForMode(4, rng);
  const std::vector<double> audio = hfdl_tx::Render({{4, payload, false}}, {});
  FeedHfdl(hfdl_, link_, 0, std::vector<double>(audio.begin(), audio.begin() + static_cast<long>(audio.size() / 2)));
  ASSERT_TRUE(link_.locks[0]);
  ResetHfdlChannel(hfdl_, link_, 0);
  EXPECT_FALSE(link_.locks[0]);
  FeedHfdl(hfdl_, link_, 0, audio);
  EXPECT_FALSE(link_.locks[0]);
  ASSERT_EQ(link_.frames.size(), 1u);
  std::vector<uint8_t> sent = payload;
  sent.resize(link_.frames[0].Octets.size(), 0);
  EXPECT_TRUE(link_.frames[0].Octets == sent);
}

TEST(HfdlFec, LargeSoftValuesDoNotWrapTheMetrics) {
  // A 4.2 s QPSK frame at +-800000: the metrics pass 8e9.
  std::mt19937_64 rng(3);
  std::vector<uint8_t> info(5040);
  for (size_t n = 0; n + 6 < info.size(); ++n) info[n] = rng() & 1;
  ViterbiDecoder d;
  ViterbiReset(d);
  ViterbiInit(d);
  std::vector<uint8_t> out;
  for (uint8_t b : hfdl_tx::Encode(info)) {
    const int bit = ViterbiFeed(d, b ? 800000 : -800000);
    if (d.outputValid) out.push_back(static_cast<uint8_t>(1 - bit));
  }
  EXPECT_GT(d.current->metric[d.bestState], 8000000000LL);
  ASSERT_GE(out.size(), 5000u);
  EXPECT_TRUE(std::equal(out.begin(), out.end(), info.begin()));
}

TEST(HfdlFec, EightPskSoftValuesAreMaxLog) {
  const double amplitude = 400000.0;
  auto at = [&](double angle) { return Hfdl8pskSoftValues(amplitude * std::cos(angle), amplitude * std::sin(angle)); };
  for (int point = 0; point < 8; ++point) {
    // On a point, the nearest point of the other value of each code bit is
    // at least 45 degrees away; halfway to the next point, the one bit the
    // two differ in is undecided.
    const std::array<int64_t, 3> on = at(point * M_PI / 4), halfway = at(point * M_PI / 4 + M_PI / 8);
    for (int n = 0; n < 3; ++n) EXPECT_GE(std::llabs(on[n]), static_cast<int64_t>(amplitude * (1 - M_SQRT1_2)));
    EXPECT_EQ(std::count(halfway.begin(), halfway.end(), 0), 1) << point;
    for (int n = 0; n < 3; ++n) EXPECT_TRUE(halfway[n] == 0 || (halfway[n] > 0) == (on[n] > 0)) << point << " " << n;
  }
  // No signal, no opinion; a weaker symbol, a smaller one.
  EXPECT_EQ(Hfdl8pskSoftValues(0, 0), (std::array<int64_t, 3>{0, 0, 0}));
  EXPECT_LT(std::llabs(Hfdl8pskSoftValues(1000, 100)[0]), std::llabs(Hfdl8pskSoftValues(2000, 200)[0]));
}

TEST(HfdlCrc, CheckValueAndRangesOutsideTheFrame) {
  // "123456789" and its check value, sent low octet first; exactly sized,
  // so that a read past the end shows under the sanitizer.
  const std::vector<uint8_t> octets = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x6E, 0x90};
  auto holds = [&](long first, long count) { return CheckCrc16(octets.data(), 8 * octets.size(), first, count); };
  EXPECT_TRUE(holds(0, 9));
  for (const auto& [first, count] : std::vector<std::pair<long, long>>{
           {0, 10}, {1, 9}, {0, -1}, {-1, 9}, {2000000000, 2000000000}}) {
    EXPECT_FALSE(holds(first, count)) << first << " " << count;
  }
  EXPECT_FALSE(CheckCrc16(octets.data(), 0, 0, 0));
  // A frame relayed with an odd number of digits ends inside an octet.
  EXPECT_FALSE(CheckCrc16(octets.data(), 8 * octets.size() - 4, 0, 9));
}

// One burst of each mode the seed gives.
std::vector<hfdl_tx::Burst> Bursts(uint64_t seed, const std::vector<int>& modes, bool invert = false) {
  std::mt19937_64 rng(seed);
  std::vector<hfdl_tx::Burst> bursts;
  for (int mode : modes) bursts.push_back({mode, hfdl_tx::BuildFrameForMode(mode, rng), invert});
  return bursts;
}
const std::vector<int> kAllModes = {0, 1, 2, 3, 4, 5, 6, 7};

struct Receiver {
  Receiver() {
    for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  }
  std::unique_ptr<HfdlReception> hfdl = std::make_unique<HfdlReception>();
  RecordingHfdlLink link;
};

TEST(HfdlWave, EveryModeThroughOffsetClockErrorInversionRollOffAndStereo) {
  const struct {
    const char* name;
    std::vector<int> left, right;
    double offsetHz, clockPpm, rolloff;
    bool invert;
    double measuredOffset;
  } rows[] = {
      {"offset -12 Hz", kAllModes, {}, -12.0, 0.0, 0.35, false, -12.0},
      // The carrier moves with the clock.
      {"+100 ppm", kAllModes, {}, 5.0, 100.0, 0.35, false, 1445.0 * 1.0001 - 1440.0},
      // A burst turned by 180 degrees is a carrier phase the loop may lock
      // either way: it must decode whichever polarity the preamble shows.
      {"inverted", kAllModes, {}, 0.0, 0.0, 0.35, true, 0.0},
      {"roll-off 0.5", kAllModes, {}, 0.0, 0.0, 0.5, false, 0.0},
      // The 1.8 s modes on the left, the 4.2 s ones on the right: frames
      // overlap.
      {"stereo", {0, 1, 2, 3}, {4, 5, 6, 7}, -3.0, 0.0, 0.35, false, -3.0},
  };
  uint64_t seed = 21;
  for (const auto& r : rows) {
    const std::vector<hfdl_tx::Burst> bursts[2] = {Bursts(seed++, r.left, r.invert), Bursts(seed++, r.right)};
    hfdl_tx::SignalOptions options;
    options.offsetHz = r.offsetHz;
    options.clockPpm = r.clockPpm;
    options.rolloff = r.rolloff;
    std::vector<double> audio[2];
    for (int ch = 0; ch < 2; ++ch) {
      if (!bursts[ch].empty()) audio[ch] = hfdl_tx::Render(bursts[ch], options);
    }
    const size_t length = (std::max(audio[0].size(), audio[1].size()) + 511) / 512 * 512;
    for (auto& a : audio) a.resize(length, 0.0);
    Receiver rx;
    for (size_t n = 0; n < length; n += 512) {
      for (int ch = 0; ch < 2; ++ch) DemodulateHfdlBlock(*rx.hfdl, rx.link, ch, audio[ch].data() + n);
    }
    // Every burst arrived once, in order, after one sync of its mode, with
    // its octets and no probe wrong; the lamp is out between bursts.
    for (int ch = 0; ch < 2; ++ch) {
      std::vector<HfdlFrameInput> frames;
      std::vector<RecordingHfdlLink::Sync> syncs;
      for (const auto& f : rx.link.frames) if (f.Channel == ch) frames.push_back(f);
      for (const auto& s : rx.link.syncs) if (s.channel == ch) syncs.push_back(s);
      ASSERT_EQ(frames.size(), bursts[ch].size()) << r.name << " " << ch;
      ASSERT_EQ(syncs.size(), bursts[ch].size()) << r.name << " " << ch;
      for (size_t n = 0; n < frames.size(); ++n) {
        const int mode = bursts[ch][n].mode;
        EXPECT_EQ(syncs[n].modeIndex, mode) << r.name;
        EXPECT_NEAR(syncs[n].freqError, r.measuredOffset, 0.05) << r.name;
        EXPECT_EQ(frames[n].ModeCode, testing_support::ModeCode(mode)) << r.name << " mode " << mode;
        EXPECT_EQ(frames[n].SourceTag, ch == 0 ? "Lch" : "Rch") << r.name;
        std::vector<uint8_t> sent = bursts[ch][n].payload;
        sent.resize(frames[n].Octets.size(), 0);
        EXPECT_TRUE(frames[n].Octets == sent) << r.name << " mode " << mode;
        EXPECT_EQ(frames[n].ErrorRatioLine, "ErrorRatio = 0.00000") << r.name << " mode " << mode;
      }
      EXPECT_FALSE(rx.link.locks[ch]) << r.name;
    }
  }
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
    std::vector<double> audio = hfdl_tx::Render(Bursts(28, {mode}), {});
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
    const std::vector<hfdl_tx::Burst> bursts = Bursts(30 + mode, std::vector<int>(10, mode));
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
