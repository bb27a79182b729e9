#pragma once
// The map's view, its selection and its drawing surfaces.
#include <array>
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "map/map_layers.h"
#include "platform/bitmap24.h"

struct MapState {
  flag RedrawBusy = 0;
  // Layers asked for and not yet drawn.
  MapLayers PendingRedraw;
  flag AircraftSelected = 0;
  int32_t SelectedAircraft = 0;
  int32_t LatestAircraft = -1;
  flag LatestAircraftShown = 0;
  flag KeepSelectionOnce = 0;
  flag KeepViewOnce = 0;
  flag AutoShowLatest = 0;
  flag AutoShowAll = 0;
  uint8_t MapViewOptions = 0;  // a set of seven options, bit per option
  double MapScaleX = 0.0;
  double MapScaleY = 0.0;
  std::array<int32_t, 10> GridDegrees = {};
  flag MapDebug = 0;
  int32_t ListPage = 0;
  std::string MapFileName;
  Bitmap24 SideListBitmap, MapViewBitmap, MapBitmap, AltitudeBitmap;
};
