// The SELCAL tone decoder: its levels, its sequencer on streams of tone
// pairs, calls of two transmitters; and the code file.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <tuple>

#include "selcal/selcal_code_file.h"
#include "selcal/selcal_decoder.h"
#include "selcal/selcal_state.h"
#include "selcal_tx/selcal_tx.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

using testing_support::RecordingSelcalCalls;
using Codes = std::vector<std::string>;

std::unique_ptr<SelcalState> NewState() {
  auto s = std::make_unique<SelcalState>();
  s->SelcalFft = BuildFftTables();
  InitSelcalWeights(*s);
  return s;
}

// Audio at 11025 Hz through the decoder in blocks of 512, which it overwrites.
void Decode(SelcalState& s, int channel, std::vector<double> audio, RecordingSelcalCalls& heard) {
  for (size_t at = 0; at + 512 <= audio.size(); at += 512, ++heard.block) {
    DecodeSelcalBlock(s, channel, &audio[at], heard);
  }
}

TEST(SelcalLevels, AKnownAnswerAndSilenceOrALoneToneIsNoPairAndClampingIsComplete) {
  auto s = NewState(), a = NewState(), b = NewState();
  std::vector<double> x(512);
  std::array<double, 16> levels;
  for (int i = 0; i < 512; ++i) x[i] = 1000.0 * std::cos(2 * M_PI * 33 * i / 512);
  SelcalToneLevels(s->SelcalFft, x.data(), levels);
  EXPECT_NEAR(levels[8], 235.1957, 1e-4);  // J, bin 33: |X| = 128000

  RecordingSelcalCalls heard;
  SelcalChannelState& seq = s->Channels[0].Sequencer;
  seq.Lower = 3;
  seq.Upper = 7;
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

constexpr int kReset = -2;
constexpr int kSilence = kSelcalNoPair;

// Runs of (lower, upper, blocks); a lower of kReset resets the channel.
Codes Sequence(const std::vector<std::tuple<int, int, int>>& runs) {
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

TEST(SelcalSequencer, RunsOfTenBlocksAFirstPairThatWaitsFortyAndSilenceThatEndsARun) {
  const std::pair<std::vector<std::tuple<int, int, int>>, Codes> cases[] = {
      {{{0, 1, 10}, {2, 3, 9}, {4, 5, 10}, {6, 7, 1}}, {"ABEF"}},
      {{{0, 1, 10}, {2, 3, 30}, {4, 5, 1}}, {"ABCD"}},
      {{{0, 1, 10}, {2, 3, 55}, {4, 5, 10}, {6, 7, 1}}, {"CDEF"}},
      // A second pair sharing a tone is no call; the wait starts again (else 93).
      {{{2, 5, 10}, {4, 6, 3}, {2, 7, 30}, {3, 5, 30}, {8, 9, 30}, {0, 1, 1}}, {"CFJK"}},
      // The sixth block gives the pair; a reset forgets the first.
      {{{0, 1, 10}, {2, 9, 5}, {2, 3, 5}, {4, 5, 1}}, {"ABCD"}},
      {{{0, 1, 10}, {5, 6, 1}, {kReset, 0, 0}, {2, 3, 10}, {4, 5, 1}}, {}},
      // Silence ends a run and is never taken for a pair, from the start
      // and across silences longer than a pair.
      {{{0, 1, 10}, {kSilence, kSilence, 3}, {2, 3, 10}, {kSilence, kSilence, 1}}, {"ABCD"}},
      {{{kSilence, kSilence, 20}, {2, 3, 10}, {kSilence, kSilence, 20}, {4, 5, 10}, {kSilence, kSilence, 20},
        {6, 7, 10}, {8, 9, 10}, {kSilence, kSilence, 1}},
       {"CDEF", "GHJK"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Sequence(cases[i].first), cases[i].second) << "case " << i;
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

struct Transmission {
  Codes codes;
  std::vector<double> audio, ends;
  int lateBlocks;  // at most after the call's end
};

Transmission Transmitted(const std::vector<selcal_tx::Call>& calls, double snrDb, int lateBlocks,
                         double amplitude = 3000, double noiseRms = 0) {
  selcal_tx::Options o;
  o.amplitude = amplitude;
  o.snrDb = snrDb;
  o.noiseRms = noiseRms;
  o.length = noiseRms > 0 ? 600 : o.length;
  o.randomPhases = true;
  const selcal_tx::Signal tx = selcal_tx::Transmit(calls, o);
  Transmission run{{}, tx.samples, {}, lateBlocks};
  for (const auto& c : tx.sent) {
    run.codes.push_back(c.code);
    run.ends.push_back(c.end);
  }
  return run;
}

// Each call as soon as its second pair (and, in digital silence, the
// enhancer's echo of it) ends, the last one too, not when the next begins.
// Calls of random lengths in noise come when the pair's level falls; ten
// minutes of noise give none; tones clipped at the clamp still make their
// code.
TEST(SelcalDecode, CallsInNoiseClippedAndInDigitalSilenceFromTwoTransmitters) {
  std::mt19937_64 noisy(7), quiet(11);
  std::vector<Transmission> runs = {Transmitted({{"ABCD", 0.5}}, 20, 2, 2000),
                                    Transmitted(selcal_tx::RandomCalls(10, 1.0, 6.0, true, noisy), 20, 100),
                                    Transmitted({}, INFINITY, 0, 3000, 1000),
                                    Transmitted({{"EFGH", 1.0}}, 20, 100, 6000),
                                    Transmitted(selcal_tx::RandomCalls(50, 1.0, 4.0, true, quiet), INFINITY, 3),
                                    {{}, {}, {}, 3}};
  for (int c = 0; c < 50; ++c) runs.back().codes.push_back(selcal_tx::RandomCode(quiet));
  runs.back().audio = SummedSines(runs.back().codes, 3.5, runs.back().ends);
  for (size_t r = 0; r < runs.size(); ++r) {
    RecordingSelcalCalls heard;
    Decode(*NewState(), 0, runs[r].audio, heard);
    EXPECT_EQ(heard.Codes(), runs[r].codes) << "run " << r;
    std::vector<size_t> late;
    for (size_t i = 0; i < heard.calls.size() && i < runs[r].ends.size(); ++i) {
      const double after = (heard.calls[i].second + 1) * 512 - runs[r].ends[i] * 11025;
      if (after <= 0 || after > runs[r].lateBlocks * 512) late.push_back(i);
    }
    EXPECT_EQ(late, std::vector<size_t>{}) << "run " << r;
  }

  // Each channel of a stereo signal its own.
  const selcal_tx::Signal tx = selcal_tx::Transmit({{"AKLS", 1.0, 1.0, 0.2, 0}, {"BDJM", 1.7, 0.8, 0.3, 1}}, [] {
    selcal_tx::Options o;
    o.stereo = true;
    o.snrDb = 20;
    return o;
  }());
  RecordingSelcalCalls l, r;
  auto both = NewState();
  Decode(*both, 0, tx.channel(0), l);
  Decode(*both, 1, tx.channel(1), r);
  EXPECT_EQ(l.Codes(), Codes{"AKLS"});
  EXPECT_EQ(r.Codes(), Codes{"BDJM"});
  EXPECT_EQ(r.calls.at(0).first.Channel, 1);
}

TEST(SelcalCodeFile, TheFirstWholeCodeGivesItsRegistration) {
  testing_support::TempDir dir;
  const std::string csv = dir.File("selcal.csv");
  EXPECT_EQ(LookupSelcalCode(csv, "ABCD"), "");  // no file
  testing_support::WriteFile(csv, "ABCDE,JA1\nABCE,JA2\r\nABCD,JA8089\nABCD,JA9999\nEFGH,JA3,B777\nGHJK,N123456789\n"
                                  "CDEF,JA\x81\x40\x81\x40\x81\x40\nDEFG,JA1234\r");
  // The last line without its LF; seven bytes at most, double-byte
  // characters whole.
  const std::pair<const char*, const char*> codes[] = {
      {"ABCD", "JA8089"}, {"ABCE", "JA2"}, {"EFGH", "JA3"},  {"GHJK", "N123456"}, {"CDEF", "JA\x81\x40\x81\x40"},
      {"DEFG", "JA1234"}, {"KLMP", ""},    {"----", ""}};
  for (const auto& [code, registration] : codes) EXPECT_EQ(LookupSelcalCode(csv, code), registration) << code;
}

}  // namespace
