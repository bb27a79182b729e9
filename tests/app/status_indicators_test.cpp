#include "app/status_indicators.h"

#include <gtest/gtest.h>

#include "app/form1_state.h"
#include "app/main_window_layout.h"

namespace {

struct Case {
  int netConnected, server, serverDec, waveDual;
  IndicatorPlacement want;
};

TEST(StatusIndicators, FiveCasesAtWidth1000) {
  const Case cases[] = {
      // Linked server that does not decode: only the network lamp.
      {1, 1, 0, 0, {-1, -1, 986, 913, 0, 0, -1}},
      {1, 0, 1, 1, {-1, 986, 978, 906, 1, 0, 1}},
      {1, 0, 1, 2, {986, 978, 970, 899, 1, 1, 1}},
      {0, 0, 1, 1, {-1, 986, -1, 914, -1, 0, 0}},
      {0, 0, 1, 2, {986, 978, -1, 906, -1, 1, 0}},
  };
  for (const Case& c : cases) {
    Form1State f;
    f.exchange.NetConnected = c.netConnected;
    f.Net.Server = c.server;
    f.Net.ServerDec = c.serverDec;
    f.Wave.WaveDual = c.waveDual;
    IndicatorPlacement p = ArrangeStatusIndicators(f, 1000);
    EXPECT_EQ(p.panel3Left, c.want.panel3Left);
    EXPECT_EQ(p.panel1Left, c.want.panel1Left);
    EXPECT_EQ(p.panel5Left, c.want.panel5Left);
    EXPECT_EQ(p.panel2Left, c.want.panel2Left);
    EXPECT_EQ(p.panel1Visible, c.want.panel1Visible);
    EXPECT_EQ(p.panel3Visible, c.want.panel3Visible);
    EXPECT_EQ(p.panel5Visible, c.want.panel5Visible);
  }
}

TEST(StatusIndicators, PanelsFollowTheMenuMarks) {
  Form1State f;  // side list off, altitude off, modem panel on, tool bar on
  MainWindowLayout l = ComputeMainWindowLayout(f, 990, 702);
  EXPECT_EQ(l.panel4.width, 990);
  EXPECT_EQ(l.panel4.height, 672);
  EXPECT_FALSE(l.panel7.visible);
  EXPECT_TRUE(l.panel8.visible);
  EXPECT_EQ(l.panel8.left, 786);
  f.controls.N11Checked = 1;
  f.controls.N26Checked = 1;
  f.Form.ShowToolBar = 0;
  l = ComputeMainWindowLayout(f, 990, 702);
  EXPECT_EQ(l.panel4.width, 786);
  EXPECT_EQ(l.panel4.height, 500);
  EXPECT_EQ(l.panel7.top, 51);
  EXPECT_EQ(l.panel6.top, 500);
  EXPECT_FALSE(l.panel9.visible);
}

}  // namespace
