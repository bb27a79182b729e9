#pragma once
// A flat map of the world at its widest step, the sea alone (no map file,
// no grid), with aircraft placed by pixel in its table, drawn as the
// program draws them.
#include <vector>

#include "app/form1_state.h"
#include "map/map_navigation.h"
#include "map/map_projection.h"
#include "map/map_redraw.h"
#include "support/recording_links.h"
#include "support/test_support.h"

struct ScenePoint {
  int x, y, heading = 900, altitude = 35000;
};

class AircraftScene {
 public:
  explicit AircraftScene(int width = 480, int height = 240, int listHeight = 200) {
    f.controls.SpeedButton2Down = 0;
    f.Map.MapCentE = 0.0;
    f.Map.GridType = 0;
    f.Map.TimeAdjust = 0;
    f.mapView.MapFileName = f.mapView.AirwayPath = f.mapView.NavPointsPath = dir.File("none");
    f.aircraft.Aircraft.Allocate(f.Map.MaxMapPlot, f.Map.MaxPlotData);
    links.aircraft = &f.aircraft;
    links.picsFolder = dir.File("pics");
    ResizeMapBitmaps(f.mapView, f.Map, f.controls, {204, listHeight}, {width, height}, {width, 202});
    UpdateMapGeometry(f.mapView, f.Map, f.controls);
    TakeRedrawRequests(f.mapView);
  }

  // An aircraft whose track runs through these pixels, its head last.
  AircraftRecord& Add(const std::string& flight, const std::vector<ScenePoint>& points) {
    AircraftRecord& r = f.aircraft.Aircraft.Records[static_cast<size_t>(f.aircraft.AircraftCount++)];
    std::snprintf(r.FlightId, sizeof r.FlightId, "%s", flight.c_str());
    std::snprintf(r.Registration, sizeof r.Registration, "JA%.4s", flight.c_str() + 2);
    std::snprintf(r.LastTime, sizeof r.LastTime, "12:34");
    r.FlightNo7Alt = r.FlightNo7 = r.FlightNo6 = r.FlightNo6Alt = flight;
    r.Route4 = r.Route3 = "RJTT>KSFO";
    r.AircraftType = "B767-300";
    r.AccessStation = "ACARS:TOKYO";
    r.AltTrend = 2;
    r.LastPoint = static_cast<int>(points.size()) - 1;
    for (size_t i = 0; i < points.size(); ++i) {
      const ScenePoint& p = points[i];
      const double lat = f.mapView.MapTopLat - (p.y + 0.5) / f.mapView.MapScaleY;
      const double lon = f.mapView.MapLeftLon + (p.x + 0.5) / f.mapView.MapScaleX;
      r.Points[i] = {lat, lon, p.heading, p.altitude, -45, 270, 120, platform::EncodeTime(12, 30 + int(i), 0), 0, 1};
    }
    return r;
  }

  MapContext Context() { return {f.Map, f.Color, f.controls, links, links}; }
  void Draw(MapLayers layers) { Redraw(f.mapView, Context(), layers); }
  const QImage& Map() { return f.mapView.MapViewBitmap.Image(); }

  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
};
