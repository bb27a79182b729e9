#include "map/map_redraw.h"

#include "map/canvas_map_sink.h"
#include "map/map_background.h"
#include "map/map_projection.h"
#include "map/map_state.h"

namespace {

// Whatever a drawer does, even throw, the next redraw can run.
class BusyGuard {
 public:
  explicit BusyGuard(MapState& map) : map_(map) { map_.RedrawBusy = 1; }
  ~BusyGuard() { map_.RedrawBusy = 0; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  MapState& map_;
};

}  // namespace

void RequestRedraw(MapState& map, MapLayers layers) { map.PendingRedraw |= layers; }

MapLayers TakeRedrawRequests(MapState& map) {
  const MapLayers layers = map.PendingRedraw;
  map.PendingRedraw = MapLayers();
  return layers;
}

void Redraw(MapState& map, const MapContext& context, MapLayers layers) {
  if (map.RedrawBusy) return;
  // Without a map panel the scales are not known.
  if (map.ImageWidth <= 0 || map.ImageHeight <= 0 || map.MapBitmap.IsNull()) return;
  BusyGuard busy(map);
  UpdateMapGeometry(map, context.Map, context.Controls);
  if (layers.Has(MapLayer::Background)) {
    Canvas canvas(map.MapBitmap);
    CanvasMapSink sink(canvas, map, context.Map);
    DrawMapBackground(map, context, sink);
  }
  const int selected = map.AircraftSelected ? map.SelectedAircraft : -1;
  if (layers.Has(MapLayer::Aircraft)) DrawMapAircraftLayer(map, context, selected);
  if (layers.Has(MapLayer::SideList)) DrawAircraftList(map, context, selected);
  if (layers.Has(MapLayer::Altitude)) DrawAltitudeProfile(map, context, selected);
}
