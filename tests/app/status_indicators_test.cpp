// Which status lamps the tool bar shows for the channel mode and the link.
#include "app/status_indicators.h"

#include <gtest/gtest.h>

#include "app/form1_state.h"

namespace {

TEST(StatusIndicators, TheLampsShownFollowTheChannelModeAndTheLink) {
  struct Case {
    int netConnected, server, serverDec, waveDual;
    int panel1, panel3, panel5;  // 1 shown, 0 hidden, -1 left as it is
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0, 0, -1},  // a linked server that does not decode
      {1, 0, 1, 1, 1, 0, 1},
      {1, 0, 1, 2, 1, 1, 1},
      {0, 0, 1, 1, -1, 0, 0},
      {0, 0, 1, 2, -1, 1, 0},
  };
  for (const Case& c : cases) {
    Form1State f;
    f.exchange.NetConnected = c.netConnected;
    f.Net.Server = c.server;
    f.Net.ServerDec = c.serverDec;
    f.Wave.WaveDual = c.waveDual;
    const IndicatorPlacement p = ArrangeStatusIndicators(f, 1000);
    EXPECT_EQ(p.panel1Visible, c.panel1) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel3Visible, c.panel3) << c.netConnected << c.waveDual;
    EXPECT_EQ(p.panel5Visible, c.panel5) << c.netConnected << c.waveDual;
  }
}

}  // namespace
