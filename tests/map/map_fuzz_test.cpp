// Damaged map files, airways and navigation points, drawn flat and on the
// globe at both ends of the scale list; any table contents through the
// aircraft layers and the mouse: nothing out of bounds, nothing undefined
// (run under the sanitizers as well), and the next redraw runs.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "app/form1_state.h"
#include "map/map_mouse.h"
#include "map/map_navigation.h"
#include "map/map_redraw.h"
#include "support/recording_links.h"
#include "support/test_support.h"

namespace {

// Lines that look like the files' own, or are not, or are bytes.
std::string AnyFile(std::mt19937& random) {
  static const char* const pieces[] = {
      "PLGN=L\n", "PLGN=S\n", "PLGN=F\n", "PLGN\n", "PLGN=", "LINE\n", "TERM\n", "# -b\n", "$TYPE=COAST\n", "-1\n",
      "\t", "+", ",", "-", ".", "\r\n", "\n", "\r", "1e308", "999999999999999999999", "-0", "180", "-180.5", "90",
      "NaN", "0,", "5,", "6,35,139,", "1,", "2,", "3,", "\xE6\x97\xA5", "\x81", "\xFF"};
  std::string text;
  const int parts = static_cast<int>(random() % 400);
  for (int i = 0; i < parts; ++i) {
    switch (random() % 4) {
      case 0:
        text += pieces[random() % (sizeof pieces / sizeof *pieces)];
        break;
      case 1:
        text += std::to_string(static_cast<int>(random() % 4000) - 2000) + "." + std::to_string(random() % 10000);
        break;
      case 2:
        text += std::string(random() % 200, static_cast<char>('0' + random() % 10));
        break;
      default:
        text += static_cast<char>(random());
    }
  }
  return text;
}

TEST(MapFuzz, DamagedFilesNeverStopTheMap) {
  std::mt19937 random(1515);
  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
  MainControls& c = f.controls;
  c.SpeedButton21Down = c.SpeedButton22Down = c.SpeedButton23Down = c.SpeedButton24Down = 1;
  c.SpeedButton25Down = c.SpeedButton26Down = c.SpeedButton27Down = c.SpeedButton28Down = 1;
  f.Map.GridValue = 1;
  f.mapView.AirwayPath = dir.File("airway.txt");
  f.mapView.NavPointsPath = dir.File("nav.txt");
  const char* extensions[] = {".dat", ".out", ".map"};
  const double centres[] = {139.0, -180.0, 180.0, 0.0, -179.99};
  for (int round = 0; round < 300; ++round) {
    f.mapView.MapFileName = dir.File(std::string("map") + extensions[round % 3]);
    testing_support::WriteFile(f.mapView.MapFileName, AnyFile(random));
    testing_support::WriteFile(f.mapView.AirwayPath, AnyFile(random));
    testing_support::WriteFile(f.mapView.NavPointsPath, AnyFile(random));
    f.mapView.MapDebug = random() % 2;
    f.Map.GridType = static_cast<int>(random() % 5) - 1;
    f.Map.MapCentE = centres[random() % 5];
    for (bool globe : {false, true}) {
      for (int step : {0, 26}) {
        c.SpeedButton2Down = globe ? 1 : 0;
        c.ComboBox1Index = step;
        ResizeMapBitmaps(f.mapView, f.Map, c, {20, 30}, {200, 150}, {200, 40});
        f.Map.MapCentN = static_cast<double>(random() % 181) - 90;
        f.Map.ViewDeg = static_cast<double>(random() % 181) - 90;
        const int shown = links.shown;
        Redraw(f.mapView, {f.Map, f.Color, c, links, links}, MapLayers::All());
        ASSERT_EQ(f.mapView.RedrawBusy, 0);
        Redraw(f.mapView, {f.Map, f.Color, c, links, links}, {MapLayer::Aircraft});
        ASSERT_EQ(links.shown, shown + 2) << round;
      }
    }
  }
}

// Numbers at the edges, and ordinary ones.
double AnyNumber(std::mt19937& r) {
  const double edges[] = {std::nan(""), HUGE_VAL, -1e300, 1e300, -0.0, 180.0, -180.0, 90.0};
  return r() % 4 == 0 ? edges[r() % 8] : static_cast<int>(r() % 800) - 400 + (r() % 1000) / 1000.0;
}
int AnyInt(std::mt19937& r) {
  const int edges[] = {INT32_MIN, INT32_MAX, -1, 0, 361, 900, 80000, 5};
  return r() % 3 == 0 ? edges[r() % 8] : static_cast<int>(r() % 2000) - 1000;
}

TEST(MapFuzz, AnyTableThroughTheAircraftLayersAndTheMouse) {
  std::mt19937 r(1616);
  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
  links.aircraft = &f.aircraft;
  links.picsFolder = dir.path();
  testing_support::WriteFile(dir.File("noimage.jpg"), std::string(300, '\xFF'));
  f.Map.MaxMapPlot = 8;
  f.Map.MaxPlotData = 6;
  f.aircraft.Aircraft.Allocate(8, 6);
  f.mapView.MapFileName = f.mapView.AirwayPath = f.mapView.NavPointsPath = dir.File("none");
  MainControls& c = f.controls;
  MapState& m = f.mapView;
  c.N11Checked = c.N26Checked = 1;
  for (int round = 0; round < 400; ++round) {
    for (AircraftRecord& a : f.aircraft.Aircraft.Records) {
      for (char* field : {a.FlightId, a.Registration, a.LastTime}) {
        for (int k = 0; k < 7; ++k) field[k] = static_cast<char>(r());
      }
      for (int* v : {&a.Age, &a.LastPoint, &a.TagPos, &a.AltTrend}) *v = AnyInt(r) % 10;
      a.Visible = r() % 2;
      a.Route3 = a.Route4 = a.AircraftType = a.FlightNo7Alt = a.FlightNo6 =
          std::string(r() % 40, static_cast<char>(r()));
      for (TrackPoint& p : a.Points) {
        p = {AnyNumber(r), AnyNumber(r), AnyInt(r),    AnyInt(r),    AnyInt(r),
             AnyInt(r),    AnyInt(r),    AnyNumber(r), AnyNumber(r), AnyInt(r)};
      }
    }
    for (int* v : {&f.aircraft.AircraftCount, &m.SelectedAircraft, &m.LatestAircraft, &c.ComboBox2Index}) {
      *v = AnyInt(r) % 12;
    }
    for (int* v : {&m.ClickedTrackPoint, &m.ListPage, &f.Map.PlotType, &f.Map.SymbolSize, &f.Map.SubDispType}) {
      *v = AnyInt(r) % 5;
    }
    for (flag* v : {&m.AircraftSelected, &m.FromAcars, &m.AutoShowLatest, &c.SpeedButton8Down, &c.SpeedButton16Down,
                    &c.SpeedButton2Down, &f.Map.MapSymbol, &f.Map.HideText, &f.Map.TrackMark, &f.Map.LineType,
                    &f.Map.TimeAdjust}) {
      *v = r() % 2;
    }
    m.MapViewOptions = static_cast<uint8_t>(r());
    ResizeMapBitmaps(m, f.Map, c, {60, static_cast<int>(r() % 80)}, {300, 200}, {300, 202});
    Redraw(m, {f.Map, f.Color, c, links, links}, MapLayers::All());
    ASSERT_EQ(m.RedrawBusy, 0);
    const MapMouseContext mouse{m, f.Map, c, links, links};
    const MouseEventAt at{static_cast<MouseButton>(r() % 4), static_cast<uint8_t>(r()), AnyInt(r) % 400,
                          AnyInt(r) % 400};
    Image2MouseDown(m, at);
    for (auto handler : {Image1MouseUp, Image2MouseUp, Image4MouseUp}) handler(mouse, at);
    TakeRedrawRequests(m);
  }
}

}  // namespace
