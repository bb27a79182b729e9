// The duplicate filters and assembly slots: ring sizes, slot reuse, block
// sequences and the bounds on what a slot holds.
#include "acars/acars_stores.h"

#include <gtest/gtest.h>

#include "acars/parser_fixture.h"

namespace {

TEST(AcarsStores, DownlinkRepeatsAreTheLastNumberOfTheLast500Registrations) {
  AcarsStores s;
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M01A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M01A"), 1);
  for (int i = 1; i < 500; ++i) EXPECT_EQ(s.CheckAcarsDuplicate("R" + std::to_string(i), "M01A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M01A"), 1);
  // The 501st registration overwrites entry 0.
  EXPECT_EQ(s.CheckAcarsDuplicate("NEWONE", "M01A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M01A"), 0);
  // Another number replaces the last; seven characters are compared.
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M02A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000", "M01A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000XY", "M01A"), 0);
  EXPECT_EQ(s.CheckAcarsDuplicate("JA0000XZ", "M01A"), 1);
}

TEST(AcarsStores, DownlinkSlotsFollowTheBlockLetter) {
  AcarsStores s;
  s.StartAcarsBlockSlot("JA8089", "M01A", "AAA");
  const int slot = s.FindAcarsBlockSlot("JA8089");
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(s.AcarsBlockSlotMatches(slot, "M01C"), 1);
  EXPECT_EQ(s.AcarsBlockSlotMatches(slot, "M02B"), 0);
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01C", "M01CCCC"), 0);
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01B", "M01BBBB"), 1);
  // A continuation of fewer than 4 characters brings nothing.
  EXPECT_EQ(s.AppendAcarsBlock(slot, "M01C", "M0"), 1);
  EXPECT_EQ(s.AcarsSlotText(slot), "AAABBB");
  s.FreeAcarsBlockSlot(slot);
  EXPECT_EQ(s.FindAcarsBlockSlot("JA8089"), AcarsStores::kNoSlot);
}

TEST(AcarsStores, TwentyFirstOpenMessageReusesSlotZero) {
  AcarsStores s;
  for (int i = 0; i < 20; ++i) {
    s.StartAcarsBlockSlot("D" + std::to_string(i), "M01A", "text");
    s.StartUplinkBlockSlot("U" + std::to_string(i), 'A', "text");
  }
  EXPECT_EQ(s.FindAcarsBlockSlot("D0"), 0);
  s.StartAcarsBlockSlot("D20", "M01A", "text");
  s.StartUplinkBlockSlot("U20", 'A', "text");
  EXPECT_EQ(s.FindAcarsBlockSlot("D20"), 0);
  EXPECT_EQ(s.FindAcarsBlockSlot("D0"), AcarsStores::kNoSlot);
  EXPECT_EQ(s.FindUplinkBlockSlot("U20"), 0);
  EXPECT_EQ(s.FindUplinkBlockSlot("U0"), AcarsStores::kNoSlot);
}

TEST(AcarsStores, UplinkIdsRunAcrossCaseAndWrapFromZToA) {
  AcarsStores s;
  s.StartUplinkBlockSlot("JA8089", 'A', "a");
  const int slot = s.FindUplinkBlockSlot("JA8089");
  EXPECT_EQ(s.AppendUplinkBlock(slot, 'b', "b"), 1);
  EXPECT_EQ(s.AppendUplinkBlock(slot, 'C', "c"), 1);
  EXPECT_EQ(s.AppendUplinkBlock(slot, 'C', "c"), 1);  // the same block again
  EXPECT_EQ(s.UplinkSlotText(slot), "abc");
  EXPECT_EQ(s.AppendUplinkBlock(slot, 'E', "e"), 0);

  s.StartUplinkBlockSlot("JA0001", 'Z', "z");
  const int z = s.FindUplinkBlockSlot("JA0001");
  EXPECT_EQ(s.AppendUplinkBlock(z, 'A', "a"), 1);
  s.StartUplinkBlockSlot("JA0002", 'y', "y");
  const int y = s.FindUplinkBlockSlot("JA0002");
  EXPECT_EQ(s.AppendUplinkBlock(y, 'z', "z"), 1);
  EXPECT_EQ(s.AppendUplinkBlock(y, 'a', "a"), 1);
  EXPECT_EQ(s.UplinkSlotText(y), "yza");
}

TEST(AcarsStores, UplinkDuplicateFilterExceptForSq) {
  AcarsStores s;
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'A'), 0);
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'A'), 1);
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'B'), 0);
  EXPECT_EQ(s.CheckUplinkDuplicate("Uplink", 'A'), 0);
  EXPECT_EQ(s.CheckUplinkDuplicate("Uplink", 'A'), 0);
  for (int i = 0; i < 100; ++i) s.CheckUplinkDuplicate("U" + std::to_string(i), 'A');
  EXPECT_EQ(s.CheckUplinkDuplicate("JA8089", 'B'), 0);
}

class AcarsStoresThroughTheParser : public ParserTest {};

TEST_F(AcarsStoresThroughTheParser, EndlessUplinkStopsAt5999Characters) {
  const std::string text(220, 'x');
  for (int i = 0; i < 39; ++i) Receive(Up(static_cast<char>('A' + i % 26), text, false));
  const int slot = f.acars.AcarsStore.FindUplinkBlockSlot("JA8089");
  ASSERT_NE(slot, AcarsStores::kNoSlot);
  EXPECT_EQ(f.acars.AcarsStore.UplinkSlotText(slot).size(), 5999u);
  Receive(Up(static_cast<char>('A' + 39 % 26), "that is all", true));
  EXPECT_EQ(f.acars.AcarsStore.FindUplinkBlockSlot("JA8089"), AcarsStores::kNoSlot);
  // The message still comes out, with what fitted.
  const std::string shown = "MODE:a   \r\n" + std::string(5999, 'x') + "\r\n";
  EXPECT_NE(Mes().find(shown), std::string::npos);
}

TEST_F(AcarsStoresThroughTheParser, LongDownlinkStopsAt5999Characters) {
  Receive(Down(std::string(210, 'a'), "M01A", false));
  for (int i = 1; i < 40; ++i) {
    const std::string msgNo = std::string("M01") + static_cast<char>('A' + i);
    Receive(Down(msgNo + std::string(206, 'b'), msgNo, i == 39));
  }
  EXPECT_NE(Mes().find(std::string(210, 'a') + std::string(5999 - 210, 'b') + "\r\n"), std::string::npos);
  EXPECT_EQ(Mes().find(std::string(5999 - 210 + 1, 'b')), std::string::npos);
}

TEST_F(AcarsStoresThroughTheParser, AllDotsUplinkAddressKeepsItsText) {
  Receive(Up('A', "first half ", false, "C1", "......."));
  Receive(Up('B', "second half", true, "C1", "......."));
  EXPECT_EQ(Last().Completion, AcarsCompletion::Assembled);
  EXPECT_NE(Mes().find("NARITA  ()          [C1:B] MODE:a   \r\nfirst half second half\r\n"), std::string::npos);
}

}  // namespace
