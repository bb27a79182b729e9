#include "app/main_window_layout.h"

#include "app/form1_state.h"

MainWindowLayout ComputeMainWindowLayout(const Form1State& f, int W, int H) {
  MainWindowLayout l;
  const bool toolBar = f.Form.ShowToolBar != 0;
  l.panel9 = {2, 1, W - 4, 28, toolBar};
  l.panel7.left = W - 204;
  l.panel7.width = 204;
  l.panel8 = {W - 204, toolBar ? 30 : 2, 204, 51, f.controls.N27Checked != 0};
  l.panel6 = {0, H - 202, W, 202, f.controls.N26Checked != 0};
  l.panel4 = {0, toolBar ? 30 : 0, W, 0, true};
  if (f.controls.N11Checked) {
    l.panel7.visible = true;
    l.panel4.width = W - 204;
    l.panel6.width = W - 204;
  } else {
    l.panel7.visible = false;
  }
  if (f.controls.N26Checked) {
    l.panel4.height = toolBar ? H - 232 : H - 202;
  } else {
    l.panel4.height = toolBar ? H - 30 : H;
  }
  if (f.controls.N27Checked) {
    l.panel7.top = toolBar ? 81 : 51;
    l.panel7.height = toolBar ? H - 81 : H - 51;
  } else {
    l.panel7.top = toolBar ? 30 : 0;
    l.panel7.height = toolBar ? H - 30 : H;
  }
  return l;
}
