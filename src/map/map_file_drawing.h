#pragma once
// The map-file step of the background: the geography of the chosen map
// file, read anew on each call and drawn by its extension (compared
// exactly: ".DAT" is no map file).
//   .dat  polylines, "lon<TAB>lat" points, "# -b" starts a new one;
//   .out  polylines, "lat+lon" points, "$TYPE=" or "-1" starts a new one;
//   .map  "PLGN[=type]" polygons, "LINE" polyline sections, "TERM" ends.
// A .map file is read in passes: the polygons, a second copy of them 360
// degrees further east (flat view only), then the polyline sections. In
// map debug mode every polygon and section is outlined in a cycle of six
// colours and labelled with its line numbers.
#include "app/settings_sections.h"
#include "map/map_sink.h"
#include "map/map_state.h"

void DrawMapFile(MapState& map, const MapSettings& settings, const ColorSettings& colours, MapSink& sink);
