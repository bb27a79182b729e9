#pragma once
// The map's view, its selection and its drawing surfaces.
#include <array>
#include <cstdint>
#include <string>

#include "app/settings_sections.h"
#include "map/map_layers.h"
#include "platform/bitmap24.h"
#include "platform/canvas.h"

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
  // An ACARS position report was stored since the aircraft layer last drew
  // (PositionReport.FromAcars as the layer reads it): the newest aircraft
  // shown alone moves to it. The layer clears it.
  flag FromAcars = 0;
  int32_t ClickedTrackPoint = 0;  // the track point of the last selecting click
  PixelPoint MapPressPoint;       // the last press on the map or the altitude view
  int32_t ListPage = 0;           // the side list's page, from 1
  int32_t ListFirstIndex = 0;     // the table index of its first row

  // The projection. The scales follow the scale step; the rest is derived
  // by UpdateMapGeometry from them, the centre (MapCentN, MapCentE,
  // ViewDeg of the settings) and the size of MapBitmap before each redraw.
  double MapScaleX = 0.0;  // pixels per degree of longitude, flat view
  double MapScaleY = 0.0;  // pixels per degree of latitude, flat view
  double MapLeftLon = 0.0;
  double MapTopLat = 0.0;
  double GlobeRadius = 0.0;  // at zoom factor 1
  int32_t GlobeLeft = 0, GlobeTop = 0;
  double MapZoom = 1.0;
  flag GlobeView = 0;
  // The size of the map image Image2. The bitmaps are never smaller than
  // 1 x 1, but the map panel can have no area.
  int32_t ImageWidth = 0, ImageHeight = 0;
  // The sines and cosines of the globe's centre, kept for the centre they
  // were computed for.
  struct GlobeCentre {
    double centE = 0.0, viewDeg = 0.0;
    double sinLon0 = 0.0, cosLon0 = 1.0, sinV = 0.0, cosV = 1.0;
  };
  mutable GlobeCentre Centre;

  std::array<int32_t, 10> GridDegrees = {1, 2, 3, 5, 6, 9, 10, 15, 18, 30};
  flag MapDebug = 0;
  std::string MapFileName;
  std::string AirwayPath;     // lines/airway.txt
  std::string NavPointsPath;  // points/nav.txt
  Bitmap24 SideListBitmap, MapViewBitmap, MapBitmap, AltitudeBitmap;
};
