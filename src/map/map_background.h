#pragma once
// The background of the map (MapBitmap's picture), drawn whenever it is
// asked for, after the geometry update: the ground (sea, or the globe's
// disc on black), the map file, the grid and its values, the airways of
// lines/airway.txt, the globe's outline and the navigation points of
// points/nav.txt with their names. Every file is read anew; a file that is
// missing leaves out its own layer only.
#include <string_view>

#include "map/map_links.h"
#include "map/map_sink.h"
#include "map/map_state.h"

void DrawMapBackground(MapState& map, const MapContext& context, MapSink& sink);

// A latitude or longitude field of airway.txt or nav.txt: blanks around
// it are allowed, and the rest must be wholly a finite number ("." only,
// whatever the locale).
bool ParseCoordinate(std::string_view field, double& value);
