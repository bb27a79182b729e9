#include <gtest/gtest.h>

#include <random>

#include "hfdl/dsp_tables.h"
#include "hfdl/frame_sync.h"
#include "hfdl/hfdl_tables.h"
#include "hfdl/hfdl_text.h"
#include "hfdl_harness.h"

namespace {

const std::string kDashes(34, '-');

std::vector<uint8_t> SyncBits(int mode, bool inverted) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> bits(t.HfdlPreambleSequence.begin(), t.HfdlPreambleSequence.end());
  bits.insert(bits.end(), t.HfdlModeSequences[mode], t.HfdlModeSequences[mode] + 142);
  if (inverted) {
    for (uint8_t& b : bits) b ^= 1;
  }
  return bits;
}

void SendBits(Form1State& form, int channel, const std::vector<uint8_t>& bits) {
  for (uint8_t b : bits) ProcessHfdlSymbol(form, channel, b, 0, 0);
}

// After sync: 135 training symbols, then data whose probes are all right.
// Returns the number of data symbols it took to complete the frame.
int FeedFrame(Form1State& form, int channel, int32_t sign = 1) {
  const auto& probe = GetHfdlTables().HfdlProbeSequence;
  for (int n = 0; n < 135; ++n) ProcessHfdlSymbol(form, channel, 0, 0, 0);
  for (int n = 0; n < 8000; ++n) {
    int position = n % 45;
    int32_t q = position >= 30 ? sign * probe[position - 30] * 1000 : sign * 500;
    ProcessHfdlSymbol(form, channel, 0, 7 * sign, q);
    if (!form.hfdl.Channels[channel].Locked) return n + 1;
  }
  return -1;
}

class HfdlSync : public ::testing::Test {
 protected:
  void SetUp() override { form_ = hfdl_test::MakeForm(recorder_); }
  hfdl_test::Recorder recorder_;
  std::unique_ptr<Form1State> form_;
};

TEST_F(HfdlSync, PreambleAndModeGiveTheFrameMode) {
  form_->hfdl.Channels[0].FreqError = -1.2345;
  SendBits(*form_, 0, SyncBits(2, false));
  const HfdlChannelState& s = form_->hfdl.Channels[0];
  EXPECT_TRUE(s.Locked && s.SyncFound && s.TrainingActive && !s.Inverted);
  EXPECT_EQ(std::vector<int>({s.PreambleScore, s.ModeScore, s.ModeIndex, s.Rate, s.Interleave, s.Constellation}),
            std::vector<int>({254, 142, 2, 2, 0, 1}));
  EXPECT_EQ(s.SymbolCount, -135);
  EXPECT_EQ(s.EqTaps[0][0], GetHfdlTables().EqualizerSyncTaps[0]);
  EXPECT_EQ(s.EqTaps[1][32], GetHfdlTables().EqualizerSyncTaps[32]);
  EXPECT_EQ(form_->text.TextBuffers[kHfdlAna], "/Data Receiving(Lch)/" + kDashes +
                                              "\r\nQPSK 1200bits/s 1.8s\r\nFrequency Error = -1.2345 Hz\r\n");
}

TEST_F(HfdlSync, MonitorLinesOfTheRightChannel) {
  form_->hfdl.Channels[1].FreqError = 7.30834;
  form_->Txt.TxtType = kHfdlAna;
  SendBits(*form_, 1, SyncBits(0, false));
  EXPECT_EQ(form_->text.TextBuffers[kHfdlAna],
            "/Data Receiving(Rch)/" + kDashes + "\r\nBPSK 300bits/s 1.8s \r\nFrequency Error = +7.3083 Hz\r\n");
  EXPECT_EQ(recorder_.calls, std::vector<std::string>{"refresh"});
  EXPECT_EQ(FrequencyErrorLine(0.0), "Frequency Error = +0.0000 Hz");
  EXPECT_EQ(FrequencyErrorLine(-0.00004), "Frequency Error = -0.0000 Hz");
}

TEST_F(HfdlSync, InvertedPreambleStoresNegatedSymbols) {
  SendBits(*form_, 0, SyncBits(2, true));
  const HfdlChannelState& s = form_->hfdl.Channels[0];
  EXPECT_EQ(s.Inverted, 1);
  EXPECT_EQ(s.PreambleScore, 254);
  EXPECT_EQ(s.ModeIndex, 2);
  // Probes that are right once negated count as right.
  EXPECT_EQ(FeedFrame(*form_, 0, -1), 3241);
  EXPECT_EQ(form_->hfdl.HfdlSoftSymbols[0].Values[0], 7);
  EXPECT_EQ(form_->hfdl.HfdlSoftSymbols[0].Values[HfdlSoftSymbolStore::kSymbols], 500);
  ASSERT_EQ(recorder_.frames.size(), 1u);
  EXPECT_EQ(recorder_.frames[0].errorRatio, "ErrorRatio = 0.00000");
}

