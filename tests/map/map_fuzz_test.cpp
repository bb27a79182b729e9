// Damaged map files, airways and navigation points, drawn flat and on the
// globe at both ends of the scale list; any table contents through the
// aircraft layers and the mouse; any bytes as a photograph: nothing out of
// bounds, nothing undefined (run under the sanitizers as well), and the
// next redraw runs.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "app/form1_state.h"
#include "map/map_mouse.h"
#include "map/map_navigation.h"
#include "map/map_redraw.h"
#include "platform/jpeg_loader.h"
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
  for (flag* down : {&c.SpeedButton21Down, &c.SpeedButton22Down, &c.SpeedButton23Down, &c.SpeedButton24Down,
                     &c.SpeedButton25Down, &c.SpeedButton26Down, &c.SpeedButton27Down, &c.SpeedButton28Down}) {
    *down = 1;
  }
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

double AnyNumber(std::mt19937& random) {
  const double special[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1e300,
                            1e300, -0.0, 180.0, -180.0, 90.0};
  if (random() % 4 == 0) return special[random() % 8];
  return static_cast<double>(static_cast<int>(random() % 800) - 400) + (random() % 1000) / 1000.0;
}

int AnyInt(std::mt19937& random) {
  const int special[] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), -1, 0, 361, 900, 80000, 5};
  if (random() % 3 == 0) return special[random() % 8];
  return static_cast<int>(random() % 2000) - 1000;
}

std::string AnyText(std::mt19937& random) {
  std::string text(random() % 40, ' ');
  for (char& c : text) c = static_cast<char>(random());
  return text;
}

TEST(MapFuzz, AnyTableThroughTheAircraftLayersAndTheMouse) {
  // Texts are drawn only with the toolkit's fonts.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "map_fuzz_tests";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  std::mt19937 random(1616);
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
  c.N11Checked = c.N26Checked = 1;
  for (int round = 0; round < 400; ++round) {
    for (AircraftRecord& r : f.aircraft.Aircraft.Records) {
      for (char* field : {r.FlightId, r.Registration, r.LastTime}) {
        for (int k = 0; k < 7; ++k) field[k] = static_cast<char>(random());
      }
      r.Age = AnyInt(random) % 3;
      r.LastPoint = AnyInt(random) % 10;
      r.Visible = random() % 2;
      r.TagPos = AnyInt(random);
      r.AltTrend = AnyInt(random);
      r.Route3 = r.Route4 = AnyText(random);
      r.AircraftType = r.FlightNo7Alt = r.FlightNo6 = r.AccessStation = AnyText(random);
      for (TrackPoint& p : r.Points) {
        p = {AnyNumber(random), AnyNumber(random), AnyInt(random), AnyInt(random), AnyInt(random),
             AnyInt(random), AnyInt(random), AnyNumber(random), AnyNumber(random), AnyInt(random)};
      }
    }
    f.aircraft.AircraftCount = AnyInt(random) % 12;
    MapState& m = f.mapView;
    m.AircraftSelected = random() % 2;
    m.SelectedAircraft = AnyInt(random) % 12;
    m.MapViewOptions = static_cast<uint8_t>(random());
    m.ClickedTrackPoint = AnyInt(random);
    m.ListPage = AnyInt(random);
    m.LatestAircraft = AnyInt(random) % 12;
    m.FromAcars = m.AutoShowLatest = random() % 2;
    c.SpeedButton8Down = random() % 2;
    c.SpeedButton16Down = random() % 2;
    c.ComboBox2Index = AnyInt(random) % 3;
    f.Map.PlotType = AnyInt(random) % 4;
    f.Map.SymbolSize = AnyInt(random) % 4;
    f.Map.SubDispType = AnyInt(random) % 4;
    f.Map.MapSymbol = random() % 2;
    f.Map.HideText = random() % 2;
    f.Map.TrackMark = f.Map.LineType = random() % 2;
    f.Map.TimeAdjust = random() % 2;
    c.SpeedButton2Down = random() % 2;
    ResizeMapBitmaps(m, f.Map, c, {60, static_cast<int>(random() % 80)}, {300, 200}, {300, 202});
    Redraw(m, {f.Map, f.Color, c, links, links}, MapLayers::All());
    ASSERT_EQ(m.RedrawBusy, 0);
    const MapMouseContext mouse{m, f.Map, c, links, links};
    const MouseEventAt at{static_cast<MouseButton>(random() % 4), static_cast<uint8_t>(random()),
                          AnyInt(random) % 400, AnyInt(random) % 400};
    Image2MouseDown(m, at);
    Image1MouseUp(mouse, at);
    Image2MouseUp(mouse, at);
    Image4MouseUp(mouse, at);
    TakeRedrawRequests(m);
  }
}

TEST(MapFuzz, AnyBytesAsAPhotographScaledForTheBox) {
  std::mt19937 random(1717);
  testing_support::TempDir dir;
  testing_support::WriteJpeg(dir.File("real.jpg"), 64, 48, 0x336699);
  const std::string bytes = testing_support::ReadFile(dir.File("real.jpg"));
  for (int run = 0; run < 500; ++run) {
    std::string data = bytes;
    for (int k = static_cast<int>(random() % 8); k >= 0; --k) data[random() % data.size()] = static_cast<char>(random());
    if (random() % 3 == 0) data.resize(random() % data.size());
    testing_support::WriteFile(dir.File("photo.jpg"), data);
    platform::JpegScaling scaling;
    scaling.size = [&random](int w, int h) { return platform::JpegSize{w * 85 / h, static_cast<int>(random() % 90)}; };
    scaling.firstColumn = AnyInt(random);
    scaling.lastColumn = AnyInt(random);
    if (auto photo = platform::LoadJpegScaled(dir.File("photo.jpg"), scaling)) {
      EXPECT_GE(photo->firstColumn, 0);
    }
  }
}

}  // namespace
