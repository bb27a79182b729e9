// Junk and random input wherever HFDL reception meets the outside: audio no
// transmitter makes, random frames with valid check sequences, relay text
// from a linked copy of any length and content, and random data files. Run
// under AddressSanitizer and UndefinedBehaviorSanitizer too. HFDL_FUZZ_SEED
// picks another seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "hfdl/ground_stations.h"
#include "hfdl/hfdl_receiver.h"
#include "hfdl/hfdl_reception.h"
#include "hfdl/hfdl_text.h"
#include "hfdl/registration.h"
#include "hfdl_tx/hfdl_frames.h"
#include "hfdl_tx/hfdl_tx.h"
#include "support/reception_rig.h"
#include "support/recording_links.h"

namespace {

using testing_support::FeedHfdl;
using testing_support::ReceptionRig;
using testing_support::RecordingHfdlLink;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers run about twelve times slower.
constexpr int kFrames = 50000;
#else
constexpr int kFrames = 100000;
#endif
constexpr int kDataFiles = 2000;

uint64_t Seed() {
  const char* text = std::getenv("HFDL_FUZZ_SEED");
  return text ? std::strtoull(text, nullptr, 10) : 20261206u;
}

TEST(HfdlFuzz, RandomValidFramesAndRelayText) {
  // A sanitizer's report ends the program: the seed comes first, so that
  // the run can be repeated.
  std::fprintf(stderr, "HfdlFuzz seed %llu\n", static_cast<unsigned long long>(Seed()));
  std::mt19937_64 rng(Seed());
  ReceptionRig rig;
  Form1State& form = rig.form();
  form.Txt.TxtLog = 0;
  form.Etc.PassList = "NH";
  for (int n = 0; n < kFrames; ++n) {
    const int mode = static_cast<int>(rng() % 8);
    const bool relayed = rng() % 3 == 0;
    const hfdl_tx::Octets frame = hfdl_tx::RandomValidFrame(rng, testing_support::ModeOctets(mode));
    rig.ClearText();
    // Random log-ons add a row each; a real table grows far slower.
    if (n % 1000 == 0) ClearRegistrationRows(form.hfdl.HfdlRegistrations);
    std::string text = hfdl_tx::RelayHex(frame);
    if (relayed) {
      // Relay text may be cut short, or be no hex digits at all.
      if (rng() % 4 == 0) text.resize(rng() % (text.size() + 1));
      if (rng() % 8 == 0) std::generate(text.begin(), text.end(), [&] { return static_cast<char>(rng()); });
      rig.road().RelayedHfdlFrame(text, "NET");
    } else {
      rig.AnalyzeOwn(frame, mode, 0);
    }
    // The analysis reads nothing past the octets, and the DAT line holds no
    // more than they do.
    const int octets = relayed ? static_cast<int>(text.size() / 2) : static_cast<int>(frame.size());
    const size_t dat = form.text.Buffer(kHfdlDat).size();
    const bool analysed = rig.sink().frames.size() == 1;
    if (dat > 2 * static_cast<size_t>(octets) + 50 || !analysed || rig.sink().frames[0].DatOctets > octets) {
      FAIL() << "frame " << n << ": " << text;
    }
  }
  // Relay text longer than the longest frame is refused.
  for (size_t length : {3780u, 3781u, 100000u}) {
    rig.ClearText();
    rig.road().RelayedHfdlFrame(std::string(length, '0'), "NET");
    EXPECT_EQ(rig.sink().frames.size(), length <= kMaxHfdlHexDigits ? 1u : 0u) << length;
  }
}

std::string RandomFileBytes(std::mt19937_64& rng) {
  static constexpr char kBiased[] = ",,,,\n\n\r\"0123456789-ABCDEFJL ";
  std::string bytes(static_cast<size_t>(rng() % 2000), '\0');
  for (char& c : bytes) c = rng() % 4 ? kBiased[rng() % (sizeof kBiased - 1)] : static_cast<char>(rng());
  return bytes;
}

TEST(HfdlFuzz, RandomDataFiles) {
  std::mt19937_64 rng(Seed() + 2);
  auto hfdl = std::make_unique<HfdlReception>();
  Icao24File file;
  for (int n = 0; n < kDataFiles; ++n) {
    ReadFreqsCsv(*hfdl, RandomFileBytes(rng));
    const std::string bytes = RandomFileBytes(rng);
    file.Parse(bytes);
    Icao24Record record;
    for (size_t start = 0; start + 7 <= bytes.size() && start < 200; start += 7) {
      file.FindByAddress(bytes.substr(start, 6), record);
      file.FindByRegistration(bytes.substr(start, 7), record);
    }
  }
  for (const std::string& name : hfdl->GsNames) ASSERT_LE(name.size(), 63u);
}

std::unique_ptr<HfdlReception> StartedReception() {
  auto hfdl = std::make_unique<HfdlReception>();
  for (HfdlChannelState& s : hfdl->Channels) InitHfdlChannel(s);
  return hfdl;
}

TEST(HfdlDemod, JunkAudioLeavesBothChannelsWorking) {
  const int samples = 512 * 120;
  std::vector<std::vector<double>> junk(4, std::vector<double>(samples, 0.0));
  for (int n = 0; n < samples; ++n) {
    junk[1][n] = (n / 3) % 2 ? 32767.0 : -32768.0;  // full-scale square wave
    junk[2][n] = n % 2 ? 32767.0 : -32768.0;        // alternating extremes
  }
  std::mt19937 rng(9);
  std::uniform_real_distribution<double> any(-1e12, 1e12);
  for (double& v : junk[3]) v = any(rng);
  std::mt19937_64 frames(10);
  const std::vector<double> burst = hfdl_tx::Render({{2, hfdl_tx::BuildFrameForMode(2, frames), false}}, {});
  for (const auto& audio : junk) {
    auto hfdl = StartedReception();
    RecordingHfdlLink link;
    // Also from inside a frame, with the equaliser training.
    HfdlChannelState& inFrame = hfdl->Channels[1];
    inFrame.Locked = inFrame.TrainingActive = inFrame.InProbe = 1;
    inFrame.Constellation = 2;
    inFrame.Interleave = 0;
    inFrame.Rate = 3;
    for (int channel = 0; channel < 2; ++channel) EXPECT_LE(FeedHfdl(*hfdl, link, channel, audio), 512);
    // The levelled block the audio displays show.
    std::vector<double> block(audio.end() - 512, audio.end());
    DemodulateHfdlBlock(*hfdl, link, 0, block.data());
    for (double v : block) ASSERT_TRUE(std::isfinite(v));
    // Neither channel is left dead: the next burst decodes.
    for (int channel = 0; channel < 2; ++channel) {
      link.frames.clear();
      link.syncs.clear();
      FeedHfdl(*hfdl, link, channel, burst);
      EXPECT_EQ(link.frames.size(), 1u) << channel;
      for (const auto& s : link.syncs) EXPECT_TRUE(std::isfinite(s.freqError)) << channel;
    }
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

}  // namespace
