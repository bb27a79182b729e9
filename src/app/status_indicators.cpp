#include "app/status_indicators.h"

#include "app/form1_state.h"

IndicatorPlacement ArrangeStatusIndicators(const Form1State& f, int W) {
  IndicatorPlacement p;
  if (f.exchange.NetConnected) {
    if (f.Net.Server && !f.Net.ServerDec) {
      p.panel5Left = W - 14;
      p.panel2Left = W - 87;
      p.panel1Visible = 0;
      p.panel3Visible = 0;
    } else if (f.Wave.WaveDual != 2) {
      p.panel1Left = W - 14;
      p.panel5Left = W - 22;
      p.panel2Left = W - 94;
      p.panel1Visible = 1;
      p.panel3Visible = 0;
      p.panel5Visible = 1;
    } else {
      p.panel3Left = W - 14;
      p.panel1Left = W - 22;
      p.panel5Left = W - 30;
      p.panel2Left = W - 101;
      p.panel1Visible = 1;
      p.panel3Visible = 1;
      p.panel5Visible = 1;
    }
  } else if (f.Wave.WaveDual != 2) {
    p.panel1Left = W - 14;
    p.panel2Left = W - 86;
    p.panel3Visible = 0;
    p.panel5Visible = 0;
  } else {
    p.panel3Left = W - 14;
    p.panel1Left = W - 22;
    p.panel2Left = W - 94;
    p.panel3Visible = 1;
    p.panel5Visible = 0;
  }
  return p;
}
