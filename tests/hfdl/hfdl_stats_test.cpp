// The reception statistics: counts per mode and the total.
#include <gtest/gtest.h>

#include "app/form1_state.h"
#include "hfdl/reception_stats.h"

namespace {

using Texts = std::array<std::string, 4>;

TEST(HfdlStats, FirstFrames) {
  Form1State form;
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(9), (Texts{"Total", "0", "0", "0.000"}));
  CountFrame(form, 0, false);
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(0), (Texts{"BPSK 300bits/s  1.8s", "1", "0", "100.000"}));
  CountFrame(form, 13, true);
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(7), (Texts{"8PSK 1800bits/s 4.2s", "1", "1", "0.000"}));
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(9), (Texts{"Total", "2", "1", "50.000"}));
}

TEST(HfdlStats, RatioAndTotal) {
  Form1State form;
  int changes = 0;
  form.hfdl.HfdlReceptionStats.Changed = [&] { ++changes; };
  CountFrame(form, 1, false);
  CountFrame(form, 1, true);
  CountFrame(form, 1, false);
  CountFrame(form, 12, false);
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(1), (Texts{"BPSK 600bits/s  1.8s", "3", "1", "66.667"}));
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(9), (Texts{"Total", "4", "1", "75.000"}));
  // Frames from a linked copy and unknown codes count nowhere.
  CountFrame(form, 20, true);
  CountFrame(form, 7, true);
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(9), (Texts{"Total", "4", "1", "75.000"}));
  EXPECT_EQ(changes, 4);
  // VHF ACARS blocks have their own row and join the total.
  CountFrame(form, 30, true);
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(8), (Texts{"MSK  2400bits/s (VHF)", "1", "1", "0.000"}));
  EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(9), (Texts{"Total", "5", "2", "60.000"}));
  const char* captions[10] = {"BPSK 300bits/s  1.8s",  "BPSK 600bits/s  1.8s",
                              "QPSK 1200bits/s 1.8s",  "8PSK 1800bits/s 1.8s",
                              "BPSK 300bits/s  4.2s",  "BPSK 600bits/s  4.2s",
                              "QPSK 1200bits/s 4.2s",  "8PSK 1800bits/s 4.2s",
                              "MSK  2400bits/s (VHF)", "Total"};
  for (int r = 0; r < 10; ++r) EXPECT_EQ(form.hfdl.HfdlReceptionStats.Texts(r)[0], captions[r]);
}

}  // namespace
