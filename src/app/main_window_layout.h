#pragma once
// The main window's panels for a client area of W x H: the tool bar, the
// map, the side list, the altitude view and the modem/time panel.
struct Form1State;

struct PanelRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
};

struct MainWindowLayout {
  PanelRect panel9;  // tool bar
  PanelRect panel4;  // map
  PanelRect panel6;  // altitude view
  PanelRect panel7;  // side list
  PanelRect panel8;  // modem and time
};

MainWindowLayout ComputeMainWindowLayout(const Form1State& form, int W, int H);
