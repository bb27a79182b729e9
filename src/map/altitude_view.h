#pragma once
// The altitude view under the map: each aircraft at the map's x of its
// current point and at a height by its altitude (0 ft at y 200, 50000 ft
// at y 0), with its track, in the map's colours, passes and filters. An
// aircraft whose map y lies outside the map is left out.
#include "map/aircraft_drawing.h"

// The view's y of an altitude, in 64 bits (imported logs are untrusted).
int AltitudeViewY(int altitude);

// The view's x of a point and its map y: the map's projection, whatever
// the flat map's margin says; false for a point on the far side of the
// globe or a position that is not a number.
bool AltitudeViewPoint(const MapState& map, const MapSettings& settings, double lat, double lon, PixelPoint& pixel);

// An aircraft's pixels in the view, worked out once for all its passes.
struct ProfilePixels {
  int last = -1;
  bool headShown = false;
  PixelPoint head;
  struct Segment {
    bool used = false;  // the start point is drawn
    PixelPoint start;
    bool drawn = false;
    PixelPoint from, to;
  };
  std::vector<Segment> track;  // points 0 .. last - 1, while tracks are shown
};
ProfilePixels ProjectProfileAircraft(const MapState& map, const MapContext& context, const AircraftRecord& record);

// The aircraft's symbol (the side view by its true heading), leader and
// tag at its current point.
void DrawProfileAircraft(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                         int kind, int group, PassOffset offset);
void DrawProfileAircraft(Canvas& canvas, const MapContext& context, const AircraftRecord& record,
                         const ProfilePixels& pixels, int kind, int group, PassOffset offset);
void DrawProfileTrack(Canvas& canvas, const MapState& map, const MapContext& context, const AircraftRecord& record,
                      int kind, int group, PassOffset offset);
void DrawProfileTrack(Canvas& canvas, const MapContext& context, const AircraftRecord& record,
                      const ProfilePixels& pixels, int kind, int group, PassOffset offset);

// DrawAltitudeProfile is declared with the other drawers in map_redraw.h.
