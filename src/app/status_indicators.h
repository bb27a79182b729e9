#pragma once
// Where the status lamps stand at the right end of the tool bar.
struct Form1State;

struct IndicatorPlacement {
  // Left edges; -1 leaves the component where it is.
  int panel3Left = -1, panel1Left = -1, panel5Left = -1, panel2Left = -1;
  // Visibility; -1 leaves it as it is.
  int panel1Visible = -1, panel3Visible = -1, panel5Visible = -1;
};

// W is the client width of the main window.
IndicatorPlacement ArrangeStatusIndicators(const Form1State& form, int clientWidth);
