#include "map/map_redraw.h"

#include "map/map_state.h"

void RequestRedraw(MapState& map, MapLayers layers) { map.PendingRedraw |= layers; }

MapLayers TakeRedrawRequests(MapState& map) {
  const MapLayers layers = map.PendingRedraw;
  map.PendingRedraw = MapLayers();
  return layers;
}

// The map's layers are drawn once the map is built; until then there is
// nothing to draw.
void Redraw(MapState&, MapLayers) {}
