#pragma once
// The main window's controls that the map reads and its commands set, as
// mirror fields: the scale list, the view and overlay buttons, the menu
// marks of airport names and quick buttons, the map-file menu and what the
// aircraft views read. The main window's controls include them.
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

  // The aircraft views: follow the newest aircraft, tracks, the audio
  // monitor, the company selector ("ALL" first), the selection's delete
  // item, the side list and altitude view shown, and the flight label's
  // form (carrier prefix, flight number or registration, leading zeros).
  flag SpeedButton8Down = 0;
  flag SpeedButton16Down = 1, SpeedButton17Down = 0;
  std::vector<std::string> ComboBox2Items{"ALL"};
  int32_t ComboBox2Index = 0;
  flag N10Enabled = 0;
  flag N11Checked = 0, N26Checked = 0;
  flag N21Checked = 1, N24Checked = 1, N25Checked = 0, N28Checked = 1;
};