TEST_F(HfdlSync, PreambleThreshold) {
  auto withFlips = [](int flips, bool inverted) {
    std::vector<uint8_t> bits = SyncBits(2, false);
    for (int k = 0; k < flips; ++k) bits[k] ^= 1;
    if (inverted) {
      for (int k = 0; k < 254; ++k) bits[k] ^= 1;
    }
    return bits;
  };
  SendBits(*form_, 0, withFlips(92, false));  // score 70
  EXPECT_EQ(form_->hfdl.Channels[0].Locked, 0);
  EXPECT_EQ(form_->hfdl.Channels[0].PreambleScore, 70);
  SendBits(*form_, 0, withFlips(92, true));  // score -70
  EXPECT_EQ(form_->hfdl.Channels[0].Locked, 0);
  EXPECT_EQ(form_->hfdl.Channels[0].PreambleScore, -70);
  SendBits(*form_, 0, withFlips(91, false));  // score 72
  EXPECT_EQ(form_->hfdl.Channels[0].Locked, 1);
}

TEST_F(HfdlSync, ModeThresholdAndTies) {
  const HfdlTables& t = GetHfdlTables();
  std::vector<uint8_t> preamble(t.HfdlPreambleSequence.begin(), t.HfdlPreambleSequence.end());
  auto sendMode = [&](const std::vector<uint8_t>& modeBits) {
    form_ = hfdl_test::MakeForm(recorder_);
    std::vector<uint8_t> bits = preamble;
    bits.insert(bits.end(), modeBits.begin(), modeBits.end());
    SendBits(*form_, 0, bits);
    return form_->hfdl.Channels[0].SyncFound;
  };
  // Scores of 142 bits are even: 40 is refused, 42 accepted.
  for (int flips : {51, 50}) {
    std::vector<uint8_t> bits(t.HfdlModeSequences[6], t.HfdlModeSequences[6] + 142);
    for (int k = 0; k < flips; ++k) bits[2 * k] ^= 1;
    uint8_t found = sendMode(bits);
    EXPECT_EQ(form_->hfdl.Channels[0].ModeScores[6], 142 - 2 * flips);
    EXPECT_EQ(found, flips == 50) << flips;
    if (found) {
      EXPECT_EQ(form_->hfdl.Channels[0].ModeIndex, 6);
      EXPECT_EQ(form_->hfdl.Channels[0].ModeScore, 42);
    }
  }
  // Equal scores for modes 3 and 5: the lower index wins.
  std::vector<uint8_t> tie(142);
  bool toFirst = true;
  for (int i = 0; i < 142; ++i) {
    uint8_t a = t.HfdlModeSequences[3][i], b = t.HfdlModeSequences[5][i];
    tie[i] = a == b ? a : (toFirst ? a : b);
    if (a != b) toFirst = !toFirst;
  }
  sendMode(tie);
  ASSERT_EQ(form_->hfdl.Channels[0].ModeScores[3], form_->hfdl.Channels[0].ModeScores[5]);
  EXPECT_EQ(form_->hfdl.Channels[0].ModeIndex, 3);
  // No mode above 0: mode 0 with score 0, refused.
  std::mt19937 rng(1);
  std::vector<uint8_t> bits(142);
  bool allAtMostZero = false;
  for (int attempt = 0; attempt < 5000 && !allAtMostZero; ++attempt) {
    for (uint8_t& b : bits) b = rng() & 1;
    EXPECT_EQ(sendMode(bits), 0);
    const int32_t* scores = form_->hfdl.Channels[0].ModeScores;
    allAtMostZero = std::all_of(scores, scores + 8, [](int32_t v) { return v <= 0; });
  }
  ASSERT_TRUE(allAtMostZero);
  EXPECT_EQ(form_->hfdl.Channels[0].ModeIndex, 0);
  EXPECT_EQ(form_->hfdl.Channels[0].ModeScore, 0);
  EXPECT_EQ(form_->hfdl.Channels[0].Locked, 0);
}

