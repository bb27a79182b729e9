#pragma once
// The main window's map commands: zoom, scale list, flat and globe views,
// overlay switches, panel resizes and the quick-button mark. Each changes
// the view or a switch and asks for exactly the layers that depend on it.
// The mirror fields of toggles already hold their new down state; menu
// marks are the commands' to set.
#include "app/settings_sections.h"
#include "map/map_controls.h"
#include "map/map_state.h"

struct PixelSize {
  int width = 0;
  int height = 0;
};

// Zoom in and out by one step of the scale list (the buttons and the
// wheel); nothing at either end. They set the list's index themselves: the
// list's own command does not run.
void SpeedButton19Click(MapState& map, MapSettings& settings, MapControls& controls);
void SpeedButton20Click(MapState& map, MapSettings& settings, MapControls& controls);
// The step chosen in the list; step 0 centres the map on the equator.
void ComboBox1Change(MapState& map, MapSettings& settings, const MapControls& controls);
// SpeedButton21Click .. SpeedButton28Click: a navigation-point or airway
// switch changed.
void OverlayButtonClick(MapState& map);
// The flat view, from the globe's centre latitude; clicking the view
// already shown leaves both buttons as they were.
void SpeedButton5Click(MapState& map, MapSettings& settings, MapControls& controls);
// The globe, centred on the flat map's latitude unless that is within
// 0.2 degrees of the equator.
void SpeedButton2Click(MapState& map, MapSettings& settings, MapControls& controls);
// The map panel changed size: the scales from the bitmap's size, which is
// still the old one. No redraw.
void Panel4Resize(MapState& map, MapSettings& settings, const MapControls& controls);
// After the window's layout: the bitmaps take the sizes of Image1, Image2
// and Image4, the scales follow Image2 (step 0 centres on the equator) and
// every layer is drawn.
void ResizeMapBitmaps(MapState& map, MapSettings& settings, const MapControls& controls, PixelSize image1,
                      PixelSize image2, PixelSize image4);
// The quick-operation buttons on the map on or off.
void N38Click(MapState& map, MapControls& controls);
// The main window's activation: back from the received-text window, the
// quick buttons are drawn again.
void FormActivateMap(MapState& map, const MapControls& controls, flag& textWindowClosed);
