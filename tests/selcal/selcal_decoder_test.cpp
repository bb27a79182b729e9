// The SELCAL tone decoder: its levels against known answers, its
// sequencer on streams of tone pairs, and calls from the test transmitter.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <random>
#include <tuple>

#include "audio/fft_tables.h"
#include "selcal/selcal_decoder.h"
#include "selcal/selcal_state.h"
#include "selcal/selcal_tables.h"
#include "selcal_tx/selcal_tx.h"
#include "support/recording_links.h"

namespace {

using testing_support::RecordingSelcalCalls;

std::unique_ptr<SelcalState> NewState() {
  auto s = std::make_unique<SelcalState>();
  s->SelcalFft = BuildFftTables();
  InitSelcalWeights(*s);
  return s;
}

// Audio at 11025 Hz through the decoder in blocks of 512, which it overwrites.
void Decode(SelcalState& s, int channel, std::vector<double> audio, RecordingSelcalCalls& heard) {
  for (size_t at = 0; at + 512 <= audio.size(); at += 512, ++heard.block) DecodeSelcalBlock(s, channel, &audio[at], heard);
}

// ---- SelcalLevels ----

TEST(SelcalLevels, KnownAnswersAndADirectTransform) {
  FftTables fft = BuildFftTables();
  std::vector<double> x(512);
  std::array<double, 16> levels;
  for (int i = 0; i < 512; ++i) x[i] = 1000.0 * std::cos(2 * M_PI * 33 * i / 512);
  SelcalToneLevels(fft, x.data(), levels);
  EXPECT_NEAR(levels[8], 235.1957, 1e-4);  // J, bin 33: |X| = 128000
  const int at = fft.BitReverse[32];
  EXPECT_NEAR(std::hypot(fft.Re[at], fft.Im[at]), 64000.0, 1e-6);  // level 221.3328

  std::mt19937 rng(5);
  std::uniform_real_distribution<double> sample(-10000, 10000);
  for (int trial = 0; trial < 5; ++trial) {
    for (double& v : x) v = sample(rng);
    SelcalToneLevels(fft, x.data(), levels);
    for (int k = 0; k < 16; ++k) {
      std::complex<double> sum = 0;
      for (int i = 0; i < 512; ++i) sum += x[i] * fft.Hann[i] * std::polar(1.0, -2 * M_PI * SelcalToneBins[k] * i / 512);
      EXPECT_NEAR(levels[k], 20 * std::log(std::abs(sum)), 1e-9) << k;
    }
  }
}

TEST(SelcalLevels, SilenceOrALoneToneIsNoPairAndClampingIsComplete) {
  auto s = NewState(), a = NewState(), b = NewState();
  RecordingSelcalCalls heard;
  SelcalChannelState& seq = s->Channels[0].Sequencer;
  seq.Lower = 3;
  seq.Upper = 7;
  std::array<double, 16> levels;
  SelcalToneLevels(s->SelcalFft, std::vector<double>(512, 0.0).data(), levels);
  EXPECT_EQ(levels, (std::array<double, 16>{}));
  Decode(*s, 0, std::vector<double>(512, 0.0), heard);
  EXPECT_EQ(std::pair(seq.Lower, seq.Upper), std::pair(kSelcalNoPair, kSelcalNoPair));
  levels[9] = 0.5;
  PickSelcalPair(levels, seq);
  EXPECT_EQ(std::pair(seq.Lower, seq.Upper), std::pair(kSelcalNoPair, kSelcalNoPair));
  levels[2] = 0.25;
  PickSelcalPair(levels, seq);
  EXPECT_EQ(std::pair(seq.Lower, seq.Upper), std::pair(2, 9));

  std::vector<double> loud(512, 20000.0), limit(512, 10000.0);
  DecodeSelcalBlock(*a, 1, loud.data(), heard);
  DecodeSelcalBlock(*b, 1, limit.data(), heard);
  EXPECT_EQ(loud, limit);
  const SelcalChannel &ca = a->Channels[1], &cb = b->Channels[1];
  EXPECT_TRUE(ca.Weights == cb.Weights && ca.PredictorLine == cb.PredictorLine && ca.DelayLine == cb.DelayLine);
  EXPECT_EQ(std::pair(ca.Sequencer.Lower, ca.Sequencer.Upper), std::pair(cb.Sequencer.Lower, cb.Sequencer.Upper));
}

// ---- SelcalSequencer ----

constexpr int kReset = -2;
constexpr int kSilence = kSelcalNoPair;

// Runs of (lower, upper, blocks); a lower of kReset resets the channel.
std::vector<std::string> Sequence(const std::vector<std::tuple<int, int, int>>& runs) {
  auto s = NewState();
  RecordingSelcalCalls heard;
  SelcalChannelState& seq = s->Channels[0].Sequencer;
  for (const auto& [lower, upper, blocks] : runs) {
    if (lower == kReset) ResetSelcalChannel(*s, 0);
    for (int b = 0; b < blocks; ++b) {
      seq.Lower = lower;
      seq.Upper = upper;
      StepSelcalSequencer(seq, 0, heard);
    }
  }
  return heard.Codes();
}

using Codes = std::vector<std::string>;

TEST(SelcalSequencer, RunsOfTenBlocksAndAFirstPairThatWaitsFortyBlocks) {
  EXPECT_EQ(Sequence({{0, 1, 10}, {2, 3, 9}, {4, 5, 10}, {6, 7, 1}}), Codes{"ABEF"});
  EXPECT_EQ(Sequence({{0, 1, 10}, {2, 3, 30}, {4, 5, 1}}), Codes{"ABCD"});
  EXPECT_EQ(Sequence({{0, 1, 10}, {2, 3, 55}, {4, 5, 10}, {6, 7, 1}}), Codes{"CDEF"});
  // A second pair sharing a tone is no call; the wait starts again (else 93).
  EXPECT_EQ(Sequence({{2, 5, 10}, {4, 6, 3}, {2, 7, 30}, {3, 5, 30}, {8, 9, 30}, {0, 1, 1}}), Codes{"CFJK"});
}

TEST(SelcalSequencer, TheSixthBlockGivesThePairAndAResetForgetsTheFirst) {
  EXPECT_EQ(Sequence({{0, 1, 10}, {2, 9, 5}, {2, 3, 5}, {4, 5, 1}}), Codes{"ABCD"});
  EXPECT_EQ(Sequence({{0, 1, 10}, {5, 6, 1}, {kReset, 0, 0}, {2, 3, 10}, {4, 5, 1}}), Codes{});
}

TEST(SelcalSequencer, SilenceEndsARunAndIsNeverTakenForAPair) {
  EXPECT_EQ(Sequence({{0, 1, 10}, {kSilence, kSilence, 3}, {2, 3, 10}, {kSilence, kSilence, 1}}), Codes{"ABCD"});
  // From the start, and across silences longer than a pair.
  EXPECT_EQ(Sequence({{kSilence, kSilence, 20}, {2, 3, 10}, {kSilence, kSilence, 20}, {4, 5, 10},
                      {kSilence, kSilence, 20}, {6, 7, 10}, {8, 9, 10}, {kSilence, kSilence, 1}}),
            (Codes{"CDEF", "GHJK"}));
}

// ---- SelcalDecode ----

selcal_tx::Options At20Db(double amplitude = 3000) {
  selcal_tx::Options o;
  o.amplitude = amplitude;
  o.snrDb = 20;
  o.randomPhases = true;
  return o;
}

TEST(SelcalDecode, OneCallJustAfterItEndsAndTenRandomCalls) {
  selcal_tx::Signal tx = selcal_tx::Transmit({{"ABCD", 0.5}}, At20Db(2000));
  RecordingSelcalCalls one, ten;
  Decode(*NewState(), 0, tx.samples, one);
  ASSERT_EQ(one.Codes(), Codes{"ABCD"});
  const double after = (one.calls[0].second + 1) * 512 - tx.sent[0].end * 11025;
  EXPECT_TRUE(after > 0 && after <= 2 * 512) << after;

  std::mt19937_64 rng(7);
  tx = selcal_tx::Transmit(selcal_tx::RandomCalls(10, 1.0, 6.0, true, rng), At20Db());
  Decode(*NewState(), 0, tx.samples, ten);
  Codes sent;
  for (const auto& c : tx.sent) sent.push_back(c.code);
  EXPECT_EQ(ten.Codes(), sent);
}

TEST(SelcalDecode, NoiseLoudTonesAndTwoChannels) {
  selcal_tx::Options noise;
  noise.noiseRms = 1000;
  noise.length = 600;
  auto s = NewState();
  RecordingSelcalCalls heard;
  Decode(*s, 0, selcal_tx::Transmit({}, noise).samples, heard);
  EXPECT_EQ(heard.Codes(), Codes{});
  // Clipped at the clamp, the tones still make the code.
  Decode(*s, 1, selcal_tx::Transmit({{"EFGH", 1.0}}, At20Db(6000)).samples, heard);
  EXPECT_EQ(heard.Codes(), Codes{"EFGH"});
  for (double w : s->Channels[1].Weights) ASSERT_TRUE(std::isfinite(w));

  selcal_tx::Options stereo = At20Db();
  stereo.stereo = true;
  const selcal_tx::Signal tx = selcal_tx::Transmit({{"AKLS", 1.0, 1.0, 0.2, 0}, {"BDJM", 1.7, 0.8, 0.3, 1}}, stereo);
  RecordingSelcalCalls l, r;
  auto both = NewState();
  Decode(*both, 0, tx.channel(0), l);
  Decode(*both, 1, tx.channel(1), r);
  EXPECT_EQ(l.Codes(), Codes{"AKLS"});
  EXPECT_EQ(r.Codes(), Codes{"BDJM"});
  EXPECT_EQ(r.calls.at(0).first.Channel, 1);
}

// Calls from a transmitter apart from the test transmitter: each pair the
// sum of two sines, their frequencies from the tone series' own rule
// (312.6 Hz times 10^(0.045 n)), 1 s per pair, 0.2 s between the pairs,
// exact zeros around. Fills ends with when each call's second pair ends.
std::vector<double> SummedSines(const Codes& codes, double spacing, std::vector<double>& ends) {
  const std::string letters = "ABCDEFGHJKLMPQRS";
  std::vector<double> audio(static_cast<size_t>((codes.size() * spacing + 2) * 11025), 0.0);
  for (size_t c = 0; c < codes.size(); ++c) {
    const double start = 1.0 + c * spacing;
    for (int pair = 0; pair < 2; ++pair) {
      const size_t first = static_cast<size_t>((start + pair * 1.2) * 11025);
      for (int t = 0; t < 2; ++t) {
        const double hz = 312.6 * std::pow(10.0, 0.045 * letters.find(codes[c][2 * pair + t]));
        for (size_t n = 0; n < 11025; ++n) audio[first + n] += 2500 * std::sin(2 * M_PI * hz * n / 11025);
      }
    }
    ends.push_back(start + 2.2);
  }
  return audio;
}

TEST(SelcalDecode, FiftyCallsInDigitalSilenceFromTwoTransmitters) {
  struct Run {
    Codes codes;
    std::vector<double> audio, ends;
  };
  std::mt19937_64 rng(11);
  selcal_tx::Options quiet;
  quiet.randomPhases = true;
  const selcal_tx::Signal tx = selcal_tx::Transmit(selcal_tx::RandomCalls(50, 1.0, 4.0, true, rng), quiet);
  Run own{{}, tx.samples, {}}, apart;
  for (const auto& c : tx.sent) {
    own.codes.push_back(c.code);
    own.ends.push_back(c.end);
  }
  for (int c = 0; c < 50; ++c) apart.codes.push_back(selcal_tx::RandomCode(rng));
  apart.audio = SummedSines(apart.codes, 3.5, apart.ends);

  for (const Run& run : {own, apart}) {
    RecordingSelcalCalls heard;
    Decode(*NewState(), 0, run.audio, heard);
    EXPECT_EQ(heard.Codes(), run.codes);
    // Each as soon as its second pair and the enhancer's echo of it end,
    // the last one too, not when the next call begins.
    std::vector<size_t> late;
    for (size_t i = 0; i < heard.calls.size() && i < run.ends.size(); ++i) {
      const double after = (heard.calls[i].second + 1) * 512 - run.ends[i] * 11025;
      if (after <= 0 || after > 3 * 512) late.push_back(i);
    }
    EXPECT_EQ(late, std::vector<size_t>{});
  }
}

}  // namespace
