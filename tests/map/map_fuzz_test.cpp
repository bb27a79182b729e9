// Damaged map files, airways and navigation points and any table contents,
// drawn flat and on the globe at both ends of the scale list, through
// every layer and the mouse: nothing out of bounds, nothing undefined (run
// under the sanitizers as well), and the next redraw runs.
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
std::string AnyFile(std::mt19937& r) {
  static const char* const pieces[] = {
      "PLGN=L\n", "PLGN=S\n", "PLGN=F\n", "PLGN\n", "PLGN=", "LINE\n", "TERM\n", "# -b\n", "$TYPE=COAST\n", "-1\n",
      "\t", "+", ",", "-", ".", "\r\n", "\n", "\r", "1e308", "999999999999999999999", "-0", "180", "-180.5", "90",
      "NaN", "0,", "5,", "6,35,139,", "1,", "2,", "3,", "\xE6\x97\xA5", "\x81", "\xFF"};
  std::string text;
  for (int i = static_cast<int>(r() % 400); i > 0; --i) {
    const unsigned kind = r() % 4;
    if (kind == 0) text += pieces[r() % (sizeof pieces / sizeof *pieces)];
    if (kind == 1) text += std::to_string(static_cast<int>(r() % 4000) - 2000) + "." + std::to_string(r() % 10000);
    if (kind == 2) text += std::string(r() % 200, static_cast<char>('0' + r() % 10));
    if (kind == 3) text += static_cast<char>(r());
  }
  return text;
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

TEST(MapFuzz, DamagedFilesAndAnyTableNeverStopTheMap) {
  std::mt19937 r(1515);
  testing_support::TempDir dir;
  Form1State f;
  testing_support::RecordingMapLinks links;
  links.aircraft = &f.aircraft;
  links.picsFolder = dir.path();
  testing_support::WriteFile(dir.File("noimage.jpg"), std::string(300, '\xFF'));
  f.Map.MaxMapPlot = 8;
  f.Map.MaxPlotData = 6;
  f.aircraft.Aircraft.Allocate(8, 6);
  MainControls& c = f.controls;
  MapState& m = f.mapView;
  c.SpeedButton21Down = c.SpeedButton22Down = c.SpeedButton23Down = c.SpeedButton24Down = 1;
  c.SpeedButton25Down = c.SpeedButton26Down = c.SpeedButton27Down = c.SpeedButton28Down = 1;
  c.N11Checked = c.N26Checked = 1;
  f.Map.GridValue = 1;
  m.AirwayPath = dir.File("airway.txt");
  m.NavPointsPath = dir.File("nav.txt");
  const char* extensions[] = {".dat", ".out", ".map"};
  const double centres[] = {139.0, -180.0, 180.0, 0.0, -179.99};
  for (int round = 0; round < 400; ++round) {
    m.MapFileName = dir.File(std::string("map") + extensions[round % 3]);
    for (const std::string& file : {m.MapFileName, m.AirwayPath, m.NavPointsPath}) {
      testing_support::WriteFile(file, AnyFile(r));
    }
    m.MapDebug = r() % 2;
    f.Map.GridType = static_cast<int>(r() % 5) - 1;
    f.Map.MapCentE = centres[r() % 5];
    for (AircraftRecord& a : f.aircraft.Aircraft.Records) {
      for (char* field : {a.FlightId, a.Registration, a.LastTime}) {
        for (int k = 0; k < 7; ++k) field[k] = static_cast<char>(r());
      }
      for (int* v : {&a.Age, &a.LastPoint, &a.TagPos, &a.AltTrend}) *v = AnyInt(r) % 10;
      a.Visible = r() % 2;
      a.Route3 = a.Route4 = a.AircraftType = a.FlightNo7Alt = a.FlightNo6 = std::string(r() % 40, char(r()));
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
                    &f.Map.MapSymbol, &f.Map.HideText, &f.Map.TrackMark, &f.Map.LineType, &f.Map.TimeAdjust}) {
      *v = r() % 2;
    }
    m.MapViewOptions = static_cast<uint8_t>(r());
    for (bool globe : {false, true}) {
      c.SpeedButton2Down = globe ? 1 : 0;
      c.ComboBox1Index = r() % 2 ? 26 : 0;
      ResizeMapBitmaps(m, f.Map, c, {60, static_cast<int>(r() % 80)}, {200, 150}, {200, 40});
      f.Map.MapCentN = static_cast<double>(r() % 181) - 90;
      f.Map.ViewDeg = static_cast<double>(r() % 181) - 90;
      const int shown = links.shown;
      Redraw(m, {f.Map, f.Color, c, links, links}, MapLayers::All());
      ASSERT_EQ(m.RedrawBusy, 0);
      Redraw(m, {f.Map, f.Color, c, links, links}, {MapLayer::Aircraft});
      ASSERT_EQ(links.shown, shown + 2) << round;
      const MapMouseContext mouse{m, f.Map, c, links, links};
      const MouseEventAt at{static_cast<MouseButton>(r() % 4), static_cast<uint8_t>(r()), AnyInt(r) % 400,
                            AnyInt(r) % 400};
      Image2MouseDown(m, at);
      for (auto handler : {Image1MouseUp, Image2MouseUp, Image4MouseUp}) handler(mouse, at);
      TakeRedrawRequests(m);
    }
  }
}

}  // namespace
