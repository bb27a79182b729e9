#pragma once
// The states of the main window's controls that settings and GUI-free code
// read. TForm1 mirrors them onto its widgets whenever asked to, and its
// handlers update them before they run.
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings_sections.h"
#include "map/map_controls.h"

struct MainControls : MapControls {
  flag SpeedButton1Down = 0, SpeedButton1Visible = 0;
  flag SpeedButton9Down = 0, SpeedButton10Down = 0, SpeedButton11Down = 0;
  flag N6Enabled = 1;
  flag N27Checked = 1;
  flag N12Visible = 0, N13Visible = 0, N14Visible = 0;
  // Off while a log is imported: the import commands and the mouse on the
  // map's pictures (Image2, Image1, Image4).
  flag N16Enabled = 1, DATLOG1Enabled = 1, MapImagesEnabled = 1;
  flag Timer3Enabled = 0;
  int32_t Timer3Interval = 30000;
  std::string Caption = "Skarvel";
  int32_t ColorDialogTarget = 0;         // 0 the text window, 1 the list window
};
