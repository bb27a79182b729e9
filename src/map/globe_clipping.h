#pragma once
// A filled ring of a map file on the globe: the part of its inside that
// lies on the near side. Where the ring goes behind the globe and comes
// back, the piece is closed along the rim in the ring's own sense of
// turning, up to the next place where the ring comes back; so its inside
// stays inside however often it crosses the horizon. Edges are taken as
// great circles, which they are near enough for a map file's short steps
// (and exactly along a meridian).
#include <vector>

#include "map/map_projection.h"

struct LonLat {
  double lon, lat;
};

// A point of the unit disc: X east, Y down.
struct DiscPoint {
  double X, Y;
};

// The outlines to fill for a ring, given as read (ring) and as the globe
// sees it (view, point by point), its edges taken the short way:
// - a ring wholly on the near side is its own outline, as drawn before;
// - one wholly behind gives nothing: what it encloses lies behind too;
// - any other gives its near-side pieces closed along the rim, whose arcs
//   have points at most rimStep radians apart. Its inside is what it
//   encloses on the map (so either winding will do), or for a ring round
//   a pole the cap of the pole nearer its points; a ring without area
//   gives nothing.
// outlines is overwritten.
void NearSideOutlines(const std::vector<LonLat>& ring, const std::vector<GlobePoint>& view, double rimStep,
                      std::vector<std::vector<DiscPoint>>& outlines);

// The largest angle between two points of a rim arc that keeps the arc
// within half a pixel of the circle of radius pixels.
double RimStep(double radius);
