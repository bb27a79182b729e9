#pragma once
// Redraws on demand: a change asks for the layers it affects, and the map
// is drawn once, after the audio block, timer tick or command that asked,
// however many asked meanwhile.
#include "map/map_layers.h"
#include "map/map_links.h"

struct MapState;

// Marks layers to be drawn.
void RequestRedraw(MapState& map, MapLayers layers);
// The layers asked for since the last call; none are pending afterwards.
MapLayers TakeRedrawRequests(MapState& map);

// Draws, as asked and in this order: background, aircraft layer, side
// list, altitude view. Does nothing while RedrawBusy is set (a request
// made meanwhile is lost) or while the map panel has no area.
void Redraw(MapState& map, const MapContext& context, MapLayers layers);

// The picture the user sees: the background copied into MapViewBitmap,
// the aircraft, their boxes and the quick buttons, handed to the map image
// (aircraft_layer.h). selected: a table index, -1 none.
void DrawMapAircraftLayer(MapState& map, const MapContext& context, int selected);
// The side list and the altitude view (side_list.h, altitude_view.h).
void DrawAircraftList(MapState& map, const MapContext& context, int selected);
void DrawAltitudeProfile(MapState& map, const MapContext& context, int selected);
