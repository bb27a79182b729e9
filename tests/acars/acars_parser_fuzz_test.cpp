// Random blocks through the parser and the stores: nothing may fault, a
// slot never holds more than 5999 characters and SourceTag is emptied by
// every call. Built and run under the sanitizers by ./test.
#include <gtest/gtest.h>

#include <cstdint>

#include "acars/acars_services.h"
#include "acars_tx/acars_test_transmitter.h"
#include "app/form1_state.h"
#include "app/ground_names.h"
#include "support/test_support.h"

namespace {

TEST(AcarsParserFuzz, RandomBlocksKeepTheStoresInBounds) {
  testing_support::FixedClock clock(platform::EncodeDateTime(2024, 5, 1, 13, 5, 27));
  Form1State f;
  for (int k = 0; k < 28; ++k) f.acars.AcarsStationNames[k] = kDefaultAcarsStationNames[k];
  f.Txt.TxtLog = 0;
  f.Txt.MaxBytes = 1000;
  f.Net.Server = 1;
  f.Net.DupCheckSend = 1;
  // xorshift64*: cheap enough under the sanitizers' debug build.
  uint64_t state = 20240501;
  auto next = [&] {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 2685821657736338717ULL;
  };
  auto pick = [&](int n) { return static_cast<int>((next() >> 33) % static_cast<uint64_t>(n)); };
  const char* addresses[] = {"JA8089", ".......", "N12345", "Uplink", "", "A/../.."};
  // Per address the block that would come next, so that messages grow,
  // wrap Z to A and overflow now and then.
  int nextLetter[6][2] = {};
  size_t longestDown = 0, longestUp = 0;
  std::vector<uint8_t> bits;
  const int kRuns = 100000;
  for (int run = 0; run < kRuns; ++run) {
    int bitCount;
    bool etx = pick(2) == 0;
    if (pick(8) == 0) {
      // Bits of noise with any count, the buffer sometimes shorter.
      bits.resize(static_cast<size_t>(pick(2100)));
      uint64_t word = 0;
      for (size_t i = 0; i < bits.size(); ++i) {
        if (i % 64 == 0) word = next();
        bits[i] = static_cast<uint8_t>((word >> (i % 64)) & 1);
      }
      bitCount = pick(5017) - 16;
    } else {
      acars_tx::Message m;
      m.downlink = pick(2) == 0;
      m.mode = m.downlink ? "2ABZ`\x01"[pick(6)] : "abz{\x7F"[pick(5)];
      const int who = pick(6);
      m.registration = addresses[who];
      m.label = who != 0 && pick(10) == 0 ? "SQ" : pick(10) == 0 ? "Q0" : "H1";
      // The first address keeps its blocks in sequence; the others mostly.
      int& following = nextLetter[who][m.downlink];
      const int letter = who == 0 || pick(4) ? following : pick(27);
      following = (letter + 1) % 26;
      m.blockId = who != 0 && pick(32) == 0 ? '\x7F' : static_cast<char>((pick(2) ? 'A' : 'a') + letter % 26);
      m.msgNo = std::string("M0") + static_cast<char>(who == 0 ? '1' : '0' + pick(2)) + static_cast<char>('A' + letter);
      m.flightId = who != 0 && pick(20) == 0 ? "AB12#4" : "JL12  ";
      m.etx = etx = pick(40) == 0;
      const int length = who == 0 || pick(4) == 0 ? pick(510) : pick(230);
      m.text.clear();
      for (int i = 0; i < length; ++i) m.text += static_cast<char>(pick(5) == 0 ? pick(128) : 'a' + pick(26));
      const std::string chars = acars_tx::BlockCharacters(m) + "\x11\x22";
      bits.resize(8 * chars.size());
      uint8_t* out = bits.data();
      for (char c : chars) {
        for (int i = 0; i < 8; ++i) *out++ = (static_cast<uint8_t>(c) >> i) & 1;
      }
      bitCount = 8 * static_cast<int>(chars.size() - 3) + 24;
      if (pick(10) == 0) bitCount += pick(64) - 32;
    }
    f.app.SourceTag = "Lch";
    f.Txt.ShowPos = static_cast<flag>(pick(2));
    f.svc.acars->ParseAcarsBlock(f, bits.data(), bits.size(), bitCount,
                                 etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb,
                                 pick(4) ? AcarsSource::Vhf : AcarsSource::Hfdl);
    ASSERT_TRUE(f.app.SourceTag.empty()) << run;
    for (int s = 0; s < AcarsStores::kSlots; ++s) {
      ASSERT_LE(f.acars.AcarsStore.AcarsSlotText(s).size(), AcarsStores::kMaxText) << run;
      ASSERT_LE(f.acars.AcarsStore.UplinkSlotText(s).size(), AcarsStores::kMaxText) << run;
      longestDown = std::max(longestDown, f.acars.AcarsStore.AcarsSlotText(s).size());
      longestUp = std::max(longestUp, f.acars.AcarsStore.UplinkSlotText(s).size());
    }
    for (const std::string& b : f.text.TextBuffers) ASSERT_LT(b.size(), 1000u) << run;
  }
  // The run reached the bounds it is meant to test.
  EXPECT_EQ(longestDown, AcarsStores::kMaxText);
  EXPECT_EQ(longestUp, AcarsStores::kMaxText);
}

}  // namespace
