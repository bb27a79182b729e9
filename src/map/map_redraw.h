#pragma once
// Redraws on demand: a change asks for the layers it affects, and the map
// is drawn once, after the audio block, timer tick or command that asked,
// however many asked meanwhile.
#include "map/map_layers.h"

struct MapState;

// Marks layers to be drawn.
void RequestRedraw(MapState& map, MapLayers layers);
// The layers asked for since the last call; none are pending afterwards.
MapLayers TakeRedrawRequests(MapState& map);

// Draws, as asked and in this order: background, aircraft layer, side
// list, altitude view. Does nothing while RedrawBusy is set.
void Redraw(MapState& map, MapLayers layers);
