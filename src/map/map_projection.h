#pragma once
// Latitude and longitude to pixels of the map: the flat (equirectangular)
// view and the globe (orthographic, seen from above latitude -ViewDeg and
// longitude MapCentE). Every floating value becomes a pixel by truncation
// toward zero; every halving of an integer size is an integer division.
#include "app/settings_sections.h"
#include "map/map_controls.h"
#include "map/map_state.h"
#include "platform/canvas.h"

double DegToRad(double degrees);

// Truncates toward zero into out, saturating at +-2^30 (legitimate values
// stay near 2e6 even at zoom x500). False for NaN and the infinities: such
// a point is not visible, and a segment or polygon point with one is left
// out.
bool TruncToPixel(double value, int32_t& out);

// Before each redraw: the flat map's left and top edges, the globe's
// radius and square, the zoom factor of the scale step and the view.
void UpdateMapGeometry(MapState& map, const MapSettings& settings, const MapControls& controls);

// True when the point is visible on bitmap: in the flat view within 500
// pixels of its edges, on the globe on the near side (the limb included).
// The point is written either way.
bool ProjectLatLon(const MapState& map, const MapSettings& settings, const Bitmap24& bitmap, double lat, double lon,
                   PixelPoint& out);

// The globe's view of a point on the unit sphere: X east, Y south (screen
// down), Z toward the viewer; the near side is Z >= 0.
struct GlobePoint {
  double X, Y, Z;
};
GlobePoint GlobeViewOf(const MapState& map, const MapSettings& settings, double lat, double lon);
// The pixel of the point (X, Y) of the unit disc; false when a value is
// not a number.
bool GlobePixel(const MapState& map, double X, double Y, PixelPoint& out);

enum class MapPointSide { Visible, Hidden, Unusable };
// A point of a map-file polygon. Flat: the true pixel (the polygon is
// clipped afterwards), 360 degrees further east for the second copy;
// always Visible. A MapLeftLon below -180 is raised by 360 in the state
// until the next geometry update. Globe: a point on the far side is moved
// onto the rim in its own direction and is Hidden. Unusable: a value that
// is not a number.
MapPointSide ProjectMapPoint(MapState& map, const MapSettings& settings, double lat, double lon, bool secondCopy,
                             PixelPoint& out);
// The globe's part of it, for a point already seen from the globe.
MapPointSide GlobeMapPoint(const MapState& map, const GlobePoint& p, PixelPoint& out);

// The on-screen direction (0 up, clockwise, 0..359) of a heading at a
// position whose pixel is (x, y); 0 when a point 10 / zoom degrees along
// it is not visible.
int ScreenHeading(const MapState& map, const MapSettings& settings, int heading, double lat, double lon, int x, int y);

// The date-line step of a map segment: when its ends lie more than 180
// degrees apart (the difference truncated), each negative longitude gains
// 360, in the caller's pair.
void DateLineStep(double lon[2]);

// The pixels of one map segment after the date-line step (which changes
// lon); false when it is not drawn: an end on the far side of the globe
// or a value that is not a number.
bool MapSegmentPixels(const MapState& map, const MapSettings& settings, const double lat[2], double lon[2],
                      PixelPoint& from, PixelPoint& to);
// Draws that segment, moved by (dx, dy), with the canvas's pen.
void DrawMapPolyline(const MapState& map, const MapSettings& settings, Canvas& canvas, const double lat[2],
                     double lon[2], int dx, int dy);

// The altitude view's segment: x as on the map, y = 200 - altitude * 200
// / 50000 feet. Not drawn when an altitude is 80000 or above, or on the
// globe when an end is on the far side.
bool ProfileSegmentPixels(const MapState& map, const MapSettings& settings, const double lat[2], double lon[2],
                          const int altitude[2], PixelPoint& from, PixelPoint& to);
void DrawProfileSegment(const MapState& map, const MapSettings& settings, Canvas& canvas, const double lat[2],
                        double lon[2], const int altitude[2], int dx, int dy);

// The scales of scale step k: from the size of MapBitmap, or at step 0
// from the map image's. A map panel without area keeps the scales.
void ApplyScaleRule(MapState& map, int step);
// Step 0 of the map panel's own resize: from the size of MapBitmap.
void ApplyPanelScaleRule(MapState& map, int step);
// The flat map never shows beyond the poles; the lower limit wins.
void ApplyLatitudeRule(const MapState& map, MapSettings& settings);
