#pragma once
// The main window's controls that the map reads and its commands set, as
// mirror fields: the scale list, the view and overlay buttons, the menu
// marks of airport names and quick buttons, and the map-file menu. The
// main window's controls include them.
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings_sections.h"

struct MapControls {
  int32_t ComboBox1Index = 0;  // the scale step; the MapScale setting
  flag SpeedButton2Down = 1;   // globe view
  flag SpeedButton5Down = 0;   // flat view
  // The navigation points: VOR/DME, VORTAC, NDB, waypoints, airports.
  flag SpeedButton21Down = 0, SpeedButton22Down = 0, SpeedButton23Down = 0, SpeedButton24Down = 0;
  flag SpeedButton28Down = 0;
  // The airways: VOR, NDB, NAV.
  flag SpeedButton25Down = 0, SpeedButton26Down = 0, SpeedButton27Down = 0;
  flag N8Checked = 0;                    // airport names
  flag N38Checked = 1;                   // quick-operation buttons on the map
  std::vector<std::string> MapFileMenu;  // the captions of N34's items; MapNo is checked
};
