#pragma once
// The mouse on the three aircraft views: a click selects an aircraft (with
// Ctrl on the map, moves its tag), a drag pans the map, the side list's
// corners page, and the quick buttons on the map run their commands. The
// handlers only change state and ask for the layers that changed; the main
// window's event filter hands them the events.
#include <cstdint>

#include "map/map_links.h"
#include "map/map_state.h"

enum class MouseButton { Left, Right, Middle, Other };

// A press or release: the button that changed, the shift state (the
// MapViewOptions bits of the modifiers and the buttons still held) and
// the pixel.
struct MouseEventAt {
  MouseButton button = MouseButton::Left;
  uint8_t shift = 0;
  int x = 0, y = 0;
};

// What the handlers change: the map's state and settings, the mirrors of
// the main window's controls (applied afterwards without their handlers)
// and the links.
struct MapMouseContext {
  MapState& map;
  MapSettings& settings;
  MapControls& controls;
  MapWindowLink& window;
  MapAircraftLink& aircraft;
};

// A press of any button on the map or the altitude view.
void Image2MouseDown(MapState& map, const MouseEventAt& e);
void Image4MouseDown(MapState& map, const MouseEventAt& e);
void Image1MouseUp(const MapMouseContext& c, const MouseEventAt& e);
void Image2MouseUp(const MapMouseContext& c, const MouseEventAt& e);
void Image4MouseUp(const MapMouseContext& c, const MouseEventAt& e);

// The first aircraft (and its track point) within the click's reach.
struct AircraftHit {
  int aircraft = -1;
  int point = 0;
};
// The map: a point within 9 pixels in x and y; every point of the track
// while tracks are shown, else the head. Points on the far side of the
// globe are not hit.
AircraftHit FindMapHit(const MapState& map, const MapSettings& settings, const MapControls& controls,
                       MapAircraftLink& aircraft, int x, int y);
// The altitude view: within 4 pixels, every point of each track.
AircraftHit FindAltitudeHit(const MapState& map, const MapSettings& settings, MapAircraftLink& aircraft, int x, int y);