TEST_F(HfdlSync, FrameCompletesAfterItsLastSymbol) {
  SendBits(*form_, 0, SyncBits(1, false));
  EXPECT_EQ(FeedFrame(*form_, 0), 3241);
  ASSERT_EQ(recorder_.frames.size(), 1u);
  EXPECT_EQ(recorder_.frames[0].modeCode, 1);
  EXPECT_EQ(recorder_.frames[0].errorRatio, "ErrorRatio = 0.00000");
  SendBits(*form_, 0, SyncBits(7, false));
  EXPECT_EQ(FeedFrame(*form_, 0), 7561);
  EXPECT_EQ(recorder_.frames.back().modeCode, 13);

  const HfdlChannelState& s = form_->hfdl.Channels[0];
  EXPECT_FALSE(s.Locked || s.TrainingActive || s.Constellation);
  EXPECT_EQ(s.Rate, 4);
  EXPECT_EQ(s.Interleave, 3);
  EXPECT_EQ(s.EqTaps[1][16], EqualizerStartTaps[16]);
  EXPECT_EQ(std::count(std::begin(s.SyncHistory), std::end(s.SyncHistory), 1), 0);
}

TEST_F(HfdlSync, ErrorRatioCountsWrongProbes) {
  SendBits(*form_, 0, SyncBits(0, false));
  for (int n = 0; n < 135; ++n) ProcessHfdlSymbol(*form_, 0, 0, 0, 0);
  // Every Q of 0 counts as +1: the probe's seven -1 values are wrong.
  for (int n = 0; n < 3241; ++n) ProcessHfdlSymbol(*form_, 0, 0, 0, 0);
  ASSERT_EQ(recorder_.frames.size(), 1u);
  EXPECT_EQ(recorder_.frames[0].errorRatio, ErrorRatioLine(7.0 / 15.0));
  EXPECT_EQ(recorder_.frames[0].errorRatio, "ErrorRatio = 0.46667");
}

std::string RelayText(const Form1State& form, int octets) {
  return std::string("HFDL\x01", 5) + HfdlBitsToHex(form.hfdl.HfdlDecodedBits.data(), octets) + "\x03";
}

TEST_F(HfdlSync, FramesGoWhereTheLinkStateSays) {
  struct Case {
    flag connected, server;
    int mode;
    std::vector<std::string> expected;  // with "clients"/"server" standing for the relay text
  };
  const std::vector<Case> cases = {
      {0, 0, 0, {"analyze"}},
      {0, 0, 3, {"analyze"}},
      {1, 1, 1, {"clients", "analyze"}},
      {1, 1, 6, {"analyze", "clients"}},
      {1, 0, 0, {"server"}},
      {1, 0, 7, {"server"}},
  };
  for (const Case& c : cases) {
    hfdl_test::Recorder recorder;
    auto form = hfdl_test::MakeForm(recorder);
    form->exchange.NetConnected = c.connected;
    form->Net.Server = c.server;
    form->app.SourceTag = "";
    form->Txt.TxtType = 0;
    SendBits(*form, 1, SyncBits(c.mode, false));
    FeedFrame(*form, 1);
    const std::string relay = RelayText(*form, HfdlModeOctets(c.mode));
    EXPECT_EQ(relay.size(), 6u + 2u * HfdlModeOctets(c.mode));
    // Each call by its kind, the relay texts compared whole.
    std::vector<std::string> kinds;
    for (const std::string& call : recorder.calls) {
      std::string kind = call.substr(0, call.find(' '));
      kinds.push_back(kind);
      if (kind != "analyze") {
        EXPECT_TRUE(call == kind + " " + relay) << c.mode;
      }
    }
    EXPECT_EQ(kinds, c.expected) << c.mode;
    if (c.connected && c.server) {
      EXPECT_EQ(form->audio.RxLampHold[2], 0);
    }
    for (const auto& f : recorder.frames) {
      // Own frames are tagged with their channel, a server's too.
      EXPECT_EQ(f.sourceTag, "Rch");
      EXPECT_EQ(f.channel, 1);
      EXPECT_EQ(f.modeCode, 10 * (c.mode / 4) + c.mode % 4);
    }
  }
}

TEST_F(HfdlSync, SyncOnTheOtherChannelKeepsTheAnalysisText) {
  SendBits(*form_, 0, SyncBits(4, false));
  SendBits(*form_, 1, SyncBits(5, false));
  const std::string& text = form_->text.TextBuffers[kHfdlAna];
  EXPECT_NE(text.find("/Data Receiving(Lch)/"), std::string::npos);
  EXPECT_NE(text.find("/Data Receiving(Rch)/"), std::string::npos);
  // Once channel 0 has finished, a new sync starts the text afresh.
  FeedFrame(*form_, 0);
  FeedFrame(*form_, 1);
  ProcessHfdlSymbol(*form_, 0, 0, 0, 0);
  ProcessHfdlSymbol(*form_, 1, 0, 0, 0);
  SendBits(*form_, 0, SyncBits(4, false));
  EXPECT_EQ(text.find("/Data Receiving(Rch)/"), std::string::npos);
}

}  // namespace
