// The reception statistics: counts per mode and the total.
#include <gtest/gtest.h>

#include "hfdl/reception_stats.h"

namespace {

using Texts = std::array<std::string, 4>;

TEST(HfdlStats, FirstFrames) {
  ReceptionStats stats;
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "0", "0", "0.000"}));
  CountFrame(stats, 0, false);
  EXPECT_EQ(stats.Texts(0), (Texts{"BPSK 300bits/s  1.8s", "1", "0", "100.000"}));
  CountFrame(stats, 13, true);
  EXPECT_EQ(stats.Texts(7), (Texts{"8PSK 1800bits/s 4.2s", "1", "1", "0.000"}));
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "2", "1", "50.000"}));
}

TEST(HfdlStats, RatioAndTotal) {
  ReceptionStats stats;
  int changes = 0;
  stats.Changed = [&] { ++changes; };
  CountFrame(stats, 1, false);
  CountFrame(stats, 1, true);
  CountFrame(stats, 1, false);
  CountFrame(stats, 12, false);
  EXPECT_EQ(stats.Texts(1), (Texts{"BPSK 600bits/s  1.8s", "3", "1", "66.667"}));
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "4", "1", "75.000"}));
  // Frames from a linked copy and unknown codes count nowhere.
  CountFrame(stats, 20, true);
  CountFrame(stats, 7, true);
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "4", "1", "75.000"}));
  EXPECT_EQ(changes, 4);
  // VHF ACARS blocks have their own row and join the total.
  CountFrame(stats, 30, true);
  EXPECT_EQ(stats.Texts(8), (Texts{"MSK  2400bits/s (VHF)", "1", "1", "0.000"}));
  EXPECT_EQ(stats.Texts(9), (Texts{"Total", "5", "2", "60.000"}));
}

}  // namespace
