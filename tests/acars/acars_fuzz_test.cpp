// Random blocks of every road through the program's road of decoded
// messages: nothing may fault, a slot never holds more than 5999 characters
// and the text buffers stay below their limit. Built and run under the
// sanitizers.
#include <gtest/gtest.h>

#include <cstdint>

#include "acars/test_messages.h"
#include "app/ground_names.h"
#include "support/reception_rig.h"

namespace {

TEST(AcarsParserFuzz, RandomBlocksKeepTheStoresInBounds) {
  testing_support::ReceptionRig rig;
  Form1State& f = rig.form();
  for (size_t k = 0; k < 28; ++k) f.acars.AcarsStationNames[k] = kDefaultAcarsStationNames[k];
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
  auto characters = [&](int count, int range) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>(pick(range));
    return s;
  };
  const AcarsBearer bearers[] = {AcarsBearer::Vhf, AcarsBearer::Hfdl, AcarsBearer::Link, AcarsBearer::Import,
                                 AcarsBearer::Dde};
  const char* addresses[] = {"JA8089", ".......", "N12345", "Uplink", "", "A/../.."};
  // Per address the block that would come next, so that messages grow,
  // wrap Z to A and overflow now and then.
  int nextLetter[6][2] = {};
  size_t longestDown = 0, longestUp = 0;
  const int kRuns = 100000;
  for (int run = 0; run < kRuns; ++run) {
    AcarsBlock block;
    block.End = pick(2) ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
    f.Txt.TxtLog = 0;
    if (pick(8) == 0) {
      // Noise of any length, eight-bit characters too.
      block.Characters = characters(pick(300), 256);
      block.CheckSequence = characters(pick(3), 256);
    } else {
      acars_tx::Message m;
      m.downlink = pick(2) == 0;
      // Modes "2" and "`" go both ways: their block id tells.
      m.mode = m.downlink ? "2ABZ`\x01"[pick(6)] : "abz{\x7F" "2`"[pick(7)];
      const int who = pick(6);
      m.registration = addresses[who];
      m.label = who != 0 && pick(10) == 0 ? "SQ" : pick(10) == 0 ? "Q0" : "H1";
      // The first address keeps its blocks in sequence; the others mostly.
      int& following = nextLetter[who][m.downlink];
      const int letter = who == 0 || pick(4) ? following : pick(27);
      following = (letter + 1) % 26;
      m.blockId = m.downlink ? static_cast<char>('0' + letter % 10)
                             : static_cast<char>((pick(2) ? 'A' : 'a') + letter % 26);
      if (who != 0 && pick(32) == 0) m.blockId = '\x7F';
      m.msgNo = std::string("M0") + static_cast<char>(who == 0 ? '1' : '0' + pick(2)) + static_cast<char>('A' + letter);
      m.flightId = who != 0 && pick(20) == 0 ? "AB12#4" : "JL12  ";
      m.etx = pick(40) == 0;
      block.End = m.etx ? AcarsEndFlag::Etx : AcarsEndFlag::Etb;
      const int length = who == 0 || pick(4) == 0 ? pick(510) : pick(230);
      for (int i = 0; i < length; ++i) m.text += static_cast<char>(pick(5) == 0 ? pick(128) : 'a' + pick(26));
      block.Characters = acars_tx::BlockCharacters(m).substr(kAcarsSyncLength);
      block.CheckSequence = characters(2, 128);
      // Now and then cut short or run on.
      const int size = static_cast<int>(block.Characters.size());
      if (pick(10) == 0) block.Characters.resize(static_cast<size_t>(pick(size + 8)));
      // Now and then the per-aircraft logs, for the names they are made of.
      if (pick(64) == 0) {
        f.Txt.TxtLog = 1;
        f.Txt.TxtSaveType = pick(3);
      }
    }
    block.Bearer = bearers[pick(5)];
    block.Channel = pick(2);
    block.SourceTag = block.Channel ? "Rch" : "Lch";
    f.Txt.ShowPos = static_cast<flag>(pick(2));
    f.exchange.NetConnected = static_cast<flag>(pick(4) == 0);
    if (block.Bearer == AcarsBearer::Vhf) {
      rig.road().OwnAcarsBlock(block);
    } else {
      rig.road().AcarsBlockReceived(block);
    }
    for (const AcarsMessage& m : rig.sink().messages) ASSERT_LE(m.Text.size(), AcarsStores::kMaxText) << run;
    rig.sink().Clear();
    for (int s = 0; s < AcarsStores::kSlots; ++s) {
      ASSERT_LE(f.acars.AcarsStore.AcarsSlotText(s).size(), AcarsStores::kMaxText) << run;
      ASSERT_LE(f.acars.AcarsStore.UplinkSlotText(s).size(), AcarsStores::kMaxText) << run;
      longestDown = std::max(longestDown, f.acars.AcarsStore.AcarsSlotText(s).size());
      longestUp = std::max(longestUp, f.acars.AcarsStore.UplinkSlotText(s).size());
    }
    for (int kind : {kAcarsRaw, kAcarsPrc, kAcarsMes}) ASSERT_LT(f.text.Buffer(kind).size(), 1000u) << run;
  }
  // The run reached the bounds it is meant to test.
  EXPECT_EQ(longestDown, AcarsStores::kMaxText);
  EXPECT_EQ(longestUp, AcarsStores::kMaxText);
}

}  // namespace
